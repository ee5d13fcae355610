#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <set>
#include <tuple>
#include <vector>

#include "platform/display/display.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/present/offscreen_presenter.h"

namespace {

using Mode = std::tuple<DWORD, DWORD, DWORD>;

HRESULT collect(LPDDSURFACEDESC desc, LPVOID context) {
    auto* modes = static_cast<std::vector<DDSURFACEDESC>*>(context);
    modes->push_back(*desc);
    return DDENUMRET_OK;
}

// Loads the library and reaches IDirectDraw2 the way the program does.
class DirectDrawTest : public testing::Test {
protected:
    void SetUp() override {
        platform::SetScreenSize(1920, 1080);
        module = LoadLibraryA("DDRAW.DLL");
        ASSERT_NE(module, nullptr);
        auto create = reinterpret_cast<LPDIRECTDRAWCREATE>(
            reinterpret_cast<void (*)()>(GetProcAddress(module, "DirectDrawCreate")));
        ASSERT_NE(create, nullptr);
        ASSERT_EQ(create(nullptr, &dd, nullptr), DD_OK);
        ASSERT_EQ(dd->QueryInterface(IID_IDirectDraw2, reinterpret_cast<LPVOID*>(&dd2)), S_OK);
    }
    void TearDown() override {
        if (dd2) dd2->Release();
        if (dd) dd->Release();
        if (module) FreeLibrary(module);
        platform::SetScreenSize(1920, 1080);
    }

    std::vector<DDSURFACEDESC> enumerate(LPDDSURFACEDESC match = nullptr) {
        std::vector<DDSURFACEDESC> modes;
        EXPECT_EQ(dd2->EnumDisplayModes(0, match, &modes, collect), DD_OK);
        return modes;
    }

