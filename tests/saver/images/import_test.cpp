// Finding import filters in the registry, importing through them, and the
// bitmap inside the metafile they return.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "picture_files.h"
#include "platform/kernel/bytes.h"
#include "platform/win32.h"
#include "saver/images/bitmap_images.h"
#include "saver/images/embedded_dib.h"
#include "saver/images/import_filters.h"
#include "saver/images/import_with_filter.h"
#include "support/temp_dir.h"

namespace {

using imagetest::Metafile;
using imagetest::Record;

struct Filter {
    std::string key, name, extensions, path;
};

void Register(const Filter& f) {
    HKEY key = nullptr;
    const std::string path = std::string(ImportFilterKeyPath) + "\\" + f.key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    for (auto [value, text] : {std::pair{"Name", &f.name}, {"Extensions", &f.extensions}, {"Path", &f.path}})
        RegSetValueExA(key, value, 0, REG_SZ, reinterpret_cast<const BYTE*>(text->c_str()), text->size() + 1);
    RegCloseKey(key);
}

void Unregister(const std::string& key) {
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, (std::string(ImportFilterKeyPath) + "\\" + key).c_str());
}

// The filters as the machine has them; put back as they were by the test.
std::vector<Filter> RegisteredFilters() {
    std::vector<Filter> filters;
    HKEY key = nullptr;
    RegOpenKeyExA(HKEY_LOCAL_MACHINE, ImportFilterKeyPath, 0, KEY_READ, &key);
    char name[256], extensions[FilterExtensionsSize], path[FilterPathSize];
    for (DWORD i = 0; ReadImportFilter(i, name, sizeof name, extensions, sizeof extensions, path, sizeof path); ++i) {
        char keyName[256];
        DWORD length = sizeof keyName;
        RegEnumKeyExA(key, i, keyName, &length, nullptr, nullptr, nullptr, nullptr);
        filters.push_back({keyName, name, extensions, path});
    }
    RegCloseKey(key);
    return filters;
}

class ImportTest : public testing::Test {
protected:
    void SetUp() override {
        saved_ = RegisteredFilters();
        Register({"TST", "Test", "tst", std::string(TEST_FILTER_DIR) + "/TESTIMP.FLT"});
        Register({"TSR", "Test", "tsr", std::string(TEST_FILTER_DIR) + "/TESTREF.FLT"});
    }
    void TearDown() override {
        for (const Filter& f : RegisteredFilters()) Unregister(f.key);
        for (const Filter& f : saved_) Register(f);
    }
    std::string file(const std::string& name, const std::vector<BYTE>& bytes) {
        const std::string path = dir_.str() + "/" + name;
        imagetest::WriteFile(path, bytes);
        return path;
    }
    static std::vector<BYTE> Text(const std::string& text) { return {text.begin(), text.end()}; }

    testsupport::TempDir dir_;
    std::vector<Filter> saved_;
};

TEST_F(ImportTest, ShippedFiltersAreRegisteredAndTheFallbacksStandIn) {
    char library[FilterPathSize];
    ASSERT_EQ(FindImportFilter("/pictures/Sea.PNG", library), 1);
    EXPECT_NE(std::string(library).find("QTIMP32.FLT"), std::string::npos);
    EXPECT_NE(GetFileAttributesA(library), INVALID_FILE_ATTRIBUTES) << "registered where the filters are built";
    ASSERT_EQ(FindImportFilter("Sea.jpg", library), 1);
    EXPECT_NE(std::string(library), "JPEGIM32.FLT") << "a registered filter whose library exists wins";

    // A filter whose library is missing counts as not found: the built-in
    // names stand in for ".jpg" and ".pcx" only.
    for (const Filter& f : saved_) Unregister(f.key);
    Register({"JPG", "JPEG", "jpg", dir_.str() + "/gone.FLT"});
    Register({"BOTH", "Two", "pcx;png", std::string(TEST_FILTER_DIR) + "/TESTIMP.FLT"});
    ASSERT_EQ(FindImportFilter("/pictures/Sea.JPG", library), 1);
    EXPECT_STREQ(library, "JPEGIM32.FLT");
    ASSERT_EQ(FindImportFilter("a.pcx", library), 1);
    EXPECT_STREQ(library, "PCXIMP32.FLT") << "\"pcx;png\" matches only as a whole";
    EXPECT_EQ(FindImportFilter("Sea.png", library), 0);
    EXPECT_STREQ(library, "");
    EXPECT_EQ(FindImportFilter("/my.pictures/Sea", library), 0) << "a dot in a directory is no extension";
}

