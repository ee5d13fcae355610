#include "support/x_server.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {

std::string FindProgram(const char* name) {
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    for (std::size_t start = 0; start <= dirs.size();) {
        std::size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        std::string candidate = dirs.substr(start, end - start) + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
        start = end + 1;
    }
    return {};
}

XServer::~XServer() { stop(); }

bool XServer::Installed() { return !FindProgram("Xvfb").empty(); }

bool XServer::start(int width, int height, std::string* why) {
    const std::string program = FindProgram("Xvfb");
    if (program.empty()) {
        *why = "Xvfb is not installed";
        return false;
    }
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    // Numbers away from the usual ones, from the pid so that test programs
    // running side by side do not meet.  Xvfb names the display on the pipe
    // once it accepts connections, and ends at once when the number is taken.
    // -noreset: it must not restart when its last client leaves, or the next
    // client (a probe, then the program) races the reset.
    for (int n = 200 + getpid() % 500, tries = 0; tries < 20; ++n, ++tries) {
        int ready[2];
        if (pipe(ready) != 0) break;
        const std::string number = ":" + std::to_string(n);
        const std::string fd = std::to_string(ready[1]);
        const pid_t parent = getpid();
        const pid_t pid = fork();
        if (pid == 0) {
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            if (getppid() != parent) _exit(1);
            close(ready[0]);
            int null = open("/dev/null", O_WRONLY);
            dup2(null, 1);
            dup2(null, 2);
            execl(program.c_str(), "Xvfb", number.c_str(), "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(),
                  "-nolisten", "tcp", "-noreset", nullptr);
            _exit(127);
        }
        close(ready[1]);
        std::string answer;
        pollfd wait{ready[0], POLLIN, 0};
        char c;
        while (pid > 0 && poll(&wait, 1, 10000) == 1 && read(ready[0], &c, 1) == 1 && c != '\n') answer += c;
        close(ready[0]);
        if (pid > 0 && !answer.empty()) {
            pid_ = pid;
            display_ = ":" + answer;
            return true;
        }
        if (pid > 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }
    *why = "Xvfb did not come up on any display tried";
    return false;
}

void XServer::stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

}  // namespace testsupport
