#include "saver/sound/analyser_link.h"

#include <csignal>

#include "saver/sound/spectrum_link.h"
#include "saver/sound/versions.h"

namespace {

volatile std::sig_atomic_t StopFlag = 0;

void OnStopSignal(int) { StopFlag = 1; }

}  // namespace

SpectrumBlock* JoinSpectrumBlock(const LevelScales& scales) {
    SpectrumBlock* block = AttachSpectrumBlock();
    if (block == nullptr) {
        return nullptr;
    }
    block->set(spectrum::analyserMajor, AnalyserMajorVersion);
    block->set(spectrum::analyserMinor, AnalyserMinorVersion);
    block->set(spectrum::levelScale, scales.levelScale);
    block->set(spectrum::levelCount, scales.levelCount);
    block->set(spectrum::bandScale, scales.bandScale);
    block->set(spectrum::closeRequest, 0);
    return block;
}

void PublishLevels(SpectrumBlock& block, const SpectrumLevels& levels) {
    for (std::size_t band = 0; band < BandCount; ++band) {
        block.set(spectrum::leftBands, band, levels.leftBands[band]);
        block.set(spectrum::rightBands, band, levels.rightBands[band]);
    }
    block.set(spectrum::leftLevel, levels.left);
    block.set(spectrum::rightLevel, levels.right);
}

void PublishTrack(SpectrumBlock& block, const TrackText& text) {
    const TrackText shown{block.get(spectrum::cdText1), block.get(spectrum::cdText2), block.get(spectrum::cdText3)};
    // Compared as the block would hold them, so a long line does not count
    // as new every time.
    const auto fitted = [](const std::string& line, SpectrumText field) {
        return line.substr(0, field.size - 1).substr(0, line.find('\0'));
    };
    const TrackText wanted{fitted(text.line1, spectrum::cdText1), fitted(text.line2, spectrum::cdText2),
                           fitted(text.line3, spectrum::cdText3)};
    if (wanted == shown) {
        return;
    }
    block.set(spectrum::cdText1, wanted.line1.c_str());
    block.set(spectrum::cdText2, wanted.line2.c_str());
    block.set(spectrum::cdText3, wanted.line3.c_str());
    block.set(spectrum::cdSerial, block.get(spectrum::cdSerial) + 1);
}

bool CloseRequested(const SpectrumBlock& block) { return block.get(spectrum::closeRequest) != 0; }

void LeaveSpectrumBlock(SpectrumBlock* block) {
    if (block == nullptr) {
        return;
    }
    block->set(spectrum::running, 0);
    block->set(spectrum::closeRequest, 0);
    CloseSpectrumBlock(block);
}

void WriteAnalyserVersion(WORD build) {
    WriteUserDword(AnalyserVersionKey, CurrentVersionValue, CompatibleAnalyserVersion);
    WriteUserDword(AnalyserVersionKey, BuildValue, build);
}

void CatchStopSignals() {
    struct sigaction action{};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        sigaction(signal, &action, nullptr);
    }
    std::signal(SIGPIPE, SIG_IGN);
}

bool StopSignalled() { return StopFlag != 0; }
