// The program's controls on the skins of its resources, on every screen profile: image keys showing
// the header bar and the strip buttons' slices at their scaled positions (normal and pressed looks,
// pixel for pixel), a text key's white text on a field skin, and text labels in the header title's
// and the field labels' colours.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ImageKey.h"
#include "ScreenMetrics.h"
#include "SkinBoard.h"
#include "TextKey.h"
#include "TextLabel.h"
#include "UserTesting.h"
#include "WindowObject.h"
#include "platform/detail/Gdi.h"
#include "platform/resources.h"
#include "platform/windows.h"
#include "resources/DashelResources.h"

namespace {

using namespace platform::testing;

struct Profile {
    int width;
    int height;
    int dpi;
};
constexpr Profile kProfiles[] = {
    {240, 320, 96}, {480, 640, 192}, {640, 480, 192}, {480, 800, 192}, {240, 240, 96}};
constexpr COLORREF kDarkGround = RGB(28, 30, 34);

// A black full-screen parent for the controls.
class Page : public WindowObject {
  public:
    LRESULT windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message != WM_PAINT) return WindowObject::windowProc(window, message, wParam, lParam);
        PAINTSTRUCT paint;
        HDC hdc = BeginPaint(window, &paint);
        RECT client;
        GetClientRect(window, &client);
        FillRect(hdc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        EndPaint(window, &paint);
        return 0;
    }
};

int luminance(COLORREF c) {
    return (GetRValue(c) * 299 + GetGValue(c) * 587 + GetBValue(c) * 114) / 1000;
}

COLORREF bitmapPixel(HBITMAP bitmap, int x, int y) {
    return platform::colorFromPixel(platform::surfaceOf(bitmap)->pixel(x, y));
}

// How many screen pixels of the rectangle differ from the bitmap's pixels at source (x, y) on.
int mismatches(const RECT& onScreen, HBITMAP bitmap, int sourceX, int sourceY) {
    int count = 0;
    for (int y = onScreen.top; y < onScreen.bottom; ++y)
        for (int x = onScreen.left; x < onScreen.right; ++x)
            count += screenPixel(x, y) !=
                     bitmapPixel(bitmap, sourceX + x - onScreen.left, sourceY + y - onScreen.top);
    return count;
}

class ControlsOnSkins : public ::testing::TestWithParam<Profile> {
  protected:
    ControlsOnSkins() : m_scope(GetParam().width, GetParam().height, GetParam().dpi) {}
    void SetUp() override {
        initScreenMetrics();
        m_module = GetModuleHandleW(nullptr);
        ASSERT_TRUE(platform::registerModuleResources(m_module, dashelResourceTable()));
        RECT screen{0, 0, GetParam().width, GetParam().height};
        ASSERT_NE(m_page.create(0, u"page", WS_VISIBLE, screen, nullptr, 0), nullptr);
    }
    void TearDown() override {
        m_keys.clear();
        m_page.destroy();
        for (HBITMAP bitmap : m_bitmaps)
            DeleteObject(bitmap);
        releaseSharedFonts();
        platform::unregisterModuleResources(m_module);
    }
    HBITMAP load(UINT normal, UINT high) {
        HBITMAP bitmap =
            LoadBitmapW(m_module, MAKEINTRESOURCEW(screenMetrics().highResolution ? high : normal));
        if (bitmap != nullptr) m_bitmaps.push_back(bitmap);
        return bitmap;
    }
    ImageKey& addKey(const RECT& rect, HBITMAP normal, HBITMAP pressed, const RECT& source) {
        m_keys.push_back(std::make_unique<ImageKey>());
        EXPECT_TRUE(m_keys.back()->create(m_page.window(), rect, u"Key", static_cast<UINT>(m_keys.size())));
        m_keys.back()->setImages(normal, pressed, source);
        return *m_keys.back();
    }

    WindowTestScope m_scope;
    HINSTANCE m_module = nullptr;
    Page m_page;
    std::vector<HBITMAP> m_bitmaps;
    std::vector<std::unique_ptr<ImageKey>> m_keys;
};

