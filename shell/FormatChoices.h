// FormatChoices: what the settings page offers and has chosen of the alphabet-key formats: the five
// types' names and texts, the chosen one, and how typing in the format text and picking a name from
// the menu change the choice. Windows play no part; the page shows what this holds.
#pragma once

#include <string>
#include <vector>

#include "AbcSettings.h"

namespace shell {

class FormatChoices {
  public:
    // Takes the formats (abcChoices(): the personal one first) and chooses the one of that type, the
    // personal one when none has it.
    void reset(std::vector<AbcChoice> choices, int type);

    const std::vector<AbcChoice>& choices() const { return m_choices; }
    int chosen() const { return m_chosen; }
    const AbcChoice& chosenChoice() const { return m_choices[static_cast<size_t>(m_chosen)]; }
    bool personalChosen() const { return chosenChoice().type == kAbcPersonal; }

    // The format text was edited to text. With the personal format chosen its text becomes text and
    // it stays chosen (even when text equals a built-in format). With a built-in format chosen and text
    // no longer its own, the built-in format whose text is text is chosen, or else the personal
    // format, whose text becomes text.
    void typed(const std::u16string& text);
    // The menu's item index was picked while the edit showed editText. Picking another one than the
    // chosen one first keeps editText as the personal text when the personal format was chosen, then
    // chooses index. Returns the chosen format's text, which the edit is to show.
    const std::u16string& choose(int index, const std::u16string& editText);

  private:
    int personalIndex() const;

    std::vector<AbcChoice> m_choices{AbcChoice{kAbcPersonal, {}, {}}};
    int m_chosen = 0;
};

}  // namespace shell
