// Small text helpers of the data code.
#pragma once

#include <string>

namespace dove {

// The text without spaces and tabs at both ends.
std::u16string trimmed(const std::u16string& text);

}  // namespace dove
