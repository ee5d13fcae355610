// The analyser's cost and speed:
// - one analysis step (10 ms of stereo sound at 48 kHz: two 2048-point FFTs);
// - the analyser process's CPU use while it captures music-like sound from a
//   sound server, as a share of one core (target: under 2 %);
// - the time from a tone's start to its band level in the block (target:
//   under 50 ms), from a sound server and from the file input;
// - the time from the end of the input to `running` dropping.
// The capture figures need PulseAudio; without it they say why and skip.
#include <benchmark/benchmark.h>

#include <pulse/simple.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "saver/sound/spectrum_link.h"
#include "sound_server.h"
#include "spectrum_process.h"
#include "tools/lumora-spectrum/spectrum_analysis.h"

namespace {

using namespace spectrumtest;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr unsigned Rate = 48000;
constexpr std::size_t Band1k = 4;
const std::string NoBus = "DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent/lumora-bench";

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// utime + stime of a process, in seconds.
double ProcessCpuSeconds(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    double ticks = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14 || i == 15) ticks += std::stod(field);
    }
    return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// Voluntary context switches of all of a process's threads: how often it
// wakes up.
double ProcessWakeups(pid_t pid) {
    double total = 0;
    std::error_code error;
    for (const auto& task : std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
        std::ifstream in(task.path() / "status");
        std::string line;
        while (std::getline(in, line)) {
            if (line.rfind("voluntary_ctxt_switches:", 0) == 0) total += std::stod(line.substr(line.find(':') + 1));
        }
    }
    return total;
}

// Music-like: a decaying bass beat, a chord and a little noise.
std::vector<unsigned char> Music(double& t, double seconds) {
    std::vector<unsigned char> out;
    for (auto i = static_cast<std::size_t>(seconds * Rate); i > 0; --i, t += 1.0 / Rate) {
        const double beat = std::exp(-std::fmod(t * 2, 1.0) * 6);
        const double s = 0.5 * beat * std::sin(2 * M_PI * 60 * t) + 0.1 * std::sin(2 * M_PI * 440 * t) +
                         0.1 * std::sin(2 * M_PI * 660 * t) + 0.02 * std::sin(t * 12345.678 * t);
        const auto v = static_cast<std::int16_t>(std::lround(std::clamp(s, -1.0, 1.0) * 32767));
        for (int c = 0; c < 2; ++c) {
            out.push_back(static_cast<unsigned char>(v & 0xFF));
            out.push_back(static_cast<unsigned char>((v >> 8) & 0xFF));
        }
    }
    return out;
}

// A player whose buffer holds `latencyMs` of sound, as a desktop player
// asks for (a browser some tens of milliseconds, a music player more).
pa_simple* OpenPlayer(const std::string& address, int latencyMs) {
    const pa_sample_spec params{PA_SAMPLE_S16LE, Rate, 2};
    const auto bytes = static_cast<std::uint32_t>(Rate * 4 / 1000 * latencyMs);
    const pa_buffer_attr attributes{static_cast<std::uint32_t>(-1), bytes, static_cast<std::uint32_t>(-1),
                                    static_cast<std::uint32_t>(-1), static_cast<std::uint32_t>(-1)};
    return pa_simple_new(address.substr(5).c_str(), "lumora bench", PA_STREAM_PLAYBACK, nullptr, "bench", &params,
                         nullptr, &attributes, nullptr);
}

// Waits for the 1 kHz band to pass half of a 0.5 tone's level after the
// tone starts, `rounds` times; the milliseconds of each round.  The tone
// starts `queued()` after it is handed over: the sound still buffered
// before it.
template <typename Play, typename Queued>
std::vector<double> ToneLatencies(SpectrumBlock& block, int rounds, Play play, Queued queued) {
    std::vector<double> latencies;
    double phase = 0;
    for (int round = 0; round < rounds; ++round) {
        // Silence until the band is quiet, then the tone until it shows.
        const auto quietUntil = Clock::now() + 300ms;
        while (Clock::now() < quietUntil || block.get(spectrum::leftBands, Band1k) > 0.01f) {
            play(Tone(0, 0, 0.01, Rate, phase));
        }
        const auto start = Clock::now() + queued();
        std::atomic<bool> seen{false};
        Clock::time_point seenAt;
        std::thread watch([&] {
            while (block.get(spectrum::leftBands, Band1k) < 0.25f && Clock::now() - start < 2s) {
                std::this_thread::sleep_for(200us);
            }
            seenAt = Clock::now();
            seen = true;
        });
        while (!seen) play(Tone(1000, 0.5, 0.01, Rate, phase));
        watch.join();
        latencies.push_back(Ms(seenAt - start));
    }
    std::sort(latencies.begin(), latencies.end());
    return latencies;
}