    HMODULE module = nullptr;
    LPDIRECTDRAW dd = nullptr;
    LPDIRECTDRAW2 dd2 = nullptr;
};

TEST(BuiltinModules, OnlyTheDirectDrawLibraryLoads) {
    for (const char* name : {"DDRAW.DLL", "ddraw.dll", "ddraw", "C:\\WINDOWS\\SYSTEM\\DDRAW.DLL", "/usr/lib/DDraw.dll"}) {
        HMODULE module = LoadLibraryA(name);
        EXPECT_NE(module, nullptr) << name;
        EXPECT_TRUE(FreeLibrary(module));
    }
    for (const char* name : {"D3D8.DLL", "DDRAW.DLL.BAK", "", "DDRAWX"}) {
        SetLastError(0);
        EXPECT_EQ(LoadLibraryA(name), nullptr) << name;
        EXPECT_NE(GetLastError(), 0u);
    }
    SetLastError(0);
    EXPECT_EQ(LoadLibraryA("OPENGL32.DLL"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
    EXPECT_EQ(LoadLibraryA(nullptr), nullptr);
}

TEST(BuiltinModules, ExportsAreFoundByExactNameWhileLoaded) {
    HMODULE module = LoadLibraryA("DDRAW.DLL");
    ASSERT_NE(module, nullptr);
    EXPECT_NE(GetProcAddress(module, "DirectDrawCreate"), nullptr);
    SetLastError(0);
    EXPECT_EQ(GetProcAddress(module, "DirectDrawCreateEx"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
    EXPECT_EQ(GetProcAddress(module, "directdrawcreate"), nullptr);
    EXPECT_EQ(GetProcAddress(module, reinterpret_cast<LPCSTR>(1)), nullptr) << "ordinals are not exported";
    HMODULE second = LoadLibraryA("ddraw");
    EXPECT_EQ(second, module);
    EXPECT_TRUE(FreeLibrary(second));
    EXPECT_NE(GetProcAddress(module, "DirectDrawCreate"), nullptr) << "still loaded once";
    EXPECT_TRUE(FreeLibrary(module));
    EXPECT_EQ(GetProcAddress(module, "DirectDrawCreate"), nullptr);
    EXPECT_FALSE(FreeLibrary(module));
    int local = 0;
    EXPECT_EQ(GetProcAddress(reinterpret_cast<HMODULE>(&local), "DirectDrawCreate"), nullptr);
    EXPECT_FALSE(FreeLibrary(reinterpret_cast<HMODULE>(&local)));
    EXPECT_FALSE(FreeLibrary(nullptr));
}

TEST(DirectDrawCreation, RefusesWhatItCannotDo) {
    EXPECT_EQ(DirectDrawCreate(nullptr, nullptr, nullptr), DDERR_INVALIDPARAMS);
    LPDIRECTDRAW dd = reinterpret_cast<LPDIRECTDRAW>(1);
    GUID driver{1, 2, 3, {}};
    EXPECT_TRUE(FAILED(DirectDrawCreate(&driver, &dd, nullptr)));
    EXPECT_EQ(dd, nullptr);
}

TEST_F(DirectDrawTest, QueryInterfaceKnowsItsInterfacesAndCountsReferences) {
    LPVOID unknown = reinterpret_cast<LPVOID>(1);
    GUID other{0x12345678, 0, 0, {}};
    EXPECT_EQ(dd->QueryInterface(other, &unknown), E_NOINTERFACE);
    EXPECT_EQ(unknown, nullptr);
    EXPECT_EQ(dd->QueryInterface(IID_IDirectDraw2, nullptr), E_POINTER);
    LPDIRECTDRAW again = nullptr;
    ASSERT_EQ(dd2->QueryInterface(IID_IDirectDraw, reinterpret_cast<LPVOID*>(&again)), S_OK);
    EXPECT_EQ(again, dd);
    EXPECT_EQ(again->Release(), 2u) << "dd and dd2 still hold it";
}

TEST_F(DirectDrawTest, CooperativeLevels) {
    HWND window = platform::CreateOffscreenWindow(1920, 1080, std::make_shared<gdi::OffscreenPresenter>());
    EXPECT_EQ(dd2->SetCooperativeLevel(nullptr, DDSCL_NORMAL), DD_OK);
    EXPECT_EQ(dd2->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_NOWINDOWCHANGES | DDSCL_FULLSCREEN), DD_OK);
    EXPECT_EQ(dd2->SetCooperativeLevel(nullptr, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DDERR_INVALIDPARAMS);
    EXPECT_EQ(dd2->SetCooperativeLevel(window, DDSCL_EXCLUSIVE), DDERR_INVALIDPARAMS);
    EXPECT_EQ(dd2->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_NORMAL), DDERR_INVALIDPARAMS);
    EXPECT_EQ(dd2->SetCooperativeLevel(window, 0), DDERR_INVALIDPARAMS);
    platform::DestroyOffscreenWindow(window);
    EXPECT_EQ(dd2->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DDERR_INVALIDPARAMS);
}

TEST_F(DirectDrawTest, EnumeratesClassicModesThatFitAndTheScreenSize) {
    std::vector<DDSURFACEDESC> modes = enumerate();
    std::set<Mode> offered;
    for (const DDSURFACEDESC& d : modes) {
        EXPECT_EQ(d.dwSize, sizeof(DDSURFACEDESC));
        EXPECT_EQ(d.dwFlags & (DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT | DDSD_REFRESHRATE),
                  DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT | DDSD_REFRESHRATE);
        EXPECT_EQ(d.dwRefreshRate, 60u);
        EXPECT_EQ(d.ddpfPixelFormat.dwSize, sizeof(DDPIXELFORMAT));
        offered.insert({d.dwWidth, d.dwHeight, d.ddpfPixelFormat.dwRGBBitCount});
    }
    EXPECT_EQ(offered.size(), modes.size()) << "no mode twice";
    for (DWORD bits : {8u, 16u, 24u, 32u}) {
        EXPECT_TRUE(offered.count({640, 480, bits}));
        EXPECT_TRUE(offered.count({320, 200, bits}));
        EXPECT_TRUE(offered.count({1920, 1080, bits})) << "the screen's own size";
        EXPECT_FALSE(offered.count({1600, 1200, bits})) << "taller than the screen";
        EXPECT_TRUE(offered.count({1280, 1024, bits}));
    }
    // 11 classic sizes fit 1920 x 1080, plus the screen's own.
    EXPECT_EQ(modes.size(), 12u * 4u);

    DDSURFACEDESC match{};
    match.dwSize = sizeof match;
    match.dwFlags = DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    match.dwWidth = 800;
    match.dwHeight = 600;
    match.ddpfPixelFormat.dwRGBBitCount = 8;
    std::vector<DDSURFACEDESC> only = enumerate(&match);
    ASSERT_EQ(only.size(), 1u);
    EXPECT_EQ(only[0].ddpfPixelFormat.dwFlags & DDPF_PALETTEINDEXED8, DDPF_PALETTEINDEXED8);
    EXPECT_EQ(only[0].lPitch, 800);

    int calls = 0;
    EXPECT_EQ(dd2->EnumDisplayModes(0, nullptr, &calls,
                                    [](LPDDSURFACEDESC, LPVOID c) -> HRESULT {
                                        return ++*static_cast<int*>(c) == 3 ? DDENUMRET_CANCEL : DDENUMRET_OK;
                                    }),
              DD_OK);
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(dd2->EnumDisplayModes(0, nullptr, nullptr, nullptr), DDERR_INVALIDPARAMS);
}

TEST_F(DirectDrawTest, SmallScreenOffersItsOwnSizeOnly) {
    platform::SetScreenSize(300, 180);
    std::vector<DDSURFACEDESC> modes = enumerate();
    ASSERT_EQ(modes.size(), 4u);
    for (const DDSURFACEDESC& d : modes) {
        EXPECT_EQ(d.dwWidth, 300u);
        EXPECT_EQ(d.dwHeight, 180u);
    }
}

TEST_F(DirectDrawTest, SetModeChangesTheReportedScreenAndRestoreReturns) {
    ASSERT_EQ(dd2->SetDisplayMode(640, 480, 8, 0, 0), DD_OK);
    EXPECT_TRUE(platform::VirtualModeActive());
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 640);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 480);
    platform::VirtualMode mode = platform::CurrentVirtualMode();
    EXPECT_EQ(mode.width, 640);
    EXPECT_EQ(mode.bitsPerPixel, 8);
    // The modes offered during a mode are still those of the real screen.
    std::vector<DDSURFACEDESC> modes = enumerate();
    EXPECT_EQ(modes.back().dwWidth, 1920u);

    ASSERT_EQ(dd2->SetDisplayMode(800, 600, 32, 60, 0), DD_OK);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 800);
    ASSERT_EQ(dd2->RestoreDisplayMode(), DD_OK);
    EXPECT_FALSE(platform::VirtualModeActive());
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1920);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 1080);
    EXPECT_EQ(dd2->RestoreDisplayMode(), DD_OK) << "nothing to restore is no error";
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1920);
}

