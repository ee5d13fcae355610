// Settings files: the byte layout, export and import, the checks that keep a
// bad file from costing a display, and the dialogs around them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "platform/ui/scripted.h"
#include "saver/settings/little_endian.h"
#include "saver/settings/registry_access.h"
#include "saver/settings/settings_file.h"
#include "settings_fixture.h"
#include "support/temp_dir.h"

namespace {

using namespace settings_test;
namespace fs = std::filesystem;
using Bytes = std::vector<BYTE>;

Bytes ReadAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const fs::path& file, const Bytes& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Builds a file the way the format describes it, independently of the
// store's own writer.
struct FileBuilder {
    Bytes bytes{0x00, 0x42, 0x00, 0x42};
    std::set<std::string> seen;  // a name written twice keeps its first place

    void number(DWORD v) {
        for (int i = 0; i < 4; ++i) bytes.push_back(BYTE(v >> (8 * i)));
    }
    void text(const std::string& s) {
        number(DWORD(s.size() + 1));
        bytes.insert(bytes.end(), s.begin(), s.end());
        bytes.push_back(0);
    }
    void record(const std::string& key, const std::string& name, DWORD type, const Bytes& data) {
        text(key);
        text(name);
        number(type);
        number(DWORD(data.size()));
        bytes.insert(bytes.end(), data.begin(), data.end());
    }
    void binary(const std::string& key, const std::string& name, LONG v) {
        if (!seen.insert(key + "\\" + name).second) return;
        record(key, name, 3, {BYTE(v), BYTE(v >> 8), BYTE(v >> 16), BYTE(DWORD(v) >> 24)});
    }
};

// The first-run "[D] Bezier" file: options, the Bezier slots and the palette
// defaults with effect Random.
Bytes ExpectedBezierFile() {
    FileBuilder f;
    // A fresh block: no turbo, no auto-gain yet when the displays are made.
    const std::pair<const char*, LONG> options[] = {{"SlowCPU", 0},  {"Priority", 64}, {"ClearFirst", 1},
                                                    {"ShowInfo", 1}, {"ShowName", 0},  {"AutoRun", 0},
                                                    {"AutoGain", 0}};
    for (auto [name, v] : options) f.binary("", name, v);
    const LONG slots[10][3] = {{1, 1, 20}, {10, 1, 32}, {100, 1, 100}, {12, 1, 200}, {4, 1, 320},
                               {30, 1, 1000}, {1, 1, 20}, {1, 1, 20}, {0, 0, 3}, {1, -10, 10}};
    for (int s = 0; s < 10; ++s) {
        const std::string n = std::to_string(s);
        f.binary("Modules\\Bezier", "Control" + n, slots[s][0]);
        f.binary("Modules\\Bezier", "RangeLo" + n, slots[s][1]);
        f.binary("Modules\\Bezier", "RangeHi" + n, slots[s][2]);
        f.binary("Modules\\Bezier", "Check" + n, 0);
        f.binary("Modules\\Bezier", "Sense" + n, 10);
    }
    for (const char* name : {"RedEffect", "GreenEffect", "BlueEffect"}) f.binary("Palette", name, 5);
    f.binary("Palette", "AllEffect", 0);
    struct Param {
        const char* stem;
        LONG source, value, lo, hi;
    };
    const Param params[] = {{"Scale", 0, 100, 0, 100},       {"Density", 1, 6, 1, 12},
                            {"FadeFactor", 0, 14, 1, 200},   {"RampDecay", 0, 14, 1, 200},
                            {"Seconds", 0, 16, 10, 30},      {"CycleRate", 0, 30, 10, 60},
                            {"Event", 0, 1000, 10, 600},     {"Direction", 0, 1, -3, 3},
                            {"MorphRate", 1, 9, 6, 16},      {"Intensity", 0, 100, 0, 100}};
    for (const Param& p : params) {
        for (const std::string channel : {"Red", "Green", "Blue"}) {
            const std::string stem = std::string(p.stem);
            const std::string base = (stem == "CycleRate" ? "" : channel) + stem;
            f.binary("Palette", base, p.value);
            f.binary("Palette", base + "RangeLo", p.lo);
            f.binary("Palette", base + "RangeHi", p.hi);
            f.binary("Palette", stem == "Seconds" && channel == "Green" ? "RedSecondsSense" : base + "Sense", 7);
            f.binary("Palette", base + "Source", p.source);
        }
    }
    return f.bytes;
}

class SettingsFiles : public SettingsStoreTest {
protected:
    std::string file(const std::string& name) const { return (dir_.path() / name).string(); }

