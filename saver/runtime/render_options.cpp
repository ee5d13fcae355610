#include "saver/runtime/render_options.h"

#include <cctype>
#include <charconv>
#include <cstring>
#include <string_view>

#include "saver/settings/key_paths.h"

namespace {

bool ParseNumber(std::string_view text, unsigned long max, unsigned long* value) {
    if (text.empty()) return false;
    unsigned long parsed = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (ec != std::errc() || end != text.data() + text.size() || parsed > max) return false;
    *value = parsed;
    return true;
}

bool ParseSize(std::string_view text, int* width, int* height) {
    std::size_t x = text.find_first_of("xX");
    if (x == std::string_view::npos) return false;
    unsigned long w = 0;
    unsigned long h = 0;
    if (!ParseNumber(text.substr(0, x), MaxRenderSide, &w) || !ParseNumber(text.substr(x + 1), MaxRenderSide, &h))
        return false;
    if (w == 0 || h == 0) return false;
    *width = static_cast<int>(w);
    *height = static_cast<int>(h);
    return true;
}

bool EndsWithGif(const std::string& path) {
    if (path.size() < 4) return false;
    std::string suffix = path.substr(path.size() - 4);
    for (char& c : suffix) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return suffix == ".gif";
}

}  // namespace

bool ParseRenderOptions(int argc, const char* const* argv, RenderOptions* options, std::string* error) {
    *options = RenderOptions{};
    bool fpsGiven = false;
    for (int i = 2; i < argc; ++i) {
        std::string_view word = argv[i] ? argv[i] : "";
        bool hasValue = i + 1 < argc && argv[i + 1];
        std::string_view value = hasValue ? argv[i + 1] : "";
        unsigned long number = 0;
        if (word == "--size" || word == "--seconds" || word == "--fps" || word == "--display" || word == "--seed" ||
            word == "--frames" || word == "--every") {
            if (!hasValue) {
                *error = std::string(word) + " needs a value";
                return false;
            }
            ++i;
        }
        if (word == "--size") {
            if (!ParseSize(value, &options->width, &options->height)) {
                *error = "--size wants WxH, each side 1 to 8192: " + std::string(value);
                return false;
            }
        } else if (word == "--seconds") {
            if (!ParseNumber(value, MaxRenderSeconds, &number) || number == 0) {
                *error = "--seconds wants 1 to 86400: " + std::string(value);
                return false;
            }
            options->seconds = static_cast<unsigned>(number);
        } else if (word == "--fps") {
            if (!ParseNumber(value, MaxRenderFps, &number) || number == 0) {
                *error = "--fps wants 1 to 1000: " + std::string(value);
                return false;
            }
            options->fps = static_cast<unsigned>(number);
            fpsGiven = true;
        } else if (word == "--display") {
            if (!ValidDisplayName(std::string(value))) {
                *error = "--display wants the name of a saved display: " + std::string(value);
                return false;
            }
            options->display = value;
        } else if (word == "--seed") {
            if (!ParseNumber(value, 0xFFFFFFFFul, &number)) {
                *error = "--seed wants 0 to 4294967295: " + std::string(value);
                return false;
            }
            options->seed = number;
        } else if (word == "--frames") {
            if (value.empty()) {
                *error = "--frames wants a directory";
                return false;
            }
            options->framesDir = value;
        } else if (word == "--every") {
            if (!ParseNumber(value, 1000000, &number) || number == 0) {
                *error = "--every wants a positive number: " + std::string(value);
                return false;
            }
            options->every = static_cast<unsigned>(number);
        } else if (options->output.empty() && !word.empty() && word[0] != '-') {
            options->output = word;
        } else {
            *error = "unknown render option: " + std::string(word);
            return false;
        }
    }
    if (options->output.empty()) {
        *error = "--render needs the PNG or GIF file to write";
        return false;
    }
    options->gif = EndsWithGif(options->output);
    if (options->gif && fpsGiven) {
        if (options->fps > MaxGifFps) {
            *error = "--fps wants 1 to 50 for a GIF: " + std::to_string(options->fps);
            return false;
        }
        options->gifFps = options->fps;
        options->fps = RenderOptions{}.fps;
    }
    return true;
}
