// WAV headers and sample decoding of the file input.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "tools/lumora-spectrum/sound_format.h"

namespace {

using Bytes = std::vector<unsigned char>;

void Put(Bytes& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

void Chunk(Bytes& out, const char* id, const Bytes& body) {
    out.insert(out.end(), id, id + 4);
    Put(out, static_cast<std::uint32_t>(body.size()), 4);
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() % 2) out.push_back(0);
}

Bytes Format(std::uint32_t tag, std::uint32_t channels, std::uint32_t rate, std::uint32_t bits,
             std::uint32_t subFormat = 0) {
    Bytes body;
    Put(body, tag, 2);
    Put(body, channels, 2);
    Put(body, rate, 4);
    Put(body, rate * channels * bits / 8, 4);
    Put(body, channels * bits / 8, 2);
    Put(body, bits, 2);
    if (tag == 0xFFFE) {
        Put(body, 22, 2);
        Put(body, bits, 2);
        Put(body, 3, 4);
        Put(body, subFormat, 2);
        body.resize(40, 0x11);  // the rest of the sub-format's GUID
    }
    return body;
}

// "WAVE" and the chunks after "RIFF" and its size, as the file input reads.
Bytes Wav(const std::vector<std::pair<const char*, Bytes>>& chunks) {
    Bytes out;
    Put(out, 0, 4);
    for (char c : {'W', 'A', 'V', 'E'}) out.push_back(static_cast<unsigned char>(c));
    for (const auto& [id, body] : chunks) Chunk(out, id, body);
    return out;
}

std::optional<WavStream> Read(const Bytes& bytes, std::string& error, std::size_t* consumed = nullptr) {
    std::size_t at = 0;
    const ByteReader reader = [&](unsigned char* data, std::size_t size) {
        const std::size_t n = std::min(size, bytes.size() - at);
        std::memcpy(data, bytes.data() + at, n);
        at += n;
        return n;
    };
    auto result = ReadWavHeader(reader, error);
    if (consumed != nullptr) *consumed = at;
    return result;
}

TEST(WavHeader, ReadsPlainAndExtensibleFormatsAndStopsAtTheSound) {
    std::string error;
    std::size_t consumed = 0;
    // An odd-sized chunk before the format, one between format and sound.
    const Bytes plain =
        Wav({{"junk", Bytes(3, 9)}, {"fmt ", Format(1, 2, 44100, 16)}, {"LIST", Bytes(8, 1)}, {"data", Bytes(8, 0)}});
    auto wav = Read(plain, error, &consumed);
    ASSERT_TRUE(wav) << error;
    EXPECT_EQ(wav->format.encoding, SampleEncoding::S16);
    EXPECT_EQ(wav->format.channels, 2u);
    EXPECT_EQ(wav->format.rate, 44100u);
    EXPECT_EQ(wav->dataBytes, 8u);
    EXPECT_EQ(consumed, plain.size() - 8) << "the sound itself is left unread";

    wav = Read(Wav({{"fmt ", Format(0xFFFE, 1, 48000, 32, 3)}, {"data", {}}}), error);
    ASSERT_TRUE(wav) << error;
    EXPECT_EQ(wav->format.encoding, SampleEncoding::F32);
    EXPECT_EQ(wav->format.channels, 1u);
    EXPECT_FALSE(wav->dataBytes) << "a length of 0 is a stream's";
    wav = Read(Wav({{"fmt ", Format(1, 6, 96000, 24)}, {"data", Bytes(18, 0)}}), error);
    ASSERT_TRUE(wav) << error;
    EXPECT_EQ(wav->format.encoding, SampleEncoding::S24);
    EXPECT_EQ(wav->format.frameBytes(), 18u);
}

TEST(WavHeader, RefusesWhatItCannotPlayWithAReason) {
    const std::vector<Bytes> refused = {
        Bytes{0, 0, 0, 0, 'A', 'V', 'I', ' '},
        Wav({{"fmt ", Format(1, 2, 44100, 12)}, {"data", {}}}),          // 12-bit samples
        Wav({{"fmt ", Format(3, 2, 44100, 64)}, {"data", {}}}),          // double floats
        Wav({{"fmt ", Format(1, 0, 44100, 16)}, {"data", {}}}),          // no channel
        Wav({{"fmt ", Format(1, 17, 44100, 16)}, {"data", {}}}),         // too many
        Wav({{"fmt ", Format(1, 2, 4000, 16)}, {"data", {}}}),           // rate too low
        Wav({{"fmt ", Format(0xFFFE, 2, 44100, 16, 2)}, {"data", {}}}),  // ADPCM inside
        Wav({{"data", Bytes(4, 0)}, {"fmt ", Format(1, 2, 44100, 16)}}),
        Wav({{"fmt ", Bytes(10, 1)}, {"data", {}}}),
        Wav({{"fmt ", Format(1, 2, 44100, 16)}}),  // no sound at all
        Wav({{"LIST", Bytes(4, 0)}}),
    };
    for (std::size_t i = 0; i < refused.size(); ++i) {
        std::string error;
        EXPECT_FALSE(Read(refused[i], error)) << "header " << i;
        EXPECT_FALSE(error.empty()) << "header " << i;
    }
    // A block size that disagrees with the samples.
    Bytes format = Format(1, 2, 44100, 16);
    format[12] = 3;
    std::string error;
    EXPECT_FALSE(Read(Wav({{"fmt ", format}, {"data", {}}}), error));
    // A chunk claiming more than the file holds ends the search, not the program.
    Bytes cut = Wav({{"fmt ", Format(1, 2, 44100, 16)}});
    cut.insert(cut.end(), {'L', 'I', 'S', 'T', 0xFF, 0xFF, 0xFF, 0x7F, 1, 2});
    EXPECT_FALSE(Read(cut, error));
}

TEST(SampleDecoding, EveryEncodingReachesFullScaleAndMonoFeedsBothChannels) {
    struct Case {
        SampleEncoding encoding;
        Bytes lowest;
        Bytes highest;
    };
    const Case cases[] = {
        {SampleEncoding::U8, {0x00}, {0xFF}},
        {SampleEncoding::S16, {0x00, 0x80}, {0xFF, 0x7F}},
        {SampleEncoding::S24, {0x00, 0x00, 0x80}, {0xFF, 0xFF, 0x7F}},
        {SampleEncoding::S32, {0x00, 0x00, 0x00, 0x80}, {0xFF, 0xFF, 0xFF, 0x7F}},
        {SampleEncoding::F32, {0x00, 0x00, 0x80, 0xBF}, {0x00, 0x00, 0x80, 0x3F}},
    };
    for (const Case& c : cases) {
        SoundFormat format{c.encoding, 3, 8000};
        Bytes frame = c.lowest;  // left: lowest, right: highest, third: ignored
        frame.insert(frame.end(), c.highest.begin(), c.highest.end());
        frame.insert(frame.end(), c.lowest.begin(), c.lowest.end());
        float stereo[2] = {};
        DecodeFrames(format, frame.data(), 1, stereo);
        EXPECT_FLOAT_EQ(stereo[0], -1.0f) << static_cast<int>(c.encoding);
        EXPECT_NEAR(stereo[1], 1.0f, 0.01f) << static_cast<int>(c.encoding);

        format.channels = 1;
        DecodeFrames(format, c.highest.data(), 1, stereo);
        EXPECT_EQ(stereo[0], stereo[1]);
    }
    EXPECT_EQ(ParseEncoding("s24le"), SampleEncoding::S24);
    EXPECT_FALSE(ParseEncoding("s16be"));
}

}  // namespace
