// The analyser as the saver meets it: a separate process that publishes into
// the shared block what it hears through its file input, or from a sound
// server of the test's own.
#include <gtest/gtest.h>

#include <pulse/simple.h>

#include <atomic>
#include <cstdlib>
#include <thread>

#include "saver/framework/sound_level.h"
#include "saver/framework/sources.h"
#include "saver/sound/analyser.h"
#include "saver/sound/spectrum_link.h"
#include "saver/sound/versions.h"
#include "sound_server.h"
#include "spectrum_process.h"

namespace {

using namespace spectrumtest;
using namespace std::chrono_literals;

constexpr unsigned Rate = 48000;
constexpr std::size_t Band1k = 4;
constexpr std::size_t Band10k = 13;
// Nothing here can reach it: a sound server that is not there.
const std::string NoServer = "PULSE_SERVER=unix:/nonexistent/lumora-test";
const std::string NoBus = "DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent/lumora-test";

class AnalyserTest : public testing::Test {
protected:
    void SetUp() override {
        block_ = OpenSpectrumBlock();
        ASSERT_NE(block_, nullptr);
        block_->set(spectrum::analyserMajor, 0);
        SharedSpectrum = block_;
    }
    void TearDown() override {
        SharedSpectrum = nullptr;
        CloseSpectrumBlock(block_);
    }

    float band(std::size_t b) const { return block_->get(spectrum::leftBands, b); }
    bool running() const { return block_->get(spectrum::running) != 0; }

    // The analyser reading standard input, WAV at 48 kHz.
    std::unique_ptr<Process> startFileAnalyser() {
        auto analyser =
            std::make_unique<Process>(std::vector<std::string>{AnalyserPath(), "--input", "-", "--no-track"},
                                      std::vector<std::string>{NoBus}, true);
        const auto header = StreamWavHeader(Rate);
        EXPECT_TRUE(analyser->feed(header.data(), header.size()));
        return analyser;
    }

    // Feeds 20 ms pieces of `signal` until `condition` holds (10 s at most).
    template <typename Signal>
    bool feedUntil(Process& analyser, Signal signal, const std::function<bool()>& condition) {
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        while (!condition()) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            const std::vector<unsigned char> piece = signal();
            if (!analyser.feed(piece.data(), piece.size())) return false;
        }
        return true;
    }

    SpectrumBlock* block_ = nullptr;
    double phase_ = 0;
};

TEST_F(AnalyserTest, TonesNoiseAndSilenceThroughTheFileInputMoveTheRightBands) {
    std::unique_ptr<Process> analyser = startFileAnalyser();
    const auto tone = [&](double frequency) {
        return [&, frequency] { return Tone(frequency, 0.5, 0.02, Rate, phase_); };
    };

    ASSERT_TRUE(feedUntil(*analyser, tone(1000), [&] { return running() && band(Band1k) > 0.45f; }));
    EXPECT_NEAR(block_->get(spectrum::leftLevel), 0.354f, 0.02f);
    EXPECT_NEAR(block_->get(spectrum::rightBands, Band1k), 0.5f, 0.03f);
    EXPECT_LT(band(Band10k), 0.01f);
    EXPECT_EQ(block_->get(spectrum::analyserMajor), 3);
    EXPECT_EQ(block_->get(spectrum::analyserMinor), 2);
    EXPECT_EQ(block_->get(spectrum::levelCount), 1u);
    EXPECT_EQ(ReadAnalyserVersion(nullptr), CompatibleAnalyserVersion);
    EXPECT_EQ(RegisteredAnalyserCommand(), AnalyserPath()) << "a first run registers the analyser";

    ASSERT_TRUE(feedUntil(*analyser, tone(10000), [&] { return band(Band10k) > 0.45f && band(Band1k) < 0.01f; }));

    int seed = 0;
    ASSERT_TRUE(feedUntil(
        *analyser, [&] { return Noise(0.5, 0.02, Rate, ++seed); },
        [&] {
            for (std::size_t b = 0; b < 16; ++b) {
                if (band(b) < 0.01f || block_->get(spectrum::rightBands, b) < 0.01f) return false;
            }
            return block_->get(spectrum::rightLevel) > 0.2f;
        }));

    ASSERT_TRUE(feedUntil(*analyser, tone(0), [&] {
        bool quiet = block_->get(spectrum::leftLevel) == 0.0f;
        for (std::size_t b = 0; b < 16; ++b) quiet = quiet && band(b) == 0.0f;
        return quiet;
    }));
    EXPECT_TRUE(running()) << "silence is a level too";

    // A stalled input is no longer running; sound brings it back.
    EXPECT_TRUE(WaitUntil([&] { return !running(); }));
    ASSERT_TRUE(feedUntil(*analyser, tone(1000), [&] { return running(); }));

    analyser->closeInput();
    EXPECT_EQ(analyser->waitFor(10s), 0) << "the end of the input ends the analyser";
    EXPECT_FALSE(running());
}

