// The settings page's format choice: choosing by type, following the typed text, picking from the menu.
#include "FormatChoices.h"

namespace shell {

void FormatChoices::reset(std::vector<AbcChoice> choices, int type) {
    m_choices = std::move(choices);
    if (personalIndex() < 0) m_choices.insert(m_choices.begin(), AbcChoice{kAbcPersonal, {}, {}});
    m_chosen = personalIndex();
    for (size_t i = 0; i < m_choices.size(); ++i)
        if (m_choices[i].type == type) m_chosen = static_cast<int>(i);
}

int FormatChoices::personalIndex() const {
    for (size_t i = 0; i < m_choices.size(); ++i)
        if (m_choices[i].type == kAbcPersonal) return static_cast<int>(i);
    return -1;
}

void FormatChoices::typed(const std::u16string& text) {
    if (personalChosen()) {
        m_choices[static_cast<size_t>(m_chosen)].text = text;
        return;
    }
    if (chosenChoice().text == text) return;
    m_chosen = personalIndex();
    for (size_t i = 0; i < m_choices.size(); ++i) {
        if (m_choices[i].type != kAbcPersonal && m_choices[i].text == text) {
            m_chosen = static_cast<int>(i);
            return;
        }
    }
    m_choices[static_cast<size_t>(m_chosen)].text = text;
}

const std::u16string& FormatChoices::choose(int index, const std::u16string& editText) {
    if (index >= 0 && index < static_cast<int>(m_choices.size()) && index != m_chosen) {
        if (personalChosen()) m_choices[static_cast<size_t>(m_chosen)].text = editText;
        m_chosen = index;
    }
    return chosenChoice().text;
}

}  // namespace shell
