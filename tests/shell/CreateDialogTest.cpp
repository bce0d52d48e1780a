// The create dialogs opened by "Нов.": names trimmed and checked, a category's type and parent, a
// project's parent, an item of the same name returned instead of a second one, Cancel and a refused
// write storing nothing, and the list reloaded with the item current and the filter cleared.
#include <string>
#include <vector>

#include "Categories.h"
#include "CreateDialogFixture.h"
#include "CreateDialogs.h"
#include "MessageRecorder.h"
#include "Payees.h"
#include "ShellCommands.h"
#include "platform/aygshell.h"
#include "platform/cedb.h"
#include "platform/windlg.h"

namespace shelltest {
namespace {

using namespace shell;
using dove::Table;

constexpr int kPayeeField = 0;
constexpr int kCategoryField = 4;
constexpr int kProjectField = 5;

class CreateItemTest : public CreateDialogTest {
  protected:
    // Chooses the payee shown at index of the payee list and confirms it into the draft.
    void pickPayee(int index) {
        openField(kPayeeField);
        list(ListKind::Payees).control().select(index);
        tapStripButton(kStripConfirmOrCreate, 0);
        ASSERT_EQ(m_window->entryMode(), EntryMode::Form);
    }
    // Makes the entry of the list whose text is text current.
    void selectText(ListKind kind, const std::u16string& text) {
        const std::vector<ListItem>& items = list(kind).control().view().items();
        for (size_t i = 0; i < items.size(); ++i)
            if (items[i].text == text) list(kind).control().select(static_cast<int>(i));
        ASSERT_TRUE(currentText(kind) == text);
    }
};

TEST_F(CreateItemTest, APayeeIsTrimmedStoredOnceAndBecomesCurrentWithTheFilterCleared) {
    open();
    typeCharacter(u'F');
    ASSERT_EQ(shownTexts(ListKind::Payees).size(), 2u) << "Food Court, Fresh Market";
    const int loads = list(ListKind::Payees).loads();
    const DWORD before = GetTickCount();
    ASSERT_TRUE(create({expectTitle(u"Create Payee"), typeText(u"  Coffee Shop  "), tapControl(IDOK)}));
    EXPECT_GE(GetTickCount() - before, kClickDebounceMs) << "OK's click debounce";
    EXPECT_EQ(recordsNamed(Table::Memorized, u"Coffee Shop"), 1);
    EXPECT_TRUE(currentText(ListKind::Payees) == u"Coffee Shop");
    EXPECT_TRUE(list(ListKind::Payees).typedFilter().empty());
    EXPECT_EQ(shownTexts(ListKind::Payees).size(), 5u);
    EXPECT_EQ(list(ListKind::Payees).loads(), loads + 1) << "the list read its records again";
    EXPECT_TRUE(m_window->dataChanged());
    EXPECT_EQ(m_window->entryMode(), EntryMode::Payees);
    EXPECT_EQ(GetFocus(), list(ListKind::Payees).control().view().window());

    // The same name again (differently padded) finds the payee stored a moment ago.
    const int payees = recordCount(Table::Memorized);
    ASSERT_TRUE(create({typeText(u"Coffee Shop "), tapControl(IDOK)}));
    EXPECT_EQ(recordCount(Table::Memorized), payees);
    EXPECT_EQ(recordsNamed(Table::Memorized, u"Coffee Shop"), 1);
    EXPECT_TRUE(currentText(ListKind::Payees) == u"Coffee Shop");

    // Confirming takes it into the draft, with its empty memorized entry.
    tapStripButton(kStripConfirmOrCreate, 0);
    EXPECT_TRUE(m_window->draft().payeeText() == u"Coffee Shop");
    EXPECT_EQ(m_window->draft().amount(), 0);
}

TEST_F(CreateItemTest, AnExistingPayeeIsTheResultAndNothingIsWritten) {
    open();
    const int payees = recordCount(Table::Memorized);
    const int loads = list(ListKind::Payees).loads();
    ASSERT_TRUE(create({typeText(u"Dr. Smith"), tapControl(IDOK)}));
    EXPECT_EQ(recordCount(Table::Memorized), payees);
    EXPECT_TRUE(currentText(ListKind::Payees) == u"Dr. Smith");
    EXPECT_EQ(list(ListKind::Payees).loads(), loads) << "nothing new to read";
    EXPECT_FALSE(m_window->dataChanged());
}

TEST_F(CreateItemTest, AHiddenPayeeOfThatNameIsShownAgainInsteadOfStoredTwice) {
    open();
    ASSERT_TRUE(create({typeText(u"Hidden Shop"), tapControl(IDOK)}));
    EXPECT_EQ(recordsNamed(Table::Memorized, u"Hidden Shop"), 1);
    EXPECT_TRUE(currentText(ListKind::Payees) == u"Hidden Shop");
    dove::Payee payee;
    ASSERT_TRUE(dove::readPayeeByNumber(currentId(ListKind::Payees), payee));
    EXPECT_FALSE(payee.flag1003);
    EXPECT_TRUE(m_window->dataChanged());
}

TEST_F(CreateItemTest, ANameThatIsOnlyBlanksKeepsTheDialogOpenAndCancelWritesNothing) {
    open();
    const int payees = recordCount(Table::Memorized);
    ASSERT_TRUE(create({typeText(u"   "), tapControl(IDOK), expectRefused(kIdNameField, "blank payee"),
                        tapControl(IDCANCEL)}));
    EXPECT_EQ(recordCount(Table::Memorized), payees);
    EXPECT_FALSE(m_window->dataChanged());
}

TEST_F(CreateItemTest, CancelStoresNothingInAnyList) {
    struct Case {
        int field;
        ListKind kind;
        EntryMode mode;
        Table table;
    };
    const Case kCases[] = {{kPayeeField, ListKind::Payees, EntryMode::Payees, Table::Memorized},
                           {kCategoryField, ListKind::Categories, EntryMode::Categories, Table::Categories},
                           {kProjectField, ListKind::Projects, EntryMode::Projects, Table::Projects}};
    open();
    for (const Case& c : kCases) {
        openField(c.field);
        const int records = recordCount(c.table);
        const std::u16string current = currentText(c.kind);
        ASSERT_TRUE(create({typeText(u"Never stored"), tapControl(IDCANCEL)})) << c.field;
        EXPECT_EQ(recordCount(c.table), records) << c.field;
        EXPECT_TRUE(currentText(c.kind) == current) << c.field;
        EXPECT_EQ(m_window->entryMode(), c.mode) << c.field;
    }
    EXPECT_FALSE(m_window->dataChanged());
}

TEST_F(CreateItemTest, ARefusedWriteKeepsTheDialogOpenForAnotherTryInEveryList) {
    struct Case {
        int field;
        ListKind kind;
        Table table;
        const char16_t* name;
    };
    const Case kCases[] = {{kPayeeField, ListKind::Payees, Table::Memorized, u"Coffee Shop"},
                           {kCategoryField, ListKind::Categories, Table::Categories, u"Pets"},
                           {kProjectField, ListKind::Projects, Table::Projects, u"Garden"}};
    open();
    for (const Case& c : kCases) {
        const std::string context = platform::toUtf8(c.name);
        openField(c.field);
        const int records = recordCount(c.table);
        ASSERT_TRUE(create({typeInto(kIdNameField, c.name), [](HWND) { platform::cedbFailNthOperation(1); },
                            tapControl(IDOK), expectRefused(kIdNameField, context),
                            [&](HWND) {
                                platform::cedbFailNthOperation(0);
                                EXPECT_EQ(recordCount(c.table), records) << context << ": nothing written";
                            },
                            tapControl(IDOK)}))
            << context;
        EXPECT_EQ(recordsNamed(c.table, c.name), 1) << context;
        EXPECT_TRUE(currentText(c.kind) == c.name) << context;
    }
    EXPECT_TRUE(m_window->dataChanged());
}

TEST_F(CreateItemTest, ANameLongerThanTheFieldIsCutAtItsLimit) {
    open();
    ASSERT_TRUE(create({typeText(std::u16string(kMaxNameLength + 20, u'x')), tapControl(IDOK)}));
    EXPECT_EQ(recordsNamed(Table::Memorized, std::u16string(kMaxNameLength, u'x')), 1);
}

TEST_F(CreateItemTest, ACategoryTakesTheChosenTypeWhichOpensAsTheDraftsAmountSays) {
    struct Case {
        int payee;  // picked first (-1: none, the amount stays 0)
        int tap;    // the type button tapped (0: the one chosen at opening)
        int opensWith;
        const char16_t* name;
        int32_t type;
    };
    const Case kCases[] = {{-1, 0, kIdExpense, u"Gifts", dove::category::kExpense},
                           {0, 0, kIdIncome, u"Bonus", dove::category::kIncome},  // Acme Corp: +2,500.00
                           {3, kIdIncome, kIdExpense, u"Refunds", dove::category::kIncome}};  // Fresh Market
    open();
    for (const Case& c : kCases) {
        if (c.payee >= 0) pickPayee(c.payee);
        openField(kCategoryField);
        std::vector<DialogStep> steps = {
            expectTitle(u"Создать Категорию"), [c](HWND dialog) {
                EXPECT_EQ(IsDlgButtonChecked(dialog, c.opensWith), BST_CHECKED) << platform::toUtf8(c.name);
                EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, kIdParentField)));
            }};
        if (c.tap != 0) steps.push_back(tapControl(c.tap));
        steps.push_back(typeInto(kIdNameField, c.name));
        steps.push_back(tapControl(IDOK));
        ASSERT_TRUE(create(std::move(steps))) << platform::toUtf8(c.name);
        const int32_t made = currentId(ListKind::Categories);
        EXPECT_TRUE(currentText(ListKind::Categories) == c.name);
        EXPECT_EQ(dove::categoryParent(made), dove::category::kRoot);
        EXPECT_EQ(dove::categoryType(made), c.type) << platform::toUtf8(c.name);
    }
}

