// Writing and reading back one saved display's worth of values: 600 binary
// 4-byte values under one key, as separate calls and as one transaction.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <string>

#include "platform/registry/registry.h"
#include "platform/registry/transaction.h"

namespace {

constexpr int kValues = 600;

void WriteAndReadDisplay(benchmark::State& state, bool oneTransaction) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Screen Saver.Lumora\\Saved\\Bench\\Modules\\Plasma", 0,
                        nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        state.SkipWithError("cannot create the key");
        return;
    }
    std::string names[kValues];
    for (int i = 0; i < kValues; ++i) names[i] = "Control" + std::to_string(i);
    DWORD round = 0;
    for (auto _ : state) {
        ++round;
        {
            std::optional<platform::RegistryTransaction> tx;
            if (oneTransaction) tx.emplace(HKEY_CURRENT_USER);
            for (int i = 0; i < kValues; ++i) {
                DWORD value = round + static_cast<DWORD>(i);
                BYTE bytes[4] = {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8),
                                 static_cast<BYTE>(value >> 16), static_cast<BYTE>(value >> 24)};
                if (RegSetValueExA(key, names[i].c_str(), 0, REG_BINARY, bytes, 4) != ERROR_SUCCESS)
                    state.SkipWithError("write failed");
            }
            for (int i = 0; i < kValues; ++i) {
                BYTE bytes[4];
                DWORD size = sizeof bytes;
                if (RegQueryValueExA(key, names[i].c_str(), nullptr, nullptr, bytes, &size) != ERROR_SUCCESS)
                    state.SkipWithError("read failed");
                benchmark::DoNotOptimize(bytes);
            }
            if (tx && tx->commit() != ERROR_SUCCESS) state.SkipWithError("commit failed");
        }
    }
    RegCloseKey(key);
    // One iteration is one display written and read back: the time columns
    // are milliseconds per display.
    state.SetLabel("ms per display");
}

void BM_DisplaySeparateCalls(benchmark::State& state) { WriteAndReadDisplay(state, false); }
void BM_DisplayOneTransaction(benchmark::State& state) { WriteAndReadDisplay(state, true); }

BENCHMARK(BM_DisplaySeparateCalls)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DisplayOneTransaction)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
