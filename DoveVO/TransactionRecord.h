// The in-memory transaction record: the layout shared by the Transactions, Scheduled and Planner tables,
// with one set flag per field so that a save writes only what changed, the other side's cleared flag and
// text of a transfer, and the split list of a split owner.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "Amount.h"
#include "DateTime.h"
#include "Identifiers.h"
#include "PropertyValue.h"

namespace dove {

// Transaction property numbers.
namespace tx {
inline constexpr PropertyNumber kIdentifier = 101;
inline constexpr PropertyNumber kProjectKey = 102;
inline constexpr PropertyNumber kOccurrenceKey = 103;
inline constexpr PropertyNumber kAccount = 104;
inline constexpr PropertyNumber kScheduledDate = 105;
inline constexpr PropertyNumber kUnpaidFlag = 106;
inline constexpr PropertyNumber kPaidAmount = 107;
inline constexpr PropertyNumber kDate = 108;
inline constexpr PropertyNumber kSideText = 109;
inline constexpr PropertyNumber kPayeeName = 110;
inline constexpr PropertyNumber kAmount = 112;
inline constexpr PropertyNumber kRunningBalance = 113;
inline constexpr PropertyNumber kText114 = 114;
inline constexpr PropertyNumber kText115 = 115;
inline constexpr PropertyNumber kLink = 116;
inline constexpr PropertyNumber kCleared = 117;
inline constexpr PropertyNumber kEnteredAmount = 121;
inline constexpr PropertyNumber kEnteredCurrency = 122;
inline constexpr PropertyNumber kKind = 125;
inline constexpr PropertyNumber kModifiedStamp = 128;
inline constexpr PropertyNumber kModifiedFlag = 129;
inline constexpr PropertyNumber kExcluded = 132;
inline constexpr PropertyNumber kSequence = 134;
inline constexpr PropertyNumber kKey = 135;
inline constexpr PropertyNumber kSecondPayeeName = 136;
inline constexpr PropertyNumber kText138 = 138;
inline constexpr PropertyNumber kSecurity = 139;
inline constexpr PropertyNumber kUnitsChange = 140;
inline constexpr PropertyNumber kRate = 142;
inline constexpr PropertyNumber kProject = 201;
inline constexpr PropertyNumber kScheduleNumber = 251;
inline constexpr PropertyNumber kNextOccurrence = 253;  // Planner: the item's date as shown and edited
inline constexpr PropertyNumber kCurrency = 301;
inline constexpr PropertyNumber kCategory = 401;
inline constexpr PropertyNumber kPayee = 1001;
// Reserved account numbers that real accounts never have.
inline constexpr int32_t kDeletedOccurrencesAccount = 2000000000;
inline constexpr int32_t kPasswordAccount = 2000000001;
}  // namespace tx

enum class RecordSource : int { Transactions = 0, Scheduled = 1, Planner = 2 };

class TransactionRecord {
  public:
    explicit TransactionRecord(RecordSource source = RecordSource::Transactions) : m_source(source) {}

    RecordSource source() const { return m_source; }
    // Index in the source table when loaded; kNewRecord for a record not yet stored.
    int position() const { return m_position; }
    bool isStored() const { return m_position != -2; }
    uint32_t loadedGeneration() const { return m_loadedGeneration; }

    // Generic field access; a missing field reads as 0 or empty.
    int32_t i4(PropertyNumber number) const;
    uint64_t value64(PropertyNumber number) const;
    std::u16string text(PropertyNumber number) const;
    bool has(PropertyNumber number) const { return m_fields.count(number) != 0; }
    // Each setter sets the field and its set flag; given the value the field already holds with its flag
    // on, it changes nothing.
    void setI4(PropertyNumber number, int32_t value);
    void set64(PropertyNumber number, uint64_t value);
    void setText(PropertyNumber number, const std::u16string& value);
    // Set only when the field is missing or holds another value (so an unchanged field stays unwritten).
    void changeI4(PropertyNumber number, int32_t value) {
        if (!has(number) || i4(number) != value) setI4(number, value);
    }
    void change64(PropertyNumber number, uint64_t value) {
        if (!has(number) || value64(number) != value) set64(number, value);
    }
    void changeText(PropertyNumber number, const std::u16string& value) {
        if (text(number) != value) setText(number, value);
    }
    bool isSet(PropertyNumber number) const;
    void clearSetFlag(PropertyNumber number);
    bool anythingSet() const;
    // Marks every field holding a non-zero value or non-empty text as set (a new record writes all).
    void markAllNonEmptySet();
    // The values of the set fields, for the field writer.
    std::vector<PropertyValue> setValues() const;

