#pragma once
// Servers of a test's own: a PulseAudio server with one null sink as its
// default output, and a D-Bus session bus.  Both live in a private folder
// and end with the object.
#include <memory>
#include <string>

#include "spectrum_process.h"
#include "support/temp_dir.h"

namespace spectrumtest {

class SoundServer {
public:
    // False, with the reason, where no PulseAudio server can run: not
    // installed, no "pulse" user to run the system mode as root, or it did
    // not come up.
    bool start(std::string* why);
    // For PULSE_SERVER.
    std::string address() const { return "unix:" + (dir_.path() / "native").string(); }

private:
    testsupport::TempDir dir_{"lumora-pulse"};
    std::unique_ptr<Process> server_;
};

class SessionBus {
public:
    bool start(std::string* why);
    // For DBUS_SESSION_BUS_ADDRESS.
    std::string address() const { return "unix:path=" + (dir_.path() / "bus").string(); }

private:
    testsupport::TempDir dir_{"lumora-dbus"};
    std::unique_ptr<Process> daemon_;
};

// The program's path on PATH, empty when it is not installed.
std::string FindProgram(const std::string& program);

}  // namespace spectrumtest
