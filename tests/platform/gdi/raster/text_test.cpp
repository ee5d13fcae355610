#include <gtest/gtest.h>

#include <thread>

#include "pixels.h"
#include "platform/gdi/text/font.h"

namespace gdi::text {
namespace {

using test::Pixels;

std::shared_ptr<const Face> Stock() {
    auto face = Face::StockVariable();
    EXPECT_NE(face, nullptr) << "no sans-serif font installed";
    return face;
}

TEST(Face, StockFontIsAboutThirteenPixels) {
    const auto face = Stock();
    ASSERT_TRUE(face);
    const Metrics& m = face->metrics();
    EXPECT_GE(m.height, 12);
    EXPECT_LE(m.height, 15);
    EXPECT_EQ(m.ascent + m.descent, m.height);
    EXPECT_GT(m.aveCharWidth, 2);
    EXPECT_GE(m.maxCharWidth, m.aveCharWidth);
    EXPECT_EQ(Face::StockVariable(), face);
}

TEST(Face, HeightFollowsLogfontSigns) {
    const auto cell = Face::Open({"sans-serif", 40, 400, false});
    const auto character = Face::Open({"sans-serif", -40, 400, false});
    ASSERT_TRUE(cell && character);
    EXPECT_NEAR(cell->metrics().height, 40, 1);
    // A negative height sizes the em square, so the cell adds the internal leading.
    EXPECT_GT(character->metrics().height, 40);
    EXPECT_EQ(character->metrics().height - character->metrics().internalLeading, 40);
    const auto bold = Face::Open({"sans-serif", 40, 700, false});
    ASSERT_TRUE(bold);
    EXPECT_GT(bold->measure("Lumora").cx, cell->measure("Lumora").cx);
    // Absurd sizes are clamped, not honoured.
    const auto huge = Face::Open({"sans-serif", 1000000000, 400, true});
    ASSERT_TRUE(huge);
    EXPECT_LT(huge->metrics().height, 5000);
}

TEST(Face, MeasureAddsAdvances) {
    const auto face = Stock();
    ASSERT_TRUE(face);
    EXPECT_EQ(face->measure("").cx, 0);
    EXPECT_EQ(face->measure("").cy, face->metrics().height);
    const int a = face->measure("W").cx, b = face->measure("i").cx;
    EXPECT_GT(a, b);
    EXPECT_EQ(face->measure("Wi").cx, a + b);
}

TEST(Face, InkLiesWithinTheMeasuredCell) {
    const auto face = Stock();
    ASSERT_TRUE(face);
    for (const char* line : {"Hello, World!", "gjpqy|[]", "MMMMWWWW", "~`'\"_^"}) {
        Pixels p(300, 60, -20, -20);
        face->draw(line, 10, 5, p.area(), p);
        p.expectClean();
        ASSERT_GT(p.count(), 10) << line;
        const SIZE s = face->measure(line);
        const RECT ink = p.inkBounds();
        EXPECT_GE(ink.left, 10) << line;
        EXPECT_LE(ink.right, 10 + s.cx) << line;
        EXPECT_GE(ink.top, 5) << line;
        EXPECT_LE(ink.bottom, 5 + s.cy) << line;
    }
    // Latin-1 bytes are their own code points: E-acute is E with ink above it.
    Pixels e(40, 40, -10, -10), eAcute(40, 40, -10, -10);
    face->draw("E", 0, 0, e.area(), e);
    face->draw("\xC9", 0, 0, eAcute.area(), eAcute);
    EXPECT_EQ(e.inkBounds().bottom, eAcute.inkBounds().bottom);
    EXPECT_LT(eAcute.inkBounds().top, e.inkBounds().top);
    EXPECT_GT(eAcute.count(), e.count());
    // Clipped drawing keeps exactly the pixels inside the limit.
    Pixels whole(100, 30), part(100, 30);
    face->draw("Clip me", 3, 4, whole.area(), whole);
    face->draw("Clip me", 3, 4, {10, 8, 30, 30}, part);
    part.expectClean();
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 100; ++x)
            ASSERT_EQ(part.at(x, y), whole.at(x, y) && x >= 10 && x < 30 && y >= 8);
}

TEST(Face, DrawsTheSameFromManyThreads) {
    const auto face = Face::Open({"sans-serif", 17, 400, true});
    ASSERT_TRUE(face);
    Pixels ref(200, 30);
    face->draw("The quick brown fox", 0, 0, ref.area(), ref);
    std::vector<int> counts(4);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            Pixels p(200, 30);
            face->draw("The quick brown fox", 0, 0, p.area(), p);
            counts[static_cast<std::size_t>(t)] = p.count();
        });
    for (auto& th : threads) th.join();
    for (int c : counts) EXPECT_EQ(c, ref.count());
}

struct Placed {
    int x, y;
    std::string text;
};

std::vector<Placed> Layout(const Face& face, std::string_view text, RECT& rect, unsigned format, int* height = nullptr) {
    std::vector<Placed> out;
    const int h = LayoutText(face, text, rect, format,
                             [&](int x, int y, std::string_view l) { out.push_back({x, y, std::string(l)}); });
    if (height) *height = h;
    return out;
}

TEST(Layout, CentredBlockOfLinesIsCentredInTheRectangle) {
    const auto face = Stock();
    ASSERT_TRUE(face);
    RECT rect{20, 10, 320, 210};
    int height = 0;
    const auto lines = Layout(*face, "First line\nThe second, longer line\r\nthird", rect, kDtCenter | kDtVCenter,
                              &height);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[2].text, "third");
    Pixels p(400, 260);
    for (const Placed& l : lines) face->draw(l.text, l.x, l.y, p.area(), p);
    const RECT ink = p.inkBounds();
    EXPECT_NEAR((ink.left + ink.right) / 2.0, 170, 2);
    EXPECT_NEAR((ink.top + ink.bottom) / 2.0, 110, 2.5);
    EXPECT_EQ(height, lines[0].y - 10 + 3 * face->metrics().height);
    for (const Placed& l : lines) EXPECT_NEAR(l.x + face->measure(l.text).cx / 2.0, 170, 1);
}

TEST(Layout, AlignmentFlagsAndCalcRect) {
    const auto face = Stock();
    ASSERT_TRUE(face);
    const int h = face->metrics().height;
    RECT rect{0, 0, 200, 100};
    auto lines = Layout(*face, "ab\ncd", rect, kDtRight | kDtBottom);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].x + face->measure("cd").cx, 200);
    EXPECT_EQ(lines[1].y + h, 100);

    lines = Layout(*face, "one\ntwo", rect, kDtSingleLine);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].text, "onetwo");

    lines = Layout(*face, "&File && &Edit&", rect, 0);
    EXPECT_EQ(lines[0].text, "File & Edit");
    lines = Layout(*face, "&File", rect, kDtNoPrefix);
    EXPECT_EQ(lines[0].text, "&File");

    RECT calc{5, 7, 6, 8};
    int height = 0;
    EXPECT_TRUE(Layout(*face, "wide line\nx", calc, kDtCalcRect, &height).empty());
    EXPECT_EQ(calc.left, 5);
    EXPECT_EQ(calc.right, 5 + face->measure("wide line").cx);
    EXPECT_EQ(calc.bottom, 7 + 2 * h);
    EXPECT_EQ(height, 2 * h);

    EXPECT_TRUE(Layout(*face, "", rect, 0, &height).empty());
    EXPECT_EQ(height, 0);
}

}  // namespace
}  // namespace gdi::text
