#pragma once
// Sound from a file or standard input, WAV or raw PCM, played at its own
// pace: the levels follow the sound as if it were heard.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "tools/lumora-spectrum/sound_format.h"

// Where a capture delivers sound: interleaved stereo floats at `rate`.
using FrameSink = std::function<void(unsigned rate, const float* frames, std::size_t count)>;

class FileInput {
public:
    // Opens `path` ("-": standard input).  Input that starts with "RIFF" is
    // read as WAV; anything else is raw PCM in the format `raw`.  Null with
    // the reason in `error` when the input cannot be read.
    static std::unique_ptr<FileInput> Open(const std::string& path, const SoundFormat& raw, std::string& error);
    ~FileInput();
    FileInput(const FileInput&) = delete;
    FileInput& operator=(const FileInput&) = delete;

    const SoundFormat& format() const { return format_; }

    // Delivers the sound to `sink` in steps of 10 ms, no faster than it
    // plays, until it ends or `stop` is set; never waits on the input for
    // longer than 50 ms without looking at `stop`.
    void run(const std::atomic<bool>& stop, const FrameSink& sink);

private:
    FileInput(int fd, bool owned) : fd_(fd), owned_(owned) {}

    int fd_;
    bool owned_;
    SoundFormat format_;
    std::optional<std::uint64_t> remaining_;  // bytes of sound left, when the header tells
    std::string pending_;                     // bytes read while looking at the start
};