TEST_P(ControlsOnSkins, ImageKeysShowTheHeaderAndStripSlicesAtTheirScaledPositions) {
    HBITMAP header = load(skinview::kHeaderBar, skinview::kHeaderBarHigh);
    ASSERT_NE(header, nullptr);
    SIZE headerSize = skinview::bitmapSize(header);
    addKey(RECT{0, 0, headerSize.cx, headerSize.cy}, header, header,
           RECT{0, 0, headerSize.cx, headerSize.cy});
    for (const skinview::StripSkin& strip : skinview::stripSkins()) {
        HBITMAP normal = load(strip.normal, strip.highNormal),
                pressed = load(strip.pressed, strip.highPressed);
        ASSERT_TRUE(normal && pressed);
        SIZE size = skinview::bitmapSize(normal);
        ASSERT_EQ(size.cx, scaleX(240));
        size_t first = m_keys.size();
        int left = 0;
        for (const skinview::StripButton& button : strip.buttons) {
            int right = left + scaleX(button.width);
            addKey(RECT{left, headerSize.cy, right, headerSize.cy + size.cy}, normal, pressed,
                   RECT{left, 0, right, size.cy});
            left = right;
        }
        pumpMessages();
        EXPECT_EQ(mismatches(RECT{0, 0, headerSize.cx, headerSize.cy}, header, 0, 0), 0);
        EXPECT_EQ(mismatches(RECT{0, headerSize.cy, size.cx, headerSize.cy + size.cy}, normal, 0, 0), 0);
        for (size_t i = first; i < m_keys.size(); ++i) {
            RECT key;
            GetWindowRect(m_keys[i]->window(), &key);
            stylusDown(key.left + 2, key.top + 2);
            pumpMessages();
            EXPECT_EQ(mismatches(key, pressed, key.left, 0), 0) << "held key " << i - first;
            EXPECT_GT(mismatches(key, normal, key.left, 0), 0) << "the pressed look differs";
            stylusUp(key.left + 2, key.top + 2);
            pumpMessages();
            EXPECT_EQ(mismatches(key, normal, key.left, 0), 0) << "released key " << i - first;
        }
        for (size_t i = first; i < m_keys.size(); ++i)
            m_keys[i]->destroy();
    }
}

TEST_P(ControlsOnSkins, TextKeyDrawsWhiteTextOnTheFieldSkin) {
    HBITMAP field = load(skinview::kField, skinview::kFieldHigh);
    ASSERT_NE(field, nullptr);
    SIZE size = skinview::bitmapSize(field);
    HFONT normalFont = nullptr, pressedFont = nullptr;
    TextKey key;
    RECT rect{0, 0, size.cx / 2, size.cy};
    ASSERT_TRUE(key.create(m_page.window(), rect, u"Date", u"Дата", 7, &normalFont, &pressedFont));
    key.setImages(field, field, rect);
    pumpMessages();
    int white = 0;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            white += screenPixel(x, y) == RGB(255, 255, 255) ? 1 : 0;
    EXPECT_GT(white, 10);
    // Away from the centred text the key shows the field skin, dark enough for white text.
    EXPECT_EQ(screenPixel(1, size.cy - 3), bitmapPixel(field, 1, size.cy - 3));
    EXPECT_LT(luminance(screenPixel(1, size.cy - 3)), 80);
    key.destroy();
    DeleteObject(normalFont);
    DeleteObject(pressedFont);
}

TEST_P(ControlsOnSkins, TextLabelsInTheTitleAndFieldLabelColours) {
    struct Case {
        const WCHAR* text;
        int font;
        COLORREF colour;
        int alignment;
    };
    const Case cases[] = {{u"Настройки", 0, skinview::kTitleColour, kAlignRight},
                          {u"Получатель", 1, skinview::kLabelColour, kAlignLeft}};
    int top = 0;
    for (const Case& c : cases) {
        TextLabel label;
        RECT rect{0, top, scaleX(200), top + scaleY(18)};
        ASSERT_TRUE(label.create(m_page.window(), rect, c.text, 1));
        label.setBackgroundColor(kDarkGround);
        label.setTextColor(c.colour);
        label.setFont(sharedFont(c.font));
        label.setAlignment(c.alignment);
        pumpMessages();
        COLORREF brightest = kDarkGround;
        int inkLeft = rect.right, inkRight = rect.left;
        for (int y = rect.top; y < rect.bottom; ++y) {
            for (int x = rect.left; x < rect.right; ++x) {
                COLORREF p = screenPixel(x, y);
                if (luminance(p) > luminance(brightest)) brightest = p;
                if (p != kDarkGround) inkLeft = std::min(inkLeft, x), inkRight = std::max(inkRight, x);
            }
        }
        int tolerance = screenMetrics().highResolution || c.font == 0 ? 0 : 24;
        EXPECT_LE(luminance(brightest), luminance(c.colour)) << c.font;
        EXPECT_GE(luminance(brightest), luminance(c.colour) - tolerance) << c.font;
        if (c.alignment == kAlignRight)
            EXPECT_GE(inkRight, rect.right - scaleX(3));
        else
            EXPECT_LE(inkLeft, rect.left + scaleX(3));
        label.destroy();
        top = rect.bottom;
    }
}

INSTANTIATE_TEST_SUITE_P(Profiles, ControlsOnSkins, ::testing::ValuesIn(kProfiles),
                         [](const ::testing::TestParamInfo<Profile>& info) {
                             return "Screen" + std::to_string(info.param.width) + "x" +
                                    std::to_string(info.param.height) + "at" + std::to_string(info.param.dpi);
                         });

}  // namespace