void Report(benchmark::State& state, const std::string& name, const std::vector<double>& sorted) {
    state.counters[name + "_median_ms"] = sorted[sorted.size() / 2];
    state.counters[name + "_max_ms"] = sorted.back();
}

void BM_AnalysisStep(benchmark::State& state) {
    SpectrumAnalysis analysis(Rate);
    double t = 0;
    const std::vector<unsigned char> sound = Music(t, 0.01);
    std::vector<float> stereo;
    for (std::size_t i = 0; i + 1 < sound.size(); i += 2) {
        stereo.push_back(static_cast<float>(static_cast<std::int16_t>(sound[i] | (sound[i + 1] << 8))) / 32768.0f);
    }
    int published = 0;
    for (auto _ : state) {
        analysis.add(stereo.data(), Rate / 100, [&](const SpectrumLevels&) { ++published; });
    }
    benchmark::DoNotOptimize(published);
}
BENCHMARK(BM_AnalysisStep)->Unit(benchmark::kMicrosecond);

void BM_CaptureFromSoundServer(benchmark::State& state) {
    SoundServer server;
    std::string why;
    if (!server.start(&why)) {
        state.SkipWithError(("no PulseAudio server can run here: " + why).c_str());
        return;
    }
    SpectrumBlock* block = OpenSpectrumBlock();
    Process analyser({AnalyserPath(), "--no-track"}, {"PULSE_SERVER=" + server.address(), NoBus});
    pa_simple* player = OpenPlayer(server.address(), static_cast<int>(state.range(0)));
    double t = 0;
    const auto play = [&](const std::vector<unsigned char>& sound) {
        pa_simple_write(player, sound.data(), sound.size(), nullptr);
    };
    for (auto _ : state) {
        WaitUntil([&] { return block->get(spectrum::running) != 0; });
        state.counters["player_buffer_ms"] = static_cast<double>(state.range(0));
        play(Music(t, 0.5));  // the analyser settles
        const double cpuBefore = ProcessCpuSeconds(analyser.pid());
        const double wakeupsBefore = ProcessWakeups(analyser.pid());
        const auto before = Clock::now();
        while (Clock::now() - before < 5s) play(Music(t, 0.05));
        const double seconds = Ms(Clock::now() - before) / 1000;
        state.counters["analyser_cpu_percent_of_a_core"] =
            100 * (ProcessCpuSeconds(analyser.pid()) - cpuBefore) / seconds;
        state.counters["analyser_wakeups_per_s"] = (ProcessWakeups(analyser.pid()) - wakeupsBefore) / seconds;
        const auto queued = [&] {
            return std::chrono::duration_cast<Clock::duration>(
                std::chrono::microseconds(pa_simple_get_latency(player, nullptr)));
        };
        Report(state, "tone_to_band", ToneLatencies(*block, 10, play, queued));
    }
    pa_simple_free(player);
    block->set(spectrum::closeRequest, 1);
    analyser.waitFor(10s);
    CloseSpectrumBlock(block);
}
BENCHMARK(BM_CaptureFromSoundServer)->Arg(20)->Arg(100)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_FileInput(benchmark::State& state) {
    SpectrumBlock* block = OpenSpectrumBlock();
    Process analyser({AnalyserPath(), "--input", "-", "--no-track"}, {NoBus}, true);
    const auto header = StreamWavHeader(Rate);
    analyser.feed(header.data(), header.size());
    // Written at the pace it plays, so no backlog hides in the pipe.
    auto due = Clock::now();
    const auto play = [&](const std::vector<unsigned char>& sound) {
        std::this_thread::sleep_until(due);
        analyser.feed(sound.data(), sound.size());
        due += std::chrono::microseconds(sound.size() / 4 * 1000000 / Rate);
    };
    for (auto _ : state) {
        Report(state, "tone_to_band", ToneLatencies(*block, 10, play, [] { return Clock::duration(0); }));
        // The end of the input: nothing more arrives, the pipe stays open.
        const auto last = Clock::now();
        WaitUntil([&] { return block->get(spectrum::running) == 0; }, 5s);
        state.counters["stall_to_not_running_ms"] = Ms(Clock::now() - last);
    }
    analyser.closeInput();
    analyser.waitFor(10s);
    CloseSpectrumBlock(block);
}
BENCHMARK(BM_FileInput)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
