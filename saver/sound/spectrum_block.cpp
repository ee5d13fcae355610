#include "saver/sound/spectrum_block.h"

#include <bit>
#include <cstdint>
#include <cstring>

SpectrumBlock* SharedSpectrum = nullptr;

namespace {

// Every field lies inside the block.
static_assert(spectrum::rightBands.offset + 4 * spectrum::rightBands.count <= spectrum::cdText1.offset);
static_assert(spectrum::closeRequest.offset + 4 == SpectrumBlockSize);
static_assert(spectrum::displayName.offset + spectrum::displayName.size == spectrum::restartRequest.offset);

constexpr std::uint16_t FromLittle16(std::uint16_t v) {
    if constexpr (std::endian::native == std::endian::big) {
        return static_cast<std::uint16_t>((v >> 8) | (v << 8));
    }
    return v;
}

constexpr std::uint32_t FromLittle32(std::uint32_t v) {
    if constexpr (std::endian::native == std::endian::big) {
        return (v >> 24) | ((v >> 8) & 0xFF00u) | ((v << 8) & 0xFF0000u) | (v << 24);
    }
    return v;
}

// The conversions are their own inverses.
constexpr std::uint16_t ToLittle16(std::uint16_t v) { return FromLittle16(v); }
constexpr std::uint32_t ToLittle32(std::uint32_t v) { return FromLittle32(v); }

std::uint8_t Load8(const unsigned char* p) { return __atomic_load_n(p, __ATOMIC_RELAXED); }

void Store8(unsigned char* p, std::uint8_t v) { __atomic_store_n(p, v, __ATOMIC_RELAXED); }

std::uint16_t Load16(const unsigned char* p) {
    return FromLittle16(__atomic_load_n(reinterpret_cast<const std::uint16_t*>(p), __ATOMIC_RELAXED));
}

void Store16(unsigned char* p, std::uint16_t v) {
    __atomic_store_n(reinterpret_cast<std::uint16_t*>(p), ToLittle16(v), __ATOMIC_RELAXED);
}

std::uint32_t Load32(const unsigned char* p) {
    if (reinterpret_cast<std::uintptr_t>(p) % 4 == 0) {
        return FromLittle32(__atomic_load_n(reinterpret_cast<const std::uint32_t*>(p), __ATOMIC_RELAXED));
    }
    return static_cast<std::uint32_t>(Load16(p)) | (static_cast<std::uint32_t>(Load16(p + 2)) << 16);
}

void Store32(unsigned char* p, std::uint32_t v) {
    if (reinterpret_cast<std::uintptr_t>(p) % 4 == 0) {
        __atomic_store_n(reinterpret_cast<std::uint32_t*>(p), ToLittle32(v), __ATOMIC_RELAXED);
        return;
    }
    Store16(p, static_cast<std::uint16_t>(v & 0xFFFF));
    Store16(p + 2, static_cast<std::uint16_t>(v >> 16));
}

}  // namespace

WORD SpectrumBlock::get(SpectrumU16 field) const { return Load16(bytes_ + field.offset); }

DWORD SpectrumBlock::get(SpectrumU32 field) const { return Load32(bytes_ + field.offset); }

LONG SpectrumBlock::get(SpectrumI32 field) const { return static_cast<LONG>(Load32(bytes_ + field.offset)); }

float SpectrumBlock::get(SpectrumF32 field) const { return std::bit_cast<float>(Load32(bytes_ + field.offset)); }

float SpectrumBlock::get(SpectrumF32Array field, std::size_t index) const {
    if (index >= field.count) {
        return 0.0f;
    }
    return std::bit_cast<float>(Load32(bytes_ + field.offset + 4 * index));
}

std::string SpectrumBlock::get(SpectrumText field) const {
    std::string text;
    for (std::size_t i = 0; i < field.size; ++i) {
        const char c = static_cast<char>(Load8(bytes_ + field.offset + i));
        if (c == '\0') {
            break;
        }
        text.push_back(c);
    }
    return text;
}

void SpectrumBlock::set(SpectrumU16 field, WORD value) { Store16(bytes_ + field.offset, value); }

void SpectrumBlock::set(SpectrumU32 field, DWORD value) { Store32(bytes_ + field.offset, value); }

void SpectrumBlock::set(SpectrumI32 field, LONG value) {
    Store32(bytes_ + field.offset, static_cast<std::uint32_t>(value));
}

void SpectrumBlock::set(SpectrumF32 field, float value) {
    Store32(bytes_ + field.offset, std::bit_cast<std::uint32_t>(value));
}

void SpectrumBlock::set(SpectrumF32Array field, std::size_t index, float value) {
    if (index < field.count) {
        Store32(bytes_ + field.offset + 4 * index, std::bit_cast<std::uint32_t>(value));
    }
}

void SpectrumBlock::set(SpectrumText field, const char* text) {
    const std::size_t length = text == nullptr ? 0 : strnlen(text, field.size - 1);
    for (std::size_t i = 0; i < field.size; ++i) {
        Store8(bytes_ + field.offset + i, i < length ? static_cast<std::uint8_t>(text[i]) : 0);
    }
}

void SpectrumBlock::clear() {
    // The view starts on a page boundary and the size is even: 16-bit words
    // cover it without straddling anything.
    static_assert(SpectrumBlockSize % 2 == 0);
    for (std::size_t i = 0; i < SpectrumBlockSize; i += 2) {
        Store16(bytes_ + i, 0);
    }
}
