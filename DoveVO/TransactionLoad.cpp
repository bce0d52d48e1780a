// Loading transaction records and the shared steps of reaching a stored record.
#include "FinanceStore.h"
#include "NotificationBlock.h"
#include "Payees.h"
#include "TransactionSteps.h"
#include "TransactionStore.h"

namespace dove {
namespace detail {

TableCursor& tableOf(const TransactionRecord& record) {
    return tableCursor(record.source() == RecordSource::Planner ? Table::Planner : Table::Transactions);
}

bool reachStored(TransactionRecord& record, const std::u16string* storedIdentifier) {
    TableCursor& table = tableOf(record);
    if (record.source() == RecordSource::Planner) {
        const int32_t number = record.i4(tx::kScheduleNumber);
        if (!table.ensureSort(tx::kScheduleNumber, SortKind::I4)) return false;
        if (record.position() >= 0 && table.moveTo(record.position()) &&
            table.getI4(tx::kScheduleNumber) == number)
            return true;
        if (!table.seekFirstEqual(number)) return false;
    } else {
        const std::u16string id = storedIdentifier != nullptr ? *storedIdentifier : record.identifier();
        if (!table.ensureSort(tx::kIdentifier, SortKind::String) || id.empty()) return false;
        if (record.position() >= 0 && table.moveTo(record.position()) &&
            table.getString(tx::kIdentifier) == id)
            return true;
        if (!table.seekFirstEqual(id)) return false;
    }
    record.assignPosition(table.position());
    return true;
}

StoredState readStored(const TableCursor& table) {
    StoredState s;
    s.exists = true;
    s.account = table.getI4(tx::kAccount);
    s.category = table.getI4(tx::kCategory);
    s.project = table.getI4(tx::kProject);
    s.kind = table.getI4(tx::kKind);
    s.excluded = table.getI4(tx::kExcluded);
    s.date = table.getDate(tx::kDate);
    s.amount = table.get64(tx::kAmount);
    s.currency = table.getString(tx::kCurrency);
    s.identifier = table.getString(tx::kIdentifier);
    s.link = table.getString(tx::kLink);
    return s;
}

void loadCurrent(TransactionRecord& record, RecordSource source) {
    TableCursor& table = tableCursor(source == RecordSource::Planner ? Table::Planner : Table::Transactions);
    const int position = table.position();
    record.assignFromCursor(table, source, position);
    if (record.payee() == 0) {
        std::u16string name =
            record.payeeName().empty() ? record.text(tx::kSecondPayeeName) : record.payeeName();
        if (!name.empty()) {
            record.setPayee(findPayeeByName(name));
            record.clearSetFlag(tx::kPayee);
        }
    }
    const std::u16string link = record.link();
    if (source != RecordSource::Transactions || link.empty()) return;
    TableCursor& transactions = tableCursor(Table::Transactions);
    if (transactions.ensureSort(tx::kIdentifier, SortKind::String) && transactions.seekFirstEqual(link)) {
        record.setPartnerCleared(transactions.getI4(tx::kCleared));
        record.setPartnerText(transactions.getString(tx::kSideText));
        record.setPartnerKey(transactions.getString(tx::kKey));
    }
    transactions.moveTo(position);
}

std::vector<std::u16string> storedSplitIdentifiers(int32_t account, Date ownerDate) {
    std::vector<std::u16string> ids;
    if (account < 1) return ids;
    TableCursor& t = tableCursor(Table::Transactions);
    if (!t.ensureSort(tx::kIdentifier, SortKind::String)) return ids;
    const std::u16string start = splitRangeStartKey(static_cast<uint32_t>(account), ownerDate);
    if (!t.seekFirstGreater(start)) return ids;
    do {
        std::u16string id = t.getString(tx::kIdentifier);
        if (id.size() != start.size() + 4 || id.compare(0, start.size(), start) != 0) break;
        ids.push_back(std::move(id));
    } while (t.moveNext());
    return ids;
}

void signalTransactionsChanged() {
    afterCommit([] {
        raiseTransactionsChanged();
        setNotificationFlag(kFlagTransactions);
    });
}

void signalScheduledChanged() {
    afterCommit([] {
        raiseScheduledChanged();
        setNotificationFlag(kFlagScheduled);
    });
}

}  // namespace detail

bool loadTransaction(TransactionRecord& record, int index) {
    TableCursor& t = tableCursor(Table::Transactions);
    if (!t.ensureSort(tx::kIdentifier, SortKind::String) || !t.moveTo(index)) return false;
    detail::loadCurrent(record, RecordSource::Transactions);
    return true;
}

bool loadTransactionByIdentifier(TransactionRecord& record, const std::u16string& identifier) {
    TableCursor& t = tableCursor(Table::Transactions);
    if (identifier.empty() || !t.ensureSort(tx::kIdentifier, SortKind::String) ||
        !t.seekFirstEqual(identifier))
        return false;
    detail::loadCurrent(record, RecordSource::Transactions);
    return true;
}

bool loadSplitLine(TransactionRecord& record, int index) {
    if (!loadTransaction(record, index)) return false;
    record.setKind(kKindSplitLine);
    record.clearSetFlag(tx::kKind);
    return true;
}

bool loadSplitLines(TransactionRecord& owner) {
    std::vector<TransactionRecord> lines;
    for (const std::u16string& id : detail::storedSplitIdentifiers(owner.account(), owner.date())) {
        TransactionRecord line;
        if (!loadTransactionByIdentifier(line, id)) return false;
        line.setKind(kKindSplitLine);
        line.clearSetFlag(tx::kKind);
        lines.push_back(std::move(line));
    }
    owner.adoptSplits(std::move(lines));
    return true;
}

bool readScheduledItem(uint32_t scheduleNumber, TransactionRecord& item) {
    TableCursor& planner = tableCursor(Table::Planner);
    if (!planner.ensureSort(tx::kScheduleNumber, SortKind::I4) ||
        !planner.seekFirstEqual(static_cast<int32_t>(scheduleNumber)))
        return false;
    detail::loadCurrent(item, RecordSource::Planner);
    // The item's date as shown and edited is its next occurrence; a save writes a changed date there.
    item.setDate(item.value64(tx::kNextOccurrence));
    item.clearSetFlag(tx::kDate);
    return true;
}

int32_t remainingOccurrences(const TransactionRecord& item) {
    const int32_t total = item.i4(255);
    return total < 0 ? -1 : total - item.i4(254);
}

}  // namespace dove
