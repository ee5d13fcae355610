// Palette files: what export writes, and that import takes only whole,
// well-formed files and says why it refused the others.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "platform/ui/scripted.h"
#include "saver/framework/module_record.h"
#include "saver/palette/custom_colours.h"
#include "saver/palette/palette_file.h"
#include "support/temp_dir.h"

namespace {

using Bytes = std::vector<BYTE>;

Bytes ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

class PaletteFileTest : public testing::Test {
protected:
    void SetUp() override {
        record_ = std::make_unique<PaletteSettings>();
        for (int i = 0; i < PaletteEntryCount; ++i) {
            record_->customColours[i] = PALETTEENTRY{BYTE(i), BYTE(3 * i), BYTE(255 - i), PC_RESERVED};
        }
        CurrentPalette = record_.get();
        palette_ = CreateCustomPalette();
    }
    void TearDown() override {
        DeleteObject(palette_);
        CurrentPalette = nullptr;
    }
    std::string file(const char* name) const { return (dir_.path() / name).string(); }
    std::vector<BYTE> colourBytes() const {
        const auto* bytes = reinterpret_cast<const BYTE*>(record_->customColours);
        return {bytes, bytes + sizeof record_->customColours};
    }

    testsupport::TempDir dir_;
    std::unique_ptr<PaletteSettings> record_;
    HPALETTE palette_ = nullptr;
};

TEST_F(PaletteFileTest, ExportedColoursImportAsTheSame236) {
    ASSERT_EQ(WritePaletteFile(file("Scratch.PAL").c_str()), 1);
    const Bytes written = ReadAll(file("Scratch.PAL"));
    ASSERT_EQ(written.size(), 952u);
    EXPECT_EQ(Bytes(written.begin(), written.begin() + 8), (Bytes{0x00, 0x42, 0x00, 0x42, 0xB0, 0x03, 0, 0}));
    EXPECT_EQ(Bytes(written.begin() + 8, written.end()), colourBytes());

    const Bytes exported = colourBytes();
    for (PALETTEENTRY& entry : record_->customColours) entry = PALETTEENTRY{9, 9, 9, PC_RESERVED};
    platform::ScriptedUi ui;
    ASSERT_EQ(ReadPaletteFile(palette_, file("Scratch.PAL").c_str(), nullptr), 1);
    EXPECT_EQ(colourBytes(), exported);
    PALETTEENTRY shown{};
    GetPaletteEntries(palette_, 200, 1, &shown);
    EXPECT_EQ(shown.peGreen, BYTE(600));
    EXPECT_TRUE(ui.beeps().empty());

    // Flags other than 1 in a file are taken as 1: the table goes to
    // AnimatePalette, which animates only PC_RESERVED entries.
    Bytes odd = written;
    for (std::size_t i = 11; i < odd.size(); i += 4) odd[i] = 0x04;
    odd.push_back(0x77);  // whatever follows the colours is not read
    WriteAll(file("odd.PAL"), odd);
    ASSERT_EQ(ReadPaletteFile(palette_, file("odd.PAL").c_str(), nullptr), 1);
    EXPECT_EQ(colourBytes(), exported);
}

TEST_F(PaletteFileTest, BadFilesChangeNothingAndSayWhy) {
    ASSERT_EQ(WritePaletteFile(file("good.PAL").c_str()), 1);
    const Bytes good = ReadAll(file("good.PAL"));
    const Bytes before = colourBytes();
    Bytes wrongMark = good;
    wrongMark[1] = 0x43;
    Bytes longer = good;  // says 945 and has the byte
    longer[4] = 0xB1;
    longer.push_back(0);
    Bytes shorter = good;  // says 940, with 940 bytes
    shorter[4] = 0xAC;
    shorter.resize(948);
    const struct {
        const char* name;
        Bytes bytes;
        const char* reason;
    } cases[] = {
        {"mark.PAL", wrongMark, "is not a palette file"},
        {"tiny.PAL", Bytes{0x00, 0x42}, "is not a palette file"},
        {"cut.PAL", Bytes(good.begin(), good.begin() + 500), "is incomplete"},
        {"header.PAL", Bytes(good.begin(), good.begin() + 6), "is incomplete"},
        {"long.PAL", longer, "holds 945 bytes of colours"},
        {"short.PAL", shorter, "holds 940 bytes of colours"},
    };
    platform::ScriptedUi ui;
    for (const auto& c : cases) {
        WriteAll(file(c.name), c.bytes);
        ui.answerNextMessageBox(IDOK);
        EXPECT_EQ(ReadPaletteFile(palette_, file(c.name).c_str(), nullptr), 0) << c.name;
        EXPECT_EQ(colourBytes(), before) << c.name;
        const std::string text = ui.messageBoxes().back().text;
        EXPECT_NE(text.find(file(c.name)), std::string::npos) << text;
        EXPECT_NE(text.find(c.reason), std::string::npos) << text;
    }
    ui.answerNextMessageBox(IDOK);
    EXPECT_EQ(ReadPaletteFile(palette_, file("missing.PAL").c_str(), nullptr), 0);
    EXPECT_NE(ui.messageBoxes().back().text.find("cannot be opened"), std::string::npos);
    EXPECT_EQ(ui.beeps().size(), std::size(cases) + 1);
    EXPECT_EQ(colourBytes(), before);
}

}  // namespace
