// The selection-list tests' store and helpers.
#include "ListFixture.h"

#include "Categories.h"
#include "ControlMessages.h"
#include "FinanceStore.h"
#include "Payees.h"
#include "Projects.h"
#include "ShellCommands.h"

namespace shelltest {
namespace {

using dove::PropertyValue;

struct AccountRow {
    int32_t number;
    int32_t position;
    const char16_t* name;
    int32_t closed;      // 165
    int32_t noTransfer;  // 259
};
// Display positions differ from the numbers; the list shows position order.
constexpr AccountRow kAccounts[] = {{1, 3, u"Checking", 0, 0},
                                    {2, 1, u"Savings", 0, 0},
                                    {3, 2, u"Old Card", 1, 0},
                                    {4, 4, u"Brokerage", 0, 1}};

bool addAccount(const AccountRow& row) {
    return dove::tableCursor(dove::Table::Accounts)
               .addRecord({PropertyValue::i4(104, row.number), PropertyValue::i4(160, row.position),
                           PropertyValue::string(110, row.name), PropertyValue::string(301, u"USD"),
                           PropertyValue::string(135, u"K" + std::u16string(1, u'0' + row.number)),
                           PropertyValue::i4(165, row.closed), PropertyValue::i4(259, row.noTransfer)}) != 0;
}

}  // namespace

void ListTest::seedLists() {
    ASSERT_TRUE(dove::openFinanceStore());
    for (const AccountRow& row : kAccounts)
        ASSERT_TRUE(addAccount(row));
    int32_t car = 0, home = 0;
    ASSERT_EQ(dove::createCategory(1, u"Groceries", 2, &m_groceries), dove::StoreStatus::Ok);
    ASSERT_EQ(dove::createCategory(1, u"Salary", 1, &m_salary), dove::StoreStatus::Ok);
    ASSERT_EQ(dove::createCategory(1, u"Car", 2, &car), dove::StoreStatus::Ok);
    ASSERT_EQ(dove::createCategory(car, u"Fuel", 2, &m_fuel), dove::StoreStatus::Ok);
    ASSERT_EQ(dove::createCategory(1, u"Home", 2, &home), dove::StoreStatus::Ok);
    int32_t unused = 0;
    ASSERT_EQ(dove::createCategory(car, u"Service", 2, &unused), dove::StoreStatus::Ok);
    ASSERT_EQ(dove::createProject(1, u"Vacation", &m_vacation), dove::StoreStatus::Ok);
    ASSERT_EQ(dove::createProject(1, u"Business trip", &unused), dove::StoreStatus::Ok);
    struct PayeeRow {
        const char16_t* name;
        bool hidden;
        int32_t account;
        int32_t category;
        dove::Amount amount;
    };
    const PayeeRow payees[] = {{u"Fresh Market", false, 2, m_groceries, 6500},
                               {u"Dr. Smith", false, 0, 0, 0},
                               {u"Acme Corp", false, 1, m_salary, 250000},
                               {u"Hidden Shop", true, 0, 0, 0},
                               {u"Food Court", false, 0, 0, 0}};
    for (const PayeeRow& row : payees) {
        dove::Payee payee;
        payee.name = row.name;
        payee.flag1003 = row.hidden;
        payee.entry.account = row.account;
        payee.entry.category = row.category;
        payee.entry.amount = row.amount;
        ASSERT_EQ(dove::createPayee(payee), dove::StoreStatus::Ok);
        if (row.account == 2) m_freshMarket = payee.number;
    }
    dove::closeFinanceStore();
}

void ListTest::seedPayees(const std::vector<std::u16string>& names) {
    ASSERT_TRUE(dove::openFinanceStore());
    for (const std::u16string& name : names) {
        dove::Payee payee;
        payee.name = name;
        ASSERT_EQ(dove::createPayee(payee), dove::StoreStatus::Ok);
    }
    dove::closeFinanceStore();
}

std::vector<std::u16string> ListTest::shownTexts(shell::ListKind kind) {
    std::vector<std::u16string> texts;
    for (const ListItem& item : list(kind).control().view().items())
        texts.push_back(item.text);
    return texts;
}

std::u16string ListTest::caption(shell::ListKind kind) {
    return list(kind).control().caption();
}

std::u16string ListTest::currentText(shell::ListKind kind) {
    const ListItem* item = list(kind).control().view().selectedItem();
    return item != nullptr ? item->text : std::u16string();
}

void ListTest::keypad(WPARAM code) {
    PostMessageW(mainWindow(), WM_KEYPAD_KEY, code, 0);
    platform::testing::pumpMessages();
}

void ListTest::typeCharacter(WCHAR character) {
    PostMessageW(mainWindow(), WM_CHAR, character, 0);
    platform::testing::pumpMessages();
}

void ListTest::openField(int index) {
    if (m_window->entryMode() != shell::EntryMode::Form) {
        SendMessageW(mainWindow(), WM_COMMAND, shell::kCmdClose, 0);
        platform::testing::pumpMessages();
    }
    tapField(index);
}

}  // namespace shelltest
