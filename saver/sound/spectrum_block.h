#pragma once
// The block of shared memory the saver shares with the spectrum analyser and
// with other saver and settings instances.  Its layout is fixed: 786 bytes,
// packed, little-endian, with several 32-bit fields on 2-byte boundaries.
//
// Nobody locks the block.  Every access here is a relaxed atomic load or store
// of the field's natural width where the field is aligned to it; a 32-bit
// field at a 2-byte offset is accessed as two aligned 16-bit halves, so a
// reader may see one half old and one half new.  The block's users accept an
// odd value now and then; they never see a torn 16-bit or aligned 32-bit word.
#include <cstddef>
#include <string>

#include "platform/win32.h"

constexpr DWORD SpectrumBlockSize = 786;
constexpr DWORD SpectrumLayoutVersion = 5;
constexpr char SpectrumBlockName[] = "LMSCTNXSharedFileMappingQZVK";

// Field descriptors: the type says how a field is read and written.
struct SpectrumU16 {
    std::size_t offset;
};
struct SpectrumU32 {
    std::size_t offset;
};
struct SpectrumI32 {
    std::size_t offset;
};
struct SpectrumF32 {
    std::size_t offset;
};
struct SpectrumF32Array {
    std::size_t offset;
    std::size_t count;
};
struct SpectrumText {
    std::size_t offset;
    std::size_t size;  // bytes, terminator included when the writer left room for one
};

namespace spectrum {

inline constexpr SpectrumU32 blockSize{0};
inline constexpr SpectrumU32 layoutVersion{4};
inline constexpr SpectrumF32 leftLevel{12};
inline constexpr SpectrumF32 rightLevel{16};
inline constexpr SpectrumF32 levelScale{20};
inline constexpr SpectrumU32 levelCount{24};
inline constexpr SpectrumF32 bandScale{32};
inline constexpr SpectrumF32Array leftBands{100, 16};
inline constexpr SpectrumF32Array rightBands{164, 16};
inline constexpr SpectrumText cdText1{236, 64};
inline constexpr SpectrumText cdText2{300, 64};
inline constexpr SpectrumText cdText3{364, 64};
inline constexpr SpectrumU32 cdSerial{428};
inline constexpr SpectrumU16 analyserMajor{440};
inline constexpr SpectrumU16 analyserMinor{442};
inline constexpr SpectrumU16 saverMajor{446};
inline constexpr SpectrumU16 saverMinor{448};
inline constexpr SpectrumU16 saverBuild{450};
inline constexpr SpectrumU32 saverCount{458};
inline constexpr SpectrumU32 paletteUsesSound{462};
inline constexpr SpectrumU32 modulesUseSound{466};
inline constexpr SpectrumU32 paletteFollowsSound{470};
inline constexpr SpectrumU32 modulesFollowSound{474};
inline constexpr SpectrumU32 fullScreen{478};
inline constexpr SpectrumU32 autoGain{482};
inline constexpr SpectrumU32 turbo{492};
inline constexpr SpectrumU32 running{496};
inline constexpr SpectrumU32 instanceCount{500};
inline constexpr SpectrumText displayName{504, 260};
inline constexpr SpectrumU32 restartRequest{764};
inline constexpr SpectrumU32 captureRequest{768};
inline constexpr SpectrumI32 keyHorizontal{772};
inline constexpr SpectrumU16 keyDigit{776};
inline constexpr SpectrumI32 keyVertical{778};
inline constexpr SpectrumU32 closeRequest{782};

}  // namespace spectrum

// A mapped view of the block with the mapping that backs it.  Made by
// OpenSpectrumBlock, released by CloseSpectrumBlock.
class SpectrumBlock {
public:
    SpectrumBlock(unsigned char* view, HANDLE mapping) : bytes_(view), mapping_(mapping) {}
    SpectrumBlock(const SpectrumBlock&) = delete;
    SpectrumBlock& operator=(const SpectrumBlock&) = delete;

    unsigned char* view() const { return bytes_; }
    HANDLE mapping() const { return mapping_; }

    WORD get(SpectrumU16 field) const;
    DWORD get(SpectrumU32 field) const;
    LONG get(SpectrumI32 field) const;
    float get(SpectrumF32 field) const;
    // 0 for an index beyond the array.
    float get(SpectrumF32Array field, std::size_t index) const;
    // Up to the first zero byte, and never more than the field's size: the
    // analyser may fill a text field to the brim without a terminator.
    std::string get(SpectrumText field) const;

    void set(SpectrumU16 field, WORD value);
    void set(SpectrumU32 field, DWORD value);
    void set(SpectrumI32 field, LONG value);
    void set(SpectrumF32 field, float value);
    // Ignored for an index beyond the array.
    void set(SpectrumF32Array field, std::size_t index, float value);
    // Stores at most size - 1 characters, then zeros up to the field's end.
    void set(SpectrumText field, const char* text);

    // Read, change and write back (not atomic as a whole: counters in the
    // block are shared without locks, as every user of the block expects).
    void add(SpectrumU32 field, LONG delta) { set(field, get(field) + static_cast<DWORD>(delta)); }
    void add(SpectrumI32 field, LONG delta) {
        set(field, static_cast<LONG>(static_cast<DWORD>(get(field)) + static_cast<DWORD>(delta)));
    }

    // Zeros all 786 bytes.
    void clear();

private:
    unsigned char* bytes_;
    HANDLE mapping_;
};

// The block this process uses for sound levels, requests and keys, set by
// whoever opened it (the saver window, the settings program); null while no
// block is open.
extern SpectrumBlock* SharedSpectrum;
