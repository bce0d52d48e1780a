// The entry tests' store and the user's steps.
#include "EntryFixture.h"

#include <set>

#include "CurrencyCache.h"
#include "FinanceStore.h"
#include "ShellCommands.h"
#include "TransactionStore.h"
#include "platform/windows.h"

namespace shelltest {
namespace {

using dove::PropertyValue;

void addCurrency(uint32_t id, const std::u16string& code, const std::u16string& symbol) {
    ASSERT_NE(
        dove::tableCursor(dove::Table::Currencies)
            .addRecord({PropertyValue::i4(302, static_cast<int32_t>(id)), PropertyValue::string(301, code),
                        PropertyValue::string(303, symbol), PropertyValue::string(304, code)}),
        0u);
}

}  // namespace

void EntryTest::openOnEntryStore() {
    seedLists();
    ASSERT_TRUE(dove::openFinanceStore());
    addCurrency(kDollars, u"USD", u"$");
    addCurrency(kEuros, u"EUR", u"eu");
    ASSERT_NE(dove::tableCursor(dove::Table::Accounts)
                  .addRecord({PropertyValue::i4(104, kEuroAccount), PropertyValue::i4(160, 5),
                              PropertyValue::string(110, u"Euro Cash"), PropertyValue::string(301, u"EUR"),
                              PropertyValue::string(135, u"K5")}),
              0u);
    // From 1 January 2000 a dollar buys 1.25 euros (a euro 0.80 dollars); the series is kept under
    // the code that sorts later first.
    ASSERT_NE(dove::tableCursor(dove::Table::CurrencyHistory)
                  .addRecord({PropertyValue::string(601, u"USDEUR20000101"),
                              PropertyValue::string(1000, u"1.25"), PropertyValue::string(602, u"1")}),
              0u);
    dove::closeFinanceStore();
    open();
}

void EntryTest::choose(shell::ListKind kind, int32_t id) {
    static constexpr int kFieldOf[] = {3, 4, 5, 0};  // accounts, categories, projects, payees
    openField(kFieldOf[static_cast<int>(kind)]);
    list(kind).selectId(id);
    tapStripButton(list(kind).strip(), 0);
}

void EntryTest::confirm() {
    tapStripButton(m_window->panel(m_window->entryMode()).strip(), 0);
}

void EntryTest::type(const std::u16string& characters) {
    for (char16_t c : characters)
        PostMessageW(mainWindow(), WM_CHAR, c, 0);
    platform::testing::pumpMessages();
}

void EntryTest::pickCurrency(const std::u16string& code) {
    FingerComboBox& combo = m_window->calculator().currencyField().comboBox();
    combo.open();
    platform::testing::pumpMessages();
    FingerListView& view = combo.dropList().view();
    for (int row = 0; row < view.count(); ++row) {
        if (view.items()[static_cast<size_t>(row)].text != code) continue;
        RECT cell{0, row * view.rowHeight(), view.rowHeight(), (row + 1) * view.rowHeight()};
        tapAt(screenCentre(view.window(), cell));
        return;
    }
    ADD_FAILURE() << "no currency row";
}

std::vector<dove::TransactionRecord> EntryTest::storedTransactions() {
    std::vector<dove::TransactionRecord> records;
    for (int index = 0;; ++index) {
        dove::TransactionRecord record;
        if (!dove::loadTransaction(record, index)) break;
        records.push_back(std::move(record));
    }
    return records;
}

std::vector<dove::TransactionRecord> EntryTest::addedSince(
    const std::vector<dove::TransactionRecord>& before) {
    std::set<std::u16string> known;
    for (const dove::TransactionRecord& record : before)
        known.insert(record.identifier());
    std::vector<dove::TransactionRecord> added;
    for (dove::TransactionRecord& record : storedTransactions())
        if (known.count(record.identifier()) == 0) added.push_back(std::move(record));
    return added;
}

}  // namespace shelltest
