#include "spectrum_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <thread>

extern char** environ;

namespace spectrumtest {
namespace {

void Put16(std::vector<unsigned char>& out, std::int16_t v) {
    out.push_back(static_cast<unsigned char>(v & 0xFF));
    out.push_back(static_cast<unsigned char>((v >> 8) & 0xFF));
}

void Put32(std::vector<unsigned char>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

std::int16_t ToS16(double sample) { return static_cast<std::int16_t>(std::lround(sample * 32767.0)); }

}  // namespace

Process::Process(const std::vector<std::string>& args, const std::vector<std::string>& environment, bool feedStdin,
                 const std::string& errorFile) {
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        const std::string name = entry.substr(0, entry.find('=') + 1);
        bool replaced = false;
        for (const std::string& extra : environment) replaced |= extra.rfind(name, 0) == 0;
        if (!replaced) env.push_back(entry);
    }
    env.insert(env.end(), environment.begin(), environment.end());
    std::vector<std::string> argStrings = args;
    std::vector<char*> argv;
    std::vector<char*> envp;
    for (std::string& a : argStrings) argv.push_back(a.data());
    for (std::string& e : env) envp.push_back(e.data());
    argv.push_back(nullptr);
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    int pipeEnds[2] = {-1, -1};
    if (feedStdin && pipe2(pipeEnds, O_CLOEXEC) == 0) {
        // A child that dies fails the feed instead of killing this process.
        signal(SIGPIPE, SIG_IGN);
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[0], STDIN_FILENO);
        input_ = pipeEnds[1];
    }
    if (!errorFile.empty()) {
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
    }
    if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    if (pipeEnds[0] >= 0) close(pipeEnds[0]);
}

Process::~Process() {
    closeInput();
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
}

bool Process::feed(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    while (size > 0) {
        const ssize_t written = write(input_, bytes, size);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

void Process::closeInput() {
    if (input_ >= 0) close(input_);
    input_ = -1;
}

int Process::wait() {
    int status = 0;
    if (pid_ <= 0 || waitpid(pid_, &status, 0) != pid_) return -1;
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int Process::waitFor(std::chrono::milliseconds limit) {
    int status = 0;
    const bool exited = WaitUntil([&] { return pid_ > 0 && waitpid(pid_, &status, WNOHANG) == pid_; }, limit);
    if (!exited) return -2;
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

std::vector<unsigned char> Tone(double frequency, double amplitude, double seconds, unsigned rate, double& phase,
                                bool left, bool right) {
    std::vector<unsigned char> out;
    const auto frames = static_cast<std::size_t>(seconds * rate);
    const double step = 2.0 * M_PI * frequency / rate;
    for (std::size_t i = 0; i < frames; ++i) {
        const double sample = amplitude * std::sin(phase);
        phase = std::fmod(phase + step, 2.0 * M_PI);
        Put16(out, ToS16(left ? sample : 0.0));
        Put16(out, ToS16(right ? sample : 0.0));
    }
    return out;
}

std::vector<unsigned char> Noise(double amplitude, double seconds, unsigned rate, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> sample(-amplitude, amplitude);
    std::vector<unsigned char> out;
    for (auto i = static_cast<std::size_t>(seconds * rate); i > 0; --i) {
        Put16(out, ToS16(sample(random)));
        Put16(out, ToS16(sample(random)));
    }
    return out;
}

std::vector<unsigned char> StreamWavHeader(unsigned rate) {
    std::vector<unsigned char> out{'R', 'I', 'F', 'F'};
    Put32(out, 0xFFFFFFFFu);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    Put32(out, 16);
    Put16(out, 1);  // integer PCM
    Put16(out, 2);
    Put32(out, rate);
    Put32(out, rate * 4);
    Put16(out, 4);
    Put16(out, 16);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    Put32(out, 0xFFFFFFFFu);
    return out;
}

std::string AnalyserPath() { return LUMORA_SPECTRUM_PATH; }

}  // namespace spectrumtest