    // A display with a Path, a Custom value and an odd type in every key.
    void SaveRichDisplay(const char* name) {
        std::memset(ActiveModules, 0, sizeof ActiveModules);
        ActiveModules[ModuleBitmap] = 1;
        ActiveModules[ModuleStar] = 1;
        std::strcpy(ModuleTable[ModuleBitmap].path, "/pictures/*.bmp");
        palette().effect[ChannelGreen] = EffectCustom;
        SaveDisplay(name);
        WriteStringValue(HKEY_CURRENT_USER, DisplayKeyPath(name).c_str(), "Note", "made by hand");
        settings::RegKey key;
        ASSERT_EQ(key.Create(HKEY_CURRENT_USER, PaletteKeyPath(name) + "\\Extra"), ERROR_SUCCESS);
        const BYTE odd[3] = {1, 2, 3};
        ASSERT_EQ(RegSetValueExA(key.get(), "Odd", 0, 42, odd, 3), ERROR_SUCCESS);
    }

    testsupport::TempDir dir_;
};

TEST_F(SettingsFiles, ExportedDefaultDisplayHasTheDocumentedLayout) {
    ASSERT_EQ(WriteSettingsFile(DisplayKeyPath("[D] Bezier").c_str(), file("bezier.LUM").c_str()), 1);
    const Bytes expected = ExpectedBezierFile();
    const Bytes actual = ReadAll(file("bezier.LUM"));
    ASSERT_EQ(actual.size(), expected.size());
    EXPECT_TRUE(actual == expected);
}

TEST_F(SettingsFiles, ImportUnderAnotherNameRecreatesTheSubtreeExactly) {
    SaveRichDisplay("Rich");
    ASSERT_EQ(WriteSettingsFile(DisplayKeyPath("Rich").c_str(), file("rich.LUM").c_str()), 1);
    SaveDisplay("Copy");  // something to replace
    ASSERT_EQ(ReadSettingsFile("Copy", file("rich.LUM").c_str()), 1);
    const auto original = DisplaySnapshot("Rich");
    // Options and the note; Path and 7 Bitmap slots, 14 Star slots; Custom,
    // four effects and the 150 parameter values less the 10 CycleRate and
    // the one Seconds sense names shared between channels; the odd value.
    EXPECT_EQ(original.size(), 8u + (1u + 5 * 7) + 5 * 14 + (1u + 4 + 139) + 1);
    EXPECT_EQ(DisplaySnapshot("Copy"), original);

    // Only the mark: an empty display, the old one gone.
    WriteAll(file("empty.LUM"), {0x00, 0x42, 0x00, 0x42});
    EXPECT_EQ(ReadSettingsFile("Copy", file("empty.LUM").c_str()), 1);
    EXPECT_FALSE(KeyExists(DisplayKeyPath("Copy").c_str()));

    // A display key that is missing leaves a file holding only the mark.
    EXPECT_EQ(WriteSettingsFile(DisplayKeyPath("Copy").c_str(), file("none.LUM").c_str()), 0);
    EXPECT_EQ(ReadAll(file("none.LUM")), (Bytes{0x00, 0x42, 0x00, 0x42}));
}

TEST_F(SettingsFiles, FilesThatFailTheCheckChangeNothing) {
    SaveRichDisplay("Keep");
    const auto before = DisplaySnapshot("Keep");
    const auto refused = [&](const Bytes& bytes, const char* why) {
        WriteAll(file("bad.LUM"), bytes);
        EXPECT_EQ(ReadSettingsFile("Keep", file("bad.LUM").c_str()), 0) << why;
        EXPECT_EQ(DisplaySnapshot("Keep"), before) << why;
    };

    EXPECT_EQ(ReadSettingsFile("Keep", file("missing.LUM").c_str()), 0);
    refused({0x00, 0x42, 0x00}, "short mark");
    refused({0x42, 0x00, 0x42, 0x00}, "wrong mark");

    FileBuilder good;
    good.binary("", "Fine", 1);
    const auto withRecord = [&](auto&& addBad) {
        FileBuilder f;
        f.bytes = good.bytes;
        addBad(f);
        return f.bytes;
    };
    refused(withRecord([](FileBuilder& f) { f.record(std::string(260, 'k'), "Name", 3, {1}); }),
            "key path of 261 bytes");
    refused(withRecord([](FileBuilder& f) { f.record("", std::string(260, 'n'), 3, {1}); }),
            "value name of 261 bytes");
    refused(withRecord([](FileBuilder& f) { f.record("", "Big", 3, Bytes(1025, 7)); }), "1025 data bytes");
    refused(withRecord([](FileBuilder& f) {
                f.number(0);
                f.text("Name");
                f.number(3);
                f.number(0);
            }),
            "key length 0");
    refused(withRecord([](FileBuilder& f) {
                f.number(3);
                f.bytes.insert(f.bytes.end(), {'a', 'b', 'c'});
                f.text("Name");
                f.number(3);
                f.number(0);
            }),
            "key path without its zero");
    refused(withRecord([](FileBuilder& f) {
                f.text("");
                f.number(0xFFFFFFFFu);
            }),
            "huge name length");

    // Right at the limits a record is fine.
    FileBuilder limits;
    const std::string longPath = std::string(200, 'k') + "\\" + std::string(58, 'j');
    limits.record(longPath, std::string(259, 'n'), 3, Bytes(1024, 9));
    WriteAll(file("limits.LUM"), limits.bytes);
    EXPECT_EQ(ReadSettingsFile("Keep", file("limits.LUM").c_str()), 1);
    const auto stored = DisplaySnapshot("Keep");
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].key, longPath);
    EXPECT_EQ(stored[0].data, Bytes(1024, 9));

    // A key the registry cannot create (a name beyond 255 characters) is
    // reported after the other records are stored.
    FileBuilder uncreatable;
    uncreatable.record(std::string(256, 'k'), "Lost", 3, {1});
    uncreatable.binary("", "Stored", 5);
    WriteAll(file("uncreatable.LUM"), uncreatable.bytes);
    EXPECT_EQ(ReadSettingsFile("Keep", file("uncreatable.LUM").c_str()), 0);
    ASSERT_EQ(DisplaySnapshot("Keep").size(), 1u);
    EXPECT_EQ(DisplaySnapshot("Keep")[0].name, "Stored");
}

