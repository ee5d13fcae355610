#pragma once
// The kernel test helper program run as a child with pipes on stdin/stdout.
#include <string>
#include <sys/types.h>
#include <vector>

class ChildProcess {
public:
    explicit ChildProcess(const std::vector<std::string>& arguments);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    void Send(const std::string& line);
    // The next output line; empty at end of output.
    std::string ReadLine();
    void Kill();
    // Exit status, or -1 when the child did not end normally within the limit.
    int Wait(int limitSeconds = 30);

private:
    pid_t pid_ = -1;
    int toChild_ = -1;
    int fromChild_ = -1;
};
