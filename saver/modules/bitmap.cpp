#include "saver/modules/bitmap.h"

#include <atomic>
#include <cstring>
#include <string>

#include "platform/kernel/clock.h"
#include "saver/framework/sources.h"
#include "saver/images/bitmap_images.h"
#include "saver/images/image_effects.h"
#include "saver/runtime/engine.h"

BitmapState Bitmap;

struct BitmapSession {
    CRITICAL_SECTION section;
    std::atomic<LONG> running{0};
    std::atomic<LONG> paintNow{0};
    // Manual reset: signalled while paint-now is set or running is clear.
    HANDLE paintOrStop;
    // Manual reset: signalled once running clears.
    HANDLE stop;

    BitmapSession()
        : paintOrStop(CreateEventA(nullptr, TRUE, TRUE, nullptr)), stop(CreateEventA(nullptr, TRUE, TRUE, nullptr)) {
        InitializeCriticalSection(&section);
    }
    ~BitmapSession() {
        DeleteCriticalSection(&section);
        CloseHandle(paintOrStop);
        CloseHandle(stop);
    }
    BitmapSession(const BitmapSession&) = delete;
    BitmapSession& operator=(const BitmapSession&) = delete;

    void Set(LONG isRunning, LONG paint) {
        running = isRunning;
        paintNow = paint;
        if (paint || !isRunning)
            SetEvent(paintOrStop);
        else
            ResetEvent(paintOrStop);
        if (isRunning)
            ResetEvent(stop);
        else
            SetEvent(stop);
    }
};

namespace {

// Where a worker is, as the drawing thread sees it.
enum WorkerPhase : LONG {
    PhaseBusy,             // loading and preparing, nothing shared
    PhaseWantsCanvas,      // entering or inside the critical section
    PhaseSleeping,         // waiting for the time of the snapshot
    PhaseWaitingForPaint,  // ready, waiting for paint-now
    PhaseEnded,
};

// Under virtual time (--render, tests) a step waits for the worker to reach
// its next wait, so a picture appears at the same virtual time on every run.
// A worker that needs longer than a slow disk could is passed by.
constexpr DWORD LockstepPatienceMs = 60000;
constexpr DWORD SnapshotDelayMs = 1000;

}  // namespace

struct BitmapJob {
    std::shared_ptr<BitmapSession> session;
    // Copies: the worker never reads the module table, which the next run
    // zeroes while an abandoned worker may still be going.
    HDC canvas = nullptr;
    LONG width = 0;
    LONG height = 0;
    LONG halfWidth = 0;
    LONG halfHeight = 0;
    LONG displayType = 0;
    LONG forceGradient = 0;
    DWORD durationMs = 0;
    LONG smoothing = 0;
    LONG randomOrder = 0;
    LONG fromScreen = 0;
    std::string mask;
    DWORD startTick = 0;  // seeds the worker and times the snapshot
    bool lockstep = false;

    // The worker's objects.
    HDC loadedDc = nullptr;
    HBITMAP loaded = nullptr;
    HDC preparedDc = nullptr;
    HBITMAP prepared = nullptr;
    std::unique_ptr<IndexDibHeader> header;
    BYTE* bits = nullptr;
    LONG imageWidth = 0;
    LONG imageHeight = 0;

    std::atomic<LONG> phase{PhaseBusy};
    HANDLE phaseChanged = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HANDLE wake = CreateEventA(nullptr, TRUE, FALSE, nullptr);  // lockstep: the snapshot is due

    BitmapJob() = default;
    BitmapJob(const BitmapJob&) = delete;
    BitmapJob& operator=(const BitmapJob&) = delete;
    ~BitmapJob() {
        ReleaseObjects();
        CloseHandle(phaseChanged);
        CloseHandle(wake);
    }

    void SetPhase(LONG next) {
        phase = next;
        SetEvent(phaseChanged);
    }
    // Frees whatever the worker still holds and forgets it.
    void ReleaseObjects() {
        if (loadedDc) DeleteDC(loadedDc);
        if (loaded) DeleteObject(loaded);
        if (preparedDc) DeleteDC(preparedDc);
        if (prepared) DeleteObject(prepared);
        loadedDc = preparedDc = nullptr;
        loaded = prepared = nullptr;
        header.reset();
        bits = nullptr;
    }
};

