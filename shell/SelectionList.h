// SelectionList: one of the entry page's four selection lists (accounts, categories, projects,
// payees): a finger list of the records read from the store, narrowed by the letters typed on the
// keypad or the device, with a caption that counts the shown entries and marks each typed entry.
#pragma once

#include <vector>

#include "FingerList.h"
#include "ListRecords.h"
#include "Panel.h"
#include "TypedFilter.h"

namespace shell {

enum class ListKind : int { Accounts, Categories, Projects, Payees };

class SelectionList : public Panel {
  public:
    // abc gives the letters of the keypad's keys; it must outlive the list.
    SelectionList(ListKind kind, const AbcSettings& abc);

    // Creates the finger list hidden in parent at the origin; its title (string 5, 6, 7 or 2) and the
    // category type tags come from resources. Nothing is read from the store yet. False when a
    // window cannot be created.
    bool create(HWND parent, HINSTANCE resources);
    // Reads the records when none are loaded and shows them (see refilter()).
    void fill() { refilter(); }
    // Shows the loaded records (reading them first when none are) that match the typed filter, in
    // their order. While the filter is not empty the current entry's id is remembered first; the
    // remembered entry is made current again, or the first entry when it is not shown. The caption
    // becomes "TITLE (N) " followed by one "*" per typed entry.
    void refilter();
    // Remembers id as the entry to make current and shows it when it is shown (the first entry
    // otherwise).
    void selectId(int32_t id);
    // Puts the list's scroll bar on the left for left-handed use.
    void setLeftHanded(bool leftHanded) { m_list.setScrollBarOnLeft(leftHanded); }

    ListKind kind() const { return m_kind; }
    const TypedFilter& typedFilter() const { return m_filter; }
    FingerList& control() { return m_list; }
    // How many times the records were read from the store.
    int loads() const { return m_loads; }
    bool loaded() const { return m_loaded; }

    HWND window() const override { return m_list.window(); }
    // The account list has no "new" button: the confirm strip; the others the confirm-or-create strip.
    Strip strip() const override;
    // Shown: the typed filter is cleared and the list refiltered; the list view takes the focus.
    void setShown(bool shown) override;
    // Remembers the draft's entry of this kind (0 for none).
    void loadFrom(const EntryDraft& draft) override;
    // The current entry into the draft; false when there is none.
    bool takeInto(EntryDraft& draft) override;
    // 0-9: the key's letters are appended to the typed filter when the key has any and the list
    // takes more (see below); 10 removes the last typed entry, 11 clears them, 12 is ignored.
    // Appending is ignored by the account list while it shows no entry and by the others while they
    // show exactly one. Every change refilters.
    void keypadKey(WPARAM code) override;
    // Backspace (8) and form feed (12) as keys 10 and 11; a letter is appended alone, in lower case,
    // under the same rule as a key's letters; other characters are ignored.
    void typedCharacter(WCHAR character) override;
    KeyLabels keypadLabels() const override { return m_abc.keyLabels(); }
    // Forgets the loaded records; the next refilter reads them again.
    void discardRecords() override;

  private:
    void loadRecords();
    // The counting rule for appending a typed entry.
    bool takesMoreLetters() const;
    void append(std::u16string_view letters);
    void updateCaption();

    ListKind m_kind;
    const AbcSettings& m_abc;
    FingerList m_list;
    std::u16string m_title;
    TypeTags m_tags;
    std::vector<ListRecord> m_records;
    bool m_loaded = false;
    int m_loads = 0;
    int32_t m_rememberedId = 0;
    TypedFilter m_filter;
};

}  // namespace shell
