// Reading and writing the fields of the shared block.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>

#include "saver/sound/spectrum_link.h"

namespace {

class SpectrumBlockTest : public testing::Test {
protected:
    void SetUp() override {
        block_ = OpenSpectrumBlock();
        ASSERT_NE(block_, nullptr);
        bytes_ = block_->view();
    }
    void TearDown() override { CloseSpectrumBlock(block_); }

    std::string Bytes(std::size_t offset, std::size_t count) const {
        std::string hex;
        for (std::size_t i = 0; i < count; ++i) {
            char b[4];
            std::snprintf(b, sizeof b, "%02X", bytes_[offset + i]);
            hex += b;
        }
        return hex;
    }

    SpectrumBlock* block_ = nullptr;
    unsigned char* bytes_ = nullptr;
};

TEST_F(SpectrumBlockTest, FieldsAreLittleEndianAtTheirOffsets) {
    block_->set(spectrum::saverCount, 0x04030201u);      // 2-byte boundary
    block_->set(spectrum::instanceCount, 0x0D0C0B0Au);   // 4-byte boundary
    block_->set(spectrum::analyserMinor, 0x0102);
    block_->set(spectrum::keyHorizontal, -2);
    block_->set(spectrum::keyVertical, -3);              // 2-byte boundary
    block_->set(spectrum::levelScale, 1.0f);
    block_->set(spectrum::rightBands, 15, -2.0f);
    EXPECT_EQ(Bytes(458, 4), "01020304");
    EXPECT_EQ(Bytes(500, 4), "0A0B0C0D");
    EXPECT_EQ(Bytes(442, 2), "0201");
    EXPECT_EQ(Bytes(772, 4), "FEFFFFFF");
    EXPECT_EQ(Bytes(778, 4), "FDFFFFFF");
    EXPECT_EQ(Bytes(20, 4), "0000803F");
    EXPECT_EQ(Bytes(164 + 60, 4), "000000C0");

    EXPECT_EQ(block_->get(spectrum::saverCount), 0x04030201u);
    EXPECT_EQ(block_->get(spectrum::keyVertical), -3);
    EXPECT_EQ(block_->get(spectrum::rightBands, 15), -2.0f);
    // Neighbours of a 2-byte-aligned field are untouched.
    EXPECT_EQ(Bytes(456, 2), "0000");
    EXPECT_EQ(Bytes(462, 2), "0000");
}

TEST_F(SpectrumBlockTest, ArraysIgnoreIndicesBeyondTheirEnd) {
    block_->set(spectrum::leftBands, 16, 5.0f);
    EXPECT_EQ(block_->get(spectrum::rightBands, 0), 0.0f) << "index 16 of leftBands is rightBands[0]";
    block_->set(spectrum::rightBands, 0, 5.0f);
    EXPECT_EQ(block_->get(spectrum::leftBands, 16), 0.0f);
}

TEST_F(SpectrumBlockTest, TextsStopAtTheirFieldEvenWithoutATerminator) {
    std::memset(bytes_ + 236, 'A', 64);  // cdText1 filled to the brim
    std::memcpy(bytes_ + 300, "BBB", 4);
    EXPECT_EQ(block_->get(spectrum::cdText1), std::string(64, 'A'));
    EXPECT_EQ(block_->get(spectrum::cdText2), "BBB");

    // Writing cuts to the field and zero-fills the rest.
    block_->set(spectrum::cdText3, std::string(100, 'C').c_str());
    EXPECT_EQ(block_->get(spectrum::cdText3), std::string(63, 'C'));
    EXPECT_EQ(bytes_[364 + 63], 0);
    EXPECT_EQ(bytes_[428], 0) << "cdSerial follows cdText3";
    block_->set(spectrum::displayName, "Capture #1");
    EXPECT_EQ(block_->get(spectrum::displayName), "Capture #1");
    EXPECT_EQ(bytes_[504 + 259], 0);
}

// Threads share the block without locks.  Aligned 32-bit fields never tear;
// under ThreadSanitizer this also shows the accesses are free of data races,
// including the fields on 2-byte boundaries.
TEST_F(SpectrumBlockTest, ConcurrentReadersNeverSeeATornAlignedField) {
    std::atomic<bool> done{false};
    std::thread writer([&] {
        for (int n = 0; n < 20000; ++n) {
            block_->set(spectrum::running, (n & 1) ? 0xFFFFFFFFu : 0u);
            block_->set(spectrum::saverCount, static_cast<DWORD>(n));
            block_->set(spectrum::leftLevel, static_cast<float>(n));
        }
        done = true;
    });
    int torn = 0;
    while (!done) {
        const DWORD running = block_->get(spectrum::running);
        torn += (running != 0 && running != 0xFFFFFFFFu) ? 1 : 0;
        (void)block_->get(spectrum::saverCount);
        (void)block_->get(spectrum::leftLevel);
    }
    writer.join();
    EXPECT_EQ(torn, 0);
    EXPECT_EQ(block_->get(spectrum::saverCount), 19999u);
}

}  // namespace
