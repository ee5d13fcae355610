// Opening the shared block: creation, sharing with another process, and
// refusing a block of another layout.
#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "saver/sound/spectrum_link.h"
#include "saver/sound/versions.h"

extern char** environ;

namespace {

// A mapping of the block's name made by hand, as another program would.
struct RawBlock {
    HANDLE mapping = nullptr;
    unsigned char* view = nullptr;

    explicit RawBlock(DWORD size = SpectrumBlockSize) {
        mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, size, SpectrumBlockName);
        view = mapping ? static_cast<unsigned char*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0)) : nullptr;
    }
    ~RawBlock() {
        if (view) {
            UnmapViewOfFile(view);
        }
        if (mapping) {
            CloseHandle(mapping);
        }
    }
    void put32(std::size_t offset, DWORD v) {
        for (int i = 0; i < 4; ++i) {
            view[offset + i] = static_cast<unsigned char>(v >> (8 * i));
        }
    }
};

TEST(OpenSpectrumBlock, CreatesAZeroedBlockWithItsLayoutAndTheSaverVersion) {
    {
        RawBlock leftover;  // whatever a previous holder wrote...
        ASSERT_NE(leftover.view, nullptr);
        leftover.put32(496, 1);
    }  // ...is gone with the last holder.
    SpectrumBlock* block = OpenSpectrumBlock();
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->get(spectrum::blockSize), 786u);
    EXPECT_EQ(block->get(spectrum::layoutVersion), 5u);
    EXPECT_EQ(block->get(spectrum::saverMajor), 3);
    EXPECT_EQ(block->get(spectrum::saverMinor), 6);
    EXPECT_EQ(block->get(spectrum::saverBuild), 465);
    EXPECT_EQ(block->get(spectrum::running), 0u);
    int nonZero = 0;
    for (std::size_t i = 8; i < SpectrumBlockSize; ++i) {
        nonZero += block->view()[i] != 0 && (i < 446 || i >= 452) ? 1 : 0;
    }
    EXPECT_EQ(nonZero, 0);
    CloseSpectrumBlock(block);
}

TEST(OpenSpectrumBlock, ASecondOpenerSharesTheBlockWithoutZeroingIt) {
    SpectrumBlock* first = OpenSpectrumBlock();
    ASSERT_NE(first, nullptr);
    first->set(spectrum::instanceCount, 1);
    SpectrumBlock* second = OpenSpectrumBlock();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->get(spectrum::instanceCount), 1u);
    second->set(spectrum::keyDigit, 7);
    EXPECT_EQ(first->get(spectrum::keyDigit), 7);
    CloseSpectrumBlock(second);
    CloseSpectrumBlock(first);
    CloseSpectrumBlock(nullptr);
}

TEST(OpenSpectrumBlock, RefusesABlockOfAnotherLayout) {
    RawBlock other;
    ASSERT_NE(other.view, nullptr);
    other.put32(0, 786);
    other.put32(4, 4);
    EXPECT_EQ(OpenSpectrumBlock(), nullptr);
    other.put32(0, 700);
    other.put32(4, 5);
    EXPECT_EQ(OpenSpectrumBlock(), nullptr);
    other.put32(0, 786);
    SpectrumBlock* block = OpenSpectrumBlock();
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(other.view[446], 3) << "the saver's version went into the shared bytes";
    CloseSpectrumBlock(block);
}

#ifdef SPECTRUM_SIM_PATH

