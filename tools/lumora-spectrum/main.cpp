// lumora-spectrum: the spectrum analyser on Linux.  It hears what the desktop
// plays (the monitor of the sound server's default output), or a file, and
// publishes levels, bands and the playing track into the shared block for
// the saver.  It records itself as the analyser the saver's Sound page and
// AutoRun start.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <strings.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/kernel/root.h"
#include "saver/sound/analyser.h"
#include "saver/sound/analyser_link.h"
#include "tools/lumora-spectrum/analyser_run.h"

namespace {

constexpr WORD AnalyserBuild = 1;

constexpr char Usage[] =
    "usage: lumora-spectrum [--input FILE|-] [--format u8|s16le|s24le|s32le|f32le] [--rate HZ]\n"
    "                       [--channels N] [--no-track] [--register]\n"
    "  Without --input it listens to the sound server's default output.  A WAV input\n"
    "  brings its own format; raw PCM is s16le, 2 channels, 44100 Hz unless told.\n"
    "  --register records this program as the analyser the saver starts, and exits.\n";

bool ParseUnsigned(const char* text, unsigned lowest, unsigned highest, unsigned& out) {
    char* end = nullptr;
    const unsigned long value = std::strtoul(text, &end, 10);
    if (end == text || *end != '\0' || value < lowest || value > highest) {
        return false;
    }
    out = static_cast<unsigned>(value);
    return true;
}

// 0 when parsed, else the exit status.
int ParseOptions(int argc, char** argv, RunOptions& options, bool& registerOnly) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--input" && hasValue) {
            options.input = argv[++i];
        } else if (arg == "--format" && hasValue) {
            const std::optional<SampleEncoding> encoding = ParseEncoding(argv[++i]);
            if (!encoding) {
                std::fprintf(stderr, "lumora-spectrum: unknown sample format \"%s\"\n%s", argv[i], Usage);
                return 2;
            }
            options.raw.encoding = *encoding;
        } else if (arg == "--rate" && hasValue) {
            if (!ParseUnsigned(argv[++i], LowestRate, HighestRate, options.raw.rate)) {
                std::fprintf(stderr, "lumora-spectrum: --rate needs 8000 to 192000 Hz\n");
                return 2;
            }
        } else if (arg == "--channels" && hasValue) {
            if (!ParseUnsigned(argv[++i], 1, MaxChannels, options.raw.channels)) {
                std::fprintf(stderr, "lumora-spectrum: --channels needs 1 to 16\n");
                return 2;
            }
        } else if (arg == "--no-track") {
            options.trackText = false;
        } else if (arg == "--register") {
            registerOnly = true;
        } else if (strcasecmp(arg.c_str(), "/PPLAY") == 0) {
            // AutoRun asks the analyser to play; it always listens, but
            // only as long as a saver window is open.
            options.endsWithSaver = true;
        } else {
            std::fputs(Usage, stderr);
            return 2;
        }
    }
    return 0;
}

std::string OwnPath() {
    std::error_code error;
    const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
}

// One analyser per settings root: a second would fight the first over the
// block.  The lock lives as long as the process.
bool TakeAnalyserLock() {
    std::error_code error;
    const std::filesystem::path root = platform::PlatformRoot();
    std::filesystem::create_directories(root, error);
    const int fd = open((root / "lumora-spectrum.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    // Without a lock file it runs anyway: a second analyser is harmless
    // next to one that cannot start at all.
    return fd < 0 || flock(fd, LOCK_EX | LOCK_NB) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    RunOptions options;
    bool registerOnly = false;
    if (const int status = ParseOptions(argc, argv, options, registerOnly)) {
        return status;
    }
    WriteAnalyserVersion(AnalyserBuild);
    const std::string program = OwnPath();
    if (registerOnly) {
        if (!RegisterAnalyserCommand(program)) {
            std::fprintf(stderr, "lumora-spectrum: cannot register \"%s\" as the analyser\n", program.c_str());
            return 1;
        }
        std::printf("lumora-spectrum: registered %s\n", RegisteredAnalyserCommand().c_str());
        return 0;
    }
    // Run once, it can be started from the saver from then on; a command
    // line registered before is left as it is.
    if (RegisteredAnalyserCommand().empty()) {
        RegisterAnalyserCommand(program);
    }
    if (!TakeAnalyserLock()) {
        std::fprintf(stderr, "lumora-spectrum: an analyser runs already\n");
        return 0;
    }
    CatchStopSignals();
    return RunAnalyser(options);
}
