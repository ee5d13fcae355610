#include "platform/gdi/text/font_files.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>

namespace gdi::text::detail {
namespace {

std::mutex configMutex;

// A private configuration rather than the library's global one, so that it is
// released at exit and leak checkers stay quiet.
struct Config {
    FcConfig* config = FcInitLoadConfigAndFonts();
    ~Config() {
        if (config) FcConfigDestroy(config);
    }
};

std::optional<FontFile> Match(const std::string& family, int weight, bool italic) {
    std::lock_guard<std::mutex> lock(configMutex);
    static Config fc;
    if (!fc.config) return std::nullopt;
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return std::nullopt;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weight));
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(fc.config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(fc.config, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return std::nullopt;
    std::optional<FontFile> found;
    FcChar8* file = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file) {
        FontFile f;
        f.path = reinterpret_cast<const char*>(file);
        int index = 0, w = 0, slant = 0;
        if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) f.index = index;
        if (FcPatternGetInteger(match, FC_WEIGHT, 0, &w) == FcResultMatch) f.weight = FcWeightToOpenType(w);
        if (FcPatternGetInteger(match, FC_SLANT, 0, &slant) == FcResultMatch) f.italic = slant != FC_SLANT_ROMAN;
        found = f;
    }
    FcPatternDestroy(match);
    return found;
}

}  // namespace

std::optional<FontFile> FindFont(const FontSpec& request) {
    const int weight = request.weight <= 0 ? 400 : std::min(request.weight, 1000);
    if (!request.family.empty())
        if (auto f = Match(request.family, weight, request.italic)) return f;
    return Match("sans-serif", weight, request.italic);
}

std::mutex& LibraryMutex() {
    static std::mutex m;
    return m;
}

FT_Library Library() {
    // Kept for the life of the process: faces may outlive any static owner.
    static FT_Library lib = [] {
        FT_Library l = nullptr;
        return FT_Init_FreeType(&l) == 0 ? l : nullptr;
    }();
    return lib;
}

}  // namespace gdi::text::detail
