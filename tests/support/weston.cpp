#include "support/weston.h"

#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/x_server.h"

namespace testsupport {

namespace {

// Generous: on a loaded two-core machine weston takes a second or two.
constexpr int kStartMs = 30000;
constexpr int kPollMs = 50;

std::string LastLines(const std::string& file) {
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    std::string all = text.str();
    return all.size() > 2000 ? all.substr(all.size() - 2000) : all;
}

}  // namespace

Weston::~Weston() { stop(); }

bool Weston::Installed() { return !FindProgram("weston").empty(); }

bool Weston::start(const std::string& xDisplay, int width, int height, std::string* why) {
    const std::string program = FindProgram("weston");
    if (program.empty()) {
        *why = "weston is not installed";
        return false;
    }
    runtime_ = std::make_unique<TempDir>("lumora-weston");
    socket_ = "lumora-" + std::to_string(getpid());
    const std::string log = runtime_->str() + "/weston.log";
    const std::string socketPath = runtime_->str() + "/" + socket_;
    const std::string widthOption = "--width=" + std::to_string(width);
    const std::string heightOption = "--height=" + std::to_string(height);
    const std::string socketOption = "--socket=" + socket_;
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent) _exit(1);
        int out = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(out, 1);
        dup2(out, 2);
        setenv("DISPLAY", xDisplay.c_str(), 1);
        setenv("XDG_RUNTIME_DIR", runtime_->str().c_str(), 1);
        unsetenv("WAYLAND_DISPLAY");
        unsetenv("WAYLAND_SOCKET");
        // No idle fade or lock of its own, no weston.ini of the machine's.
        execl(program.c_str(), "weston", "--backend=x11-backend.so", "--use-pixman", "--no-config", "--idle-time=0",
              socketOption.c_str(), widthOption.c_str(), heightOption.c_str(), nullptr);
        _exit(127);
    }
    if (pid < 0) {
        *why = "cannot start weston";
        return false;
    }
    pid_ = pid;
    // The socket appears once the back end has its output: the window in
    // the X server exists then.
    for (int waited = 0; waited < kStartMs; waited += kPollMs) {
        struct stat info {};
        if (stat(socketPath.c_str(), &info) == 0 && S_ISSOCK(info.st_mode)) return true;
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            *why = "weston ended at start:\n" + LastLines(log);
            return false;
        }
        usleep(kPollMs * 1000);
    }
    *why = "weston did not open its socket in time:\n" + LastLines(log);
    stop();
    return false;
}

void Weston::stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    // Its clients (the desktop shell) go with it.
    for (int waited = 0; waited < kStartMs; waited += kPollMs) {
        if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
            pid_ = -1;
            return;
        }
        usleep(kPollMs * 1000);
    }
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

}  // namespace testsupport
