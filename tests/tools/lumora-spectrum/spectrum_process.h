#pragma once
// Running the analyser as its own process, fed through standard input, and
// the signals the tests feed it.
#include <sys/types.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace spectrumtest {

// A child process, killed with the object unless it was waited for.
class Process {
public:
    // `environment`: NAME=VALUE entries added to (or replacing) this
    // process's.  With `feedStdin` the child reads a pipe this object writes;
    // with an `errorFile` its standard error goes there.
    Process(const std::vector<std::string>& args, const std::vector<std::string>& environment = {},
            bool feedStdin = false, const std::string& errorFile = "");
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool started() const { return pid_ > 0; }
    pid_t pid() const { return pid_; }
    // Writes everything, false when the child stopped reading.
    bool feed(const void* data, std::size_t size);
    void closeInput();
    // The exit status, or -1 when the child did not exit normally.
    int wait();
    // Like wait(), but -2 when the child is still running after `limit`.
    int waitFor(std::chrono::milliseconds limit);

private:
    pid_t pid_ = -1;
    int input_ = -1;
};

// Polls `condition` every 5 ms for up to `limit`.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit = std::chrono::seconds(10));

// Interleaved stereo s16le at `rate`: a sine of `frequency` Hz (0: silence)
// at `amplitude` of full scale in the channels asked for; `phase` carries on
// between calls.
std::vector<unsigned char> Tone(double frequency, double amplitude, double seconds, unsigned rate, double& phase,
                                bool left = true, bool right = true);
// Uniform white noise at `amplitude` of full scale, both channels.
std::vector<unsigned char> Noise(double amplitude, double seconds, unsigned rate, unsigned seed);

// The canonical 44-byte header of a 16-bit stereo WAV whose length is not
// known (a stream).
std::vector<unsigned char> StreamWavHeader(unsigned rate);

std::string AnalyserPath();

}  // namespace spectrumtest