namespace {

bool Reached(DWORD time) { return static_cast<LONG>(GetTickCount() - time) >= 0; }

// The worker's turn with the Canvas: the drawing thread lets it in during
// this module's step.
class CanvasTurn {
public:
    explicit CanvasTurn(BitmapJob& job) : job_(job) {
        job_.SetPhase(PhaseWantsCanvas);
        EnterCriticalSection(&job_.session->section);
    }
    ~CanvasTurn() {
        LeaveCriticalSection(&job_.session->section);
        job_.SetPhase(PhaseBusy);
    }
    CanvasTurn(const CanvasTurn&) = delete;
    CanvasTurn& operator=(const CanvasTurn&) = delete;

private:
    BitmapJob& job_;
};

// Half a duration and a second after the start; false when the module is
// freed meanwhile.
bool WaitForSnapshot(BitmapJob& job) {
    const DWORD at = job.startTick + job.durationMs / 2 + SnapshotDelayMs;
    if (job.lockstep) {
        job.SetPhase(PhaseSleeping);
        WaitForSingleObject(job.wake, INFINITE);
        job.SetPhase(PhaseBusy);
    } else {
        const auto left = static_cast<LONG>(at - GetTickCount());
        if (left > 0) WaitForSingleObject(job.session->stop, static_cast<DWORD>(left));
    }
    return job.session->running != 0;
}

DWORD TakeSnapshot(BitmapJob& job) {
    CanvasTurn turn(job);
    IndexDibHeader* header = nullptr;
    job.prepared = CreateIndexDib(job.canvas, TRUE, job.halfWidth, job.halfHeight, header, job.bits);
    if (!job.prepared) return BitmapSnapshotFailed;
    job.header.reset(header);
    job.imageWidth = job.halfWidth;
    job.imageHeight = job.halfHeight;
    job.preparedDc = CreateCompatibleDC(job.canvas);
    SelectObject(job.preparedDc, job.prepared);
    SetStretchBltMode(job.preparedDc, COLORONCOLOR);
    StretchBlt(job.preparedDc, 0, 0, job.halfWidth, job.halfHeight, job.canvas, 0, 0, job.width, job.height,
               SRCCOPY);
    return 0;
}

// A picture file as palette indices: its own values up to 8 bits (or the
// nearest greys with Force Gradient), brightness above.
DWORD PreparePicture(BitmapJob& job) {
    std::string mask = job.mask;
    if (mask.empty()) {
        char windows[MAX_PATH] = "";
        GetWindowsDirectoryA(windows, MAX_PATH);
        mask = std::string(windows) + "/*.BMP";
    }
    job.loaded = LoadImageFile(mask.c_str(), job.randomOrder);
    DIBSECTION section{};
    if (!job.loaded || GetObjectA(job.loaded, sizeof section, &section) != sizeof section) return BitmapLoadFailed;
    job.imageWidth = section.dsBm.bmWidth;
    job.imageHeight = section.dsBm.bmHeight;
    const int depth = section.dsBm.bmBitsPixel;
    {
        CanvasTurn turn(job);
        job.loadedDc = CreateCompatibleDC(job.canvas);
        job.preparedDc = CreateCompatibleDC(job.canvas);
    }
    SelectObject(job.loadedDc, job.loaded);
    IndexDibHeader* header = nullptr;
    job.prepared = CreateIndexDib(job.loadedDc, job.forceGradient || depth > 8, job.imageWidth, job.imageHeight,
                                  header, job.bits);
    if (!job.prepared) return BitmapLoadFailed;
    job.header.reset(header);
    SelectObject(job.preparedDc, job.prepared);
    if (depth <= 8)
        BitBlt(job.preparedDc, 0, 0, job.imageWidth, job.imageHeight, job.loadedDc, 0, 0, SRCCOPY);
    else
        ConvertToGrey(section, job.bits);
    DeleteDC(job.loadedDc);
    DeleteObject(job.loaded);
    job.loadedDc = nullptr;
    job.loaded = nullptr;
    return 0;
}

// Copies of the picture's corner band across the Canvas: every other copy
// mirrored, or plain copies overlapping by one pixel.
void Tile(HDC dc, LONG W, LONG H, LONG w, LONG h, bool mirrored) {
    if (mirrored) {
        bool mirror = true;
        for (LONG x = w; x < W; x += w, mirror = !mirror) {
            if (mirror)
                StretchBlt(dc, x + w, 0, -(w + 1), h, dc, 0, 0, w, h, SRCCOPY);
            else
                StretchBlt(dc, x - 1, 0, w + 1, h, dc, 0, 0, w, h, SRCCOPY);
        }
        mirror = true;
        for (LONG y = h; y < H; y += h, mirror = !mirror) {
            if (mirror)
                StretchBlt(dc, 0, y + h, W, -(h + 1), dc, 0, 0, W, h, SRCCOPY);
            else
                StretchBlt(dc, 0, y - 1, W, h + 1, dc, 0, 0, W, h, SRCCOPY);
        }
        return;
    }
    // A picture one pixel wide or high has no pixel to overlap.
    const LONG stepX = w > 1 ? w - 1 : 1, stepY = h > 1 ? h - 1 : 1;
    for (LONG x = stepX; x < W; x += stepX) BitBlt(dc, x, 0, w, h, dc, 0, 0, SRCCOPY);
    for (LONG y = stepY; y < H; y += stepY) BitBlt(dc, 0, y, W, h, dc, 0, 0, SRCCOPY);
}

void Paint(BitmapJob& job) {
    const LONG W = job.width, H = job.height, w = job.imageWidth, h = job.imageHeight;
    const BITMAPINFO* info = job.header->info();
    switch (job.displayType) {
    case BitmapCentred:
        StretchDIBits(job.canvas, W / 2 - w / 2, H / 2 - h / 2, w, h, 0, 0, w, h, job.bits, info, DIB_PAL_COLORS,
                      SRCCOPY);
        break;
    case BitmapStretched:
        StretchDIBits(job.canvas, 0, 0, W, H, 0, 0, w, h, job.bits, info, DIB_PAL_COLORS, SRCCOPY);
        break;
    default:
        StretchDIBits(job.canvas, 0, 0, w, h, 0, 0, w, h, job.bits, info, DIB_PAL_COLORS, SRCCOPY);
        Tile(job.canvas, W, H, w, h, job.displayType == BitmapMirroredTiles);
        break;
    }
}

DWORD ShowPicture(BitmapJob& job) {
    BitmapSession& session = *job.session;
    SeedWorkerRandom(job.startTick);
    if (job.fromScreen) {
        if (!WaitForSnapshot(job)) return 0;
        if (DWORD failed = TakeSnapshot(job)) return failed;
    } else if (DWORD failed = PreparePicture(job)) {
        return failed;
    }
    job.header->UsePaletteIndices();
    for (LONG i = 0; i < job.smoothing && session.running; ++i) SmoothPass(job.bits, job.imageWidth, job.imageHeight);

    job.SetPhase(PhaseWaitingForPaint);
    WaitForSingleObject(session.paintOrStop, INFINITE);
    {
        CanvasTurn turn(job);
        SetStretchBltMode(job.canvas, COLORONCOLOR);
        if (session.running) Paint(job);
    }
    job.ReleaseObjects();
    return 0;
}

DWORD WINAPI BitmapLoader(LPVOID parameter) {
    auto* holder = static_cast<std::shared_ptr<BitmapJob>*>(parameter);
    std::shared_ptr<BitmapJob> job = std::move(*holder);
    delete holder;
    const DWORD code = ShowPicture(*job);
    job->SetPhase(PhaseEnded);
    return code;
}

bool WorkerEnded() { return !Bitmap.worker || WaitForSingleObject(Bitmap.worker, 0) == WAIT_OBJECT_0; }

// Inside the step, with the critical section left: lets a worker that wants
// the Canvas have its turn and, under virtual time, waits until the worker
// has gone as far as it can now.
void ServeWorker() {
    BitmapJob* job = Bitmap.job.get();
    if (!job || !Bitmap.worker) return;
    for (;;) {
        const LONG phase = job->phase;
        bool wait = phase == PhaseWantsCanvas;
        if (job->lockstep) {
            if (phase == PhaseSleeping && Reached(job->startTick + job->durationMs / 2 + SnapshotDelayMs)) {
                SetEvent(job->wake);
                wait = true;
            }
            wait = wait || phase == PhaseBusy || (phase == PhaseWaitingForPaint && job->session->paintNow);
        }
        if (!wait) break;
        if (WaitForSingleObject(job->phaseChanged, job->lockstep ? LockstepPatienceMs : ThreadStopMs) != WAIT_OBJECT_0)
            return;
    }
    if (job->lockstep && job->phase == PhaseEnded && Bitmap.worker) WaitForSingleObject(Bitmap.worker, ThreadStopMs);
}

}  // namespace

