// Start and exit: the finance manager hears of each saved transaction at once and of the changes once
// at exit, never without a change (a failed save is none); a store that cannot be opened (or is
// damaged, and left as it was) shows message 21 and the entry returns 0; a second start activates the
// running window and opens nothing.
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "DashelEntry.h"
#include "FinanceStore.h"
#include "MessageRecorder.h"
#include "ShellCommands.h"
#include "ShellFixture.h"
#include "StoreDamage.h"
#include "WindowObject.h"
#include "platform/cedb.h"
#include "platform/display.h"
#include "platform/windows.h"

namespace shelltest {
namespace {

using namespace shell;
using platform::testing::ExpectedMessage;
using platform::testing::kLParam;
using platform::testing::kPosted;
using platform::testing::kWParam;

// Stands in for the finance manager's window: a top-level window of its class.
class FinanceManagerWindow : public WindowObject {
  public:
    bool create() {
        if (!registerClass(kFinanceManagerClass, 0, nullptr, nullptr)) return false;
        return WindowObject::create(0, u"Brimwell", WS_POPUP, RECT{0, 0, 10, 10}, nullptr, 0) != nullptr;
    }
};

class ExitTest : public ShellTest {
  protected:
    // Opens the program on a store with one account, optionally saves the empty entry with "Зап. &
    // Новый" (failing writes first, when asked, which the message box reports), exits with "Выход" from
    // the field panel and compares what the finance manager's window received.
    void exitAndCompare(bool save, bool failWrites, const std::vector<ExpectedMessage>& expected,
                        const std::string& context) {
        FinanceManagerWindow manager;
        ASSERT_TRUE(manager.create());
        seedAccounts({{1, u"Cash", u"USD", u"A1"}});
        open();
        platform::testing::MessageRecorder recorder;
        recorder.watch(manager.window());
        // Only the program's messages matter here, not the window manager's own traffic.
        for (UINT noise : {WM_ACTIVATE, WM_SETFOCUS, WM_KILLFOCUS, WM_SETTINGCHANGE, WM_PAINT, WM_ERASEBKGND,
                           WM_NCPAINT, WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE})
            recorder.ignore(noise);
        tapStripButton(kStripConfirmOrCreate, 2);  // to the field panel
        if (save) {
            if (failWrites) {
                platform::cedbFailNthOperation(1);
                platform::queueScriptedAnswer(IDOK);
            }
            tapStripButton(kStripForm, 0);  // "Зап. & Новый": a saved entry leads to the payee list
            if (!failWrites) tapStripButton(kStripConfirmOrCreate, 2);
        }
        EXPECT_EQ(m_window->dataChanged(), save && !failWrites);
        tapStripButton(kStripForm, 2);           // "Выход"
        EXPECT_EQ(m_window->window(), nullptr);  // the window is gone
        MSG quit{};
        EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
        close();
        EXPECT_TRUE(recorder.matches(expected, context));
        EXPECT_FALSE(dove::isFinanceStoreOpened());
    }
};

TEST_F(ExitTest, ExitWithoutAChangePostsNothingToTheFinanceManager) {
    exitAndCompare(false, false, {}, "exit without a change");
}

TEST_F(ExitTest, ASaveTellsOfTheTransactionAtOnceAndTheExitTellsOfTheChangeOnce) {
    exitAndCompare(true, false,
                   {{kMsgTransactionAdded, kPosted | kWParam | kLParam, 0, 0},
                    {kMsgDataChanged, kPosted | kWParam | kLParam, 0, 0}},
                   "exit after a save");
}

TEST_F(ExitTest, AFailedSaveIsNoChange) {
    exitAndCompare(true, true, {}, "exit after a failed save");
    std::vector<platform::MessageBoxRecord> boxes = platform::takeMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, u"Ошибка записи Проводки !");
}

TEST_F(ExitTest, AStoreThatCannotBeOpenedShowsMessage21AndTheEntryReturns0) {
    platform::cedbFailNthOperation(1);  // the first table cannot be created
    platform::queueScriptedAnswer(IDOK);
    WCHAR commandLine[1] = {0};
    EXPECT_EQ(dashelEntry(m_module, commandLine, SW_SHOW), 0);
    std::vector<platform::MessageBoxRecord> boxes = platform::takeMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, u"Brimwell Dashel");
    EXPECT_EQ(boxes[0].text, u"Запустите Brimwell для настройки первого Счета и Получателя.");
    EXPECT_EQ(FindWindowW(kMainWindowClass, nullptr), nullptr);
    EXPECT_FALSE(dove::isFinanceStoreOpened());
    EXPECT_FALSE(platform::namedMutexExists(dove::kStoreOpenedMutexName));
}

// A store that is there but is damaged: message 21 as for any store that cannot be opened, never the
// empty program; the file is left as it was and the cause is in the error log.
TEST_F(ExitTest, ADamagedStoreShowsMessage21IsLeftAsItWasAndItsCauseIsLogged) {
    seedAccounts({{1, u"Cash", u"USD", u"{1}"}, {2, u"Bank", u"USD", u"{2}"}});
    platform::cedbCloseStore();
    const std::string store = m_root->path() + "/store.cedb";
    ASSERT_TRUE(platform::testing::damageStore(store, platform::testing::StoreDamage::EmptyFile));
    const uint64_t before = platform::testing::fileChecksum(store);
    platform::queueScriptedAnswer(IDOK);
    WCHAR commandLine[1] = {0};
    EXPECT_EQ(dashelEntry(m_module, commandLine, SW_SHOW), 0);
    std::vector<platform::MessageBoxRecord> boxes = platform::takeMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, u"Запустите Brimwell для настройки первого Счета и Получателя.");
    EXPECT_EQ(platform::testing::fileChecksum(store), before);
    std::ifstream log(platform::hostPath(u"\\error.log"));
    const std::string text((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("The finance store cannot be opened: " + store + ": the file is empty"),
              std::string::npos)
        << text;
}

TEST_F(ExitTest, ASecondStartActivatesTheRunningWindowAndOpensNothing) {
    open();
    m_window->switchEntryMode(EntryMode::Accounts);
    HWND other = CreateWindowExW(0, u"Static", u"other", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr,
                                 nullptr, nullptr, nullptr);
    SetActiveWindow(other);
    WCHAR commandLine[1] = {0};
    EXPECT_EQ(dashelEntry(m_module, commandLine, SW_SHOW), 1);
    platform::testing::pumpMessages();
    EXPECT_EQ(GetForegroundWindow(), mainWindow());
    EXPECT_EQ(m_window->entryMode(), EntryMode::Accounts);
    EXPECT_TRUE(dove::isFinanceStoreOpened());
    EXPECT_TRUE(platform::takeMessageBoxes().empty());
    DestroyWindow(other);
}

}  // namespace
}  // namespace shelltest