TEST_F(DirectDrawTest, DisplaySettingsReportTheModeInForceAndTheOfferedOnes) {
    DEVMODEA current{};
    current.dmSize = sizeof current;
    std::memset(current.dmDeviceName, 'x', sizeof current.dmDeviceName);
    ASSERT_TRUE(EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &current));
    EXPECT_EQ(Mode(current.dmBitsPerPel, current.dmPelsWidth, current.dmPelsHeight), Mode(8, 1920, 1080));
    EXPECT_EQ(current.dmDisplayFrequency, 60u);
    EXPECT_EQ(current.dmSize, sizeof current);
    EXPECT_EQ(current.dmDeviceName[0], 0) << "the rest of the record is cleared";

    ASSERT_EQ(dd2->SetDisplayMode(640, 480, 32, 0, 0), DD_OK);
    ASSERT_TRUE(EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &current));
    EXPECT_EQ(Mode(current.dmBitsPerPel, current.dmPelsWidth, current.dmPelsHeight), Mode(32, 640, 480));
    ASSERT_TRUE(EnumDisplaySettingsA(nullptr, ENUM_REGISTRY_SETTINGS, &current));
    EXPECT_EQ(Mode(current.dmBitsPerPel, current.dmPelsWidth, current.dmPelsHeight), Mode(8, 1920, 1080));

    DWORD offered = 0;
    while (EnumDisplaySettingsA(nullptr, offered, &current)) ++offered;
    EXPECT_EQ(offered, enumerate().size()) << "the same modes DirectDraw lists";
    EXPECT_FALSE(EnumDisplaySettingsA("DISPLAY2", ENUM_CURRENT_SETTINGS, &current)) << "the primary display only";
    EXPECT_FALSE(EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, nullptr));
    dd2->RestoreDisplayMode();
}

TEST_F(DirectDrawTest, ModesNotOfferedAreRefusedAndChangeNothing) {
    EXPECT_EQ(dd2->SetDisplayMode(641, 480, 8, 0, 0), DDERR_INVALIDMODE);
    EXPECT_EQ(dd2->SetDisplayMode(640, 480, 12, 0, 0), DDERR_INVALIDMODE);
    EXPECT_EQ(dd2->SetDisplayMode(1600, 1200, 8, 0, 0), DDERR_INVALIDMODE);
    EXPECT_EQ(dd2->SetDisplayMode(640, 480, 8, 75, 0), DDERR_INVALIDMODE);
    EXPECT_EQ(dd2->SetDisplayMode(640, 480, 8, 0, 1), DDERR_INVALIDPARAMS);
    EXPECT_EQ(dd2->SetDisplayMode(0xFFFFFFFFu, 0xFFFFFFFFu, 8, 0, 0), DDERR_INVALIDMODE);
    EXPECT_FALSE(platform::VirtualModeActive());
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1920);
}

TEST_F(DirectDrawTest, ReleasingTheLastReferenceLeavesAModeItSet) {
    ASSERT_EQ(dd->SetDisplayMode(512, 384, 16), DD_OK);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 512);
    dd2->Release();
    dd2 = nullptr;
    EXPECT_TRUE(platform::VirtualModeActive()) << "one reference is left";
    dd->Release();
    dd = nullptr;
    EXPECT_FALSE(platform::VirtualModeActive());
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1920);
}

}  // namespace
