// lumora-reg: REGEDIT4 export and import, deletion, and its errors.
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <tuple>

#include "registry_fixture.h"

namespace regtest {
namespace {

using LumoraReg = RegistryTest;

struct ToolRun {
    int status;
    std::string out;
};

// Runs the tool with the arguments (already shell-quoted) against the test's
// platform root, which it inherits through LUMORA_ROOT.
ToolRun Tool(const std::string& arguments) {
    std::string command = std::string("'") + LUMORA_REG_TOOL + "' " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ToolRun run{-1, {}};
    if (!pipe) return run;
    char buffer[4096];
    std::size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, got);
    int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

using Entry = std::tuple<std::string, std::string, DWORD, std::string>;

// Every value below a key as (key path, name, type, bytes), in enumeration order.
void Collect(HKEY key, const std::string& path, std::vector<Entry>& entries) {
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD nameSize = sizeof name, type = 0, size = 0;
        if (RegEnumValueA(key, i, name, &nameSize, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) break;
        entries.emplace_back(path, std::string(name, nameSize), type, Get(key, name));
    }
    for (const std::string& child : SubKeys(key)) {
        Key sub;
        ASSERT_EQ(RegOpenKeyExA(key, child.c_str(), 0, KEY_READ, sub.out()), ERROR_SUCCESS);
        entries.emplace_back(path + "\\" + child, "<key>", 0, "");
        Collect(sub.get(), path + "\\" + child, entries);
    }
}

std::vector<Entry> Snapshot(HKEY root, const char* path) {
    std::vector<Entry> entries;
    Key key;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, key.out()) == ERROR_SUCCESS) Collect(key.get(), "", entries);
    return entries;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

TEST_F(LumoraReg, ExportThenImportRestoresATreeByteForByte) {
    Key display;
    ASSERT_EQ(Create(HKEY_CURRENT_USER, "Control Panel\\Screen Saver.Lumora\\Saved\\My \"Show\" \\ 1", display),
              ERROR_SUCCESS);
    ASSERT_EQ(Set(display.get(), "ShowName", REG_BINARY, Dword(5)), ERROR_SUCCESS);
    ASSERT_EQ(Set(display.get(), nullptr, REG_SZ, std::string("default\0", 8)), ERROR_SUCCESS);
    ASSERT_EQ(Set(display.get(), "Speed", REG_DWORD, Dword(42)), ERROR_SUCCESS);
    ASSERT_EQ(Set(display.get(), "Short", REG_DWORD, "\x01\x02"), ERROR_SUCCESS);
    ASSERT_EQ(Set(display.get(), "Quote \"and\\slash\"", REG_SZ, std::string("C:\\a \"b\"\0", 9)), ERROR_SUCCESS);
    ASSERT_EQ(Set(display.get(), "Empty", REG_SZ, ""), ERROR_SUCCESS);
    ASSERT_EQ(Set(display.get(), "Odd", 0x1234, std::string("\0\xff", 2)), ERROR_SUCCESS);
    ASSERT_EQ(Set(display.get(), "Multi", REG_MULTI_SZ, std::string("a\0b\0\0", 5)), ERROR_SUCCESS);
    ASSERT_EQ(Set(display.get(), "Line", REG_SZ, std::string("two\nlines\0", 10)), ERROR_SUCCESS);
    Key module;
    ASSERT_EQ(Create(display.get(), "Modules\\Bitmap", module), ERROR_SUCCESS);
    std::string path(260, '\0');
    path.replace(0, 9, "/pictures");
    for (std::size_t i = 20; i < path.size(); ++i) path[i] = static_cast<char>(i);
    ASSERT_EQ(Set(module.get(), "Path", REG_SZ, path), ERROR_SUCCESS);
    Key palette;
    ASSERT_EQ(Create(display.get(), "Palette", palette), ERROR_SUCCESS);
    ASSERT_EQ(Set(palette.get(), "Custom", REG_BINARY, std::string(708, '\x7f')), ERROR_SUCCESS);

    const char* saved = "Control Panel\\Screen Saver.Lumora\\Saved";
    std::vector<Entry> before = Snapshot(HKEY_CURRENT_USER, saved);
    std::string file = root_.path().string() + "/saved.reg";
    ToolRun exported = Tool("export 'HKCU\\Control Panel\\Screen Saver.Lumora\\Saved' '" + file + "'");
    ASSERT_EQ(exported.status, 0) << exported.out;
    std::string text = ReadFile(file);
    EXPECT_EQ(text.rfind("REGEDIT4\n\n[HKEY_CURRENT_USER\\Control Panel\\Screen Saver.Lumora\\Saved]\n", 0), 0u);
    EXPECT_NE(text.find("\"Speed\"=dword:0000002a\n"), std::string::npos);
    EXPECT_NE(text.find("\"Quote \\\"and\\\\slash\\\"\"=\"C:\\\\a \\\"b\\\"\"\n"), std::string::npos);
    EXPECT_NE(text.find("@=\"default\"\n"), std::string::npos);
    EXPECT_NE(text.find("\"Path\"=hex(1):2f,70,69"), std::string::npos);  // not a clean string
    EXPECT_NE(text.find("\"Empty\"=hex(1):\n"), std::string::npos);
    EXPECT_NE(text.find("\"Short\"=hex(4):01,02\n"), std::string::npos);
    EXPECT_NE(text.find("\"Odd\"=hex(1234):00,ff\n"), std::string::npos);
    EXPECT_LT(text.find("\\Modules\\Bitmap]"), text.find("\\Palette]"));

    ToolRun deleted = Tool("delete 'HKEY_CURRENT_USER\\Control Panel\\Screen Saver.Lumora\\Saved'");
    ASSERT_EQ(deleted.status, 0) << deleted.out;
    EXPECT_TRUE(Snapshot(HKEY_CURRENT_USER, saved).empty());

    ToolRun imported = Tool("import '" + file + "'");
    ASSERT_EQ(imported.status, 0) << imported.out;
    EXPECT_EQ(Snapshot(HKEY_CURRENT_USER, saved), before);

    // Exporting the restored tree gives the same text.
    ToolRun again = Tool("export 'HKCU\\Control Panel\\Screen Saver.Lumora\\Saved'");
    EXPECT_EQ(again.out, text);
}

TEST_F(LumoraReg, ImportDeletesKeysAndValuesAndAcceptsContinuedLines) {
    Key old;
    ASSERT_EQ(Create(HKEY_CLASSES_ROOT, "Lumora\\shell\\open\\command", old), ERROR_SUCCESS);
    Key ext;
    ASSERT_EQ(Create(HKEY_CLASSES_ROOT, ".LUM", ext), ERROR_SUCCESS);
    ASSERT_EQ(Set(ext.get(), "Content Type", REG_SZ, std::string("x\0", 2)), ERROR_SUCCESS);
    ASSERT_EQ(Set(ext.get(), "Kept", REG_DWORD, Dword(1)), ERROR_SUCCESS);

    std::string file = root_.path().string() + "/changes.reg";
    WriteFile(file,
              "REGEDIT4\r\n"
              "\r\n"
              "; comments and CRLF line ends are fine\r\n"
              "[-HKEY_CLASSES_ROOT\\Lumora]\r\n"
              "\r\n"
              "[HKCR\\.LUM]\r\n"
              "\"Content Type\"=-\r\n"
              "\"Data\"=hex:01,02,\\\r\n"
              "  03,04\r\n"
              "@=\"Lumora\"\r\n");
    ToolRun imported = Tool("import '" + file + "'");
    ASSERT_EQ(imported.status, 0) << imported.out;

    Key gone;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, "Lumora", 0, KEY_READ, gone.out()),
              static_cast<LONG>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(ValueNames(ext.get()), (std::vector<std::string>{"Kept", "Data", ""}));
    EXPECT_EQ(Get(ext.get(), "Data"), "\x01\x02\x03\x04");
    EXPECT_EQ(Get(ext.get(), nullptr), std::string("Lumora\0", 7));
}

