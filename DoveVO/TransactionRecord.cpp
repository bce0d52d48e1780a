// The in-memory transaction record: fields with set flags, and the split list.
#include "TransactionRecord.h"

#include "TableCursor.h"

namespace dove {

int32_t TransactionRecord::i4(PropertyNumber number) const {
    auto it = m_fields.find(number);
    return it != m_fields.end() && it->second.type == CEVT_I4 ? it->second.number : 0;
}

uint64_t TransactionRecord::value64(PropertyNumber number) const {
    auto it = m_fields.find(number);
    return it != m_fields.end() && it->second.type == CEVT_FILETIME ? it->second.wide : 0;
}

std::u16string TransactionRecord::text(PropertyNumber number) const {
    auto it = m_fields.find(number);
    return it != m_fields.end() && it->second.type == CEVT_LPWSTR ? it->second.text : std::u16string();
}

TransactionRecord::Field& TransactionRecord::field(PropertyNumber number, WORD type) {
    Field& f = m_fields[number];
    if (f.type != type) {
        f = Field{};
        f.type = type;
    }
    return f;
}

void TransactionRecord::setI4(PropertyNumber number, int32_t value) {
    auto it = m_fields.find(number);
    if (it != m_fields.end() && it->second.set && it->second.type == CEVT_I4 && it->second.number == value)
        return;
    Field& f = field(number, CEVT_I4);
    f.number = value;
    f.set = true;
}

void TransactionRecord::set64(PropertyNumber number, uint64_t value) {
    auto it = m_fields.find(number);
    if (it != m_fields.end() && it->second.set && it->second.type == CEVT_FILETIME &&
        it->second.wide == value)
        return;
    Field& f = field(number, CEVT_FILETIME);
    f.wide = value;
    f.set = true;
}

void TransactionRecord::setText(PropertyNumber number, const std::u16string& value) {
    auto it = m_fields.find(number);
    if (it != m_fields.end() && it->second.set && it->second.type == CEVT_LPWSTR && it->second.text == value)
        return;
    Field& f = field(number, CEVT_LPWSTR);
    f.text = value;
    f.set = true;
}

bool TransactionRecord::isSet(PropertyNumber number) const {
    auto it = m_fields.find(number);
    return it != m_fields.end() && it->second.set;
}

void TransactionRecord::clearSetFlag(PropertyNumber number) {
    auto it = m_fields.find(number);
    if (it != m_fields.end()) it->second.set = false;
}

bool TransactionRecord::anythingSet() const {
    for (const auto& [number, f] : m_fields)
        if (f.set) return true;
    return false;
}

void TransactionRecord::markAllNonEmptySet() {
    for (auto& [number, f] : m_fields)
        f.set = f.number != 0 || f.wide != 0 || !f.text.empty();
}

std::vector<PropertyValue> TransactionRecord::setValues() const {
    std::vector<PropertyValue> values;
    for (const auto& [number, f] : m_fields) {
        if (!f.set) continue;
        if (f.type == CEVT_I4) values.push_back(PropertyValue::i4(number, f.number));
        if (f.type == CEVT_FILETIME) values.push_back(PropertyValue::date(number, f.wide));
        if (f.type == CEVT_LPWSTR) values.push_back(PropertyValue::string(number, f.text));
    }
    return values;
}

void TransactionRecord::setEnteredAmount(Amount v, const std::u16string& code) {
    set64(tx::kEnteredAmount, static_cast<uint64_t>(v));
    setText(tx::kEnteredCurrency, code);
}

void TransactionRecord::clearEnteredAmount() {
    if (enteredAmount() == 0 && text(tx::kEnteredCurrency).empty() && value64(tx::kRate) == 0) return;
    set64(tx::kEnteredAmount, 0);
    setText(tx::kEnteredCurrency, u"");
    set64(tx::kRate, 0);
}

void TransactionRecord::setSplits(std::vector<TransactionRecord> lines) {
    m_splits = std::move(lines);
    m_hasSplitList = true;
    if (kind() == kKindSplitTransfer) return;
    if (m_splits.empty()) {
        setKind(kKindPlain);
        return;
    }
    setKind(kKindSplitOwner);
    setCategory(0);
    setProject(0);
}

void TransactionRecord::dropSplitList() {
    m_splits.clear();
    m_hasSplitList = true;
    if (kind() == kKindSplitOwner) setKind(kKindPlain);
}

void TransactionRecord::markSaved(int position, uint32_t generation) {
    for (auto& [number, f] : m_fields)
        f.set = false;
    m_pendingModification = false;
    m_position = position;
    m_loadedGeneration = generation;
}

void TransactionRecord::adoptSplits(std::vector<TransactionRecord> lines) {
    m_splits = std::move(lines);
    m_hasSplitList = true;
}

void TransactionRecord::assignFromCursor(const TableCursor& cursor, RecordSource source, int position) {
    m_fields.clear();
    m_splits.clear();
    m_hasSplitList = false;
    m_pendingModification = false;
    m_partnerCleared = 0;
    m_partnerText.clear();
    m_partnerKey.clear();
    for (const PropertyValue& v : cursor.values()) {
        Field f;
        f.type = v.type();
        if (f.type == CEVT_I4)
            f.number = v.i4Value();
        else if (f.type == CEVT_FILETIME)
            f.wide = v.dateValue();
        else if (f.type == CEVT_LPWSTR)
            f.text = v.text();
        else
            continue;
        m_fields[v.number()] = std::move(f);
    }
    m_source = source;
    m_position = position;
    m_loadedGeneration = cursor.changeGeneration();
}

}  // namespace dove
