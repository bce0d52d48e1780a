// Every entry mode and the settings page of the built program on every screen profile: a script
// walks through them by tapping the header, the fields and the strips' "Закрыть" buttons and takes a
// snapshot of each, kept in <build>/snapshots/<profile>/ for review. Each snapshot must show the
// mode's panel and strip where the shell's layout puts them, with no two visible parts overlapping.
#include <filesystem>

#include "DashelFixture.h"
#include "ShellCommands.h"

namespace dashele2e {
namespace {

namespace fs = std::filesystem;
using namespace shell;

const ScreenProfile kProfiles[] = {
    {240, 320, 96}, {480, 640, 192}, {640, 480, 192}, {480, 800, 192}, {240, 240, 96}};

struct ModeShown {
    EntryMode mode;
    const char* file;
    Strip strip;  // the strip each mode shows
    int closeButton;
    uint32_t ground;  // the panel's background colour
    double share;     // at least this share of the panel shows it (rows, fields and keys cover the rest)
};
// Fields in the order of the field panel (payee, date, amount, account, category, project).
constexpr ModeShown kFieldModes[] = {
    {EntryMode::Payees, "1-payees.png", kStripConfirmOrCreate, 2, kFingerListColour, 0.5},
    {EntryMode::Date, "5-date.png", kStripConfirm, 1, kDatePickerColour, 0.3},
    {EntryMode::Calculator, "6-calculator.png", kStripConfirm, 1, kCalculatorDisplayColour, 0.15},
    {EntryMode::Accounts, "2-accounts.png", kStripConfirm, 1, kFingerListColour, 0.5},
    {EntryMode::Categories, "3-categories.png", kStripConfirmOrCreate, 2, kFingerListColour, 0.5},
    {EntryMode::Projects, "4-projects.png", kStripConfirmOrCreate, 2, kFingerListColour, 0.5},
};
constexpr ModeShown kFormMode{EntryMode::Form, "0-form.png", kStripForm, -1, kWhite, 0};

void expectLaidOutApart(const View& view, const ScreenProfile& profile) {
    auto parts = visibleParts(view);
    for (size_t i = 0; i < parts.size(); ++i) {
        const RECT& a = parts[i].second;
        EXPECT_TRUE(a.left >= 0 && a.top >= 0 && a.right <= profile.width && a.bottom <= profile.height)
            << parts[i].first << " lies off the screen";
        for (size_t j = i + 1; j < parts.size(); ++j) {
            RECT common{};
            EXPECT_FALSE(IntersectRect(&common, &a, &parts[j].second))
                << parts[i].first << " overlaps " << parts[j].first;
        }
    }
}

// The header with its "Настройки" title in RGB(230,230,230) at the top of the screen.
void expectHeader(const Snapshot& shot, const View& view) {
    EXPECT_TRUE(view.header.visible);
    EXPECT_EQ(view.header.rect.top, 0);
    RECT title{view.title.x - 12, view.header.rect.top, view.title.x + 12, view.header.rect.bottom};
    EXPECT_GT(countOf(shot, title, kTitleColour), 3) << "the header's title";
}

void expectModeShown(const Snapshot& shot, const View& view, const ModeShown& shown) {
    SCOPED_TRACE(shown.file);
    for (int s = 0; s < kStripCount; ++s)
        EXPECT_EQ(view.strips[s].visible, s == shown.strip) << "strip " << s;
    const RECT& strip = view.strips[shown.strip].rect;
    EXPECT_LT(shareOf(shot, strip, kWhite), 0.5) << "the strip is drawn";
    EXPECT_EQ(countOf(shot, strip, kNewLabelColour) > 0, shown.strip == kStripConfirmOrCreate)
        << "only the confirm-or-create strip carries the blue \"Нов.\"";
    if (shown.mode == EntryMode::Form) {
        ASSERT_TRUE(view.fields.visible);
        EXPECT_GT(countOf(shot, view.fields.rect, kFieldLabelColour), 3) << "the field labels";
        EXPECT_LT(shareOf(shot, view.fields.rect, kWhite), 0.5);
    } else {
        const PartRect& panel = view.panels[static_cast<size_t>(modeIndex(shown.mode))];
        ASSERT_TRUE(panel.visible);
        EXPECT_FALSE(view.fields.visible);
        EXPECT_GT(shareOf(shot, inset(panel.rect, 2), shown.ground), shown.share);
    }
    const PartRect& keyboard = view.keyboard;
    if (keyboard.visible) {
        EXPECT_TRUE(showsKeypad(shot, keyboard.rect));
    }
}

class EntryModesTest : public DashelE2ETest, public ::testing::WithParamInterface<ScreenProfile> {};

TEST_P(EntryModesTest, FieldsHeaderAndStripsLeadToEachPanelAndBack) {
    const ScreenProfile profile = GetParam();
    const std::string folder = snapshotFolder(profile);
    View form = probeView(profile, kPageEntry, EntryMode::Form);
    View opening = probeView(profile, kPageEntry, EntryMode::Payees);
    Script script;
    script.shot(folder + "/start.png")
        .tap(opening.buttons[kStripConfirmOrCreate][2])
        .shot(folder + "/" + kFormMode.file);
    for (int f = 0; f < 6; ++f) {
        const ModeShown& shown = kFieldModes[f];
        View view = probeView(profile, kPageEntry, shown.mode);
        script.tap(form.fieldTaps[f])
            .shot(folder + "/" + shown.file)
            .tap(view.buttons[shown.strip][shown.closeButton]);
    }
    script.shot(folder + "/0-form-after-close.png")
        .tap(form.title)
        .shot(folder + "/settings.png")
        .tap(probeView(profile, kPageSettings, EntryMode::None).pageButtons[1])
        .shot(folder + "/0-form-after-settings.png")
        .line("quit");
    for (const char* name :
         {"start.png", "settings.png", "0-form-after-close.png", "0-form-after-settings.png"})
        fs::remove(folder + "/" + name);
    ASSERT_EQ(runDashel(profile, script.text()), 0) << output();

    Snapshot shot;
    ASSERT_TRUE(shot.load(folder + "/start.png")) << output();
    ASSERT_EQ(shot.width, profile.width);
    ASSERT_EQ(shot.height, profile.height);
    expectLaidOutApart(opening, profile);
    expectHeader(shot, opening);
    expectModeShown(shot, opening, kFieldModes[0]);
    for (const ModeShown& shown : kFieldModes) {
        View view = probeView(profile, kPageEntry, shown.mode);
        ASSERT_TRUE(shot.load(folder + "/" + shown.file));
        expectLaidOutApart(view, profile);
        expectModeShown(shot, view, shown);
    }
    for (const char* file : {kFormMode.file, "0-form-after-close.png", "0-form-after-settings.png"}) {
        ASSERT_TRUE(shot.load(folder + "/" + file));
        expectLaidOutApart(form, profile);
        expectModeShown(shot, form, kFormMode);
    }

    View settings = probeView(profile, kPageSettings, EntryMode::None);
    ASSERT_TRUE(shot.load(folder + "/settings.png"));
    expectLaidOutApart(settings, profile);
    expectHeader(shot, settings);
    ASSERT_TRUE(settings.settings.visible);
    for (const PartRect& strip : settings.strips)
        EXPECT_FALSE(strip.visible);
    EXPECT_FALSE(settings.keyboard.visible);
    // The page is white below its controls, whose last row holds OK and Cancel, down to the shell's
    // bar with the input-panel button, which it shows at its lower end.
    RECT page = inset(settings.settings.rect, 2);
    ASSERT_GT(settings.pageButtonArea.bottom, page.top) << "the page buttons were not found";
    page.top = settings.pageButtonArea.bottom + 2;
    page.bottom = page.top + (page.bottom - page.top) / 3;
    EXPECT_GT(shareOf(shot, page, kWhite), 0.95);
    EXPECT_LT(shot.share(0, 0, shot.width, shot.height, kKeyboardColour), 0.01) << "the keyboard is hidden";
}

INSTANTIATE_TEST_SUITE_P(Profiles, EntryModesTest, ::testing::ValuesIn(kProfiles), [](const auto& info) {
    return "w" + std::to_string(info.param.width) + "h" + std::to_string(info.param.height);
});

}  // namespace
}  // namespace dashele2e
