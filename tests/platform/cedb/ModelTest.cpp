// Thousands of random writes, deletes, moves and seeks, each checked against an in-memory model of the
// database and of two handles (one by name ascending, one by number descending).
#include <algorithm>
#include <optional>
#include <random>

#include "CedbTestSupport.h"

using namespace cedbtest;

namespace {

struct ModelRecord {
    CEOID oid;
    std::optional<std::u16string> name;
    std::optional<LONG> number;
};

// A handle of the model: its order and current record.
struct ModelHandle {
    bool byName;
    HANDLE handle;
    CEOID current = 0;
};

class Model : public CedbTest {
  protected:
    void SetUp() override {
        ASSERT_NE(createDb(u"Model", {{kName, 0}, {kNumber, CEDB_SORT_DESCENDING}}), 0u);
        m_handles[0] = ModelHandle{true, openDb(u"Model", kName)};
        m_handles[1] = ModelHandle{false, openDb(u"Model", kNumber)};
    }
    void TearDown() override {
        for (ModelHandle& h : m_handles)
            CloseHandle(h.handle);
        CedbTest::TearDown();
    }

    // <0, 0, >0: a is before, tied with, after b in the handle's order, ignoring creation order.
    static int compare(const ModelHandle& h, const ModelRecord& a, const ModelRecord& b) {
        bool pa = h.byName ? a.name.has_value() : a.number.has_value();
        bool pb = h.byName ? b.name.has_value() : b.number.has_value();
        if (pa != pb) return pa ? -1 : 1;
        if (!pa) return 0;
        if (h.byName) return a.name->compare(*b.name);
        return *a.number > *b.number ? -1 : (*a.number < *b.number ? 1 : 0);
    }
    std::vector<ModelRecord> order(const ModelHandle& h) const {
        std::vector<ModelRecord> sorted = m_records;
        std::stable_sort(sorted.begin(), sorted.end(),
                         [&](const ModelRecord& a, const ModelRecord& b) { return compare(h, a, b) < 0; });
        return sorted;
    }
    int positionOf(const std::vector<ModelRecord>& sorted, CEOID oid) const {
        for (size_t i = 0; i < sorted.size(); ++i) {
            if (sorted[i].oid == oid) return static_cast<int>(i);
        }
        return -1;
    }
    ModelRecord randomRecord(CEOID oid) {
        static const char16_t* kNames[] = {u"", u"a", u"ab", u"B", u"b", u"Я", u"ä", u"z"};
        ModelRecord r{oid, std::nullopt, std::nullopt};
        if (m_random() % 5 != 0) r.name = kNames[m_random() % 8];
        if (m_random() % 5 != 0) r.number = static_cast<LONG>(m_random() % 7) - 3;
        return r;
    }
    std::vector<CEPROPVAL> propsOf(const ModelRecord& r) {
        std::vector<CEPROPVAL> props;
        props.push_back(r.name ? text(kName, r.name->c_str()) : removal(kName));
        props.push_back(r.number ? i4(kNumber, *r.number) : removal(kNumber));
        return props;
    }

    void write();
    void remove();
    void seek(ModelHandle& h);
    void valueSeek(ModelHandle& h);
    void check(ModelHandle& h);

