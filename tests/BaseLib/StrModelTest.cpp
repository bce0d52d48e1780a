// Random runs of Str operations over a set of values that share buffers, compared with std::u16string
// models after every step: no change may leak into a copy, and every buffer's reference count must
// equal the number of values pointing at it.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "Str.h"
#include "platform/windows.h"

namespace {

constexpr size_t kSlots = 8;
constexpr int kSteps = 20000;
const std::u16string kAlphabet = u"ab xyЖж\t";

struct Model {
    std::vector<Str> values = std::vector<Str>(kSlots);
    std::vector<std::u16string> texts = std::vector<std::u16string>(kSlots);
};

std::u16string randomText(std::mt19937& rng, int maxLength) {
    std::u16string text(std::uniform_int_distribution<size_t>(0, static_cast<size_t>(maxLength))(rng), u' ');
    for (char16_t& c : text)
        c = kAlphabet[std::uniform_int_distribution<size_t>(0, kAlphabet.size() - 1)(rng)];
    return text;
}

std::u16string upperOf(std::u16string text) {
    CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

std::u16string trimmedRight(const std::u16string& text, const std::u16string& set) {
    size_t end = text.find_last_not_of(set);
    return end == std::u16string::npos ? u"" : text.substr(0, end + 1);
}

std::u16string trimmedLeft(const std::u16string& text, const std::u16string& set) {
    size_t start = text.find_first_not_of(set);
    return start == std::u16string::npos ? u"" : text.substr(start);
}

// One random step on slot i (and sometimes slot j), applied to both the Str and its model.
void step(Model& m, std::mt19937& rng, size_t i, size_t j) {
    Str& s = m.values[i];
    std::u16string& t = m.texts[i];
    int a = std::uniform_int_distribution<int>(-3, 40)(rng);
    int b = std::uniform_int_distribution<int>(-3, 40)(rng);
    std::u16string extra = randomText(rng, 30);
    int length = static_cast<int>(t.size());
    auto from = [&](int v) { return static_cast<size_t>(std::clamp(v, 0, length)); };
    switch (std::uniform_int_distribution<int>(0, 11)(rng)) {
        case 0:
            s = m.values[j], t = m.texts[j];
            break;
        case 1:
            s.append(extra.c_str()), t += extra;
            break;
        case 2:
            s += m.values[j], t += m.texts[j];
            break;
        case 3:
            s.upper(), t = upperOf(t);
            break;
        case 4:
            s.reverse(), std::reverse(t.begin(), t.end());
            break;
        case 5:
            s.trimRight(u"x "), t = trimmedRight(t, u"x ");
            break;
        case 6:
            s.trimLeft(), t = trimmedLeft(t, u" \t");
            break;
        case 7:
            s = s.mid(a, b), t = a >= length ? u"" : t.substr(from(a), from(b));
            break;
        case 8:
            s = s.left(a), t = t.substr(0, from(a));
            break;
        case 9:
            s = s.right(a), t = t.substr(t.size() - from(a));
            break;
        case 10:
            s = m.values[j] + extra.c_str(), t = m.texts[j] + extra;
            break;
        case 11:
            s.format(u"%s|%d", m.values[j].c_str(), a), t = m.texts[j] + u"|" + Str::number(a).c_str();
    }
}

void expectConsistent(const Model& m, int stepNumber) {
    std::map<const WCHAR*, int> sharing;
    for (const Str& s : m.values)
        ++sharing[s.c_str()];
    for (size_t k = 0; k < kSlots; ++k) {
        const Str& s = m.values[k];
        ASSERT_EQ(std::u16string(s.c_str(), static_cast<size_t>(s.length())), m.texts[k]) << stepNumber;
        ASSERT_EQ(s[s.length()], u'\0');
        StrHeader h = inspectStr(s);
        if (s.isEmpty()) {
            ASSERT_EQ(h.referenceCount, 100);
            continue;
        }
        ASSERT_EQ(h.referenceCount, sharing[s.c_str()]) << stepNumber;
        ASSERT_GE(h.capacity, (h.length + 7) * 2);
    }
}

TEST(StrModel, RandomOperationsOnSharedValuesMatchTheirModels) {
    std::mt19937 rng(20261207);
    Model m;
    for (int n = 0; n < kSteps; ++n) {
        size_t i = rng() % kSlots;
        step(m, rng, i, rng() % kSlots);
        expectConsistent(m, n);
    }
}

}  // namespace
