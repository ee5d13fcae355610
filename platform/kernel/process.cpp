// WinExec: start a program detached.  The command line is split like a
// shell splits a simple command (blanks separate words, double quotes group),
// the program is looked up on PATH here, and a double fork leaves the new
// program a child of init, so no zombie is ever left behind.  Only
// async-signal-safe calls happen between fork and exec.
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "platform/kernel/kernel.h"

extern char** environ;

namespace platform::kernel {
namespace {

std::vector<std::string> SplitCommandLine(const std::string& line) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    bool quoted = false;
    for (char c : line) {
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if (!quoted && (c == ' ' || c == '\t')) {
            if (inWord) words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) words.push_back(word);
    return words;
}

bool Executable(const std::string& path) {
    struct stat info{};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0;
}

std::string FindProgram(const std::string& name) {
    if (name.find('/') != std::string::npos) return Executable(name) ? name : std::string();
    const char* path = std::getenv("PATH");
    std::string directories = path && *path ? path : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    for (;;) {
        std::size_t end = directories.find(':', start);
        std::string directory = directories.substr(start, end == std::string::npos ? std::string::npos : end - start);
        std::string candidate = (directory.empty() ? "." : directory) + "/" + name;
        if (Executable(candidate)) return candidate;
        if (end == std::string::npos) return {};
        start = end + 1;
    }
}

void WriteAll(int fd, const void* data, std::size_t size) {
    while (write(fd, data, size) < 0 && errno == EINTR) {
    }
}

}  // namespace
}  // namespace platform::kernel

UINT WinExec(LPCSTR commandLine, UINT) {
    using namespace platform::kernel;
    if (!commandLine) return ERROR_FILE_NOT_FOUND;
    std::vector<std::string> words = SplitCommandLine(commandLine);
    if (words.empty()) return ERROR_FILE_NOT_FOUND;
    std::string program = FindProgram(words[0]);
    if (program.empty()) return ERROR_FILE_NOT_FOUND;

    std::vector<char*> argv;
    for (auto& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);

    int report[2];  // the grandchild writes errno here when exec fails
    if (pipe2(report, O_CLOEXEC) != 0) return 0;
    pid_t child = fork();
    if (child < 0) {
        close(report[0]);
        close(report[1]);
        return 0;
    }
    if (child == 0) {
        close(report[0]);
        setsid();
        pid_t grandchild = fork();
        if (grandchild == 0) {
            sigset_t none;
            sigemptyset(&none);
            sigprocmask(SIG_SETMASK, &none, nullptr);
            execve(program.c_str(), argv.data(), environ);
            int error = errno;
            WriteAll(report[1], &error, sizeof error);
            _exit(127);
        }
        if (grandchild < 0) {
            int error = errno;
            WriteAll(report[1], &error, sizeof error);
        }
        _exit(0);
    }
    close(report[1]);
    while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    ssize_t got;
    while ((got = read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {
    }
    close(report[0]);
    return got > 0 ? ERROR_FILE_NOT_FOUND : 33;
}
