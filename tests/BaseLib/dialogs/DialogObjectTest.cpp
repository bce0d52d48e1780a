// Dialog objects: nothing runs without a template; OK and Cancel end a modal run with 1 and 2
// unless the dialog procedure takes them; binding at WM_INITDIALOG and unbinding at WM_DESTROY; the
// menu bar going with the dialog; the first checked button; the title of the top-level window; and
// fitting to the desktop on activation.

#include <gtest/gtest.h>

#include <vector>

#include "DialogObject.h"
#include "Str.h"
#include "UserTesting.h"
#include "platform/windlg.h"
#include "resources/DialogobjecttestsResources.h"

using platform::testing::pumpMessages;

namespace {

constexpr UINT kTemplate = 100;
constexpr UINT kPageTemplate = 101;
constexpr UINT kMenu = 200;
constexpr int kIncome = 1227;
constexpr int kExpense = 1228;
constexpr int kVibrate = 1005;

// Records the messages its dialog procedure sees; may take OK itself and run a step at WM_INITDIALOG.
class RecordingDialog : public DialogObject {
  public:
    explicit RecordingDialog(bool withTemplate = true) {
        if (withTemplate) setTemplate(kTemplate);
    }
    bool dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        seen.push_back(message);
        if (message == WM_INITDIALOG && onInit) onInit(*this);
        if (message == WM_COMMAND && LOWORD(wParam) == IDOK && takesOk) {
            ++oksTaken;
            result = TRUE;
            return true;
        }
        return DialogObject::dialogProc(dialog, message, wParam, lParam, result);
    }
    void fitToDesktop() override {
        ++fits;
        DialogObject::fitToDesktop();
    }

    std::vector<UINT> seen;
    std::function<void(RecordingDialog&)> onInit;
    bool takesOk = false;
    int oksTaken = 0;
    int fits = 0;
};

int topLevelWindows() {
    int count = 0;
    platform::forEachTopLevelWindow([&](HWND) { ++count; });
    return count;
}

struct DialogObjectTest : ::testing::Test {
    platform::testing::WindowTestScope scope;
    HWND owner = nullptr;
    std::vector<std::function<void(HWND)>> steps;
    size_t next = 0;

    void SetUp() override {
        ASSERT_TRUE(
            platform::registerModuleResources(Str::resourceModule(), dialogobjecttestsResourceTable()));
        WNDCLASSW cls{};
        cls.lpfnWndProc = DefWindowProcW;
        cls.lpszClassName = u"DialogOwner";
        RegisterClassW(&cls);
        owner = CreateWindowExW(0, u"DialogOwner", u"Owner Title", WS_VISIBLE, 0, 26, 240, 268, nullptr,
                                nullptr, nullptr, nullptr);
        ASSERT_NE(owner, nullptr);
        pumpMessages();
        // Each time a modal loop waits, the next step acts on the dialog; with none left it is ended.
        platform::setModalIdleHook([this](HWND modal) {
            if (next < steps.size()) {
                steps[next++](modal);
                return;
            }
            ADD_FAILURE() << "the dialog waits with no step left";
            EndDialog(modal, -2);
        });
    }
    void TearDown() override {
        platform::setModalIdleHook(nullptr);
        platform::unregisterModuleResources(Str::resourceModule());
    }
};

