// Second process for the kernel tests.  Commands:
//   hold NAME SIZE   open a named mapping, print "new" or "existing", then obey
//                    stdin lines "read OFFSET", "write OFFSET VALUE", "close"
//   abandon          abandon running, sleeping and suspended threads, then
//                    return from main (the process must end)
//   priority         print the nice values that priorities produce
//   inherit          as an unprivileged user, print the nice values of a
//                    below-normal thread and of a normal thread it starts
//   rand             print the first value of the generator without srand
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

#include "platform/kernel/kernel.h"

namespace {

int Hold(const char* name, unsigned long size) {
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                        static_cast<DWORD>(size), name);
    if (!mapping) return 2;
    bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
    auto* view = static_cast<unsigned char*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    if (!view) return 3;
    std::cout << (existed ? "existing" : "new") << std::endl;
    std::string command;
    while (std::cin >> command) {
        if (command == "read") {
            unsigned long offset;
            std::cin >> offset;
            std::cout << (offset < size ? static_cast<int>(view[offset]) : -1) << std::endl;
        } else if (command == "write") {
            unsigned long offset;
            int value;
            std::cin >> offset >> value;
            if (offset < size) view[offset] = static_cast<unsigned char>(value);
            std::cout << "ok" << std::endl;
        } else if (command == "close") {
            UnmapViewOfFile(view);
            CloseHandle(mapping);
            std::cout << "closed" << std::endl;
            return 0;
        }
    }
    return 0;
}

DWORD Spin(LPVOID) {
    for (;;) Sleep(1);
}

DWORD SleepLong(LPVOID) {
    Sleep(3600 * 1000);
    return 0;
}

int Abandon() {
    HANDLE spinning = CreateThread(nullptr, 0, Spin, nullptr, 0, nullptr);
    HANDLE sleeping = CreateThread(nullptr, 0, SleepLong, nullptr, 0, nullptr);
    HANDLE suspended = CreateThread(nullptr, 0, Spin, nullptr, CREATE_SUSPENDED, nullptr);
    for (HANDLE thread : {spinning, sleeping, suspended}) {
        if (!TerminateThread(thread, 42)) return 2;
        if (WaitForSingleObject(thread, 0) != WAIT_OBJECT_0) return 3;
        CloseHandle(thread);
    }
    return 0;
}

int NiceOf(DWORD tid) { return getpriority(PRIO_PROCESS, static_cast<id_t>(tid)); }

DWORD Park(LPVOID) {
    Sleep(INFINITE);
    return 0;
}

int Priority() {
    std::printf("start %d\n", NiceOf(GetCurrentThreadId()));
    DWORD tid = 0;
    HANDLE worker = CreateThread(nullptr, 0, Park, nullptr, 0, &tid);
    SetThreadPriority(worker, THREAD_PRIORITY_BELOW_NORMAL);
    std::printf("below-normal %d\n", NiceOf(tid));
    SetPriorityClass(GetCurrentProcess(), IDLE_PRIORITY_CLASS);
    std::printf("idle-main %d\n", NiceOf(GetCurrentThreadId()));
    std::printf("idle-worker %d\n", NiceOf(tid));
    std::printf("class %lu priority %d\n", static_cast<unsigned long>(GetPriorityClass(GetCurrentProcess())),
                GetThreadPriority(worker));
    return 0;
}

DWORD ReportNice(LPVOID) {
    std::printf("started %d\n", NiceOf(GetCurrentThreadId()));
    return 0;
}

DWORD StartFromBelowNormal(LPVOID) {
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
    std::printf("creator %d\n", NiceOf(GetCurrentThreadId()));
    HANDLE started = CreateThread(nullptr, 0, ReportNice, nullptr, 0, nullptr);
    WaitForSingleObject(started, INFINITE);
    CloseHandle(started);
    return 0;
}

int Inherit() {
    if (geteuid() == 0 && setuid(65534) != 0) return 4;  // give up the privilege to lower nice values
    std::printf("start %d\n", NiceOf(GetCurrentThreadId()));
    HANDLE creator = CreateThread(nullptr, 0, StartFromBelowNormal, nullptr, 0, nullptr);
    WaitForSingleObject(creator, INFINITE);
    CloseHandle(creator);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string command = argc > 1 ? argv[1] : "";
    if (command == "hold" && argc == 4) return Hold(argv[2], std::strtoul(argv[3], nullptr, 10));
    if (command == "abandon") return Abandon();
    if (command == "priority") return Priority();
    if (command == "inherit") return Inherit();
    if (command == "rand") {
        std::printf("%d\n", rand());
        return 0;
    }
    return 1;
}
