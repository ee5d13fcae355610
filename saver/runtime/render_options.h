#pragma once
// The options of `lumora --render FILE.png ...`.
#include <string>

struct RenderOptions {
    std::string output;        // the PNG of the last frame, or with ".gif" an animated GIF of the run
    int width = 640;           // --size WxH
    int height = 480;
    unsigned seconds = 10;     // --seconds S: virtual run time
    unsigned fps = 60;         // --fps N: a frame every 1000 / N ms
    std::string display;       // --display NAME: that saved display instead of Active
    unsigned long seed = 1;    // --seed N: the tick count the run starts at
    std::string framesDir;     // --frames DIR: frame pictures as well
    unsigned every = 1;        // --every N: every Nth frame into DIR
    bool gif = false;          // the output is a GIF: its frames are taken
    unsigned gifFps = 15;      // this many times a second (--fps), while the saver runs at 60
};

constexpr int MaxRenderSide = 8192;
constexpr unsigned MaxRenderSeconds = 24 * 60 * 60;
constexpr unsigned MaxRenderFps = 1000;
constexpr unsigned MaxGifFps = 50;  // GIF counts in hundredths, and viewers slow faster frames down

constexpr char RenderUsage[] =
    "usage: lumora --render FILE.png|FILE.gif [--size WxH] [--seconds S] [--fps N] [--display NAME] [--seed N]"
    " [--frames DIR [--every N]]";

// argv[0] is the program, argv[1] "--render".  FALSE with a message in
// `error` for anything it cannot use.
bool ParseRenderOptions(int argc, const char* const* argv, RenderOptions* options, std::string* error);
