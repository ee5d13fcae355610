#pragma once
// Animated GIF pictures of the Canvas.  Every frame is the Canvas's own
// palette indices with the hardware colours of that moment as its colour
// table, so nothing is re-quantised: the file shows exactly what the screen
// showed, colour flow included.  The file appears whole or not at all.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/gdi/presenter.h"

namespace gdi {

class GifWriter {
public:
    GifWriter();
    ~GifWriter();
    GifWriter(const GifWriter&) = delete;
    GifWriter& operator=(const GifWriter&) = delete;

    // Starts an endlessly looping animation of width x height frames.
    bool open(const std::string& path, int width, int height, std::string* error);
    // The picture shown from `atMs` (milliseconds from the start, never
    // decreasing) until the next frame: width x height indices, rows top to
    // bottom.  A frame equal to the one before only lengthens it.
    void addFrame(const std::uint8_t* indices, const HardwareColours& colours, std::uint64_t atMs);
    // Ends the last frame at `endMs` and puts the file in place.
    bool finish(std::uint64_t endMs, std::string* error);

private:
    struct Encoder;
    std::unique_ptr<Encoder> encoder_;
};

}  // namespace gdi