LONG BitmapInit(ModuleRecord* record) {
    Bitmap.session = std::make_shared<BitmapSession>();
    EnterCriticalSection(&Bitmap.session->section);
    Bitmap.halfWidth = (record->width + 1) / 2;
    Bitmap.halfHeight = (record->height + 1) / 2;
    return 0;
}

LONG BitmapStart(ModuleRecord* record) {
    RandomizeControls(record);
    AdvanceControls(record);
    auto job = std::make_shared<BitmapJob>();
    job->session = Bitmap.session;
    job->canvas = record->dc;
    job->width = record->width;
    job->height = record->height;
    job->halfWidth = Bitmap.halfWidth;
    job->halfHeight = Bitmap.halfHeight;
    job->displayType = ControlValue(record, BitmapDisplayTypeSlot);
    job->forceGradient = ControlValue(record, BitmapForceGradientSlot);
    job->durationMs = static_cast<DWORD>(ControlValue(record, BitmapDurationSlot)) * 1000u;
    job->smoothing = ControlValue(record, BitmapSmoothingSlot);
    job->randomOrder = ControlValue(record, BitmapRandomOrderSlot);
    job->fromScreen = ControlValue(record, BitmapFromScreenSlot);
    job->mask.assign(record->path, strnlen(record->path, sizeof record->path));
    job->startTick = GetTickCount();
    job->lockstep = platform::TestClockActive();
    Bitmap.durationMs = job->durationMs;

    if (Bitmap.worker) CloseHandle(Bitmap.worker);
    Bitmap.worker = nullptr;
    Bitmap.session->Set(1, 0);
    Bitmap.job = job;
    auto* holder = new std::shared_ptr<BitmapJob>(job);
    Bitmap.worker = CreateThread(nullptr, 0, BitmapLoader, holder, 0, nullptr);
    if (!Bitmap.worker) {
        delete holder;
        return 0;
    }
    SetThreadPriority(Bitmap.worker, THREAD_PRIORITY_BELOW_NORMAL);
    return 0;
}