    // Named fields.
    int32_t account() const { return i4(tx::kAccount); }
    void setAccount(int32_t v) { setI4(tx::kAccount, v); }
    int32_t category() const { return i4(tx::kCategory); }
    void setCategory(int32_t v) { setI4(tx::kCategory, v); }
    int32_t project() const { return i4(tx::kProject); }
    void setProject(int32_t v) { setI4(tx::kProject, v); }
    int32_t payee() const { return i4(tx::kPayee); }
    void setPayee(int32_t v) { setI4(tx::kPayee, v); }
    std::u16string payeeName() const { return text(tx::kPayeeName); }
    void setPayeeName(const std::u16string& v) { setText(tx::kPayeeName, v); }
    Date date() const { return value64(tx::kDate); }
    void setDate(Date v) { set64(tx::kDate, v); }
    Amount amount() const { return static_cast<Amount>(value64(tx::kAmount)); }
    void setAmount(Amount v) { set64(tx::kAmount, static_cast<uint64_t>(v)); }
    std::u16string currency() const { return text(tx::kCurrency); }
    void setCurrency(const std::u16string& v) { setText(tx::kCurrency, v); }
    Amount enteredAmount() const { return static_cast<Amount>(value64(tx::kEnteredAmount)); }
    void setEnteredAmount(Amount v, const std::u16string& code);
    // Clears the entered amount, its currency and the rate (121, 122, 142) when any of them holds a
    // value: the record's amount is then in its own currency only.
    void clearEnteredAmount();
    int32_t cleared() const { return i4(tx::kCleared); }
    void setCleared(int32_t v) { setI4(tx::kCleared, v); }
    int32_t kind() const { return i4(tx::kKind); }
    void setKind(int32_t v) { setI4(tx::kKind, v); }
    int32_t sequence() const { return i4(tx::kSequence); }
    void setSequence(int32_t v) { setI4(tx::kSequence, v); }
    std::u16string identifier() const { return text(tx::kIdentifier); }
    std::u16string link() const { return text(tx::kLink); }
    std::u16string key() const { return text(tx::kKey); }
    Amount runningBalance() const { return static_cast<Amount>(value64(tx::kRunningBalance)); }
    bool isTransfer() const { return category() < 0; }

    // The other side of a transfer, read at loading.
    int32_t partnerCleared() const { return m_partnerCleared; }
    void setPartnerCleared(int32_t v) { m_partnerCleared = v; }
    const std::u16string& partnerText() const { return m_partnerText; }
    void setPartnerText(const std::u16string& v) { m_partnerText = v; }
    // The other side's key (135), read with the other side of a transfer split line.
    const std::u16string& partnerKey() const { return m_partnerKey; }
    void setPartnerKey(const std::u16string& v) { m_partnerKey = v; }

    // Only the modification flag and stamp are to be written by the next save.
    void setPendingModificationFlag(bool v) { m_pendingModification = v; }
    bool pendingModificationFlag() const { return m_pendingModification; }

    // Split lines of a split owner. Giving a non-empty list makes the record kind 1 (own category and
    // project 0); an empty one kind 0; a kind-4 record keeps its kind.
    const std::vector<TransactionRecord>& splits() const { return m_splits; }
    std::vector<TransactionRecord>& splits() { return m_splits; }
    void setSplits(std::vector<TransactionRecord> lines);
    // The split list was given or loaded (the save then brings the stored lines in line with it).
    bool hasSplitList() const { return m_hasSplitList; }
    void dropSplitList();

    // Loading fills the fields from the cursor's current record and clears every set flag.
    void assignFromCursor(const class TableCursor& cursor, RecordSource source, int position);
    void forgetPosition() { m_position = -2; }
    void assignPosition(int position) { m_position = position; }
    // After a successful write: the record stands at position and nothing is set any more.
    void markSaved(int position, uint32_t generation);
    // Takes the stored split lines as the split list without changing the kind or any set flag.
    void adoptSplits(std::vector<TransactionRecord> lines);

  private:
    struct Field {
        WORD type = 0;
        int32_t number = 0;
        uint64_t wide = 0;
        std::u16string text;
        bool set = false;
    };
    Field& field(PropertyNumber number, WORD type);

    RecordSource m_source;
    int m_position = -2;
    uint32_t m_loadedGeneration = 0;
    std::map<PropertyNumber, Field> m_fields;
    int32_t m_partnerCleared = 0;
    std::u16string m_partnerText;
    std::u16string m_partnerKey;
    bool m_pendingModification = false;
    std::vector<TransactionRecord> m_splits;
    bool m_hasSplitList = false;
};

}  // namespace dove
