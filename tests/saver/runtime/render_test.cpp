// `lumora --render`: its options, and pictures that depend on nothing but
// the options and the registry.
#include <gif_lib.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "program.h"
#include "runtime_fixture.h"
#include "saver/runtime/render_options.h"
#include "saver/settings/key_paths.h"
#include "saver/settings/registry_access.h"

namespace {

bool Parse(std::vector<const char*> words, RenderOptions* options, std::string* error = nullptr) {
    words.insert(words.begin(), {"lumora", "--render"});
    std::string ignored;
    return ParseRenderOptions(static_cast<int>(words.size()), words.data(), options, error ? error : &ignored);
}

TEST(RenderOptionsTest, EveryOptionIsReadAndDefaultsFillTheRest) {
    RenderOptions options;
    ASSERT_TRUE(Parse({"out.png"}, &options));
    EXPECT_EQ(options.output, "out.png");
    EXPECT_EQ(options.width, 640);
    EXPECT_EQ(options.seconds, 10u);
    EXPECT_EQ(options.fps, 60u);
    ASSERT_TRUE(Parse({"--size", "1920x1080", "pic.png", "--seconds", "3", "--fps", "25", "--display",
                       "[D] Bezier", "--seed", "4294967295", "--frames", "dir", "--every", "5"},
                      &options));
    EXPECT_EQ(options.output, "pic.png");
    EXPECT_EQ(options.width, 1920);
    EXPECT_EQ(options.height, 1080);
    EXPECT_EQ(options.seconds, 3u);
    EXPECT_EQ(options.fps, 25u);
    EXPECT_EQ(options.display, "[D] Bezier");
    EXPECT_EQ(options.seed, 4294967295ul);
    EXPECT_EQ(options.framesDir, "dir");
    EXPECT_EQ(options.every, 5u);
    EXPECT_FALSE(options.gif);

    // A GIF takes its pictures at --fps (15 unless asked) while the saver
    // runs at its usual rate.
    ASSERT_TRUE(Parse({"Run.GIF"}, &options));
    EXPECT_TRUE(options.gif);
    EXPECT_EQ(options.gifFps, 15u);
    EXPECT_EQ(options.fps, 60u);
    ASSERT_TRUE(Parse({"run.gif", "--fps", "25"}, &options));
    EXPECT_EQ(options.gifFps, 25u);
    EXPECT_EQ(options.fps, 60u);
}

TEST(RenderOptionsTest, UnusableValuesAreRefusedWithAReason) {
    const std::vector<std::vector<const char*>> bad = {
        {},
        {"a.png", "b.png"},
        {"a.png", "--size"},
        {"a.png", "--size", "640"},
        {"a.png", "--size", "0x480"},
        {"a.png", "--size", "9000x10"},
        {"a.png", "--size", "-5x10"},
        {"a.png", "--seconds", "0"},
        {"a.png", "--seconds", "1e3"},
        {"a.png", "--fps", "0"},
        {"a.png", "--fps", "1001"},
        {"a.gif", "--fps", "51"},
        {"a.png", "--seed", "4294967296"},
        {"a.png", "--display", ""},
        {"a.png", "--display", "Saved\\Other"},
        {"a.png", "--every", "0"},
        {"a.png", "--fast"},
    };
    for (const auto& words : bad) {
        RenderOptions options;
        std::string error;
        EXPECT_FALSE(Parse(words, &options, &error)) << (words.empty() ? "(none)" : words.back());
        EXPECT_FALSE(error.empty());
    }
}

class RenderTest : public RuntimeTest {
protected:
    // The first-run displays, a slogan and the name box, so that a render
    // draws more than black.
    void SetUp() override {
        RuntimeTest::SetUp();
        BuildModuleTable();
        const char slogan[] = "Same every time";
        WriteSaverValue("Slogan", SaverKeyWord, REG_SZ, slogan, sizeof slogan);
        setActive("[D] Bezier");
    }
    void setActive(const std::string& name) {
        WriteSaverValue("Active", SaverKeyWord, REG_SZ, name.c_str(), static_cast<DWORD>(name.size() + 1));
    }
    std::string active() {
        char value[MAX_PATH] = {};
        DWORD size = sizeof value;
        ReadSaverValue("Active", SaverKeyWord, nullptr, value, &size);
        return value;
    }
    std::optional<int> render(std::vector<std::string> options) {
        options.insert(options.begin(), {LUMORA_PROGRAM, "--render"});
        pid_t pid = runtimetest::Spawn(options, {{"LUMORA_ROOT", root.path().string()}});
        return runtimetest::WaitExit(pid, 120000);
    }
    std::string file(const std::string& name) { return (root.path() / name).string(); }
    static std::string bytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
};

TEST_F(RenderTest, TheSameArgumentsGiveTheSameBytes) {
    std::vector<std::string> options = {"--size", "320x240", "--seconds", "4", "--seed", "7"};
    auto first = options;
    first.insert(first.begin(), file("first.png"));
    auto second = options;
    second.insert(second.begin(), file("second.png"));
    ASSERT_EQ(render(first), 0);
    ASSERT_EQ(render(second), 0);
    std::string a = bytes(file("first.png"));
    ASSERT_GT(a.size(), 8u);
    EXPECT_EQ(a.substr(1, 3), "PNG");
    EXPECT_TRUE(a == bytes(file("second.png"))) << "the two pictures differ";
}

TEST_F(RenderTest, AnotherDisplayIsShownWithoutChangingActive) {
    setActive("[D] Star");
    ASSERT_EQ(render({file("bezier.png"), "--display", "[D] Bezier", "--seconds", "1", "--frames", file("frames"),
                      "--every", "20"}),
              0);
    EXPECT_EQ(active(), "[D] Star");
    EXPECT_TRUE(std::filesystem::exists(file("bezier.png")));
    // One second at 60 frames a second: frames 0, 20 and 40.
    EXPECT_TRUE(std::filesystem::exists(file("frames/frame-000040.png")));
    EXPECT_FALSE(std::filesystem::exists(file("frames/frame-000041.png")));

    EXPECT_EQ(render({file("missing.png"), "--display", "No Such Display", "--seconds", "1"}), 1);
    EXPECT_FALSE(std::filesystem::exists(file("missing.png")));
    EXPECT_EQ(render({file("bad.png"), "--size", "huge"}), 2);
}

TEST_F(RenderTest, AGifShowsTheWholeRunInItsColoursOfEachMoment) {
    ASSERT_EQ(render({file("run.gif"), "--size", "64x48", "--seconds", "3", "--seed", "7"}), 0);
    int error = 0;
    GifFileType* gif = DGifOpenFileName(file("run.gif").c_str(), &error);
    ASSERT_NE(gif, nullptr) << GifErrorString(error);
    ASSERT_EQ(DGifSlurp(gif), GIF_OK);
    EXPECT_EQ(gif->SWidth, 64);
    EXPECT_EQ(gif->SHeight, 48);
    // The colours flow, so pictures differ; equal ones would have merged.
    EXPECT_GT(gif->ImageCount, 10);
    EXPECT_LE(gif->ImageCount, 45);
    int hundredths = 0;
    for (int i = 0; i < gif->ImageCount; ++i) {
        GraphicsControlBlock control{};
        DGifSavedExtensionToGCB(gif, i, &control);
        hundredths += control.DelayTime;
    }
    EXPECT_EQ(hundredths, 300);
    DGifCloseFile(gif, &error);
}

TEST_F(RenderTest, ADamagedRegistryIsNamedKeptAndTheRunStartsFromTheFirstRunDisplays) {
    std::filesystem::path damaged = root.path() / "damaged";
    std::filesystem::create_directories(damaged / "registry");
    std::string header(4096, '\x5a');
    std::ofstream(damaged / "registry/user.db", std::ios::binary) << header;

    std::string gif = (damaged / "run.gif").string();
    std::string said = runtimetest::Output("LUMORA_ROOT='" + damaged.string() + "' '" LUMORA_PROGRAM "' --render '" +
                                           gif + "' --size 64x48 --seconds 2 2>&1; echo exit=$?");
    EXPECT_NE(said.find((damaged / "registry/user.db").string() + " cannot be used"), std::string::npos) << said;
    EXPECT_NE(said.find("exit=0"), std::string::npos) << said;
    EXPECT_TRUE(bytes((damaged / "registry/user.db").string()) == header) << "the damaged file was changed";

    // Not black: a first-run display draws and its colours flow, so the
    // pictures differ and do not merge into one.
    int error = 0;
    GifFileType* run = DGifOpenFileName(gif.c_str(), &error);
    ASSERT_NE(run, nullptr) << GifErrorString(error);
    ASSERT_EQ(DGifSlurp(run), GIF_OK);
    EXPECT_GT(run->ImageCount, 1);
    DGifCloseFile(run, &error);
}

}  // namespace