TEST_F(ImportTest, GraphicsListNamesEveryRegisteredExtension) {
    char list[1024];
    ASSERT_EQ(BuildGraphicsFilterList(list, sizeof list), 1);
    const std::string text = list;
    EXPECT_EQ(text.rfind("Graphics files\t*.bmp;", 0), 0u);
    for (const char* pattern : {"*.jpg;", "*.pcx;", "*.png;", "*.gif;", "*.tst;"})
        EXPECT_NE(text.find(pattern), std::string::npos) << pattern;
    EXPECT_EQ(text.back(), '\t');

    for (const Filter& f : RegisteredFilters()) Unregister(f.key);
    EXPECT_EQ(BuildGraphicsFilterList(list, sizeof list), 0);
    EXPECT_STREQ(list, "");
}

TEST_F(ImportTest, EmbeddedDibIsTheFirstBitmapRecordsAndEverySizeIsChecked) {
    const std::vector<BYTE> dib = imagetest::PackedDib8(2, 1, 2, {1, 0, 0, 0});
    std::vector<BYTE> stretch(22, 0);  // the parameters before the DIB
    stretch.insert(stretch.end(), dib.begin(), dib.end());
    std::vector<BYTE> meta = Metafile({{META_SETWINDOWORG, {0, 0, 0, 0}}, {META_STRETCHDIB, stretch}, {META_EOF, {}}});
    SIZE_T size = 0;
    const BYTE* found = FindEmbeddedDib(meta.data(), meta.size(), &size);
    ASSERT_EQ(found, meta.data() + 18 + 10 + 28);
    EXPECT_EQ(size, dib.size());
    EXPECT_EQ(std::memcmp(found, dib.data(), dib.size()), 0);

    // Each bitmap record kind has its own offset.
    std::vector<BYTE> blt(16, 0);
    blt.insert(blt.end(), dib.begin(), dib.end());
    meta = Metafile({{META_DIBBITBLT, blt}});
    EXPECT_EQ(FindEmbeddedDib(meta.data(), meta.size(), &size), meta.data() + 18 + 22);

    // No bitmap before the end; a record of no size; one beyond the end; a
    // header larger than the data; a total size larger than the data.
    meta = Metafile({{META_SETWINDOWEXT, {0, 0, 0, 0}}, {META_EOF, {}}, {META_STRETCHDIB, stretch}});
    EXPECT_EQ(FindEmbeddedDib(meta.data(), meta.size(), &size), nullptr);
    meta = Metafile({{META_SETWINDOWORG, {0, 0, 0, 0}}, {META_STRETCHDIB, stretch}});
    std::vector<BYTE> broken = meta;
    platform::WriteDword(&broken[18], 0);
    EXPECT_EQ(FindEmbeddedDib(broken.data(), broken.size(), &size), nullptr);
    broken = meta;
    platform::WriteDword(&broken[28], 0x7FFFFFFF);
    EXPECT_EQ(FindEmbeddedDib(broken.data(), broken.size(), &size), nullptr);
    broken = meta;
    platform::WriteWord(&broken[2], 0xFFFF);
    EXPECT_EQ(FindEmbeddedDib(broken.data(), broken.size(), &size), nullptr);
    broken = meta;
    platform::WriteDword(&broken[6], 0xFFFFFFFF);
    broken.resize(broken.size() - 4);  // the bitmap record now runs past the data
    EXPECT_EQ(FindEmbeddedDib(broken.data(), broken.size(), &size), nullptr);
    EXPECT_EQ(FindEmbeddedDib(meta.data(), 10, &size), nullptr);
}

TEST_F(ImportTest, PackedDibMustHoldItsTableAndRows) {
    const std::vector<BYTE> dib = imagetest::PackedDib8(3, 2, 4, std::vector<BYTE>(8, 2));
    const auto layout = ReadPackedDib(dib.data(), dib.size());
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->tableSize, 16u);
    EXPECT_EQ(layout->bitsSize, 8u);
    EXPECT_FALSE(ReadPackedDib(dib.data(), dib.size() - 1));
    std::vector<BYTE> huge = dib;
    platform::WriteDword(&huge[32], 0xFFFFFFFF);  // colours used
    EXPECT_FALSE(ReadPackedDib(huge.data(), huge.size()));
    huge = dib;
    platform::WriteDword(&huge[4], 0x7FFFFFFF);
    platform::WriteDword(&huge[8], 0x80000001);  // top-down, 2^31 - 1 rows
    EXPECT_FALSE(ReadPackedDib(huge.data(), huge.size()));

    // Table sizes: old-style headers take 3 bytes a colour, bit fields 12
    // bytes of masks, deep pictures no table unless they count colours.
    std::vector<BYTE> core(12);
    platform::WriteDword(&core[0], 12);
    platform::WriteWord(&core[10], 4);
    EXPECT_EQ(ColourTableSize(core.data()), 48u);
    std::vector<BYTE> info(40);
    platform::WriteDword(&info[0], 40);
    platform::WriteWord(&info[14], 16);
    platform::WriteDword(&info[16], BI_BITFIELDS);
    EXPECT_EQ(ColourTableSize(info.data()), 12u);
    platform::WriteDword(&info[32], 5);
    EXPECT_EQ(ColourTableSize(info.data()), 32u);
}