TEST_F(SettingsFiles, ATruncatedFileImportsWholeRecordsOrNothing) {
    // A small display so that every cut can be tried: a Path (260 bytes) and
    // a Custom value (708 bytes) among a few numbers.
    settings::RegKey key;
    ASSERT_EQ(key.Create(HKEY_CURRENT_USER, DisplayKeyPath("Small")), ERROR_SUCCESS);
    settings::WriteLong(key.get(), "SlowCPU", 1);
    char path[MAX_PATH] = "pictures";
    ASSERT_EQ(key.Create(HKEY_CURRENT_USER, ModuleKeyPath("Small", "Bitmap")), ERROR_SUCCESS);
    RegSetValueExA(key.get(), "Path", 0, REG_SZ, reinterpret_cast<BYTE*>(path), MAX_PATH);
    settings::WriteLong(key.get(), "Control0", 2);
    ASSERT_EQ(key.Create(HKEY_CURRENT_USER, PaletteKeyPath("Small")), ERROR_SUCCESS);
    const Bytes custom(708, 0x33);
    RegSetValueExA(key.get(), "Custom", 0, REG_BINARY, custom.data(), 708);
    settings::WriteLong(key.get(), "AllEffect", 6);
    key.Close();
    ASSERT_EQ(WriteSettingsFile(DisplayKeyPath("Small").c_str(), file("small.LUM").c_str()), 1);
    const Bytes whole = ReadAll(file("small.LUM"));
    const auto all = DisplaySnapshot("Small");
    ASSERT_EQ(all.size(), 5u);

    // Where each record ends.
    std::vector<std::size_t> ends;
    for (std::size_t at = 4; at < whole.size();) {
        const auto number = [&](std::size_t i) { return LoadLittleEndian(whole.data() + i); };
        at += 4 + number(at);
        at += 4 + number(at);
        at += 8 + number(at + 4);
        ends.push_back(at);
    }
    ASSERT_EQ(ends.size(), all.size());
    ASSERT_EQ(ends.back(), whole.size());

    const auto makeTarget = [] {
        settings::RegKey target;
        ASSERT_EQ(target.Create(HKEY_CURRENT_USER, PaletteKeyPath("Target")), ERROR_SUCCESS);
        settings::WriteLong(target.get(), "AllEffect", 3);
        ASSERT_EQ(target.Create(HKEY_CURRENT_USER, DisplayKeyPath("Target")), ERROR_SUCCESS);
        settings::WriteLong(target.get(), "Priority", 32);
    };
    makeTarget();
    const auto target = DisplaySnapshot("Target");
    ASSERT_EQ(target.size(), 2u);
    for (std::size_t cut = 0; cut < whole.size(); ++cut) {
        WriteAll(file("cut.LUM"), Bytes(whole.begin(), whole.begin() + cut));
        const BOOL result = ReadSettingsFile("Target", file("cut.LUM").c_str());
        const auto kept = std::find(ends.begin(), ends.end(), cut);
        if (cut == 4 || kept != ends.end()) {
            const std::size_t records = cut == 4 ? 0 : std::size_t(kept - ends.begin()) + 1;
            ASSERT_EQ(result, 1) << "cut at a record boundary " << cut;
            ASSERT_EQ(DisplaySnapshot("Target"), std::vector<StoredValue>(all.begin(), all.begin() + records))
                << cut;
            DeleteDisplay("Target");
            makeTarget();
        } else {
            ASSERT_EQ(result, 0) << "cut inside a record " << cut;
            ASSERT_EQ(DisplaySnapshot("Target"), target) << cut;
        }
    }
}