TEST_F(CreateItemTest, ASubcategoryNeedsAnExistingParentAndTakesItsType) {
    open();
    openField(kCategoryField);
    selectText(ListKind::Categories, u"Fuel");
    ASSERT_TRUE(create({[](HWND dialog) {
                            EXPECT_TRUE(controlText(dialog, kIdParentField) == u"Car:Fuel")
                                << "the current entry's full name";
                        },
                        tapControl(kIdSubcategory),
                        [](HWND dialog) { EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, kIdParentField))); },
                        typeInto(kIdParentField, u"Nowhere"), typeInto(kIdNameField, u"Diesel"),
                        tapControl(IDOK), expectRefused(kIdParentField, "no such parent"),
                        typeInto(kIdParentField, u" Salary "), tapControl(IDOK)}));
    const int32_t diesel = currentId(ListKind::Categories);
    EXPECT_EQ(dove::categoryFullName(diesel), u"Salary:Diesel");
    EXPECT_EQ(dove::categoryType(diesel), dove::category::kIncome) << "the parent's type, not expense";

    // A sub-category of a sub-category, named by its full name.
    ASSERT_TRUE(create({tapControl(kIdSubcategory), typeInto(kIdParentField, u"Car:Fuel"),
                        typeInto(kIdNameField, u"Premium"), tapControl(IDOK)}));
    EXPECT_EQ(dove::categoryFullName(currentId(ListKind::Categories)), u"Car:Fuel:Premium");
}