// Posted, so that the modal loop has a message to handle before it next waits.
void command(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

TEST_F(DialogObjectTest, WithoutATemplateNothingRuns) {
    RecordingDialog dialog(false);
    int before = topLevelWindows();
    EXPECT_EQ(dialog.runModal(owner), 0);
    EXPECT_EQ(dialog.showModeless(owner), nullptr);
    EXPECT_EQ(topLevelWindows(), before);
    EXPECT_TRUE(dialog.seen.empty());
    EXPECT_EQ(dialog.createMenuBar(0), false);
    EXPECT_EQ(dialog.firstChecked(1, 5), 0);
}

TEST_F(DialogObjectTest, OkAndCancelEndTheDialogUnlessTheProcedureTakesThem) {
    struct Case {
        bool takesOk;
        std::vector<int> commands;
        INT_PTR result;
        int oksTaken;
    };
    const Case cases[] = {
        {false, {IDOK}, IDOK, 0},
        {false, {IDCANCEL}, IDCANCEL, 0},
        {true, {IDOK, IDCANCEL}, IDCANCEL, 1},
    };
    for (const Case& c : cases) {
        RecordingDialog dialog;
        dialog.takesOk = c.takesOk;
        steps.clear();
        next = 0;
        for (int id : c.commands)
            steps.push_back([id](HWND modal) { command(modal, id); });
        EXPECT_EQ(dialog.runModal(owner), c.result);
        EXPECT_EQ(dialog.oksTaken, c.oksTaken);
        EXPECT_EQ(next, c.commands.size()) << "every command was needed";
    }
}

TEST_F(DialogObjectTest, BindsAtInitDialogAndLetsGoAtDestroy) {
    RecordingDialog dialog;
    HWND seenWindow = nullptr;
    steps.push_back([&](HWND modal) {
        seenWindow = dialog.window();
        EXPECT_EQ(seenWindow, modal);
        // A tap on the OK button takes the platform's own path to the dialog procedure.
        RECT r;
        GetWindowRect(GetDlgItem(modal, IDOK), &r);
        platform::testing::tap((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    });
    EXPECT_EQ(dialog.runModal(owner), IDOK);
    ASSERT_FALSE(dialog.seen.empty());
    EXPECT_EQ(dialog.seen.front(), static_cast<UINT>(WM_INITDIALOG));
    EXPECT_EQ(dialog.window(), nullptr);
    EXPECT_FALSE(IsWindow(seenWindow));
}

TEST_F(DialogObjectTest, TheMenuBarIsReplacedAndGoesWithTheDialog) {
    RecordingDialog dialog;
    HWND first = nullptr, second = nullptr;
    dialog.onInit = [&](RecordingDialog& d) {
        EXPECT_TRUE(d.createMenuBar(0));
        first = d.menuBar();
        EXPECT_TRUE(d.createMenuBar(kMenu));
        second = d.menuBar();
    };
    steps.push_back([](HWND modal) { command(modal, IDCANCEL); });
    EXPECT_EQ(dialog.runModal(owner), IDCANCEL);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_FALSE(IsWindow(second));
    EXPECT_EQ(dialog.menuBar(), nullptr);
}

TEST_F(DialogObjectTest, ModelessDialogAnswersCheckedButtonsAndGoesWithItsObject) {
    HWND window = nullptr;
    {
        RecordingDialog dialog;
        window = dialog.showModeless(owner);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(dialog.window(), window);
        EXPECT_TRUE(IsWindowVisible(window));

        EXPECT_EQ(dialog.firstChecked(kIncome, kVibrate), 0);
        CheckDlgButton(window, kExpense, BST_CHECKED);
        CheckDlgButton(window, kVibrate, BST_CHECKED);
        EXPECT_EQ(dialog.firstChecked(kIncome, kExpense), kExpense);
        EXPECT_EQ(dialog.firstChecked(kVibrate, kVibrate), kVibrate);
        EXPECT_EQ(dialog.firstChecked(kExpense, kIncome), 0) << "an empty range";
    }
    EXPECT_FALSE(IsWindow(window)) << "the object's end destroys its modeless dialog";
}

TEST_F(DialogObjectTest, APageDialogGivesItsTitleToTheTopLevelWindow) {
    HWND holder = CreateWindowExW(0, u"DialogOwner", u"holder", WS_CHILD | WS_VISIBLE, 0, 0, 200, 100, owner,
                                  nullptr, nullptr, nullptr);
    RecordingDialog page;
    page.setTemplate(kPageTemplate);
    ASSERT_NE(page.showModeless(holder), nullptr);
    ASSERT_TRUE(page.takeTopLevelTitle());
    WCHAR title[64] = {};
    GetWindowTextW(owner, title, 64);
    EXPECT_EQ(std::u16string_view(title), u"Settings");

    // A pop-up dialog is its own top-level window: the owner keeps its title.
    SetWindowTextW(owner, u"Owner Title");
    RecordingDialog popup;
    ASSERT_NE(popup.showModeless(owner), nullptr);
    EXPECT_TRUE(popup.takeTopLevelTitle());
    GetWindowTextW(owner, title, 64);
    EXPECT_EQ(std::u16string_view(title), u"Owner Title");
}

TEST_F(DialogObjectTest, ActivationFitsTheDialogToTheDesktop) {
    RecordingDialog dialog;
    HWND window = dialog.showModeless(owner);
    ASSERT_NE(window, nullptr);
    dialog.fits = 0;
    SendMessageW(window, WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_EQ(dialog.fits, 0);
    dialog.setFitToDesktop(true);
    SendMessageW(window, WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(dialog.fits, 1);
    SIPINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(SHSipInfo(SPI_GETSIPINFO, 0, &info, 0));
    RECT placed;
    GetWindowRect(window, &placed);
    EXPECT_EQ(placed.top, info.rcVisibleDesktop.top);
    EXPECT_EQ(placed.bottom, info.rcVisibleDesktop.bottom - 100);
    SendMessageW(window, WM_SETTINGCHANGE, SPI_SETSIPINFO, 0);
    EXPECT_EQ(dialog.fits, 2);
}

}  // namespace
