// Printing of rc's error messages.
#include "Diagnostics.h"

#include <iostream>

namespace rc {

void Diagnostics::error(const std::string& file, int line, const std::string& reason) {
    ++m_errors;
    std::cerr << file;
    if (line > 0) std::cerr << ':' << line;
    std::cerr << ": error: " << reason << '\n';
}

}  // namespace rc
