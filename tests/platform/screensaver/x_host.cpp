#include "x_host.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace xhost {

namespace {

std::string findProgram(const char* name) {
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= dirs.size()) {
        std::size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        std::string candidate = dirs.substr(start, end - start) + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
        start = end + 1;
    }
    return {};
}

bool exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

// One connection for the helpers below, opened on first use.
Display* connection() {
    static Display* display = XOpenDisplay(nullptr);
    return display;
}

}  // namespace

Xvfb::~Xvfb() { stop(); }

bool Xvfb::start(int width, int height, std::string* why) {
    std::string program = findProgram("Xvfb");
    if (program.empty()) {
        *why = "Xvfb is not installed";
        return false;
    }
    for (int attempt = 0; attempt < 20; ++attempt) {
        int number = 100 + (static_cast<int>(getpid()) * 7 + attempt * 13) % 800;
        if (exists("/tmp/.X" + std::to_string(number) + "-lock")) continue;
        std::string name = ":" + std::to_string(number);
        std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
        // -noreset: the server would otherwise restart when its last client
        // (our readiness probe) leaves, and refuse the next one meanwhile.
        const char* args[] = {program.c_str(), name.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp",
                              "-noreset", nullptr};
        pid_t parent = getpid();
        pid_t pid = fork();
        if (pid == 0) {
            // The server ends with the test, also when the test crashes.
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            if (getppid() != parent) _exit(1);
            int null = open("/dev/null", O_RDWR);
            dup2(null, 1);
            dup2(null, 2);
            execv(program.c_str(), const_cast<char**>(args));
            _exit(127);
        }
        if (pid < 0) {
            *why = "Xvfb could not be started";
            return false;
        }
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < deadline) {
            int status;
            if (waitpid(pid, &status, WNOHANG) == pid) break;  // lost the race for the number
            if (Display* d = XOpenDisplay(name.c_str())) {
                XCloseDisplay(d);
                pid_ = pid;
                display_ = name;
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    *why = "Xvfb did not come up on any display tried";
    return false;
}

void Xvfb::stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

unsigned long CreateHostWindow(int width, int height) {
    Display* d = connection();
    if (!d) return 0;
    ::Window window = XCreateSimpleWindow(d, DefaultRootWindow(d), 10, 10, static_cast<unsigned>(width),
                                          static_cast<unsigned>(height), 0, 0, 0);
    XMapWindow(d, window);
    XSync(d, False);
    return window;
}

void ResizeHostWindow(unsigned long window, int width, int height) {
    Display* d = connection();
    XResizeWindow(d, window, static_cast<unsigned>(width), static_cast<unsigned>(height));
    XSync(d, False);
}

void DestroyHostWindow(unsigned long window) {
    Display* d = connection();
    XDestroyWindow(d, window);
    XSync(d, False);
}

unsigned long ScreenPixel(int x, int y) {
    Display* d = connection();
    XImage* image = XGetImage(d, DefaultRootWindow(d), x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image) return 0xFFFFFFFFul;
    unsigned long pixel = XGetPixel(image, 0, 0) & 0xFFFFFFul;
    XDestroyImage(image);
    return pixel;
}

}  // namespace xhost
