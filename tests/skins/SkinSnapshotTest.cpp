// The entry page's skins from the program's resources, laid out on every screen profile: the right
// variant (normal or high resolution) at the sizes the layout expects, strip keys at the buttons'
// scaled positions with their pressed slices, the toggle's two looks, and the colours of the header
// title and field labels.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "SkinBoard.h"
#include "UserTesting.h"
#include "platform/resources.h"
#include "platform/windows.h"
#include "resources/DashelResources.h"

namespace {

using namespace platform::testing;
using skinview::SkinBoard;

struct Profile {
    int width;
    int height;
    int dpi;
};
constexpr Profile kProfiles[] = {
    {240, 320, 96}, {480, 640, 192}, {640, 480, 192}, {480, 800, 192}, {240, 240, 96}};

int luminance(COLORREF c) {
    return (GetRValue(c) * 299 + GetGValue(c) * 587 + GetBValue(c) * 114) / 1000;
}

// How many pixels of the rectangle have exactly the colour.
int countColour(const RECT& r, COLORREF colour) {
    int count = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            count += screenPixel(x, y) == colour ? 1 : 0;
    return count;
}

// The brightest pixel of the rectangle: over a darker ground, the full-coverage pixels of text.
COLORREF brightest(const RECT& r) {
    COLORREF best = RGB(0, 0, 0);
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (luminance(screenPixel(x, y)) > luminance(best)) best = screenPixel(x, y);
    return best;
}

// Anti-aliased text of the colour over a darker ground: its brightest pixel is the colour, or close
// to it where thin strokes never cover a whole pixel (at normal resolution).
void expectTextColour(const RECT& r, COLORREF colour, int tolerance, const std::string& where) {
    COLORREF top = brightest(r);
    for (int shift : {0, 8, 16}) {
        int expected = static_cast<int>((colour >> shift) & 0xFF),
            actual = static_cast<int>((top >> shift) & 0xFF);
        EXPECT_LE(actual, expected) << where;
        EXPECT_GE(actual, expected - tolerance) << where;
    }
}

// The leftmost column of the rectangle holding the colour, or r.right when none does.
int leftmostColour(const RECT& r, COLORREF colour) {
    for (int x = r.left; x < r.right; ++x)
        for (int y = r.top; y < r.bottom; ++y)
            if (screenPixel(x, y) == colour) return x;
    return r.right;
}

class SkinSnapshot : public ::testing::TestWithParam<Profile> {
  protected:
    SkinSnapshot() : m_scope(GetParam().width, GetParam().height, GetParam().dpi) {}
    void SetUp() override {
        m_module = GetModuleHandleW(nullptr);
        ASSERT_TRUE(platform::registerModuleResources(m_module, dashelResourceTable()));
        ASSERT_TRUE(m_board.create(m_module));
        pumpMessages();
    }
    void TearDown() override { platform::unregisterModuleResources(m_module); }

    // A point on the face of button i of the shown strip, clear of its centred label.
    POINT facePoint(int button) const {
        RECT r = m_board.buttonRect(button);
        return POINT{r.left + m_board.metrics().scaleX(6), r.top + m_board.metrics().scaleY(4)};
    }

    // How far below its colour the brightest pixel of small text may stay.
    int tolerance() const { return m_board.metrics().highResolution ? 0 : 24; }