TEST_F(SettingsFiles, ExportProposesASafeFileName) {
    platform::ScriptedUi ui;
    SaveDisplay("My Show: Blue/Green");
    ui.pickFiles({file("chosen.LUM")});
    ASSERT_EQ(ExportDisplay("My Show: Blue/Green"), 1);
    const auto dialogs = ui.fileDialogs();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_TRUE(dialogs[0].save);
    EXPECT_EQ(dialogs[0].initialFile, "My Show_ Blue_Green");
    EXPECT_EQ(dialogs[0].defaultExtension, "LUM");
    EXPECT_EQ(ProposedFileName("a$%'-_@ ~`!(){.}^#&+,;=[]z\\*?:|\"<>"), "a$%'-_@ ~`!(){.}^#&+,;=[]z________");

    ui.cancelNextDialog();
    EXPECT_EQ(ExportDisplay("My Show: Blue/Green"), 0);
    EXPECT_EQ(ExportDisplay(""), 0) << "no display: no dialog, no file";
    EXPECT_EQ(ui.fileDialogs().size(), 2u);

    ASSERT_EQ(ReadSettingsFile("Back", file("chosen.LUM").c_str()), 1);
    EXPECT_EQ(DisplaySnapshot("Back"), DisplaySnapshot("My Show: Blue/Green"));
}

TEST_F(SettingsFiles, ImportAsksBeforeReplacingADisplay) {
    platform::ScriptedUi ui;
    SaveRichDisplay("Source");
    fs::create_directory(dir_.path() / "shows");
    const std::string night = file("shows/Night Sky.LUM");
    ASSERT_EQ(WriteSettingsFile(DisplayKeyPath("Source").c_str(), night.c_str()), 1);
    SaveDisplay("Night Sky");
    const auto whole = Snapshot(SaverKeyPath());
    std::vector<std::string> list = {"Night Sky"};
    std::string name;

    ui.answerNextMessageBox(IDNO);
    EXPECT_EQ(ImportSettingsFile(&list, night.c_str(), &name), 0);
    EXPECT_EQ(name, "Night Sky");
    EXPECT_EQ(Snapshot(SaverKeyPath()), whole);
    EXPECT_EQ(list, std::vector<std::string>{"Night Sky"});
    const auto boxes = ui.messageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].owner, nullptr);
    EXPECT_EQ(boxes[0].text, "This will overwrite your existing settings for \"Night Sky\"\n\nDo you wish to proceed?");
    EXPECT_EQ(boxes[0].caption, "Settings by this name already exist!");
    EXPECT_EQ(boxes[0].type, MB_YESNO | MB_ICONQUESTION);

    ui.answerNextMessageBox(IDYES);
    EXPECT_EQ(ImportSettingsFile(&list, night.c_str(), &name), 1);
    EXPECT_EQ(DisplaySnapshot("Night Sky"), DisplaySnapshot("Source"));
    EXPECT_EQ(list, std::vector<std::string>{"Night Sky"}) << "already listed";

    // A new name asks nothing and joins the list.
    fs::copy_file(night, file("shows/Dawn.LUM"));
    EXPECT_EQ(ImportSettingsFile(&list, file("shows/Dawn.LUM").c_str(), &name), 1);
    EXPECT_EQ(name, "Dawn");
    EXPECT_EQ(list, (std::vector<std::string>{"Night Sky", "Dawn"}));
    EXPECT_EQ(ui.messageBoxes().size(), 2u);

    // A file whose base name is empty names no display: nothing is touched.
    fs::copy_file(night, file("shows/.LUM"));
    const auto now = Snapshot(SaverKeyPath());
    EXPECT_EQ(ImportSettingsFile(&list, file("shows/.LUM").c_str(), &name), 0);
    EXPECT_EQ(Snapshot(SaverKeyPath()), now);
}