TEST_F(LumoraReg, ABadFileChangesNothingAndSaysWhere) {
    std::string file = root_.path().string() + "/bad.reg";
    WriteFile(file,
              "REGEDIT4\n\n"
              "[HKEY_CURRENT_USER\\Software\\First]\n"
              "\"A\"=dword:1\n\n"
              "[HKEY_CURRENT_USER\\Software\\Second]\n"
              "\"B\"=hex:01,zz\n");
    ToolRun run = Tool("import '" + file + "'");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find(":7: bad hex byte"), std::string::npos) << run.out;
    Key key;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\First", 0, KEY_READ, key.out()),
              static_cast<LONG>(ERROR_FILE_NOT_FOUND));

    WriteFile(file, "Windows Registry Editor Version 5.00\n");
    EXPECT_EQ(Tool("import '" + file + "'").status, 1);
    EXPECT_EQ(Tool("import '" + root_.path().string() + "/missing.reg'").status, 1);
    EXPECT_EQ(Tool("export 'HKCU\\No\\Such\\Key'").status, 1);
    EXPECT_EQ(Tool("delete HKCU").status, 1);
    EXPECT_EQ(Tool("query HKEY_USERS").status, 2);
    EXPECT_EQ(Tool("frobnicate").status, 2);
}

TEST_F(LumoraReg, QueryAndSessionShowWhatIsStored) {
    Key saver;
    ASSERT_EQ(Create(HKEY_CURRENT_USER, "Control Panel\\Screen Saver.Lumora", saver), ERROR_SUCCESS);
    ASSERT_EQ(Set(saver.get(), "Active", REG_SZ, std::string("[D] Star\0", 9)), ERROR_SUCCESS);
    for (const char* name : {"Saved\\[D] Star", "Saved\\Capture #1"}) {
        Key display;
        ASSERT_EQ(Create(saver.get(), name, display), ERROR_SUCCESS);
    }

    ToolRun value = Tool("query 'HKCU\\Control Panel\\Screen Saver.Lumora' Active");
    EXPECT_EQ(value.status, 0);
    EXPECT_EQ(value.out, "\"Active\"=\"[D] Star\"\n");
    ToolRun key = Tool("query 'HKCU\\Control Panel\\Screen Saver.Lumora'");
    EXPECT_EQ(key.out, "\"Active\"=\"[D] Star\"\nSaved\\\n");
    EXPECT_EQ(Tool("query 'HKCU\\Control Panel\\Screen Saver.Lumora' Missing").status, 1);

    ToolRun session = Tool("session");
    EXPECT_EQ(session.status, 0);
    EXPECT_NE(session.out.find("Platform root: " + root_.path().string() + "\n"), std::string::npos) << session.out;
    EXPECT_NE(session.out.find("Saved displays: 2\n  Capture #1\n* [D] Star\n"), std::string::npos) << session.out;

    // Asked for, the usage is an answer; given a wrong command, a refusal.
    ToolRun help = Tool("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage: lumora-reg", 0), 0u) << help.out;
    EXPECT_EQ(Tool("--bogus").status, 2);
}

}  // namespace
}  // namespace regtest
