#pragma once
// Running the `lumora` program from a test: child processes, a private X
// server and screenshots of it.
#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace runtimetest {

using Environment = std::vector<std::pair<std::string, std::string>>;

// Starts the program with the arguments (argv[0] included) and the extra
// environment; -1 when it could not be started.
pid_t Spawn(const std::vector<std::string>& args, const Environment& environment);
// The exit code, or nullopt when the process has not ended within the time
// (it is then killed) or ended by a signal.
std::optional<int> WaitExit(pid_t pid, int timeoutMs);
// Where a running program's threads stand, on standard error: name, state and
// kernel wait of each, its child processes, and the threads' stacks when gdb
// is at hand.
void PrintThreads(pid_t pid);
bool Alive(pid_t pid);
// Runs a shell command and returns what it printed.
std::string Output(const std::string& command);

struct Screenshot {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;  // 3 bytes a pixel
    bool blank() const;
    // How many pixels differ from the other picture of the same size.
    std::size_t differences(const Screenshot& other) const;
};

// The window (an X window id, or "root") through ImageMagick's import.
Screenshot Grab(const std::string& display, const std::string& window);

}  // namespace runtimetest
