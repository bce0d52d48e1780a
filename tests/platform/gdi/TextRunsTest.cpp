// The text runs the drawing layer keeps on surfaces: a run per drawn line with its visible cell,
// runs dropped or trimmed by painting over them, carried along (moved, scaled, clipped) by copies
// between surfaces, and the same text drawn again over itself kept once.
#include <string>

#include "GdiTestSupport.h"

using namespace gditest;

namespace {

const std::vector<platform::TextRun>& runsOf(const Canvas& canvas) {
    return platform::surfaceOf(canvas.bitmap())->textRuns();
}

std::vector<std::u16string> textsOf(const Canvas& canvas) {
    std::vector<std::u16string> texts;
    for (const platform::TextRun& run : runsOf(canvas))
        texts.push_back(run.text);
    return texts;
}

void draw(const Canvas& canvas, const std::u16string& text, RECT box, UINT format) {
    DrawTextW(canvas.dc(), text.c_str(), static_cast<int>(text.size()), &box, format);
}

void fill(const Canvas& canvas, RECT rect) {
    FillRect(canvas.dc(), &rect, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
}

TEST(TextRuns, EachDrawnLineIsARunWithItsCellInsideTheClip) {
    Canvas canvas(200, 100);
    draw(canvas, u"first line\nsecond", RECT{10, 10, 190, 90}, DT_LEFT | DT_NOPREFIX);
    draw(canvas, u"A name much too long for its box", RECT{10, 60, 70, 80}, DT_SINGLELINE | DT_END_ELLIPSIS);
    draw(canvas, u"   ", RECT{10, 80, 100, 95}, DT_SINGLELINE);
    ASSERT_EQ(runsOf(canvas).size(), 3u) << "blank text leaves no run";
    const platform::TextRun& first = runsOf(canvas)[0];
    const platform::TextRun& second = runsOf(canvas)[1];
    EXPECT_EQ(first.text, u"first line");
    EXPECT_EQ(first.rect.left, 10);
    EXPECT_EQ(first.rect.top, 10);
    EXPECT_EQ(second.text, u"second");
    EXPECT_EQ(second.rect.top, first.rect.bottom) << "one line below the other";
    const platform::TextRun& shortened = runsOf(canvas)[2];
    EXPECT_EQ(shortened.text.substr(shortened.text.size() - 3), u"...");
    EXPECT_LE(shortened.rect.right, 70) << "clipped to the box";

    // Clipped by the DC: only the part inside the clip shows.
    Canvas clipped(100, 40);
    HRGN clip = CreateRectRgn(0, 0, 30, 40);
    SelectClipRgn(clipped.dc(), clip);
    draw(clipped, u"wide text here", RECT{5, 5, 95, 35}, DT_SINGLELINE | DT_NOCLIP);
    ASSERT_EQ(runsOf(clipped).size(), 1u);
    EXPECT_EQ(runsOf(clipped)[0].rect.right, 30);
    DeleteObject(clip);
}

TEST(TextRuns, PaintingOverARunDropsOrTrimsIt) {
    Canvas canvas(200, 100);
    ExtTextOutW(canvas.dc(), 10, 10, 0, nullptr, u"covered", 7, nullptr);
    ExtTextOutW(canvas.dc(), 10, 40, 0, nullptr, u"trimmed", 7, nullptr);
    ExtTextOutW(canvas.dc(), 10, 70, 0, nullptr, u"untouched", 9, nullptr);
    RECT trimmed = runsOf(canvas)[1].rect;
    fill(canvas, RECT{0, 0, 200, 35});
    fill(canvas, RECT{0, trimmed.top - 2, trimmed.left + 10, trimmed.bottom + 2});
    fill(canvas, RECT{150, 60, 200, 100});
    EXPECT_EQ(textsOf(canvas), (std::vector<std::u16string>{u"trimmed", u"untouched"}));
    EXPECT_EQ(runsOf(canvas)[0].rect.left, trimmed.left + 10) << "a side covered across its height";
    EXPECT_EQ(runsOf(canvas)[0].rect.right, trimmed.right);

    // Drawing the same text again over itself (a shadow, then the text) leaves one run.
    ExtTextOutW(canvas.dc(), 10, 71, 0, nullptr, u"untouched", 9, nullptr);
    EXPECT_EQ(textsOf(canvas), (std::vector<std::u16string>{u"trimmed", u"untouched"}));
    EXPECT_EQ(runsOf(canvas)[1].rect.top, 71);
    PatBlt(canvas.dc(), 0, 0, 200, 100, BLACKNESS);
    EXPECT_TRUE(runsOf(canvas).empty());
}

TEST(TextRuns, CopiesCarryTheSourcesRunsAlong) {
    Canvas source(100, 60), target(300, 200);
    ExtTextOutW(source.dc(), 5, 5, 0, nullptr, u"row one", 7, nullptr);
    ExtTextOutW(source.dc(), 5, 35, 0, nullptr, u"row two", 7, nullptr);
    RECT one = runsOf(source)[0].rect;
    ExtTextOutW(target.dc(), 150, 30, 0, nullptr, u"under the copy", 14, nullptr);

    // Only the upper half is copied, to (140, 20): the text under it goes, "row one" comes, moved.
    BitBlt(target.dc(), 140, 20, 100, 30, source.dc(), 0, 0, SRCCOPY);
    ASSERT_EQ(textsOf(target), (std::vector<std::u16string>{u"row one"}));
    EXPECT_EQ(runsOf(target)[0].rect.left, one.left + 140);
    EXPECT_EQ(runsOf(target)[0].rect.top, one.top + 20);

    // Scaled: twice as wide, ten thirds as high.
    RECT two = runsOf(source)[1].rect;
    StretchBlt(target.dc(), 0, 100, 200, 100, source.dc(), 0, 30, 100, 30, SRCCOPY);
    ASSERT_EQ(runsOf(target).size(), 2u);
    EXPECT_EQ(runsOf(target)[1].text, u"row two");
    EXPECT_EQ(runsOf(target)[1].rect.left, two.left * 2);
    EXPECT_EQ(runsOf(target)[1].rect.top, 100 + (two.top - 30) * 100 / 30);
    LONG scaledTop = runsOf(target)[1].rect.top;

    // A copy that leaves out a colour keeps what it does not cover; a copy within one surface moves
    // its runs (a scroll).
    TransparentImage(target.dc(), 140, 20, 100, 30, source.bitmap(), 0, 30, 100, 30, RGB(255, 255, 255));
    EXPECT_EQ(runsOf(target).size(), 3u);
    BitBlt(target.dc(), 0, 0, 300, 100, target.dc(), 0, 100, SRCCOPY);
    bool moved = false;
    for (const platform::TextRun& run : runsOf(target))
        moved = moved || (run.text == u"row two" && run.rect.top == scaledTop - 100);
    EXPECT_TRUE(moved);
}

}  // namespace
