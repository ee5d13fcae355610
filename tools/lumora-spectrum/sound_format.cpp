#include "tools/lumora-spectrum/sound_format.h"

#include <bit>
#include <cstring>

namespace {

constexpr std::uint16_t WavePcm = 1;
constexpr std::uint16_t WaveFloat = 3;
constexpr std::uint16_t WaveExtensible = 0xFFFE;

std::uint32_t Little16(const unsigned char* p) { return static_cast<std::uint32_t>(p[0] | (p[1] << 8)); }

std::uint32_t Little32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

bool ReadExactly(const ByteReader& read, unsigned char* data, std::size_t size) { return read(data, size) == size; }

bool Skip(const ByteReader& read, std::uint64_t size) {
    unsigned char scrap[4096];
    while (size > 0) {
        const std::size_t piece = size < sizeof scrap ? static_cast<std::size_t>(size) : sizeof scrap;
        if (!ReadExactly(read, scrap, piece)) {
            return false;
        }
        size -= piece;
    }
    return true;
}

std::optional<SoundFormat> FormatChunk(const unsigned char* chunk, std::size_t size, std::string& error) {
    if (size < 16) {
        error = "the format chunk is too short";
        return std::nullopt;
    }
    std::uint32_t tag = Little16(chunk);
    const std::uint32_t channels = Little16(chunk + 2);
    const std::uint32_t rate = Little32(chunk + 4);
    const std::uint32_t blockAlign = Little16(chunk + 12);
    const std::uint32_t bits = Little16(chunk + 14);
    if (tag == WaveExtensible) {
        if (size < 40) {
            error = "the extensible format chunk is too short";
            return std::nullopt;
        }
        tag = Little16(chunk + 24);  // the sub-format's first two bytes
    }
    SoundFormat format;
    if (tag == WavePcm && bits == 8) {
        format.encoding = SampleEncoding::U8;
    } else if (tag == WavePcm && bits == 16) {
        format.encoding = SampleEncoding::S16;
    } else if (tag == WavePcm && bits == 24) {
        format.encoding = SampleEncoding::S24;
    } else if (tag == WavePcm && bits == 32) {
        format.encoding = SampleEncoding::S32;
    } else if (tag == WaveFloat && bits == 32) {
        format.encoding = SampleEncoding::F32;
    } else {
        error = "samples of format " + std::to_string(tag) + " with " + std::to_string(bits) +
                " bits are not supported (integer PCM of 8 to 32 bits or 32-bit float)";
        return std::nullopt;
    }
    if (channels < 1 || channels > MaxChannels || rate < LowestRate || rate > HighestRate) {
        error = std::to_string(channels) + " channels at " + std::to_string(rate) +
                " Hz are not supported (1 to 16 channels, 8 to 192 kHz)";
        return std::nullopt;
    }
    format.channels = channels;
    format.rate = rate;
    if (blockAlign != format.frameBytes()) {
        error = "the frame size does not match the channels and sample size";
        return std::nullopt;
    }
    return format;
}

float Sample(SampleEncoding encoding, const unsigned char* p) {
    switch (encoding) {
        case SampleEncoding::U8:
            return (static_cast<float>(p[0]) - 128.0f) / 128.0f;
        case SampleEncoding::S16:
            return static_cast<float>(static_cast<std::int16_t>(Little16(p))) / 32768.0f;
        case SampleEncoding::S24: {
            const std::uint32_t raw = static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
                                      (static_cast<std::uint32_t>(p[2]) << 16);
            return static_cast<float>(static_cast<std::int32_t>(raw << 8) >> 8) / 8388608.0f;
        }
        case SampleEncoding::S32:
            return static_cast<float>(static_cast<std::int32_t>(Little32(p))) / 2147483648.0f;
        case SampleEncoding::F32:
            return std::bit_cast<float>(Little32(p));
    }
    return 0.0f;
}

}  // namespace

std::size_t SoundFormat::sampleBytes() const {
    switch (encoding) {
        case SampleEncoding::U8:
            return 1;
        case SampleEncoding::S16:
            return 2;
        case SampleEncoding::S24:
            return 3;
        case SampleEncoding::S32:
        case SampleEncoding::F32:
            return 4;
    }
    return 2;
}

std::optional<SampleEncoding> ParseEncoding(const std::string& name) {
    if (name == "u8") return SampleEncoding::U8;
    if (name == "s16le") return SampleEncoding::S16;
    if (name == "s24le") return SampleEncoding::S24;
    if (name == "s32le") return SampleEncoding::S32;
    if (name == "f32le") return SampleEncoding::F32;
    return std::nullopt;
}

std::optional<WavStream> ReadWavHeader(const ByteReader& read, std::string& error) {
    unsigned char riff[8];
    if (!ReadExactly(read, riff, sizeof riff) || std::memcmp(riff + 4, "WAVE", 4) != 0) {
        error = "not a WAV file";
        return std::nullopt;
    }
    std::optional<SoundFormat> format;
    for (;;) {
        unsigned char header[8];
        if (!ReadExactly(read, header, sizeof header)) {
            error = format ? "the file holds no sound" : "the file has no format chunk";
            return std::nullopt;
        }
        const std::uint64_t size = Little32(header + 4);
        const std::uint64_t padded = size + (size & 1);
        if (std::memcmp(header, "data", 4) == 0) {
            if (!format) {
                error = "the sound comes before its format";
                return std::nullopt;
            }
            WavStream stream{*format, std::nullopt};
            // 0 and all ones are what writers of a stream put there.
            if (size != 0 && size != 0xFFFFFFFFu) {
                stream.dataBytes = size;
            }
            return stream;
        }
        if (std::memcmp(header, "fmt ", 4) == 0 && !format) {
            unsigned char chunk[64] = {};
            const std::size_t kept = size < sizeof chunk ? static_cast<std::size_t>(size) : sizeof chunk;
            if (!ReadExactly(read, chunk, kept) || !Skip(read, padded - kept)) {
                error = "the format chunk is cut short";
                return std::nullopt;
            }
            format = FormatChunk(chunk, kept, error);
            if (!format) {
                return std::nullopt;
            }
        } else if (!Skip(read, padded)) {
            error = format ? "the file holds no sound" : "the file has no format chunk";
            return std::nullopt;
        }
    }
}

void DecodeFrames(const SoundFormat& format, const unsigned char* bytes, std::size_t frames, float* stereo) {
    const std::size_t sampleBytes = format.sampleBytes();
    const std::size_t frameBytes = format.frameBytes();
    const std::size_t rightOffset = format.channels > 1 ? sampleBytes : 0;
    for (std::size_t f = 0; f < frames; ++f) {
        const unsigned char* frame = bytes + f * frameBytes;
        stereo[2 * f] = Sample(format.encoding, frame);
        stereo[2 * f + 1] = Sample(format.encoding, frame + rightOffset);
    }
}