TEST_F(AnalyserTest, SoundLevelFollowsAToneEndToEnd) {
    block_->set(spectrum::modulesFollowSound, 1);
    block_->set(spectrum::autoGain, 1);
    std::unique_ptr<Process> analyser = startFileAnalyser();
    const auto silence = [&] { return Tone(0, 0, 0.02, Rate, phase_); };
    const auto tone = [&] { return Tone(1000, 0.3, 0.02, Rate, phase_); };
    const LONG band1k = SourceFirstBand + static_cast<LONG>(Band1k);
    const LONG band10k = SourceFirstBand + static_cast<LONG>(Band10k);

    // Auto-gain: silence first, so the running minimum is 0; then the tone
    // is the loudest sound heard, and reads full scale in its band only.
    ASSERT_TRUE(feedUntil(*analyser, silence, [&] { return IsLiveSource(band1k) && SoundLevel(band1k) == 0.0f; }));
    ASSERT_TRUE(feedUntil(*analyser, tone, [&] { return SoundLevel(band1k) > 0.95f; }));
    EXPECT_LT(SoundLevel(band10k), 0.05f);
    EXPECT_GT(SoundLevel(SourceVolume), 0.9f);
    ASSERT_TRUE(feedUntil(*analyser, silence, [&] { return SoundLevel(band1k) < 0.01f; }));

    // Without auto-gain the tone reads its share of full scale.
    block_->set(spectrum::autoGain, 0);
    ASSERT_TRUE(feedUntil(*analyser, tone, [&] { return SoundLevel(band1k) > 0.28f; }));
    EXPECT_NEAR(SoundLevel(band1k), 0.3f, 0.02f);
    EXPECT_NEAR(SoundLevel(SourceLeft), 0.3f, 0.02f);
    EXPECT_NEAR(SoundLevel(SourceVolume), 0.3f, 0.02f);

    analyser->closeInput();
    EXPECT_EQ(analyser->waitFor(10s), 0);
    EXPECT_FALSE(IsLiveSource(band1k)) << "sound sources stop being live with the analyser";
}

TEST_F(AnalyserTest, WithoutASoundServerItWaitsNotRunningAndLeavesOnTheCloseRequestOrWithTheLastSaver) {
    // As AutoRun starts it, from an open saver window.
    block_->add(spectrum::saverCount, 1);
    Process analyser({AnalyserPath(), "/PPLAY"}, {NoServer, NoBus});
    ASSERT_TRUE(WaitUntil([&] { return block_->get(spectrum::analyserMajor) == 3; }));
    // It keeps trying without ever claiming to run.
    for (int look = 0; look < 50; ++look) {
        ASSERT_FALSE(running());
        std::this_thread::sleep_for(10ms);
    }

    // A second analyser leaves the first alone.
    Process second({AnalyserPath(), "--input", "/dev/zero", "--format", "u8"}, {NoBus});
    EXPECT_EQ(second.waitFor(10s), 0);
    EXPECT_FALSE(running()) << "the second one published nothing";

    block_->set(spectrum::closeRequest, 1);
    EXPECT_EQ(analyser.waitFor(10s), 0);
    EXPECT_EQ(block_->get(spectrum::closeRequest), 0u);

    // A saver that ended before its analyser joined the block cannot ask it
    // to close; the analyser sees no saver window and leaves by itself.
    // Started from the Sound page instead, it stays.
    block_->add(spectrum::saverCount, -1);
    block_->set(spectrum::analyserMajor, 0);
    Process late({AnalyserPath(), "/PPLAY"}, {NoServer, NoBus});
    EXPECT_EQ(late.waitFor(10s), 0);
    EXPECT_EQ(block_->get(spectrum::analyserMajor), 3) << "it had joined the block";
    block_->set(spectrum::analyserMajor, 0);
    Process launched({AnalyserPath()}, {NoServer, NoBus});
    ASSERT_TRUE(WaitUntil([&] { return block_->get(spectrum::analyserMajor) == 3; }));
    EXPECT_EQ(launched.waitFor(200ms), -2) << "an analyser the user started does not follow the savers";
    block_->set(spectrum::closeRequest, 1);
    EXPECT_EQ(launched.waitFor(10s), 0);
}

