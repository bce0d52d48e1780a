// The edit control's text model against a plain std::u16string model over thousands of random
// edits, plus the selection and surrogate-pair rules the random walk rarely reaches.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "../../../platform/user/EditText.h"

using platform::user::EditText;

namespace {

// The reference: text, anchor and caret, with every operation written the obvious way.
struct Reference {
    std::u16string text;
    int anchor = 0;
    int caret = 0;
    size_t limit = 12;

    int start() const { return std::min(anchor, caret); }
    int end() const { return std::max(anchor, caret); }
    void replace(const std::u16string& insert) {
        std::u16string rest = text.substr(0, start()) + text.substr(end());
        size_t room = limit > rest.size() ? limit - rest.size() : 0;
        std::u16string part = insert.substr(0, std::min(room, insert.size()));
        text = text.substr(0, start()) + part + text.substr(end());
        anchor = caret = start() + static_cast<int>(part.size());
    }
    void removeRange(int from, int to) {
        text.erase(static_cast<size_t>(from), static_cast<size_t>(to - from));
        anchor = caret = from;
    }
};

std::u16string randomInsert(std::mt19937& random) {
    static const std::u16string alphabet = u"abcXYZ 09,.абвЖЯё";
    std::u16string insert;
    int length = static_cast<int>(random() % 4);
    for (int i = 0; i < length; ++i)
        insert += alphabet[random() % alphabet.size()];
    return insert;
}

void step(std::mt19937& random, EditText& model, Reference& ref) {
    int length = static_cast<int>(ref.text.size());
    switch (random() % 6) {
        case 0: {
            std::u16string insert = randomInsert(random);
            bool changed = false;
            model.replaceSelection(insert, changed);
            ref.replace(insert);
            break;
        }
        case 1: {
            int a = static_cast<int>(random() % (length + 1));
            int c = static_cast<int>(random() % (length + 1));
            model.select(a, c);
            ref.anchor = a;
            ref.caret = c;
            break;
        }
        case 2: {
            bool removed = model.deleteBackward();
            EXPECT_EQ(removed, ref.start() != ref.end() || ref.caret > 0);
            if (ref.start() != ref.end())
                ref.removeRange(ref.start(), ref.end());
            else if (ref.caret > 0)
                ref.removeRange(ref.caret - 1, ref.caret);
            break;
        }
        case 3: {
            bool removed = model.deleteForward();
            EXPECT_EQ(removed, ref.start() != ref.end() || ref.caret < length);
            if (ref.start() != ref.end())
                ref.removeRange(ref.start(), ref.end());
            else if (ref.caret < length)
                ref.removeRange(ref.caret, ref.caret + 1);
            break;
        }
        case 4: {
            int to = static_cast<int>(random() % (length + 1));
            bool extend = random() % 2;
            model.moveCaret(to, extend);
            ref.caret = to;
            if (!extend) ref.anchor = to;
            break;
        }
        default: {
            int by = random() % 2 ? 1 : -1;
            int to = by > 0 ? model.next(model.caret()) : model.previous(model.caret());
            model.moveCaret(to, false);
            ref.caret = ref.anchor = std::clamp(ref.caret + by, 0, length);
            break;
        }
    }
}

TEST(EditText, MatchesAStringModelOverRandomEdits) {
    for (unsigned seed = 1; seed <= 20; ++seed) {
        std::mt19937 random(seed);
        EditText model;
        model.setLimit(12);
        Reference ref;
        for (int i = 0; i < 500; ++i) {
            step(random, model, ref);
            ASSERT_EQ(model.text(), ref.text) << "seed " << seed << " step " << i;
            ASSERT_EQ(model.anchor(), ref.anchor) << "seed " << seed << " step " << i;
            ASSERT_EQ(model.caret(), ref.caret) << "seed " << seed << " step " << i;
            ASSERT_LE(model.text().size(), 12u);
        }
    }
}

TEST(EditText, SelectionIsClampedAndNegativeMeansTheEnd) {
    EditText model;
    model.setText(u"Сумма 100");
    model.select(3, 100);
    EXPECT_EQ(model.selectionStart(), 3);
    EXPECT_EQ(model.selectionEnd(), 9);
    model.select(7, 2);
    EXPECT_EQ(model.caret(), 2);
    EXPECT_EQ(model.selectionStart(), 2);
    EXPECT_EQ(model.selectionEnd(), 7);
    model.select(0, -1);
    EXPECT_EQ(model.selectionEnd(), 9);
    bool changed = false;
    EXPECT_EQ(model.replaceSelection(u"", changed), 0u);
    EXPECT_TRUE(changed) << "deleting a selection is a change";
    EXPECT_EQ(model.replaceSelection(u"", changed), 0u);
    EXPECT_FALSE(changed);
}

TEST(EditText, LimitKeepsLongerTextButStopsInsertions) {
    EditText model;
    model.setText(u"abcdef");
    model.setLimit(4);
    EXPECT_EQ(model.text(), u"abcdef") << "text already longer is kept";
    model.moveCaret(6, false);
    bool changed = true;
    EXPECT_EQ(model.replaceSelection(u"g", changed), 0u);
    EXPECT_FALSE(changed);
    model.select(0, 4);
    EXPECT_EQ(model.replaceSelection(u"xyz", changed), 2u) << "2 kept after deleting 4 of 6: room for 2";
    EXPECT_EQ(model.text(), u"xyef");
    EXPECT_EQ(model.replaceSelection(u"12345", changed), 0u);
    EXPECT_EQ(model.text(), u"xyef");
    model.setLimit(0);
    EXPECT_EQ(model.limit(), EditText::kMaxLimit);
}

TEST(EditText, SurrogatePairsMoveAndDeleteAsOneCharacter) {
    EditText model;
    model.setText(u"a\U0001F600b");
    EXPECT_EQ(model.next(1), 3);
    EXPECT_EQ(model.previous(3), 1);
    model.select(2, 2);
    EXPECT_EQ(model.caret(), 1) << "never inside a pair";
    model.moveCaret(3, false);
    EXPECT_TRUE(model.deleteBackward());
    EXPECT_EQ(model.text(), u"ab");
    model.setLimit(3);
    bool changed = false;
    EXPECT_EQ(model.replaceSelection(u"\U0001F600", changed), 0u) << "half a pair is never inserted";
}

TEST(EditText, WordsAreRunsOfLettersOrOfOtherCharacters) {
    EditText model;
    model.setText(u"пять, five");
    EXPECT_EQ(model.wordStart(2), 0);
    EXPECT_EQ(model.wordEnd(2), 4);
    EXPECT_EQ(model.wordStart(4), 4);
    EXPECT_EQ(model.wordEnd(4), 5);
    EXPECT_EQ(model.wordStart(8), 6);
    EXPECT_EQ(model.wordEnd(8), 10);
}

}  // namespace
