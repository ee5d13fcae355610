#pragma once
// Runs a program with its stdout on a pipe, for the end-to-end tests.
#include <string>
#include <sys/types.h>
#include <vector>

class ChildProcess {
public:
    // `environment`: extra "NAME=value" entries on top of ours.
    ChildProcess(const std::vector<std::string>& args, const std::vector<std::string>& environment = {});
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return pid_ > 0; }
    // Reads output until `text` has appeared or `timeoutMs` passed.
    bool waitForOutput(const std::string& text, int timeoutMs);
    const std::string& output() const { return output_; }
    void signal(int number);
    // The exit code, or -1 when it did not exit in time (it is then killed).
    int wait(int timeoutMs);

private:
    bool readSome(int timeoutMs);

    pid_t pid_ = -1;
    int out_ = -1;
    std::string output_;
};
