#include "sound_server.h"

#include <pwd.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace spectrumtest {
namespace {

// True once something accepts connections on the socket.
bool Accepts(const std::string& path) {
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    const bool ok = fd >= 0 && connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    if (fd >= 0) close(fd);
    return ok;
}

std::string Tail(const std::filesystem::path& log) {
    std::ifstream in(log);
    std::stringstream text;
    text << in.rdbuf();
    const std::string all = text.str();
    return all.size() > 400 ? all.substr(all.size() - 400) : all;
}

// Starts the server and waits for its socket; false with the reason.
bool Await(std::unique_ptr<Process>& server, const std::string& socket, const std::filesystem::path& log,
           std::string* why) {
    const bool up = server->started() &&
                    WaitUntil([&] { return Accepts(socket) || server->waitFor(std::chrono::milliseconds(0)) != -2; });
    if (up && Accepts(socket)) return true;
    *why = "it did not come up: " + Tail(log);
    server.reset();
    return false;
}

}  // namespace

std::string FindProgram(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::stringstream directories(path != nullptr ? path : "/usr/bin:/bin");
    std::string directory;
    while (std::getline(directories, directory, ':')) {
        const std::string candidate = directory + "/" + program;
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    return {};
}

bool SoundServer::start(std::string* why) {
    const std::string pulseaudio = FindProgram("pulseaudio");
    if (pulseaudio.empty()) {
        *why = "pulseaudio is not installed (scripts/deps.sh installs it)";
        return false;
    }
    const std::filesystem::path dir = dir_.path();
    const std::string socket = (dir / "native").string();
    std::ofstream(dir / "server.pa") << "load-module module-null-sink sink_name=lumoratest rate=48000\n"
                                     << "set-default-sink lumoratest\n"
                                     << "load-module module-native-protocol-unix auth-anonymous=1 socket=" << socket
                                     << "\n";
    std::vector<std::string> args = {
        pulseaudio,          "--daemonize=no",     "-n", "-F", (dir / "server.pa").string(), "--exit-idle-time=-1",
        "--use-pid-file=no", "--log-target=stderr"};
    std::vector<std::string> environment = {"PULSE_RUNTIME_PATH=" + (dir / "runtime").string(),
                                            "PULSE_STATE_PATH=" + (dir / "state").string(),
                                            "XDG_CONFIG_HOME=" + (dir / "config").string(), "HOME=" + dir.string()};
    // PulseAudio refuses root outside its system mode, which drops to the
    // "pulse" user: that user must be able to write the folder.
    if (geteuid() == 0) {
        const passwd* pulse = getpwnam("pulse");
        if (pulse == nullptr) {
            *why = "running as root, and there is no \"pulse\" user for PulseAudio's system mode";
            return false;
        }
        if (chown(dir.c_str(), pulse->pw_uid, pulse->pw_gid) != 0) {
            *why = "cannot hand the server's folder to the \"pulse\" user";
            return false;
        }
        args.insert(args.begin() + 1, {"--system", "--disallow-exit=no", "--disallow-module-loading=no"});
    }
    server_ = std::make_unique<Process>(args, environment, false, (dir / "log").string());
    return Await(server_, socket, dir / "log", why);
}

bool SessionBus::start(std::string* why) {
    const std::string daemon = FindProgram("dbus-daemon");
    if (daemon.empty()) {
        *why = "dbus-daemon is not installed (scripts/deps.sh installs it)";
        return false;
    }
    const std::filesystem::path dir = dir_.path();
    daemon_ = std::make_unique<Process>(std::vector<std::string>{daemon, "--session", "--nofork", "--nopidfile",
                                                                 "--address=unix:path=" + (dir / "bus").string()},
                                        std::vector<std::string>{}, false, (dir / "log").string());
    return Await(daemon_, (dir / "bus").string(), dir / "log", why);
}

}  // namespace spectrumtest