TEST_F(CreateItemTest, AParentWhoseFullNameIsLongerThanANameIsReadWhole) {
    open();
    const std::u16string top(90, u'A'), child(90, u'B');
    int32_t deep = 0;
    ASSERT_EQ(dove::createCategoryPath(top + u":" + child, dove::category::kIncome, &deep),
              dove::StoreStatus::Ok);
    list(ListKind::Categories).discardRecords();
    openField(kCategoryField);
    selectText(ListKind::Categories, child);
    ASSERT_TRUE(
        create({[&](HWND dialog) { EXPECT_TRUE(controlText(dialog, kIdParentField) == top + u":" + child); },
                tapControl(kIdSubcategory), typeInto(kIdNameField, u"Leaf"), tapControl(IDOK)}));
    const int32_t leaf = currentId(ListKind::Categories);
    EXPECT_EQ(dove::categoryParent(leaf), deep);
    EXPECT_EQ(dove::categoryType(leaf), dove::category::kIncome);
}

TEST_F(CreateItemTest, ForbiddenCharactersKeepTheCategoryDialogOpen) {
    open();
    openField(kCategoryField);
    std::vector<DialogStep> steps;
    for (char16_t forbidden : std::u16string(u":|[]^")) {
        steps.push_back(typeInto(kIdNameField, u"Car" + std::u16string(1, forbidden) + u"Wash"));
        steps.push_back(tapControl(IDOK));
        steps.push_back(expectRefused(kIdNameField, platform::toUtf8(std::u16string(1, forbidden))));
    }
    // "Fuel" exists only under Car: at the top level it is a new category.
    steps.push_back(typeInto(kIdNameField, u"  Fuel "));
    steps.push_back(tapControl(IDOK));
    const int categories = recordCount(Table::Categories);
    ASSERT_TRUE(create(std::move(steps)));
    EXPECT_EQ(recordCount(Table::Categories), categories + 1);
    EXPECT_EQ(recordsNamed(Table::Categories, u"Fuel"), 2);
    EXPECT_EQ(dove::categoryParent(currentId(ListKind::Categories)), dove::category::kRoot);
}

