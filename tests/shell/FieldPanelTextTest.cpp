// The field panel's values on every screen profile: a value that fits shows on one line in the large
// font, a wider one in the smaller font, a longer one in the small font on two lines broken between
// words, and what still does not fit ends in "..."; every line drawn lies inside its field, and the
// payee's stops short of the toggle.
#include <algorithm>

#include "../../platform/display/ScreenText.h"
#include "EntryFixture.h"
#include "FinanceStore.h"
#include "ShellCommands.h"
#include "platform/windows.h"

namespace shelltest {
namespace {

using namespace shell;

struct Profile {
    int width;
    int height;
    int dpi;
};
constexpr Profile kProfiles[] = {
    {240, 320, 96}, {480, 640, 192}, {640, 480, 192}, {480, 800, 192}, {240, 240, 96}};

struct Value {
    const char16_t* payee;
    int font;
    size_t lines;
    bool shortened;  // the last line ends in "..."
};
const Value kValues[] = {
    {u"Cafe", 2, 1, false},
    {u"Northern Regional Water Supply Co", 4, 1, false},
    {u"The Northern Regional Water Supply and Sewerage Company", 5, 2, false},
    {u"Donaudampfschifffahrtsgesellschaftskapitaenswitwenrentenversicherung", 5, 1, true},
    {u"The Northern Regional Water Supply and Sewerage Company of the Greater Metropolitan Area and All "
     u"of Its Suburbs",
     5, 2, true},
};

bool inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

class FieldPanelTextTest : public EntryTest {
  protected:
    void SetUp() override {
        EntryTest::SetUp();
        std::vector<std::u16string> names;
        for (const Value& value : kValues)
            names.push_back(value.payee);
        seedPayees(names);
        openOnEntryStore();
        for (const Value& value : kValues) {
            for (const ListItem& item : list(ListKind::Payees).control().view().items())
                if (item.text == value.payee) m_payees.push_back(static_cast<int32_t>(item.id));
        }
        ASSERT_EQ(m_payees.size(), std::size(kValues));
    }

    // Checks the payee field's value as laid out and as drawn on the screen.
    void expectPayeeShown(const Value& value, const std::string& context) {
        SCOPED_TRACE(context);
        FieldPanel& panel = m_window->fieldPanel();
        const RECT field = panel.fieldRect(0);
        HDC hdc = GetDC(panel.window());
        FieldTextLayout layout = panel.valueLayout(hdc, 0);
        ReleaseDC(panel.window(), hdc);
        EXPECT_EQ(layout.font, value.font);
        ASSERT_EQ(layout.lines.size(), value.lines);
        std::u16string joined;
        for (const FieldLine& line : layout.lines) {
            EXPECT_TRUE(inside(line.rect, field)) << "a line leaves the field";
            EXPECT_LE(line.rect.right, panel.toggleRect().left) << "the payee stops short of the toggle";
            joined += (joined.empty() ? u"" : u" ") + line.text;
        }
        const std::u16string& last = layout.lines.back().text;
        const bool shortened = last.size() >= 3 && last.compare(last.size() - 3, 3, u"...") == 0;
        EXPECT_EQ(shortened, value.shortened);
        if (!value.shortened) {
            EXPECT_TRUE(joined == value.payee) << "the whole name shows";
        }

        // What the screen shows of the field: its label and exactly the laid-out lines, inside it.
        POINT origin{0, 0};
        ClientToScreen(panel.window(), &origin);
        RECT onScreen = field;
        OffsetRect(&onScreen, origin.x, origin.y);
        std::vector<std::u16string> drawn;
        for (const platform::display::ShownText& run : platform::display::shownTexts()) {
            RECT common{};
            if (run.window != u"FieldPanel" || !IntersectRect(&common, &run.rect, &onScreen)) continue;
            EXPECT_TRUE(inside(run.rect, onScreen)) << "a drawn line leaves the field";
            if (run.text != panel.fieldLabel(0)) drawn.push_back(run.text);
        }
        std::vector<std::u16string> expected;
        for (const FieldLine& line : layout.lines)
            expected.push_back(line.text);
        EXPECT_TRUE(drawn == expected);
    }

    std::vector<int32_t> m_payees;
};

TEST_F(FieldPanelTextTest, EachValueTakesTheLargestFontThatFitsAndStaysInsideItsField) {
    for (const Profile& profile : kProfiles) {
        close();
        useScreen(profile.width, profile.height, profile.dpi);
        open();
        tapStripButton(kStripConfirmOrCreate, 2);
        for (size_t i = 0; i < std::size(kValues); ++i) {
            choose(ListKind::Payees, m_payees[i]);
            UpdateWindow(mainWindow());
            platform::testing::pumpMessages();
            expectPayeeShown(kValues[i], std::to_string(profile.width) + "x" +
                                             std::to_string(profile.height) + " value " + std::to_string(i));
        }
    }
}

}  // namespace
}  // namespace shelltest
