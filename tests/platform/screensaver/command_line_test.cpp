#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/screensaver/command_line.h"

using platform::saver::Launch;
using platform::saver::ParseCommandLine;
using platform::saver::RunMode;

namespace {

Launch parse(std::vector<std::string> args, const char* xscreensaverWindow = nullptr,
             const std::string& programPath = "/usr/bin/lumora") {
    std::vector<const char*> argv;
    for (const std::string& arg : args) argv.push_back(arg.c_str());
    return ParseCommandLine(static_cast<int>(argv.size()), argv.data(), programPath, xscreensaverWindow);
}

TEST(Switches, LetterAfterSlashOrDashInEitherCase) {
    for (const char* s : {"/s", "-s", "/S", "-S"}) EXPECT_EQ(parse({"lumora", s}).mode, RunMode::FullScreen) << s;
    for (const char* c : {"/c", "-C", "/c:1234"}) EXPECT_EQ(parse({"lumora", c}).mode, RunMode::Settings) << c;
    EXPECT_EQ(parse({"lumora", "/a"}).mode, RunMode::Password);
    EXPECT_EQ(parse({"lumora", "-A"}).mode, RunMode::Password);
    EXPECT_EQ(parse({"lumora"}).mode, RunMode::Settings);
    EXPECT_EQ(parse({"lumora", "/x"}).mode, RunMode::Settings);
}

TEST(Switches, PreviewTakesADecimalOrHexWindowId) {
    Launch decimal = parse({"lumora", "/p", "4194311"});
    EXPECT_EQ(decimal.mode, RunMode::Preview);
    EXPECT_EQ(decimal.windowId, 4194311u);
    Launch hex = parse({"lumora", "/L", "0x40000A"});
    EXPECT_EQ(hex.mode, RunMode::Preview);
    EXPECT_EQ(hex.windowId, 0x40000Au);
    Launch attached = parse({"lumora", "/p:77"});
    EXPECT_EQ(attached.mode, RunMode::Preview);
    EXPECT_EQ(attached.windowId, 77u);
    EXPECT_TRUE(parse({"lumora", "/p", "123"}).words[2].empty()) << "a preview id is not a settings file";
}

TEST(Switches, BadOrMissingWindowIdsAreRefused) {
    for (const char* bad : {"0", "abc", "12x", "0x", "-5", "0x100000000", "99999999999", ""}) {
        Launch launch = parse({"lumora", "/p", bad});
        EXPECT_EQ(launch.mode, RunMode::Invalid) << bad;
        EXPECT_FALSE(launch.error.empty());
    }
    EXPECT_EQ(parse({"lumora", "/p"}).mode, RunMode::Invalid);
    EXPECT_EQ(parse({"lumora", "-window-id"}).mode, RunMode::Invalid);
    EXPECT_EQ(parse({"lumora", "--window-id="}).mode, RunMode::Invalid);
}

TEST(Switches, SettingsFileAfterRunSwitchIsOneWordWithItsBlanks) {
    Launch launch = parse({"/opt/lumora/lumora", "/s", "Night Sky.LUM"});
    EXPECT_EQ(launch.mode, RunMode::FullScreen);
    EXPECT_EQ(launch.words[0], "/opt/lumora/lumora");
    EXPECT_EQ(launch.words[1], "/s");
    EXPECT_EQ(launch.words[2], "Night Sky.LUM");
    // An absolute Linux path starts with the switch character and still counts.
    EXPECT_EQ(parse({"lumora", "/S", "/home/u/My Displays/a.LUM"}).words[2], "/home/u/My Displays/a.LUM");
    EXPECT_TRUE(parse({"lumora", "/s"}).words[2].empty());
}

TEST(Switches, OverLongArgumentIsKeptWhole) {
    std::string longName(20000, 'n');
    longName += ".LUM";
    Launch launch = parse({"lumora", "/s", longName});
    EXPECT_EQ(launch.mode, RunMode::FullScreen);
    EXPECT_EQ(launch.words[2], longName);
    std::string longId(5000, '1');
    EXPECT_EQ(parse({"lumora", "/p", longId}).mode, RunMode::Invalid);
}

TEST(Switches, SetupWhenStartedAsSetupExe) {
    EXPECT_EQ(parse({"SETUP.EXE"}, nullptr, "/media/cd/Setup.exe").mode, RunMode::Setup);
    EXPECT_EQ(parse({"./setup.exe"}, nullptr, "/usr/bin/lumora").mode, RunMode::Setup);
    EXPECT_EQ(parse({"lumora"}, nullptr, "/usr/bin/lumora").mode, RunMode::Settings);
    EXPECT_EQ(parse({"SETUP.EXE", "/s"}, nullptr, "/x/SETUP.EXE").mode, RunMode::FullScreen);
}

TEST(Switches, XscreensaverWindowIdAndRoot) {
    Launch single = parse({"lumora", "-window-id", "0x1a00003"});
    EXPECT_EQ(single.mode, RunMode::Embedded);
    EXPECT_EQ(single.windowId, 0x1a00003u);
    Launch doubled = parse({"lumora", "--window-id", "42"});
    EXPECT_EQ(doubled.mode, RunMode::Embedded);
    EXPECT_EQ(doubled.windowId, 42u);
    Launch joined = parse({"lumora", "--window-id=0x2f"});
    EXPECT_EQ(joined.mode, RunMode::Embedded);
    EXPECT_EQ(joined.windowId, 0x2fu);

    Launch rootInWindow = parse({"lumora", "-root"}, "0x600001");
    EXPECT_EQ(rootInWindow.mode, RunMode::Embedded);
    EXPECT_EQ(rootInWindow.windowId, 0x600001u);
    EXPECT_EQ(parse({"lumora", "-root"}).mode, RunMode::FullScreen);
    EXPECT_EQ(parse({"lumora", "-root"}, "garbage").mode, RunMode::FullScreen);
}

TEST(Switches, OtherHackOptionsAreToleratedAndTheirValuesSkipped) {
    Launch launch = parse({"lumora", "-fps", "-install", "-visual", "default", "-mono", "-nice", "10", "-delay",
                           "20000", "-no-shm", "--no-db", "-window", "-root"});
    EXPECT_EQ(launch.mode, RunMode::FullScreen);
    // A value that looks like a switch is still the option's value.
    EXPECT_EQ(parse({"lumora", "-visual", "/s"}).mode, RunMode::Settings);
    EXPECT_EQ(parse({"lumora", "-nice", "5", "/s", "a.LUM"}).words[2], "a.LUM");
    EXPECT_EQ(parse({"lumora", "-fps", "-window"}).mode, RunMode::Settings);
    // A trailing option that should have a value is no reason to fail.
    EXPECT_EQ(parse({"lumora", "-root", "-delay"}).mode, RunMode::FullScreen);
}

TEST(Switches, SavedDisplayIsReadBeforeOrAfterTheSwitchInEveryForm) {
    Launch hack = parse({"lumora", "-root", "-saved-display", "[D] Plasma"});
    EXPECT_EQ(hack.mode, RunMode::FullScreen);
    EXPECT_EQ(hack.savedDisplay, "[D] Plasma");
    // Commands without shell characters get their options with two dashes.
    Launch doubled = parse({"lumora", "--root", "--saved-display", "-odd-"}, "0x50");
    EXPECT_EQ(doubled.mode, RunMode::Embedded);
    EXPECT_EQ(doubled.savedDisplay, "-odd-");
    Launch after = parse({"lumora", "/p", "77", "--saved-display=Night"});
    EXPECT_EQ(after.mode, RunMode::Preview);
    EXPECT_EQ(after.windowId, 77u);
    EXPECT_EQ(after.savedDisplay, "Night");
    Launch file = parse({"lumora", "/s", "Night Sky.LUM", "-saved-display", "Night"});
    EXPECT_EQ(file.words[2], "Night Sky.LUM");
    EXPECT_EQ(file.savedDisplay, "Night");
    EXPECT_TRUE(parse({"lumora", "-window-id", "9"}).savedDisplay.empty());
    for (auto args : {std::vector<std::string>{"lumora", "-root", "-saved-display"},
                      std::vector<std::string>{"lumora", "/s", "--saved-display="}})
        EXPECT_EQ(parse(args).mode, RunMode::Invalid) << args.back();
}

TEST(Switches, RenderPassesEverythingOn) {
    Launch launch = parse({"lumora", "--render", "out.png", "--size", "64x48"});
    EXPECT_EQ(launch.mode, RunMode::Render);
    EXPECT_EQ(launch.renderIndex, 1);
}

TEST(Switches, HelpAndVersionAnswerAndUnknownDoubleDashOptionsAreRefused) {
    EXPECT_EQ(parse({"lumora", "--help"}).mode, RunMode::Help);
    EXPECT_EQ(parse({"lumora", "-root", "--version"}).mode, RunMode::Version);
    // Refused rather than opening the settings, as a mistyped option used to.
    for (const char* bad : {"--bogus", "--s", "--render=x.png", "--helpme"}) {
        Launch launch = parse({"lumora", bad});
        EXPECT_EQ(launch.mode, RunMode::Invalid) << bad;
        EXPECT_NE(launch.error.find(std::string(bad).substr(0, std::string(bad).find('='))), std::string::npos);
    }
    EXPECT_EQ(parse({"lumora", "/s", "--render"}).mode, RunMode::FullScreen);  // decided before it
    EXPECT_EQ(parse({"lumora", "-root", "--render", "x.png"}).mode, RunMode::Invalid);
    // Hack options with two dashes still pass, one-dash words of other hacks too.
    EXPECT_EQ(parse({"lumora", "--fps", "--no-shm", "-whatever", "-root"}).mode, RunMode::FullScreen);
}

}  // namespace