TEST_F(CreateItemTest, AnExistingCategoryUnderTheSameParentIsTheResult) {
    open();
    openField(kCategoryField);
    const int categories = recordCount(Table::Categories);
    ASSERT_TRUE(create({typeInto(kIdNameField, u"Groceries"), tapControl(IDOK)}));
    EXPECT_EQ(currentId(ListKind::Categories), m_groceries);
    ASSERT_TRUE(create({tapControl(kIdSubcategory), typeInto(kIdParentField, u"Car"),
                        typeInto(kIdNameField, u"Fuel"), tapControl(IDOK)}));
    EXPECT_EQ(currentId(ListKind::Categories), m_fuel);
    EXPECT_EQ(recordCount(Table::Categories), categories);
    EXPECT_FALSE(m_window->dataChanged());
}

TEST_F(CreateItemTest, AProjectGoesUnderTheParentNamedAndAnEmptyParentMeansTheRoot) {
    open();
    openField(kProjectField);
    ASSERT_TRUE(currentText(ListKind::Projects) == u"Проекты");
    ASSERT_TRUE(create({expectTitle(u"Создать Проект"),
                        [](HWND dialog) { EXPECT_TRUE(controlText(dialog, kIdParentField) == u"Проекты"); },
                        typeText(u"Hotel"), tapControl(IDOK)}));
    const int32_t topHotel = currentId(ListKind::Projects);
    EXPECT_EQ(projectParent(topHotel), 1);

    selectText(ListKind::Projects, u"Vacation");
    ASSERT_TRUE(create({[](HWND dialog) { EXPECT_TRUE(controlText(dialog, kIdParentField) == u"Vacation"); },
                        typeText(u"Hotel"), tapControl(IDOK)}));
    const int32_t vacationHotel = currentId(ListKind::Projects);
    EXPECT_NE(vacationHotel, topHotel);
    EXPECT_EQ(projectParent(vacationHotel), m_vacation);

    // No parent: the root's own "Hotel" again. An unknown parent keeps the dialog open.
    const int projects = recordCount(Table::Projects);
    ASSERT_TRUE(create({typeInto(kIdParentField, u"Nowhere"), typeInto(kIdNameField, u"Hotel"),
                        tapControl(IDOK), expectRefused(kIdParentField, "no such project"),
                        typeInto(kIdParentField, u"  "), tapControl(IDOK)}));
    EXPECT_EQ(currentId(ListKind::Projects), topHotel);
    EXPECT_EQ(recordCount(Table::Projects), projects);
    EXPECT_EQ(recordsNamed(Table::Projects, u"Hotel"), 2);
}

TEST_F(CreateItemTest, ForbiddenCharactersAndBlankNamesKeepTheProjectDialogOpen) {
    open();
    openField(kProjectField);
    const int projects = recordCount(Table::Projects);
    ASSERT_TRUE(create({typeText(u"Trip [2026]"), tapControl(IDOK), expectRefused(kIdNameField, "brackets"),
                        typeInto(kIdNameField, u" "), tapControl(IDOK), expectRefused(kIdNameField, "blank"),
                        tapControl(IDCANCEL)}));
    EXPECT_EQ(recordCount(Table::Projects), projects);
}

// The dialog's own controls (its title and rule included), each with its rectangle on the screen.
std::vector<std::pair<HWND, RECT>> dialogControls(HWND dialog) {
    std::vector<std::pair<HWND, RECT>> controls;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT rect{};
        if (IsWindowVisible(child) && GetWindowRect(child, &rect)) controls.emplace_back(child, rect);
    }
    return controls;
}

// Covers the screen; every control lies inside it, above the raised input panel, apart from the others.
void expectFitsTheScreen(HWND dialog, const std::string& context) {
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT frame{};
    GetWindowRect(dialog, &frame);
    EXPECT_TRUE(EqualRect(&frame, &screen)) << context;
    SIPINFO panel{};
    panel.cbSize = sizeof(panel);
    ASSERT_TRUE(SHSipInfo(SPI_GETSIPINFO, 0, &panel, 0));
    ASSERT_TRUE(panel.fdwFlags & SIPF_ON) << context << ": the name field has the focus";
    const auto controls = dialogControls(dialog);
    EXPECT_GE(controls.size(), 10u) << context;
    for (size_t i = 0; i < controls.size(); ++i) {
        const RECT& a = controls[i].second;
        EXPECT_TRUE(a.left >= 0 && a.top >= 0 && a.right <= screen.right && a.bottom <= panel.rcSipRect.top)
            << context << ": control " << GetDlgCtrlID(controls[i].first);
        for (size_t j = i + 1; j < controls.size(); ++j) {
            RECT common{};
            EXPECT_FALSE(IntersectRect(&common, &a, &controls[j].second))
                << context << ": " << GetDlgCtrlID(controls[i].first) << " overlaps "
                << GetDlgCtrlID(controls[j].first);
        }
    }
}

