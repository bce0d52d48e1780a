// Error reporting of rc: every problem is printed as "file:line: error: reason" and counted, so that
// one run reports all problems of the inputs and then fails.
#pragma once

#include <string>

namespace rc {

class Diagnostics {
  public:
    // Reports a problem at a line of a file (line 0: the file as a whole).
    void error(const std::string& file, int line, const std::string& reason);
    bool failed() const { return m_errors > 0; }
    int errorCount() const { return m_errors; }

  private:
    int m_errors = 0;
};

}  // namespace rc
