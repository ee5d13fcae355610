// DrawTextA's placement of lines in a rectangle.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/gdi/text/font.h"

namespace gdi::text {
namespace {

// "&" marks a mnemonic and is not shown; "&&" shows one "&".
std::string StripPrefixes(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '&' && ++i == s.size()) break;
        out += s[i];
    }
    return out;
}

std::vector<std::string> SplitLines(std::string_view text, unsigned format) {
    std::vector<std::string> lines;
    if (text.empty()) return lines;
    if (format & kDtSingleLine) {
        std::string one;
        for (char c : text)
            if (c != '\r' && c != '\n') one += c;
        lines.push_back(std::move(one));
    } else {
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find('\n', start);
            if (end == std::string_view::npos) end = text.size();
            std::string_view l = text.substr(start, end - start);
            if (!l.empty() && l.back() == '\r') l.remove_suffix(1);
            lines.emplace_back(l);
            start = end + 1;
        }
    }
    if (!(format & kDtNoPrefix))
        for (std::string& l : lines) l = StripPrefixes(l);
    return lines;
}

std::int64_t FloorHalf(std::int64_t v) { return v >= 0 ? v / 2 : -((-v + 1) / 2); }

LONG ToLong(std::int64_t v) { return static_cast<LONG>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX)); }

}  // namespace

int LayoutText(const Face& face, std::string_view text, RECT& rect, unsigned format,
               const std::function<void(int x, int y, std::string_view line)>& line) {
    const std::vector<std::string> lines = SplitLines(text, format);
    const std::int64_t lineHeight = face.metrics().height;
    const std::int64_t blockHeight = lineHeight * static_cast<std::int64_t>(lines.size());
    std::vector<std::int64_t> widths;
    widths.reserve(lines.size());
    std::int64_t maxWidth = 0;
    for (const std::string& l : lines) {
        widths.push_back(face.measure(l).cx);
        maxWidth = std::max(maxWidth, widths.back());
    }
    if (format & kDtCalcRect) {
        rect.right = ToLong(std::int64_t{rect.left} + maxWidth);
        rect.bottom = ToLong(std::int64_t{rect.top} + blockHeight);
        return static_cast<int>(std::min<std::int64_t>(blockHeight, INT32_MAX));
    }
    std::int64_t top = rect.top;
    if (format & kDtVCenter)
        top = rect.top + FloorHalf(std::int64_t{rect.bottom} - rect.top - blockHeight);
    else if (format & kDtBottom)
        top = std::int64_t{rect.bottom} - blockHeight;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::int64_t x = rect.left;
        if (format & kDtCenter)
            x = rect.left + FloorHalf(std::int64_t{rect.right} - rect.left - widths[i]);
        else if (format & kDtRight)
            x = std::int64_t{rect.right} - widths[i];
        if (line) line(ToLong(x), ToLong(top + lineHeight * static_cast<std::int64_t>(i)), lines[i]);
    }
    const std::int64_t height = (format & (kDtVCenter | kDtBottom)) ? top - rect.top + blockHeight : blockHeight;
    return static_cast<int>(std::clamp<std::int64_t>(height, INT32_MIN, INT32_MAX));
}

}  // namespace gdi::text