// The simulator, run as a separate process.
class Simulator {
public:
    explicit Simulator(std::vector<std::string> args) {
        args.insert(args.begin(), SPECTRUM_SIM_PATH);
        std::vector<char*> argv;
        for (std::string& a : args) {
            argv.push_back(a.data());
        }
        argv.push_back(nullptr);
        started_ = posix_spawn(&pid_, SPECTRUM_SIM_PATH, nullptr, nullptr, argv.data(), environ) == 0;
    }
    ~Simulator() {
        if (started_ && !waited_) {
            kill(pid_, SIGKILL);
            wait();
        }
    }
    bool started() const { return started_; }
    void terminate() { kill(pid_, SIGTERM); }
    // The exit code, or -1 when it did not exit normally.
    int wait() {
        int status = 0;
        waitpid(pid_, &status, 0);
        waited_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t pid_ = 0;
    bool started_ = false;
    bool waited_ = false;
};

bool WaitUntil(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

TEST(SpectrumSimulator, PublishesLevelsIntoTheSaversBlockWhileItRuns) {
    SpectrumBlock* block = OpenSpectrumBlock();
    ASSERT_NE(block, nullptr);
    block->set(spectrum::keyDigit, 7);
    block->set(spectrum::saverCount, 1);

    Simulator sim({"--seconds", "1", "--rate", "50"});
    ASSERT_TRUE(sim.started());
    ASSERT_TRUE(WaitUntil([&] { return block->get(spectrum::running) != 0; }));
    EXPECT_EQ(block->get(spectrum::keyDigit), 7) << "the simulator must not zero an existing block";
    EXPECT_EQ(block->get(spectrum::saverCount), 1u);
    EXPECT_EQ(block->get(spectrum::analyserMajor), 3);
    EXPECT_EQ(block->get(spectrum::analyserMinor), 2);
    EXPECT_GT(block->get(spectrum::leftLevel), 0.0f);
    EXPECT_LE(block->get(spectrum::leftLevel), block->get(spectrum::levelScale));
    EXPECT_GT(block->get(spectrum::levelCount), 0u);
    EXPECT_EQ(block->get(spectrum::cdText2), "Spectrum Simulator");
    EXPECT_NE(block->get(spectrum::cdSerial), 0u);
    float loudestBand = 0;
    for (std::size_t b = 0; b < 16; ++b) {
        loudestBand = std::max(loudestBand, block->get(spectrum::leftBands, b));
    }
    EXPECT_GT(loudestBand, 0.5f);

    // The levels move.
    const float before = block->get(spectrum::rightLevel);
    EXPECT_TRUE(WaitUntil([&] { return block->get(spectrum::rightLevel) != before; }));

    EXPECT_EQ(sim.wait(), 0);
    EXPECT_EQ(block->get(spectrum::running), 0u);
    EXPECT_EQ(block->get(spectrum::keyDigit), 7);
    EXPECT_EQ(ReadAnalyserVersion(nullptr), CompatibleAnalyserVersion);
    CloseSpectrumBlock(block);
}

TEST(SpectrumSimulator, TheSaverJoinsABlockTheAnalyserCreated) {
    Simulator sim({"--rate", "50"});
    ASSERT_TRUE(sim.started());
    // Look without creating: the simulator is the first opener.
    ASSERT_TRUE(WaitUntil([] {
        HANDLE existing = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, SpectrumBlockName);
        if (existing == nullptr) {
            return false;
        }
        auto* view = static_cast<const unsigned char*>(MapViewOfFile(existing, FILE_MAP_ALL_ACCESS, 0, 0, 0));
        const bool running = view != nullptr && view[496] != 0;
        if (view != nullptr) {
            UnmapViewOfFile(view);
        }
        CloseHandle(existing);
        return running;
    }));
    SpectrumBlock* block = OpenSpectrumBlock();
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->get(spectrum::running), 1u) << "opening must not zero the analyser's block";
    EXPECT_EQ(block->get(spectrum::cdText1), "Track 01");
    EXPECT_EQ(block->get(spectrum::saverBuild), 465);

    // A saver that started the analyser asks it to close when it ends.
    block->set(spectrum::closeRequest, 1);
    EXPECT_EQ(sim.wait(), 0);
    EXPECT_EQ(block->get(spectrum::running), 0u);
    EXPECT_EQ(block->get(spectrum::closeRequest), 0u);
    CloseSpectrumBlock(block);
}

TEST(SpectrumSimulator, StopsCleanlyOnSigtermAndRefusesAForeignBlock) {
    {
        SpectrumBlock* block = OpenSpectrumBlock();
        ASSERT_NE(block, nullptr);
        Simulator sim({});
        ASSERT_TRUE(sim.started());
        ASSERT_TRUE(WaitUntil([&] { return block->get(spectrum::running) != 0; }));
        sim.terminate();
        EXPECT_EQ(sim.wait(), 0);
        EXPECT_EQ(block->get(spectrum::running), 0u);
        CloseSpectrumBlock(block);
    }
    RawBlock other;
    ASSERT_NE(other.view, nullptr);
    other.put32(0, 786);
    other.put32(4, 4);
    Simulator sim({"--seconds", "1"});
    ASSERT_TRUE(sim.started());
    EXPECT_EQ(sim.wait(), 1);
    EXPECT_EQ(other.view[496], 0);

    Simulator badOption({"--rate", "0"});
    ASSERT_TRUE(badOption.started());
    EXPECT_EQ(badOption.wait(), 2);
}

#else

TEST(SpectrumSimulator, IsBuilt) { FAIL() << "spectrum-sim is not part of this build; the link tests need it"; }

#endif

}  // namespace