LONG BitmapStep(ModuleRecord* record) {
    const std::shared_ptr<BitmapSession> session = Bitmap.session;
    LeaveCriticalSection(&session->section);
    ServeWorker();
    if (!Bitmap.dueTimeSet || static_cast<LONG>(GetTickCount() - Bitmap.dueTime) > 0) {
        session->Set(session->running, 1);
        Sleep(0);
        ServeWorker();
        if (WorkerEnded()) {
            if (Bitmap.job) Bitmap.job->ReleaseObjects();
            BitmapStart(record);
            Bitmap.dueTime = GetTickCount() + Bitmap.durationMs;
            Bitmap.dueTimeSet = true;
        }
        session->Set(session->running, 0);
    }
    EnterCriticalSection(&session->section);
    return 0;
}

LONG BitmapFree(ModuleRecord* record) {
    if (!Bitmap.session) return 0;
    LeaveCriticalSection(&Bitmap.session->section);
    Bitmap.session->Set(0, 1);
    if (Bitmap.job) SetEvent(Bitmap.job->wake);
    if (Bitmap.worker) {
        if (WaitForSingleObject(Bitmap.worker, ThreadStopMs) == WAIT_OBJECT_0) {
            if (Bitmap.job) Bitmap.job->ReleaseObjects();
        } else {
            // The abandoned worker keeps its picture and the session until
            // it ends; they are freed with its last reference.
            TerminateThread(Bitmap.worker, TerminatedExitCode);
        }
        CloseHandle(Bitmap.worker);
        Bitmap.worker = nullptr;
    }
    Bitmap.job.reset();
    Bitmap.session.reset();
    return 0;
}
