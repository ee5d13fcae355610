#include "platform/screensaver/command_line.h"

#include <algorithm>
#include <cctype>
#include <mutex>

#include "platform/screensaver/screensaver.h"

namespace platform::saver {

namespace {

// Options every xscreensaver hack is given or may be given; accepted and
// ignored.  These take a value.
constexpr std::string_view kHackOptionsWithValue[] = {"visual", "nice", "delay", "display", "geometry"};
// The same for options without a value.  With one dash any word passes, as
// hacks are given options of other hacks; with two it must be known.
constexpr std::string_view kHackFlags[] = {"fps", "no-fps", "install", "no-install", "mono", "window", "db",
                                           "no-db", "shm", "no-shm", "dbuf", "no-dbuf", "sync"};

std::string_view stripDashes(std::string_view arg) {
    if (arg.starts_with("--")) return arg.substr(2);
    if (arg.starts_with("-")) return arg.substr(1);
    return arg;
}

template <std::size_t N>
bool listed(const std::string_view (&names)[N], std::string_view name) {
    return std::find(std::begin(names), std::end(names), name) != std::end(names);
}

bool takesValue(std::string_view arg) {
    return arg.starts_with("-") && listed(kHackOptionsWithValue, stripDashes(arg));
}

bool knownFlag(std::string_view arg) { return listed(kHackFlags, stripDashes(arg)); }

std::string upper(std::string_view text) {
    std::string result(text);
    for (char& c : result) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return result;
}

// "/s", "-S", "/p:1234": a slash or dash, one letter, then nothing or ':'.
bool letterSwitch(std::string_view arg, char& letter, std::string_view& attached) {
    if (arg.size() < 2 || (arg[0] != '/' && arg[0] != '-')) return false;
    if (!std::isalpha(static_cast<unsigned char>(arg[1]))) return false;
    if (arg.size() > 2 && arg[2] != ':') return false;
    letter = static_cast<char>(std::tolower(static_cast<unsigned char>(arg[1])));
    attached = arg.size() > 3 ? arg.substr(3) : std::string_view{};
    return true;
}

Launch invalid(Launch launch, std::string error) {
    launch.mode = RunMode::Invalid;
    launch.error = std::move(error);
    return launch;
}

// The id after a preview or window-id switch: attached ("/p:1234") or the
// next argument.
Launch withWindowId(Launch launch, RunMode mode, std::string_view attached, int& i, int argc,
                    const char* const* argv) {
    std::string_view text = attached;
    if (text.empty()) {
        if (i + 1 >= argc) return invalid(std::move(launch), "the switch needs a window id");
        text = argv[++i];
    }
    if (!ParseWindowId(text, launch.windowId))
        return invalid(std::move(launch), "not a window id: \"" + std::string(text) + "\"");
    launch.mode = mode;
    return launch;
}

// -saved-display NAME, --saved-display NAME or --saved-display=NAME at
// argv[i]: true when it is one, with i on its last word and the name read
// (empty when it is missing).
bool savedDisplayOption(int& i, int argc, const char* const* argv, std::string& name) {
    std::string_view arg = argv[i] ? argv[i] : "";
    constexpr std::string_view attached = "--saved-display=";
    if (arg.starts_with(attached)) {
        name = arg.substr(attached.size());
        return true;
    }
    if (arg != "-saved-display" && arg != "--saved-display") return false;
    name = i + 1 < argc && argv[i + 1] ? argv[++i] : "";
    return true;
}

std::mutex wordsMutex;
std::array<std::string, 3>& storedWords() {
    static std::array<std::string, 3> words;
    return words;
}
std::string& storedSavedDisplay() {
    static std::string name;
    return name;
}

}  // namespace

bool ParseWindowId(std::string_view text, unsigned long& id) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty() || text.size() > 10) return false;
    unsigned long long value = 0;
    for (char c : text) {
        int digit;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (base == 16 && std::isxdigit(static_cast<unsigned char>(c))) {
            digit = std::tolower(static_cast<unsigned char>(c)) - 'a' + 10;
        } else {
            return false;
        }
        value = value * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
    }
    if (value == 0 || value > 0xFFFFFFFFull) return false;
    id = static_cast<unsigned long>(value);
    return true;
}

