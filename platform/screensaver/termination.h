#pragma once
// SIGTERM and SIGINT during a saver run, delivered to the window thread.
#include <functional>
#include <memory>

class QSocketNotifier;

namespace platform::saver {

class TerminationSignals {
public:
    // Installs the handlers; `onSignal` runs on the window thread with the
    // number of signals seen so far in this run (1, 2, ...).
    explicit TerminationSignals(std::function<void(int count)> onSignal);
    // Puts the previous handlers back.
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

private:
    void readSignals();

    std::function<void(int)> onSignal_;
    std::unique_ptr<QSocketNotifier> notifier_;
    int count_ = 0;
};

}  // namespace platform::saver
