#pragma once
// Sample formats of the file input: raw PCM as the command line describes it,
// or a WAV file's own.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

enum class SampleEncoding { U8, S16, S24, S32, F32 };

struct SoundFormat {
    SampleEncoding encoding = SampleEncoding::S16;
    unsigned channels = 2;
    unsigned rate = 44100;

    std::size_t sampleBytes() const;
    std::size_t frameBytes() const { return sampleBytes() * channels; }
};

constexpr unsigned MaxChannels = 16;
// The rates an input may have.
constexpr unsigned LowestRate = 8000;
constexpr unsigned HighestRate = 192000;

// "u8", "s16le", "s24le", "s32le" or "f32le".
std::optional<SampleEncoding> ParseEncoding(const std::string& name);

// Reads up to `size` bytes, fewer only at the end of the input.
using ByteReader = std::function<std::size_t(unsigned char* data, std::size_t size)>;

struct WavStream {
    SoundFormat format;
    // Bytes of sound after the header; nothing when the header does not say
    // (a stream written before its length was known).
    std::optional<std::uint64_t> dataBytes;
};

// Reads a WAV header whose first four bytes ("RIFF") were read already, up to
// the first byte of sound.  Integer PCM of 8, 16, 24 or 32 bits and 32-bit
// float, plain or extensible, 1 to 16 channels, at LowestRate..HighestRate.
// On failure the reason goes to `error`.
std::optional<WavStream> ReadWavHeader(const ByteReader& read, std::string& error);

// Converts whole frames to interleaved stereo floats: the first channel is
// the left, the second the right (a mono input feeds both), further channels
// are not heard.  `stereo` holds 2 * frames floats.
void DecodeFrames(const SoundFormat& format, const unsigned char* bytes, std::size_t frames, float* stereo);