Launch ParseCommandLine(int argc, const char* const* argv, std::string_view programPath,
                        const char* xscreensaverWindow) {
    Launch launch;
    launch.words[0] = argc > 0 && argv[0] ? argv[0] : std::string(programPath);
    bool decided = false;
    bool root = false;
    int firstUnread = argc;
    for (int i = 1; i < argc && !decided; firstUnread = ++i) {
        std::string_view arg = argv[i] ? argv[i] : "";
        if (i == 1 && arg == "--render") {
            launch.mode = RunMode::Render;
            launch.renderIndex = i;
            launch.words[1] = arg;
            return launch;
        }
        if (arg == "-window-id" || arg == "--window-id" || arg.starts_with("--window-id=")) {
            std::string_view attached = arg.starts_with("--window-id=") ? arg.substr(12) : std::string_view{};
            if (arg.starts_with("--window-id=") && attached.empty()) return invalid(launch, "empty window id");
            launch.words[1] = arg.substr(0, arg.find('='));
            launch = withWindowId(std::move(launch), RunMode::Embedded, attached, i, argc, argv);
            decided = true;
            continue;
        }
        if (arg == "-root" || arg == "--root") {
            root = true;
            launch.words[1] = arg;
            continue;
        }
        if (savedDisplayOption(i, argc, argv, launch.savedDisplay)) {
            if (launch.savedDisplay.empty()) return invalid(launch, "-saved-display needs the name of a saved display");
            continue;
        }
        if (takesValue(arg)) {
            ++i;
            continue;
        }
        if (arg == "--help" || arg == "--version") {
            launch.mode = arg == "--help" ? RunMode::Help : RunMode::Version;
            return launch;
        }
        if (arg == "--add-to-xscreensaver" || arg == "--remove-from-xscreensaver") {
            launch.mode = arg[2] == 'a' ? RunMode::AddToXScreenSaver : RunMode::RemoveFromXScreenSaver;
            return launch;
        }
        if (arg.starts_with("--") && !knownFlag(arg)) {
            std::string name(arg.substr(0, arg.find('=')));
            return invalid(launch, name == "--render" ? "--render must come first"
                                                      : "unknown option \"" + name + "\"");
        }
        char letter = 0;
        std::string_view attached;
        if (!letterSwitch(arg, letter, attached)) continue;  // other hack options, stray words
        launch.words[1] = arg;
        decided = true;
        switch (letter) {
        case 's':
            launch.mode = RunMode::FullScreen;
            // The settings file to show; kept whole, blanks and all.
            if (i + 1 < argc && argv[i + 1] && argv[i + 1][0] != '-') launch.words[2] = argv[++i];
            break;
        case 'p':
        case 'l':
            launch = withWindowId(std::move(launch), RunMode::Preview, attached, i, argc, argv);
            break;
        case 'a':
            launch.mode = RunMode::Password;
            break;
        default:  // 'c' and any letter not known: the settings, as without a switch
            launch.mode = RunMode::Settings;
            break;
        }
    }
    // The option may follow the switch and its words too.
    for (int i = firstUnread; i < argc; ++i)
        if (savedDisplayOption(i, argc, argv, launch.savedDisplay) && launch.savedDisplay.empty())
            return invalid(launch, "-saved-display needs the name of a saved display");
    if (!decided && root) {
        unsigned long id = 0;
        if (xscreensaverWindow && *xscreensaverWindow && ParseWindowId(xscreensaverWindow, id)) {
            launch.mode = RunMode::Embedded;
            launch.windowId = id;
        } else {
            launch.mode = RunMode::FullScreen;
        }
        return launch;
    }
    if (!decided) {
        bool setupName = upper(programPath).find("SETUP.EXE") != std::string::npos ||
                         upper(launch.words[0]).find("SETUP.EXE") != std::string::npos;
        launch.mode = setupName ? RunMode::Setup : RunMode::Settings;
    }
    return launch;
}

void SetCommandLineWords(const std::array<std::string, 3>& words) {
    std::lock_guard lock(wordsMutex);
    storedWords() = words;
}

void SetSavedDisplayOption(const std::string& name) {
    std::lock_guard lock(wordsMutex);
    storedSavedDisplay() = name;
}

}  // namespace platform::saver

namespace platform {

std::array<std::string, 3> CommandLineWords() {
    std::lock_guard lock(saver::wordsMutex);
    return saver::storedWords();
}

std::string SavedDisplayOption() {
    std::lock_guard lock(saver::wordsMutex);
    return saver::storedSavedDisplay();
}

}  // namespace platform
