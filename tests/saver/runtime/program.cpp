#include "program.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace runtimetest {

pid_t Spawn(const std::vector<std::string>& args, const Environment& environment) {
    std::vector<char*> argv;
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = fork();
    if (pid != 0) return pid;
    for (const auto& [name, value] : environment) setenv(name.c_str(), value.c_str(), 1);
    execv(argv[0], argv.data());
    _exit(127);
}

void PrintThreads(pid_t pid) {
    std::fflush(stderr);
    const std::string id = std::to_string(pid);
    const std::string command = "for t in /proc/" + id +
                                "/task/*; do echo \"  $(cat $t/comm) $(cut -d' ' -f3 $t/stat) $(cat $t/wchan)\"; done >&2;"
                                " ps -o pid,stat,wchan:24,args --ppid " + id + " >&2;"
                                " command -v gdb >/dev/null && timeout 60 gdb -batch -nx -p " + id +
                                " -ex 'thread apply all bt 30' 2>/dev/null | grep -E '^(Thread|#)' >&2";
    (void)system(command.c_str());
}

std::optional<int> WaitExit(pid_t pid, int timeoutMs) {
    for (int waited = 0;; waited += 10) {
        int status = 0;
        pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            if (WIFEXITED(status)) return WEXITSTATUS(status);
            if (WIFSIGNALED(status))
                std::fprintf(stderr, "program %d ended by signal %d\n", static_cast<int>(pid), WTERMSIG(status));
            return std::nullopt;
        }
        if (done < 0 || waited >= timeoutMs) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (timeoutMs > 0 && Alive(pid)) {
        std::fprintf(stderr, "program %d did not end within %d ms\n", static_cast<int>(pid), timeoutMs);
        PrintThreads(pid);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return std::nullopt;
}

bool Alive(pid_t pid) {
    int status = 0;
    return waitpid(pid, &status, WNOHANG) == 0;
}

std::string Output(const std::string& command) {
    std::string text;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return text;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) text.append(buffer, n);
    pclose(pipe);
    return text;
}

bool Screenshot::blank() const {
    for (std::uint8_t byte : rgb)
        if (byte != 0) return false;
    return true;
}

std::size_t Screenshot::differences(const Screenshot& other) const {
    if (other.rgb.size() != rgb.size()) return rgb.size() / 3;
    std::size_t count = 0;
    for (std::size_t i = 0; i + 2 < rgb.size(); i += 3)
        count += std::memcmp(&rgb[i], &other.rgb[i], 3) != 0;
    return count;
}

Screenshot Grab(const std::string& display, const std::string& window) {
    std::string ppm = Output("import -display " + display + " -window " + window + " -depth 8 ppm:- 2>/dev/null");
    Screenshot shot;
    // "P6\n<w> <h>\n255\n" then the pixels.
    int width = 0, height = 0, max = 0, consumed = 0;
    if (std::sscanf(ppm.c_str(), "P6 %d %d %d%n", &width, &height, &max, &consumed) != 3 || max != 255) return shot;
    std::size_t start = static_cast<std::size_t>(consumed) + 1;
    std::size_t bytes = static_cast<std::size_t>(width) * height * 3;
    if (ppm.size() < start + bytes) return shot;
    shot.width = width;
    shot.height = height;
    shot.rgb.assign(ppm.begin() + static_cast<std::ptrdiff_t>(start),
                    ppm.begin() + static_cast<std::ptrdiff_t>(start + bytes));
    return shot;
}

}  // namespace runtimetest
