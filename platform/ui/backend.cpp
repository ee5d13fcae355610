#include "platform/ui/backend.h"

#include <atomic>
#include <stdexcept>

#include "platform/ui/qt_backend.h"

namespace platform {

namespace {
std::atomic<UiBackend*> uiOverride{nullptr};
}

UiBackend& activeUiBackend() {
    if (UiBackend* backend = uiOverride.load()) return *backend;
    return qtUiBackend();
}

void setUiOverride(UiBackend* backend) {
    if (!backend) {
        uiOverride.store(nullptr);
        return;
    }
    UiBackend* expected = nullptr;
    if (!uiOverride.compare_exchange_strong(expected, backend))
        throw std::logic_error("a scripted UI is already installed");
}

}  // namespace platform
