#pragma once
// A fresh settings store for each test: an empty saver key, a module table
// and palette record as the settings program has them, the shared block
// open, and helpers that read a registry subtree as it is stored.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32.h"
#include "saver/framework/module_table.h"
#include "saver/framework/sound_sources.h"
#include "saver/palette/palette_engine.h"
#include "saver/settings/key_paths.h"
#include "saver/settings/registry_key.h"
#include "saver/settings/settings_store.h"
#include "saver/sound/spectrum_link.h"

namespace settings_test {

// One stored value with the key it lives in, relative to the dumped key.
struct StoredValue {
    std::string key;
    std::string name;
    DWORD type;
    std::vector<BYTE> data;
    bool operator==(const StoredValue&) const = default;
};

// Every value below the key, depth first in enumeration order.
inline void DumpTree(HKEY root, const std::string& path, const std::string& relative,
                     std::vector<StoredValue>& out) {
    settings::RegKey key;
    if (key.Open(root, path, KEY_READ) != ERROR_SUCCESS) return;
    for (DWORD i = 0;; ++i) {
        char name[512];
        DWORD nameLength = sizeof name;
        DWORD type = 0;
        std::vector<BYTE> data(4096);
        DWORD size = static_cast<DWORD>(data.size());
        if (RegEnumValueA(key.get(), i, name, &nameLength, nullptr, &type, data.data(), &size) != ERROR_SUCCESS)
            break;
        data.resize(size);
        out.push_back({relative, name, type, data});
    }
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD length = sizeof name;
        if (RegEnumKeyExA(key.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        DumpTree(key.get(), name, relative.empty() ? name : relative + "\\" + name, out);
    }
}

inline std::vector<StoredValue> Snapshot(const std::string& path) {
    std::vector<StoredValue> values;
    DumpTree(HKEY_CURRENT_USER, path, "", values);
    return values;
}

inline std::vector<StoredValue> DisplaySnapshot(const std::string& display) {
    return Snapshot(DisplayKeyPath(display));
}

inline std::vector<std::string> SubkeyNames(const std::string& path) {
    std::vector<std::string> names;
    settings::RegKey key;
    if (key.Open(HKEY_CURRENT_USER, path, KEY_READ) != ERROR_SUCCESS) return names;
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD length = sizeof name;
        if (RegEnumKeyExA(key.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.emplace_back(name);
    }
    return names;
}

// The stored bytes of one value, empty when it is missing.
inline std::vector<BYTE> RawValue(const std::string& path, const char* name, DWORD* type = nullptr,
                                  HKEY root = HKEY_CURRENT_USER) {
    settings::RegKey key;
    if (key.Open(root, path, KEY_READ) != ERROR_SUCCESS) return {};
    std::vector<BYTE> data(4096);
    DWORD size = static_cast<DWORD>(data.size());
    if (RegQueryValueExA(key.get(), name, nullptr, type, data.data(), &size) != ERROR_SUCCESS) return {};
    data.resize(size);
    return data;
}

inline std::string ActiveValue() {
    std::vector<BYTE> raw = RawValue(SaverKeyPath(), "Active");
    return std::string(raw.begin(), std::find(raw.begin(), raw.end(), BYTE{0}));
}

class SettingsStoreTest : public testing::Test {
protected:
    void SetUp() override {
        settings::DeleteKeyTree(HKEY_CURRENT_USER, SaverKeyPath());
        std::memset(ModuleTable, 0, sizeof ModuleTable);
        std::memset(ActiveModules, 0, sizeof ActiveModules);
        palette_ = std::make_unique<PaletteSettings>();
        paletteBlock_ = std::make_unique<PaletteBlock>();
        palette_->block = paletteBlock_.get();
        ResetPaletteDefaults(palette_.get());
        for (int i = 0; i < PaletteEntryCount; ++i) {
            palette_->customColours[i] = PALETTEENTRY{BYTE(i), BYTE(255 - i), BYTE(i * 7), 1};
        }
        CurrentPalette = palette_.get();
        SaverOptions = {64, 1, 1, 0, 0};
        Speed = 0;
        KeepScreenColours = 0;
        ConfigProgramRunning = 1;
        SharedSpectrum = OpenSpectrumBlock();
        ASSERT_NE(SharedSpectrum, nullptr);
        InstallSettingsStore();
        BuildModuleTable();
    }

    void TearDown() override {
        CurrentPalette = nullptr;
        CloseSpectrumBlock(SharedSpectrum);
        SharedSpectrum = nullptr;
        ConfigProgramRunning = 0;
    }

    PaletteSettings& palette() { return *palette_; }

    std::unique_ptr<PaletteSettings> palette_;
    std::unique_ptr<PaletteBlock> paletteBlock_;
};

}  // namespace settings_test