TEST_F(CreateItemTest, TheCategoryDialogFitsAboveTheInputPanelOnEveryScreenAndAfterATurn) {
    struct Profile {
        int width, height, dpi;
    };
    const Profile kProfiles[] = {
        {240, 320, 96}, {480, 640, 192}, {640, 480, 192}, {480, 800, 192}, {240, 240, 96}};
    for (const Profile& profile : kProfiles) {
        const std::string context = std::to_string(profile.width) + "x" + std::to_string(profile.height);
        useScreen(profile.width, profile.height, profile.dpi);
        open();
        openField(kCategoryField);
        ASSERT_TRUE(create({[&](HWND dialog) { expectFitsTheScreen(dialog, context); },
                            [](HWND) { platform::testing::rotateScreen(); },
                            [&](HWND dialog) { expectFitsTheScreen(dialog, context + " turned"); },
                            tapControl(IDCANCEL)}))
            << context;
        close();
        // Destroying the window posted the quit message, which would end the next dialog at once.
        MSG quit{};
        PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    }
}

// Stands in for the finance manager's window: a top-level window of its class.
class FinanceManagerWindow : public WindowObject {
  public:
    bool create() {
        if (!registerClass(kFinanceManagerClass, 0, nullptr, nullptr)) return false;
        return WindowObject::create(0, u"Brimwell", WS_POPUP, RECT{0, 0, 10, 10}, nullptr, 0) != nullptr;
    }
};

TEST_F(CreateItemTest, TheExitTellsTheFinanceManagerOnceAfterItemsWereCreated) {
    struct Case {
        const char* scenario;
        std::vector<std::u16string> names;  // payees created in turn
        size_t messages;
    };
    const Case kCases[] = {{"two new payees", {u"Coffee Shop", u"Bakery"}, 1},
                           {"the same new payee twice", {u"Tea House", u"Tea House"}, 1},
                           {"an existing payee only", {u"Dr. Smith"}, 0}};
    FinanceManagerWindow manager;
    ASSERT_TRUE(manager.create());
    for (const Case& c : kCases) {
        open();
        platform::testing::MessageRecorder recorder;
        recorder.watch(manager.window());
        for (const std::u16string& name : c.names)
            ASSERT_TRUE(create({typeText(name), tapControl(IDOK)})) << c.scenario;
        tapStripButton(kStripConfirmOrCreate, 2);  // to the field panel
        tapStripButton(kStripForm, 2);             // "Выход"
        // The exit's quit message would end the next dialog's modal loop at once.
        MSG quit{};
        EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << c.scenario;
        close();
        EXPECT_EQ(recorder.messagesOf(kMsgDataChanged).size(), c.messages) << c.scenario;
    }
}

TEST_F(CreateItemTest, OkAndCancelGiveThePulseAndTheDebounceAndTheInputPanelFollowsTheField) {
    ASSERT_TRUE(dove::openFinanceStore());
    int pulses = 0, debounces = 0;
    ButtonActions actions{[&] { ++pulses; }, [&] { ++debounces; }};
    auto panelUp = [] {
        SIPINFO info{};
        info.cbSize = sizeof(info);
        SHSipInfo(SPI_GETSIPINFO, 0, &info, 0);
        return (info.fdwFlags & SIPF_ON) != 0;
    };
    {
        DialogSteps steps({[&](HWND) { EXPECT_TRUE(panelUp()) << "the name field has the focus"; },
                           tapControl(IDOK), expectRefused(kIdNameField, "empty"), typeText(u"Kiosk"),
                           tapControl(IDOK)});
        std::optional<CreatedItem> item = CreatePayeeDialog(actions).run(nullptr);
        ASSERT_TRUE(item.has_value());
        EXPECT_TRUE(item->written);
        EXPECT_TRUE(steps.finished());
    }
    EXPECT_EQ(pulses, 2);
    EXPECT_EQ(debounces, 2);
    EXPECT_FALSE(panelUp());
    {
        DialogSteps steps({tapControl(IDCANCEL)});
        EXPECT_FALSE(CreateProjectDialog(actions, 0).run(nullptr).has_value());
    }
    EXPECT_EQ(pulses, 3);
    EXPECT_EQ(debounces, 3);
    dove::closeFinanceStore();
}

}  // namespace
}  // namespace shelltest
