#pragma once
// An X server of a test's own: Xvfb on a display number nobody uses, ended
// with the object (and with the test process, should it crash).
#include <string>
#include <sys/types.h>

namespace testsupport {

// The program's path on PATH, empty when it is not there.
std::string FindProgram(const char* name);

class XServer {
public:
    XServer() = default;
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    static bool Installed();
    // False, with the reason, when Xvfb is not installed or does not come up.
    bool start(int width, int height, std::string* why);
    void stop();
    bool running() const { return pid_ > 0; }
    // ":N"
    const std::string& display() const { return display_; }

private:
    pid_t pid_ = -1;
    std::string display_;
};

}  // namespace testsupport
