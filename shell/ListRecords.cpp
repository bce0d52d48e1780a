// Reading the selection lists' records: one pass over each table in a sort order that is restored
// afterwards, keeping only what the lists show and match.
#include "ListRecords.h"

#include <algorithm>
#include <unordered_map>

#include "FinanceStore.h"
#include "TypedFilter.h"
#include "platform/winerror.h"
#include "platform/winreg.h"

namespace shell {
namespace {

using dove::PropertyNumber;

// Property numbers of the master records, as the finance store lays them out.
constexpr PropertyNumber kName = 110;
constexpr PropertyNumber kParent = 203;
constexpr PropertyNumber kAccountNumber = 104;
constexpr PropertyNumber kAccountPosition = 160;
constexpr PropertyNumber kAccountClosed = 165;
constexpr PropertyNumber kAccountNoTransfer[] = {259, 165, 168};
constexpr PropertyNumber kCategoryNumber = 401;
constexpr PropertyNumber kCategoryType = 430;
constexpr PropertyNumber kProjectNumber = 201;
constexpr PropertyNumber kPayeeNumber = 1001;
constexpr PropertyNumber kPayeeHidden = 1003;
constexpr PropertyNumber kPayeeDisplayName = 1004;
constexpr int32_t kRootCategory = 1;
constexpr int32_t kIncomeType = 1;
constexpr int32_t kExpenseType = 2;

ListRecord makeRecord(std::u16string text, int32_t id, int32_t parent = 0) {
    ListRecord record;
    record.lowered = lowerText(text);
    record.text = std::move(text);
    record.id = id;
    record.parent = parent;
    return record;
}

// Calls visit(cursor) for every record of the table in the order of property number, restoring the
// table's order afterwards.
template <class Visit>
void forEachRecord(dove::Table table, PropertyNumber order, dove::SortKind kind, Visit visit) {
    dove::TableCursor& cursor = dove::tableCursor(table);
    if (!cursor.isOpen()) return;
    dove::SortScope sorted(cursor, order, kind);
    if (!sorted.ok() || !cursor.moveTo(0)) return;
    do {
        visit(cursor);
    } while (cursor.moveNext());
}

bool showClosedAccounts() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kAccountCenterKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    LONG result =
        RegQueryValueExW(key, kShowClosedAccounts, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS && type == REG_DWORD && size == sizeof(value) && value != 0;
}

struct AccountRow {
    ListRecord record;
    bool closed;
    bool transferTarget;
};

std::vector<AccountRow> readAccounts() {
    std::vector<AccountRow> rows;
    forEachRecord(dove::Table::Accounts, kAccountPosition, dove::SortKind::I4, [&](dove::TableCursor& c) {
        bool target = std::all_of(std::begin(kAccountNoTransfer), std::end(kAccountNoTransfer),
                                  [&](PropertyNumber flag) { return c.getI4(flag) == 0; });
        rows.push_back(
            {makeRecord(c.getString(kName), c.getI4(kAccountNumber)), c.getI4(kAccountClosed) != 0, target});
    });
    return rows;
}

bool lessByName(const ListRecord& a, const ListRecord& b) {
    return a.lowered != b.lowered ? a.lowered < b.lowered : a.id < b.id;
}

}  // namespace

std::vector<ListRecord> treeOrder(std::vector<ListRecord> records) {
    std::unordered_map<int32_t, size_t> indexOf;
    for (size_t i = 0; i < records.size(); ++i)
        indexOf.emplace(records[i].id, i);
    std::unordered_map<int32_t, std::vector<size_t>> children;
    std::vector<size_t> roots;
    for (size_t i = 0; i < records.size(); ++i) {
        ListRecord& record = records[i];
        if (record.parent == record.id || indexOf.count(record.parent) == 0) record.parent = 0;
        (record.parent == 0 ? roots : children[record.parent]).push_back(i);
    }
    auto byName = [&](size_t a, size_t b) { return lessByName(records[a], records[b]); };
    std::vector<ListRecord> ordered;
    ordered.reserve(records.size());
    std::vector<bool> placed(records.size(), false);
    // Depth first, without recursion, so that deep trees cannot exhaust the stack.
    auto place = [&](size_t root) {
        std::vector<size_t> pending{root};
        while (!pending.empty()) {
            size_t i = pending.back();
            pending.pop_back();
            if (placed[i]) continue;
            placed[i] = true;
            ordered.push_back(records[i]);
            std::vector<size_t> next = children[records[i].id];
            std::sort(next.begin(), next.end(), byName);
            pending.insert(pending.end(), next.rbegin(), next.rend());
        }
    };
    std::sort(roots.begin(), roots.end(), byName);
    for (size_t root : roots)
        place(root);
    // What a cycle of parents kept from the roots comes last, each as a top-level record.
    for (size_t i = 0; i < records.size(); ++i) {
        if (placed[i]) continue;
        records[i].parent = 0;
        place(i);
    }
    return ordered;
}

std::vector<ListRecord> loadAccountRecords() {
    bool showClosed = showClosedAccounts();
    std::vector<ListRecord> records;
    for (AccountRow& row : readAccounts())
        if (showClosed || !row.closed) records.push_back(std::move(row.record));
    return records;
}

std::vector<ListRecord> loadCategoryRecords(const TypeTags& tags) {
    std::vector<ListRecord> categories;
    forEachRecord(dove::Table::Categories, kCategoryNumber, dove::SortKind::I4, [&](dove::TableCursor& c) {
        int32_t number = c.getI4(kCategoryNumber);
        if (number <= kRootCategory) return;
        ListRecord record = makeRecord(c.getString(kName), number, c.getI4(kParent));
        int32_t type = c.getI4(kCategoryType);
        record.rightText = type == kIncomeType    ? tags.income
                           : type == kExpenseType ? tags.expense
                                                  : tags.transfer;
        if (type == kIncomeType) record.rightColor = kIncomeTagColour;
        if (type == kExpenseType) record.rightColor = kExpenseTagColour;
        categories.push_back(std::move(record));
    });
    std::vector<ListRecord> records = treeOrder(std::move(categories));
    for (AccountRow& row : readAccounts()) {
        if (!row.transferTarget) continue;
        ListRecord record = makeRecord(u"[" + row.record.text + u"]", -row.record.id);
        record.rightText = tags.transfer;
        records.push_back(std::move(record));
    }
    return records;
}

std::vector<ListRecord> loadProjectRecords() {
    std::vector<ListRecord> projects;
    forEachRecord(dove::Table::Projects, kProjectNumber, dove::SortKind::I4, [&](dove::TableCursor& c) {
        projects.push_back(makeRecord(c.getString(kName), c.getI4(kProjectNumber), c.getI4(kParent)));
    });
    return treeOrder(std::move(projects));
}

std::vector<ListRecord> loadPayeeRecords() {
    std::vector<ListRecord> records;
    forEachRecord(dove::Table::Memorized, kPayeeDisplayName, dove::SortKind::String,
                  [&](dove::TableCursor& c) {
                      if (c.getI4(kPayeeHidden) != 0) return;
                      records.push_back(makeRecord(c.getString(kName), c.getI4(kPayeeNumber)));
                  });
    return records;
}

}  // namespace shell