TEST_F(SettingsFiles, ImportSettingsTakesOneOrSeveralFiles) {
    platform::ScriptedUi ui;
    SaveDisplay("Source");
    fs::create_directory(dir_.path() / "install");
    for (const char* name : {"One.LUM", "Two.LUM"}) {
        ASSERT_EQ(WriteSettingsFile(DisplayKeyPath("Source").c_str(), file(std::string("install/") + name).c_str()),
                  1);
    }
    const std::string installDir = file("install");
    WriteSaverValue("LumoraDir", SaverKeyWord, REG_SZ, installDir.c_str(), DWORD(installDir.size() + 1));
    std::vector<std::string> list;
    std::string name;

    ui.cancelNextDialog();
    EXPECT_EQ(ImportSettings(&list, &name), 0);
    EXPECT_EQ(ui.fileDialogs().at(0).initialFile, installDir + "/*.LUM");
    EXPECT_FALSE(ui.fileDialogs().at(0).save);

    ui.pickFiles({file("install/One.LUM"), file("install/Two.LUM")});
    EXPECT_EQ(ImportSettings(&list, &name), 1);
    EXPECT_EQ(list, (std::vector<std::string>{"One", "Two"}));
    EXPECT_EQ(name, "Two");
    EXPECT_EQ(DisplaySnapshot("One"), DisplaySnapshot("Source"));
    EXPECT_EQ(DisplaySnapshot("Two"), DisplaySnapshot("Source"));

    WriteAll(file("install/Broken.LUM"), {1, 2, 3});
    ui.pickFiles({file("install/Broken.LUM")});
    EXPECT_EQ(ImportSettings(&list, &name), 0) << "one file: its import's result";
    EXPECT_EQ(list.size(), 2u);
}

TEST_F(SettingsFiles, RegistersTheFileType) {
    EXPECT_EQ(RegisterSettingsFileType("/usr/games/LUMORA.SCR"), 1);
    const auto text = [](const char* key, const char* name) {
        DWORD type = 0;
        Bytes raw = RawValue(key, name, &type, HKEY_CLASSES_ROOT);
        EXPECT_EQ(type, REG_SZ) << key;
        EXPECT_FALSE(raw.empty()) << key;
        EXPECT_EQ(raw.empty() ? 1 : raw.back(), 0) << "stored with its terminating zero";
        return std::string(raw.begin(), std::find(raw.begin(), raw.end(), BYTE{0}));
    };
    EXPECT_EQ(text(".LUM", ""), "Lumora");
    EXPECT_EQ(text(".LUM", "Content Type"), "application/lumora");
    EXPECT_EQ(text("Lumora\\shell\\open\\command", ""), "Lumora.SCR /S %1");
    EXPECT_EQ(text("Lumora\\DefaultIcon", ""), "/usr/games/LUMORA.SCR,2");

    RegisterSettingsFileType(nullptr);
    char program[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    EXPECT_EQ(text("Lumora\\DefaultIcon", ""), std::string(program) + ",2");
}

}  // namespace

TEST_F(SettingsFiles, CustomColoursSurviveSaveExportAndImportByteForByte) {
    palette().effect[ChannelBlue] = EffectCustom;
    for (int i = 0; i < PaletteEntryCount; ++i) {
        palette().customColours[i] = PALETTEENTRY{BYTE(i * 3), BYTE(i ^ 0x5A), BYTE(255 - i / 2), PC_RESERVED};
    }
    PALETTEENTRY made[PaletteEntryCount];
    std::memcpy(made, palette().customColours, sizeof made);
    SaveDisplay("Colours");
    ASSERT_EQ(WriteSettingsFile(DisplayKeyPath("Colours").c_str(), file("colours.LUM").c_str()), 1);
    ASSERT_EQ(ReadSettingsFile("Imported", file("colours.LUM").c_str()), 1);
    for (PALETTEENTRY& entry : palette().customColours) entry = PALETTEENTRY{1, 2, 3, PC_RESERVED};
    LoadDisplay("Imported");
    EXPECT_EQ(std::memcmp(palette().customColours, made, sizeof made), 0);
    EXPECT_EQ(palette().effect[ChannelBlue], EffectCustom);
}