    WindowTestScope m_scope;
    HINSTANCE m_module = nullptr;
    SkinBoard m_board;
};

// Every skin's high-resolution bitmap is its normal one at twice the size.
TEST(SkinPairs, HighResolutionBitmapsAreTwiceTheNormalSize) {
    HINSTANCE module = GetModuleHandleW(nullptr);
    ASSERT_TRUE(platform::registerModuleResources(module, dashelResourceTable()));
    std::vector<std::pair<UINT, UINT>> pairs = {{skinview::kHeaderBar, skinview::kHeaderBarHigh},
                                                {skinview::kField, skinview::kFieldHigh},
                                                {skinview::kToggleOff, skinview::kToggleOffHigh},
                                                {skinview::kToggleOn, skinview::kToggleOnHigh}};
    for (const skinview::StripSkin& strip : skinview::stripSkins()) {
        pairs.emplace_back(strip.normal, strip.highNormal);
        pairs.emplace_back(strip.pressed, strip.highPressed);
    }
    for (auto [normalId, highId] : pairs) {
        HBITMAP normal = LoadBitmapW(module, MAKEINTRESOURCEW(normalId));
        HBITMAP high = LoadBitmapW(module, MAKEINTRESOURCEW(highId));
        ASSERT_TRUE(normal && high) << normalId << " " << highId;
        SIZE n = skinview::bitmapSize(normal), h = skinview::bitmapSize(high);
        EXPECT_EQ(h.cx, 2 * n.cx) << normalId;
        EXPECT_EQ(h.cy, 2 * n.cy) << normalId;
        DeleteObject(normal);
        DeleteObject(high);
    }
    platform::unregisterModuleResources(module);
}

TEST_P(SkinSnapshot, VariantAndSizesFollowTheResolution) {
    const auto& m = m_board.metrics();
    EXPECT_EQ(m.highResolution, GetParam().dpi >= 132);
    auto variantHeight = [&](UINT normal, UINT high) {
        HBITMAP bitmap = LoadBitmapW(m_module, MAKEINTRESOURCEW(m.highResolution ? high : normal));
        int height = skinview::bitmapSize(bitmap).cy;
        DeleteObject(bitmap);
        return height;
    };
    RECT header = m_board.headerRect();
    EXPECT_EQ(header.right, GetParam().width);
    EXPECT_EQ(header.bottom, variantHeight(skinview::kHeaderBar, skinview::kHeaderBarHigh));
    int rowHeight = variantHeight(skinview::kField, skinview::kFieldHigh);
    for (int row = 0; row < 4; ++row) {
        RECT r = m_board.rowRect(row);
        EXPECT_EQ(r.right - r.left, m.scaleX(240));
        EXPECT_EQ(r.bottom - r.top, rowHeight);
    }
    RECT panel = m_board.panelRect();
    EXPECT_EQ(panel.bottom - panel.top, 4 * rowHeight + 3 * m.scaleY(1));
    RECT toggle = m_board.toggleRect();
    EXPECT_EQ(toggle.right, panel.right);
    EXPECT_EQ(toggle.top, panel.top);
    EXPECT_LE(toggle.bottom, m_board.rowRect(0).bottom);
    for (int strip = 0; strip < 3; ++strip) {
        m_board.showStrip(strip);
        RECT r = m_board.stripRect();
        const skinview::StripSkin& skin = skinview::stripSkins()[static_cast<size_t>(strip)];
        EXPECT_EQ(r.right - r.left, m.scaleX(240)) << strip;
        EXPECT_EQ(r.bottom - r.top, variantHeight(skin.normal, skin.highNormal)) << strip;
        EXPECT_EQ(r.bottom - r.top, variantHeight(skin.pressed, skin.highPressed)) << strip;
        EXPECT_LE(r.bottom, GetParam().height) << "the strip fits on the screen";
    }
}

TEST_P(SkinSnapshot, HeaderTitleInItsColourAtTheRightEnd) {
    RECT title = m_board.titleRect();
    RECT header = m_board.headerRect();
    EXPECT_EQ(title.right, header.right);
    EXPECT_GT(countColour(title, skinview::kTitleColour), 10);
    // The text starts at the left of the title area, which is its width plus scaleX(4).
    int first = leftmostColour(title, skinview::kTitleColour);
    EXPECT_LE(first - title.left, m_board.metrics().scaleX(2));
    EXPECT_EQ(countColour(RECT{0, 0, title.left, header.bottom}, skinview::kTitleColour), 0);
    // The bar under the title is dark, as the light title needs.
    EXPECT_LT(luminance(screenPixel(title.left - 1, header.bottom / 2)), 100);
}

TEST_P(SkinSnapshot, FieldLabelsInTheirColourOnDarkRows) {
    const auto& m = m_board.metrics();
    for (int row = 0; row < 4; ++row) {
        RECT r = m_board.rowRect(row);
        // The label line at the top of the field, left of the toggle.
        RECT label{r.left, r.top + m.scaleY(1), (r.left + r.right) / 2, r.top + m.scaleY(16)};
        expectTextColour(label, skinview::kLabelColour, tolerance(), "row " + std::to_string(row));
        EXPECT_LT(luminance(screenPixel(r.left + 1, r.bottom - m.scaleY(4))), 80);
    }
    RECT amount = m_board.rowRect(1);
    amount.left = (amount.left + amount.right) / 2;
    amount.bottom = amount.top + m.scaleY(16);
    expectTextColour(amount, skinview::kLabelColour, tolerance(), "amount");
}

TEST_P(SkinSnapshot, StripKeysSitAtTheButtonsScaledPositions) {
    const auto& m = m_board.metrics();
    for (int strip = 0; strip < 3; ++strip) {
        m_board.showStrip(strip);
        pumpMessages();
        const auto& buttons = skinview::stripSkins()[static_cast<size_t>(strip)].buttons;
        int units = 0;
        for (size_t i = 0; i < buttons.size(); ++i) {
            RECT r = m_board.buttonRect(static_cast<int>(i));
            EXPECT_EQ(r.left, m.scaleX(units)) << strip << "/" << i;
            units += buttons[i].width;
            POINT face = facePoint(static_cast<int>(i));
            EXPECT_GT(luminance(screenPixel(face.x, face.y)), 150) << strip << "/" << i;
            // Between two keys lies the dark band of the strip.
            if (i > 0) {
                EXPECT_LT(luminance(screenPixel(r.left, face.y)), 90) << strip << "/" << i;
            }
        }
        EXPECT_EQ(units, 240);
    }
}

TEST_P(SkinSnapshot, HeldButtonShowsItsPressedSliceOnlyWhileInside) {
    for (int strip = 0; strip < 3; ++strip) {
        m_board.showStrip(strip);
        pumpMessages();
        int count = static_cast<int>(skinview::stripSkins()[static_cast<size_t>(strip)].buttons.size());
        for (int held = 0; held < count; ++held) {
            std::vector<COLORREF> before;
            for (int i = 0; i < count; ++i)
                before.push_back(screenPixel(facePoint(i).x, facePoint(i).y));
            POINT p = facePoint(held);
            stylusDown(p.x, p.y);
            pumpMessages();
            for (int i = 0; i < count; ++i) {
                COLORREF now = screenPixel(facePoint(i).x, facePoint(i).y);
                if (i == held)
                    EXPECT_GT(luminance(now), luminance(before[static_cast<size_t>(i)]) + 20)
                        << strip << "/" << i;
                else
                    EXPECT_EQ(now, before[static_cast<size_t>(i)]) << strip << "/" << i;
            }
            stylusMove(p.x, m_board.stripRect().top - 5);
            pumpMessages();
            EXPECT_EQ(screenPixel(p.x, p.y), before[static_cast<size_t>(held)]) << "outside: normal look";
            stylusUp(p.x, m_board.stripRect().top - 5);
            pumpMessages();
        }
    }
}

TEST_P(SkinSnapshot, ToggleShowsItsOffAndOnLooks) {
    RECT t = m_board.toggleRect();
    POINT inside{t.left + m_board.metrics().scaleX(5), t.top + m_board.metrics().scaleY(5)};
    EXPECT_LT(luminance(screenPixel(inside.x, inside.y)), 100);
    tap((t.left + t.right) / 2, (t.top + t.bottom) / 2);
    pumpMessages();
    EXPECT_TRUE(m_board.toggleOn());
    EXPECT_GT(luminance(screenPixel(inside.x, inside.y)), 200);
    // The check mark: dark pixels inside the light box.
    EXPECT_LT(luminance(screenPixel((t.left + t.right) / 2 - m_board.metrics().scaleX(1),
                                    t.top + m_board.metrics().scaleY(14))),
              100);
}

INSTANTIATE_TEST_SUITE_P(Profiles, SkinSnapshot, ::testing::ValuesIn(kProfiles),
                         [](const ::testing::TestParamInfo<Profile>& info) {
                             return "Screen" + std::to_string(info.param.width) + "x" +
                                    std::to_string(info.param.height) + "at" + std::to_string(info.param.dpi);
                         });

}  // namespace