    std::mt19937 m_random{20261207};
    std::vector<ModelRecord> m_records;
    ModelHandle m_handles[2];
};

void Model::write() {
    bool adding = m_records.empty() || m_random() % 3 != 0;
    size_t which = adding ? 0 : m_random() % m_records.size();
    ModelRecord r = randomRecord(adding ? 0 : m_records[which].oid);
    std::vector<CEPROPVAL> props = propsOf(r);
    if (adding && !r.name && !r.number) props = {i4(kDate, 1)};
    CEOID oid = CeWriteRecordProps(m_handles[m_random() % 2].handle, r.oid, static_cast<WORD>(props.size()),
                                   props.data());
    ASSERT_NE(oid, 0u);
    if (adding) {
        r.oid = oid;
        m_records.push_back(r);
    } else {
        ASSERT_EQ(oid, r.oid);
        m_records[which] = r;
    }
}

void Model::remove() {
    if (m_records.empty()) return;
    size_t which = m_random() % m_records.size();
    ModelHandle& h = m_handles[m_random() % 2];
    ASSERT_TRUE(CeDeleteRecord(h.handle, m_records[which].oid));
    if (h.current == m_records[which].oid) h.current = 0;
    m_records.erase(m_records.begin() + static_cast<ptrdiff_t>(which));
}

void Model::seek(ModelHandle& h) {
    std::vector<ModelRecord> sorted = order(h);
    int n = static_cast<int>(sorted.size());
    int current = positionOf(sorted, h.current);
    DWORD kind =
        m_random() % 2 == 0 ? CEDB_SEEK_BEGINNING : (m_random() % 2 == 0 ? CEDB_SEEK_CURRENT : CEDB_SEEK_END);
    int value = kind == CEDB_SEEK_BEGINNING
                    ? static_cast<int>(m_random() % (n + 2))
                    : static_cast<int>(m_random() % 7) - (kind == CEDB_SEEK_END ? 5 : 3);
    int target = kind == CEDB_SEEK_BEGINNING ? value
                 : kind == CEDB_SEEK_END     ? (value <= 0 ? n - 1 + value : n)
                                             : (current >= 0 ? current + value : -1);
    bool found = target >= 0 && target < n;
    DWORD index = 0;
    CEOID got = CeSeekDatabase(h.handle, kind, static_cast<DWORD>(value), &index);
    h.current = found ? sorted[static_cast<size_t>(target)].oid : 0;
    ASSERT_EQ(got, h.current) << "kind " << kind << " value " << value << " from " << current;
    if (found) {
        ASSERT_EQ(index, static_cast<DWORD>(target));
    }
}

void Model::valueSeek(ModelHandle& h) {
    std::vector<ModelRecord> sorted = order(h);
    int n = static_cast<int>(sorted.size());
    int current = positionOf(sorted, h.current);
    ModelRecord probe = randomRecord(0);
    if (!probe.name) probe.name = u"b";
    if (!probe.number) probe.number = 0;
    const DWORD kinds[] = {CEDB_SEEK_VALUEFIRSTEQUAL, CEDB_SEEK_VALUEGREATER, CEDB_SEEK_VALUESMALLER};
    DWORD kind = kinds[m_random() % 3];
    auto matches = [&](int i) {
        const ModelRecord& r = sorted[static_cast<size_t>(i)];
        if (h.byName ? !r.name : !r.number) return false;
        int c = compare(h, r, probe);
        return kind == CEDB_SEEK_VALUEFIRSTEQUAL ? c == 0 : (kind == CEDB_SEEK_VALUEGREATER ? c > 0 : c < 0);
    };
    int target = -1;
    if (kind == CEDB_SEEK_VALUESMALLER) {
        for (int i = current >= 0 ? current : n - 1; i >= 0 && target < 0; --i)
            target = matches(i) ? i : -1;
    } else {
        int from = kind == CEDB_SEEK_VALUEGREATER && current >= 0 ? current : 0;
        for (int i = from; i < n && target < 0; ++i)
            target = matches(i) ? i : -1;
    }
    CEPROPVAL value = h.byName ? text(kName, probe.name->c_str()) : i4(kNumber, *probe.number);
    DWORD index = 0;
    CEOID got = CeSeekDatabase(h.handle, kind, reinterpret_cast<DWORD_PTR>(&value), &index);
    h.current = target >= 0 ? sorted[static_cast<size_t>(target)].oid : 0;
    ASSERT_EQ(got, h.current) << "value seek " << kind << " from " << current;
    if (target >= 0) {
        ASSERT_EQ(index, static_cast<DWORD>(target));
    }
}

void Model::check(ModelHandle& h) {
    std::vector<ModelRecord> sorted = order(h);
    int current = positionOf(sorted, h.current);
    Record r = readCurrent(h.handle);
    if (current < 0) {
        ASSERT_EQ(r.oid, 0u);
        h.current = 0;
        return;
    }
    const ModelRecord& m = sorted[static_cast<size_t>(current)];
    ASSERT_EQ(r.oid, m.oid);
    ASSERT_EQ(r.get(kName), m.name ? *m.name : u"<none>");
    ASSERT_EQ(r.get(kNumber), m.number ? (*m.number < 0 ? u"-" + numberText(static_cast<uint64_t>(-*m.number))
                                                        : numberText(static_cast<uint64_t>(*m.number)))
                                       : u"<none>");
}

TEST_F(Model, RandomOperationsMatchTheModel) {
    std::vector<ModelRecord> snapshot;
    bool inBracket = false;
    for (int step = 0; step < 4000; ++step) {
        ModelHandle& h = m_handles[m_random() % 2];
        switch (m_random() % 10) {
            case 0:
            case 1:
            case 2:
                ASSERT_NO_FATAL_FAILURE(write());
                break;
            case 3:
                ASSERT_NO_FATAL_FAILURE(remove());
                break;
            case 4:
            case 5:
                ASSERT_NO_FATAL_FAILURE(valueSeek(h));
                break;
            case 6:
                if (!inBracket) {
                    ASSERT_TRUE(platform::cedbBeginTransaction());
                    snapshot = m_records;
                } else if (m_random() % 2 == 0) {
                    ASSERT_TRUE(platform::cedbCommitTransaction());
                } else {
                    ASSERT_TRUE(platform::cedbRollbackTransaction());
                    m_records = snapshot;
                }
                inBracket = !inBracket;
                break;
            default:
                ASSERT_NO_FATAL_FAILURE(seek(h));
        }
        ASSERT_NO_FATAL_FAILURE(check(h)) << "step " << step;
    }
    if (inBracket) platform::cedbCommitTransaction();
    ASSERT_GT(m_records.size(), 100u);
    for (ModelHandle& h : m_handles) {
        std::vector<std::u16string> expected;
        for (const ModelRecord& r : order(h))
            expected.push_back(r.name ? *r.name : u"<none>");
        EXPECT_EQ(walk(h.handle, kName), expected);
    }
}

}  // namespace