TEST_F(ImportTest, FailingOrNonsenseFiltersLeaveNothingBehind) {
    EXPECT_EQ(ImportWithFilter(file("a.tst", Text("fail")).c_str()), nullptr);
    EXPECT_EQ(ImportWithFilter(file("b.tst", Text("none")).c_str()), nullptr);
    EXPECT_EQ(ImportWithFilter(file("c.tst", Text("not a metafile at all")).c_str()), nullptr);
    EXPECT_EQ(ImportWithFilter(file("d.tst", Metafile({{META_SETWINDOWORG, {0, 0, 0, 0}}})).c_str()), nullptr);
    EXPECT_EQ(ImportWithFilter(file("e.tsr", Metafile({})).c_str()), nullptr) << "GetFilterInfo refused";
    EXPECT_EQ(ImportWithFilter(file("f.xyz", Text("x")).c_str()), nullptr) << "no filter";

    // A metafile whose only bitmap record is a stretched DIB gives that
    // bitmap.
    const std::vector<BYTE> dib = imagetest::PackedDib8(2, 2, 3, {2, 1, 0, 0, 0, 1, 0, 0});
    std::vector<BYTE> stretch(22, 0);
    stretch.insert(stretch.end(), dib.begin(), dib.end());
    {
        ImportedDib* imported = ImportWithFilter(file("g.tst", Metafile({{META_STRETCHDIB, stretch}})).c_str());
        ASSERT_NE(imported, nullptr);
        ASSERT_GE(imported->size, dib.size());
        EXPECT_EQ(std::memcmp(imported->dib, dib.data(), dib.size()), 0);
        HBITMAP bitmap = BitmapFromPackedDib(imported->dib, imported->size);
        FreeImportedDib(imported);
        ASSERT_NE(bitmap, nullptr);
        DIBSECTION section{};
        GetObjectA(bitmap, sizeof section, &section);
        EXPECT_EQ(static_cast<const BYTE*>(section.dsBm.bmBits)[0], 2);
        DeleteObject(bitmap);
    }
}

TEST_F(ImportTest, ShippedFiltersImportTheirFormats) {
    // A 16 x 16 JPEG, red over blue.
    std::vector<BYTE> rgb;
    for (int i = 0; i < 256; ++i) rgb.insert(rgb.end(), i < 128 ? std::initializer_list<BYTE>{250, 0, 0}
                                                                : std::initializer_list<BYTE>{0, 0, 250});
    ImportedDib* jpeg = ImportWithFilter(file("photo.JPG", imagetest::Jpeg(16, 16, false, rgb)).c_str());
    ASSERT_NE(jpeg, nullptr);
    HBITMAP bitmap = BitmapFromPackedDib(jpeg->dib, jpeg->size);
    FreeImportedDib(jpeg);
    ASSERT_NE(bitmap, nullptr);
    DIBSECTION section{};
    GetObjectA(bitmap, sizeof section, &section);
    EXPECT_EQ(section.dsBm.bmBitsPixel, 24);
    const auto* bits = static_cast<const BYTE*>(section.dsBm.bmBits);
    EXPECT_GT(bits[0], 200) << "the bottom row is blue";
    EXPECT_GT(bits[15 * section.dsBm.bmWidthBytes + 2], 200) << "the top row is red";
    DeleteObject(bitmap);

    // An 8-bit PCX keeps its values and palette.
    std::vector<BYTE> palette(768);
    palette[3 * 7] = 99;
    ImportedDib* pcx =
        ImportWithFilter(file("art.pcx", imagetest::Pcx(2, 1, 8, 1, 2, {7, 200}, palette)).c_str());
    ASSERT_NE(pcx, nullptr);
    const auto layout = ReadPackedDib(pcx->dib, pcx->size);
    ASSERT_TRUE(layout);
    EXPECT_EQ(pcx->dib[40 + 4 * 7 + 2], 99) << "red of colour 7";
    EXPECT_EQ(pcx->dib[layout->headerSize + layout->tableSize], 7);
    EXPECT_EQ(pcx->dib[layout->headerSize + layout->tableSize + 1], 200);
    FreeImportedDib(pcx);
}

}  // namespace
