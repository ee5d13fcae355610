#include "tools/lumora-spectrum/file_input.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

namespace {

constexpr int PollMs = 50;
// Behind the sound's own clock by more than this (a stalled pipe, a busy
// machine), the clock restarts rather than racing through the backlog.
constexpr auto LargestLag = std::chrono::milliseconds(100);

// Blocking read of up to `size` bytes; short only at the end of the input,
// on an error or when a signal arrives.
std::size_t ReadBlocking(int fd, unsigned char* data, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = read(fd, data + done, size - done);
        if (got <= 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    return done;
}

// -1 at the end of the input or on an error, 0 when nothing came within the
// poll time, else the bytes read.
ssize_t ReadAvailable(int fd, unsigned char* data, std::size_t size) {
    pollfd watch{fd, POLLIN, 0};
    const int ready = poll(&watch, 1, PollMs);
    if (ready < 0) {
        return errno == EINTR ? 0 : -1;
    }
    if (ready == 0) {
        return 0;
    }
    const ssize_t got = read(fd, data, size);
    if (got < 0) {
        return errno == EINTR || errno == EAGAIN ? 0 : -1;
    }
    return got == 0 ? -1 : got;
}

}  // namespace

std::unique_ptr<FileInput> FileInput::Open(const std::string& path, const SoundFormat& raw, std::string& error) {
    const bool standardInput = path == "-";
    const int fd = standardInput ? STDIN_FILENO : open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = path + ": " + std::strerror(errno);
        return nullptr;
    }
    std::unique_ptr<FileInput> input(new FileInput(fd, !standardInput));
    unsigned char magic[4];
    const std::size_t got = ReadBlocking(fd, magic, sizeof magic);
    if (got == sizeof magic && std::memcmp(magic, "RIFF", 4) == 0) {
        const ByteReader reader = [fd](unsigned char* data, std::size_t size) { return ReadBlocking(fd, data, size); };
        std::optional<WavStream> wav = ReadWavHeader(reader, error);
        if (!wav) {
            error = path + ": " + error;
            return nullptr;
        }
        input->format_ = wav->format;
        input->remaining_ = wav->dataBytes;
    } else {
        input->format_ = raw;
        input->pending_.assign(reinterpret_cast<const char*>(magic), got);
    }
    return input;
}

FileInput::~FileInput() {
    if (owned_) {
        close(fd_);
    }
}

void FileInput::run(const std::atomic<bool>& stop, const FrameSink& sink) {
    using Clock = std::chrono::steady_clock;
    const std::size_t frameBytes = format_.frameBytes();
    const std::size_t stepFrames = std::max<std::size_t>(1, format_.rate / 100);
    std::vector<unsigned char> bytes(stepFrames * frameBytes);
    std::vector<float> stereo(2 * stepFrames);
    std::size_t held = std::min(pending_.size(), bytes.size());
    std::memcpy(bytes.data(), pending_.data(), held);

    auto clockStart = Clock::now();
    std::uint64_t framesSinceStart = 0;
    bool ended = false;
    while (!stop.load() && !(ended && held < frameBytes)) {
        if (!ended && held < bytes.size()) {
            std::size_t want = bytes.size() - held;
            if (remaining_) {
                want = static_cast<std::size_t>(std::min<std::uint64_t>(want, *remaining_));
            }
            const ssize_t got = want == 0 ? -1 : ReadAvailable(fd_, bytes.data() + held, want);
            if (got < 0) {
                ended = true;
            } else {
                held += static_cast<std::size_t>(got);
                if (remaining_) {
                    *remaining_ -= static_cast<std::uint64_t>(got);
                }
            }
            if (!ended && held < bytes.size()) {
                continue;  // a whole step first, unless the input ends
            }
        }
        const std::size_t frames = held / frameBytes;
        if (frames == 0) {
            continue;
        }
        DecodeFrames(format_, bytes.data(), frames, stereo.data());
        sink(format_.rate, stereo.data(), frames);
        held -= frames * frameBytes;
        std::memmove(bytes.data(), bytes.data() + frames * frameBytes, held);

        framesSinceStart += frames;
        const auto due = clockStart + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(
                                          static_cast<double>(framesSinceStart) / format_.rate));
        const auto now = Clock::now();
        if (now - due > LargestLag) {
            clockStart = now;
            framesSinceStart = 0;
        } else {
            std::this_thread::sleep_until(due);
        }
    }
}
