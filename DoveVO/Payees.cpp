// Reading, creating and finding payees with their memorized entries and splits.
#include "Payees.h"

#include "FinanceStore.h"
#include "Identifiers.h"
#include "TextUtil.h"

namespace dove {
namespace {

constexpr PropertyNumber kNumber = 1001;
constexpr PropertyNumber kDisplayName = 1004;
constexpr PropertyNumber kSplitKey = 1101;

std::function<std::optional<int32_t>(const std::u16string&)>& lookupHook() {
    static std::function<std::optional<int32_t>(const std::u16string&)> hook;
    return hook;
}

std::function<void(const Payee&)>& createdHook() {
    static std::function<void(const Payee&)> hook;
    return hook;
}

uint64_t splitKey(int32_t payee, int32_t line) {
    return (static_cast<uint64_t>(static_cast<uint32_t>(payee)) << 32) | static_cast<uint32_t>(line);
}

void readSplits(Payee& payee) {
    TableCursor& splits = tableCursor(Table::MemorizedSplits);
    SortScope sorted(splits, kSplitKey, SortKind::Date);
    // Lines of a payee are adjacent in key order and numbered from 1: the first is the first key greater
    // than (line 0, payee).
    if (!splits.seekFirstGreater(splitKey(payee.number, 0))) return;
    do {
        const uint64_t key = splits.getDate(kSplitKey);
        if ((key >> 32) != static_cast<uint32_t>(payee.number)) break;
        payee.splits.push_back({static_cast<int32_t>(key & 0xFFFFFFFFu), splits.getI4(401), splits.getI4(201),
                                splits.getI4(137), splits.getString(114), splits.get64(112)});
    } while (splits.moveNext());
}

void readCurrentPayee(const TableCursor& m, Payee& payee) {
    payee = Payee{};
    payee.number = m.getI4(kNumber);
    payee.key = m.getString(135);
    payee.stamp = m.getDate(128);
    payee.flag1003 = m.getI4(1003) != 0;
    payee.flag1005 = m.getI4(1005) != 0;
    payee.name = m.getString(110);
    payee.displayName = m.getString(kDisplayName);
    payee.text1002 = m.getString(1002);
    payee.date = m.getDate(108);
    payee.text1006 = m.getString(1006);
    MemorizedEntry& e = payee.entry;
    e.account = m.getI4(104);
    e.category = m.getI4(401);
    e.project = m.getI4(201);
    e.cleared = m.getI4(117);
    e.number = m.getI4(137);
    e.text = m.getString(114);
    e.amount = m.get64(112);
    e.currency = m.getString(301);
    e.kind = m.getI4(125);
}

// The character whose code is the value of flag 1005 (a zero flag gives the empty text).
std::u16string flagCharacter(bool flag) {
    return flag ? std::u16string(1, u'\x01') : std::u16string();
}

std::vector<PropertyValue> payeeValues(const Payee& p) {
    const std::u16string display = p.displayName.empty() ? p.name : p.displayName;
    const MemorizedEntry& e = p.entry;
    return {PropertyValue::i4(kNumber, p.number),
            PropertyValue::string(135, p.key),
            PropertyValue::date(128, p.stamp),
            PropertyValue::i4(1003, p.flag1003 ? 1 : 0),
            PropertyValue::i4(1005, p.flag1005 ? 1 : 0),
            PropertyValue::string(110, p.name),
            PropertyValue::string(kDisplayName, display),
            PropertyValue::string(1002, p.text1002),
            PropertyValue::date(108, p.date),
            PropertyValue::string(1006, flagCharacter(p.flag1005)),
            PropertyValue::i4(104, e.account),
            PropertyValue::i4(401, e.category),
            PropertyValue::i4(201, e.project),
            PropertyValue::i4(117, e.cleared),
            PropertyValue::i4(137, e.number),
            PropertyValue::string(114, e.text),
            PropertyValue::date(112, static_cast<uint64_t>(e.amount)),
            PropertyValue::string(301, e.currency),
            PropertyValue::i4(125, e.kind)};
}

}  // namespace

bool readPayee(int index, Payee& payee) {
    TableCursor& m = tableCursor(Table::Memorized);
    if (!m.moveTo(index)) return false;
    readCurrentPayee(m, payee);
    if (payee.entry.kind == 1) readSplits(payee);
    return true;
}

bool readPayeeByNumber(int32_t number, Payee& payee) {
    TableCursor& m = tableCursor(Table::Memorized);
    SortScope sorted(m, kNumber, SortKind::I4);
    if (!m.seekFirstEqual(number)) return false;
    readCurrentPayee(m, payee);
    if (payee.entry.kind == 1) readSplits(payee);
    return true;
}

StoreStatus createPayee(Payee& payee) {
    TableCursor& m = tableCursor(Table::Memorized);
    SortScope sorted(m, kNumber, SortKind::I4);
    int32_t& counter = numberCounters().payee;
    const int count = m.recordCount();
    if (counter == 0 && count > 0 && m.moveTo(count - 1)) counter = m.getI4(kNumber);
    payee.number = ++counter;
    if (payee.key.empty()) payee.key = newRecordKeyText();
    payee.stamp = nowUtc();
    payee.name = trimmed(payee.name);
    // The payee and its memorized splits are stored together or not at all.
    const StoreStatus status = inStoreTransaction([&] {
        if (m.addRecord(payeeValues(payee)) == 0) return m.writeFailure();
        for (const MemorizedSplit& split : payee.splits) {
            const StoreStatus written = writeMemorizedSplit(payee.number, split);
            if (written != StoreStatus::Ok) return written;
        }
        return StoreStatus::Ok;
    });
    if (status == StoreStatus::Ok && createdHook()) createdHook()(payee);
    return status;
}

StoreStatus writePayee(const Payee& payee) {
    TableCursor& m = tableCursor(Table::Memorized);
    SortScope sorted(m, kNumber, SortKind::I4);
    if (!m.seekFirstEqual(payee.number)) return StoreStatus::RecordMissing;
    return m.writeProperties(payeeValues(payee)) ? StoreStatus::Ok : m.writeFailure();
}

StoreStatus writeMemorizedSplit(int32_t payee, const MemorizedSplit& split) {
    TableCursor& splits = tableCursor(Table::MemorizedSplits);
    SortScope sorted(splits, kSplitKey, SortKind::Date);
    std::vector<PropertyValue> values = {PropertyValue::date(kSplitKey, splitKey(payee, split.line)),
                                         PropertyValue::i4(401, split.category),
                                         PropertyValue::i4(201, split.project),
                                         PropertyValue::i4(137, split.number),
                                         PropertyValue::string(114, split.text),
                                         PropertyValue::date(112, static_cast<uint64_t>(split.amount))};
    const bool written = splits.seekFirstEqual(splitKey(payee, split.line)) ? splits.writeProperties(values)
                                                                            : splits.addRecord(values) != 0;
    return written ? StoreStatus::Ok : splits.writeFailure();
}

bool displayNameMatches(const std::u16string& d, const std::u16string& t) {
    if (d == t) return true;
    if (d.find(u"@" + t + u"@") != std::u16string::npos) return true;
    return d.compare(0, t.size() + 1, t + u"@") == 0;
}

int32_t findPayeeByName(const std::u16string& text) {
    const std::u16string t = trimmed(text);
    if (lookupHook()) {
        if (std::optional<int32_t> found = lookupHook()(t)) return *found;
    }
    TableCursor& m = tableCursor(Table::Memorized);
    SortScope sorted(m, kDisplayName, SortKind::String);
    if (m.seekFirstEqual(t)) return m.getI4(kNumber);
    for (int i = 0, count = m.recordCount(); i < count && m.moveTo(i); ++i)
        if (displayNameMatches(m.getString(kDisplayName), t)) return m.getI4(kNumber);
    return 0;
}

void setPayeeLookupHook(std::function<std::optional<int32_t>(const std::u16string&)> lookup) {
    lookupHook() = std::move(lookup);
}

void setPayeeCreatedHook(std::function<void(const Payee&)> created) {
    createdHook() = std::move(created);
}

}  // namespace dove