TEST_F(AnalyserTest, TheLaunchButtonStartsTheRegisteredAnalyser) {
    Process registering({AnalyserPath(), "--register"}, {});
    ASSERT_EQ(registering.wait(), 0);
    EXPECT_EQ(RegisteredAnalyserCommand(), AnalyserPath());
    EXPECT_EQ(ReadAnalyserVersion(nullptr), CompatibleAnalyserVersion);

    // The analyser started this way inherits this environment (and no
    // session bus, from the test programs' main).
    setenv("PULSE_SERVER", NoServer.substr(NoServer.find('=') + 1).c_str(), 1);
    ASSERT_TRUE(StartAnalyser(nullptr, FALSE));
    EXPECT_TRUE(WaitUntil([&] { return block_->get(spectrum::analyserMajor) == 3; }));
    block_->set(spectrum::closeRequest, 1);
    EXPECT_TRUE(WaitUntil([&] { return block_->get(spectrum::closeRequest) == 0; })) << "it left the block";
    unsetenv("PULSE_SERVER");

    Process bad({AnalyserPath(), "--rate", "7"}, {});
    EXPECT_EQ(bad.wait(), 2);
    Process missing({AnalyserPath(), "--input", "/nonexistent/sound.wav"}, {});
    EXPECT_EQ(missing.wait(), 2);
}

// Plays into the default output of a server through the client library.
class Player {
public:
    explicit Player(const std::string& server) {
        const pa_sample_spec params{PA_SAMPLE_S16LE, Rate, 2};
        pa_buffer_attr attributes{static_cast<std::uint32_t>(-1), static_cast<std::uint32_t>(Rate * 4 / 50),
                                  static_cast<std::uint32_t>(-1), static_cast<std::uint32_t>(-1),
                                  static_cast<std::uint32_t>(-1)};
        stream_ = pa_simple_new(server.substr(5).c_str(), "lumora test", PA_STREAM_PLAYBACK, nullptr, "tone", &params,
                                nullptr, &attributes, nullptr);
    }
    ~Player() {
        if (stream_ != nullptr) pa_simple_free(stream_);
    }
    bool ok() const { return stream_ != nullptr; }
    bool play(const std::vector<unsigned char>& sound) {
        return pa_simple_write(stream_, sound.data(), sound.size(), nullptr) == 0;
    }

private:
    pa_simple* stream_ = nullptr;
};

TEST_F(AnalyserTest, HearsWhatASoundServerPlays) {
    SoundServer server;
    std::string why;
    if (!server.start(&why)) GTEST_SKIP() << "no PulseAudio server can run here: " << why;
    Process analyser({AnalyserPath()}, {"PULSE_SERVER=" + server.address(), NoBus});
    Player player(server.address());
    ASSERT_TRUE(player.ok());

    const auto until = [&](double frequency, const std::function<bool()>& condition) {
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        while (!condition()) {
            if (std::chrono::steady_clock::now() > deadline || !player.play(Tone(frequency, 0.5, 0.02, Rate, phase_)))
                return false;
        }
        return true;
    };
    ASSERT_TRUE(until(1000, [&] { return running() && band(Band1k) > 0.4f; }));
    EXPECT_LT(band(Band10k), 0.02f);
    ASSERT_TRUE(until(10000, [&] { return band(Band10k) > 0.4f && band(Band1k) < 0.02f; }));
    ASSERT_TRUE(until(0, [&] { return band(Band10k) < 0.01f; }));
    EXPECT_TRUE(running());

    block_->set(spectrum::closeRequest, 1);
    EXPECT_EQ(analyser.waitFor(10s), 0);
}

}  // namespace
