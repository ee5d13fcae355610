#include "child_process.h"

#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

ChildProcess::ChildProcess(const std::vector<std::string>& arguments) {
    int in[2], out[2];
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    std::vector<std::string> all{KERNEL_TEST_HELPER};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& argument : all) argv.push_back(argument.data());
    argv.push_back(nullptr);
    int result = posix_spawn(&pid_, KERNEL_TEST_HELPER, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(in[0]);
    close(out[1]);
    toChild_ = in[1];
    fromChild_ = out[0];
    if (result != 0) throw std::runtime_error("cannot start " KERNEL_TEST_HELPER);
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0) {
        Kill();
        Wait();
    }
    close(toChild_);
    close(fromChild_);
}

void ChildProcess::Send(const std::string& line) {
    std::string text = line + "\n";
    if (write(toChild_, text.data(), text.size()) != static_cast<ssize_t>(text.size()))
        throw std::runtime_error("write to child");
}

std::string ChildProcess::ReadLine() {
    std::string line;
    char c;
    while (read(fromChild_, &c, 1) == 1 && c != '\n') line += c;
    return line;
}

void ChildProcess::Kill() {
    if (pid_ > 0) kill(pid_, SIGKILL);
}

int ChildProcess::Wait(int limitSeconds) {
    if (pid_ <= 0) return -1;
    int status = 0;
    for (int waited = 0; waited <= limitSeconds * 100; ++waited) {
        pid_t done = waitpid(pid_, &status, WNOHANG);
        if (done == pid_) {
            pid_ = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        usleep(10000);
    }
    return -1;
}
