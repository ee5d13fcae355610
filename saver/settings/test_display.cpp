#include "saver/settings/test_display.h"

#include <cstring>

#include "saver/settings/key_paths.h"
#include "saver/settings/registry_access.h"
#include "saver/settings/settings_store.h"
#include "saver/sound/spectrum_link.h"

namespace {

DWORD StringSize(const char* text) { return static_cast<DWORD>(std::strlen(text) + 1); }

// Whether a saver window or a settings sheet has the shared block open.  A
// block that cannot be opened says nothing, so it counts as in use.
bool AnotherInstanceOpen() {
    SpectrumBlock* block = AttachSpectrumBlock();
    if (block == nullptr) return true;
    const bool open = block->get(spectrum::instanceCount) != 0;
    CloseSpectrumBlock(block);
    return open;
}

}  // namespace

void RememberActiveBeforeTest(const char* active) {
    WriteSaverValue(ActiveBeforeTestValue, SaverKeyWord, REG_SZ, active, StringSize(active));
}

void EndTestDisplay(const char* active) {
    DeleteDisplay(TestDisplayName);
    WriteSaverValue("Active", SaverKeyWord, REG_SZ, active, StringSize(active));
    WriteSaverValue(ActiveBeforeTestValue, SaverKeyWord, REG_SZ, nullptr, 0);
}

BOOL RecoverInterruptedTest() {
    char active[MAX_PATH];
    ReadSaverValuePrefix("Active", SaverKeyWord, active, sizeof active - 1);
    if (std::strcmp(active, TestDisplayName) != 0) return 0;
    char remembered[MAX_PATH];
    if (!ReadSaverValuePrefix(ActiveBeforeTestValue, SaverKeyWord, remembered, sizeof remembered - 1)) return 0;
    if (AnotherInstanceOpen()) return 0;
    EndTestDisplay(remembered);
    return 1;
}
