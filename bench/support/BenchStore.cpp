// The benchmarks' shared store building.
#include "BenchStore.h"

#include <cstdio>
#include <filesystem>

#include "FinanceStore.h"
#include "Identifiers.h"
#include "platform/cedb.h"
#include "platform/device.h"
#include "platform/windows.h"

namespace bench {

namespace {
std::string g_openRoot;
}  // namespace

dove::Date firstDate() {
    SYSTEMTIME t{};
    t.wYear = 2018;
    t.wMonth = 1;
    t.wDay = 1;
    return dove::dateFromFields(t);
}

std::string recordKey(int32_t account, dove::Date date) {
    char text[40];
    std::snprintf(text, sizeof text, "{%08X-1D2E-4F30-8A9B-%012llX}", static_cast<unsigned>(account),
                  static_cast<unsigned long long>(date));
    return text;
}

std::vector<dove::PropertyValue> transactionValues(int32_t account, dove::Date date, dove::Amount amount,
                                                   const std::u16string& payee) {
    using dove::PropertyValue;
    std::vector<PropertyValue> values{
        PropertyValue::string(101, dove::transactionIdentifier(static_cast<uint32_t>(account), date)),
        PropertyValue::i4(104, account),
        PropertyValue::date(108, date),
        PropertyValue::date(112, static_cast<uint64_t>(amount)),
        PropertyValue::date(113, 0),
        PropertyValue::string(301, u"USD"),
        PropertyValue::i4(401, 5),
        PropertyValue::i4(125, 0),
        PropertyValue::string(135, platform::fromUtf8(recordKey(account, date)))};
    if (!payee.empty()) values.push_back(PropertyValue::string(110, payee));
    return values;
}

bool addAccounts(int count, const std::vector<dove::PropertyValue>& extra) {
    using dove::PropertyValue;
    dove::TableCursor& accounts = dove::tableCursor(dove::Table::Accounts);
    bool ok = true;
    for (int32_t n = 1; ok && n <= count; ++n) {
        std::vector<PropertyValue> values{PropertyValue::i4(104, n), PropertyValue::i4(160, n),
                                          PropertyValue::string(110, u"Account"),
                                          PropertyValue::string(301, u"USD")};
        values.insert(values.end(), extra.begin(), extra.end());
        ok = accounts.addRecord(values) != 0;
    }
    return ok;
}

bool addHourlyTransactions(int accounts, int first, int count, const std::u16string& payee) {
    dove::TableCursor& transactions = dove::tableCursor(dove::Table::Transactions);
    bool ok = true;
    for (int i = first; ok && i < first + count; ++i)
        ok = transactions.addRecord(transactionValues(1 + i % accounts,
                                                      firstDate() + static_cast<dove::Date>(i) * kHour,
                                                      -(100 + i % 997), payee)) != 0;
    return ok;
}

void useStore(const std::string& root) {
    if (g_openRoot == root) return;
    closeStore();
    platform::setDeviceRoot(root);
    if (!dove::openFinanceStore())
        std::fprintf(stderr, "cannot open the finance store in %s\n", root.c_str());
    g_openRoot = root;
}

void closeStore() {
    dove::closeFinanceStore();
    platform::cedbCloseStore();
    g_openRoot.clear();
}

std::string programBeside(const std::string& name) {
    std::error_code error;
    return (std::filesystem::read_symlink("/proc/self/exe", error).parent_path() / name).string();
}

}  // namespace bench
