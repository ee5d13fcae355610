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

std::optional<int> WaitExit(pid_t pid, int timeoutMs) {
    for (int waited = 0;; waited += 10) {
        int status = 0;
        pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            if (WIFEXITED(status)) return WEXITSTATUS(status);
            return std::nullopt;
        }
        if (done < 0 || waited >= timeoutMs) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
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

bool XvfbInstalled() { return access("/usr/bin/Xvfb", X_OK) == 0 || !Output("command -v Xvfb").empty(); }

XServer::XServer(int width, int height) {
    std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    // A display number away from the usual ones, from the pid so that test
    // programs running side by side do not meet; Xvfb names it on the pipe
    // once it accepts connections, and ends at once when it is taken.  It
    // must not reset when its last client leaves: the program's own display
    // probe would otherwise race the reset.
    for (int n = 200 + getpid() % 500, tries = 0; tries < 20; ++n, ++tries) {
        int ready[2];
        if (pipe(ready) != 0) return;
        std::string number = ":" + std::to_string(n);
        pid_ = fork();
        if (pid_ == 0) {
            close(ready[0]);
            int null = open("/dev/null", O_WRONLY);
            dup2(null, 1);
            dup2(null, 2);
            std::string fd = std::to_string(ready[1]);
            execlp("Xvfb", "Xvfb", number.c_str(), "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(),
                   "-nolisten", "tcp", "-noreset", nullptr);
            _exit(127);
        }
        close(ready[1]);
        std::string answer;
        pollfd wait{ready[0], POLLIN, 0};
        char c;
        while (pid_ > 0 && poll(&wait, 1, 10000) == 1 && read(ready[0], &c, 1) == 1 && c != '\n') answer += c;
        close(ready[0]);
        if (!answer.empty()) {
            display_ = ":" + answer;
            return;
        }
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        pid_ = -1;
    }
}

XServer::~XServer() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    if (!WaitExit(pid_, 5000)) kill(pid_, SIGKILL);
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
