// Reading of string-table files: one string a line as "ID<TAB>text", comment lines starting with "#",
// blank lines ignored. The text is UTF-8 with the escapes \t \n \r \\ \" and \uXXXX.
#pragma once

#include <cstdint>
#include <istream>
#include <map>
#include <string>

#include "Diagnostics.h"

namespace rc {

struct StringDefinition {
    std::u16string text;
    std::string file;
    int line = 0;
};

using StringTable = std::map<uint16_t, StringDefinition>;

// Adds the strings of the file to table. Every bad line (missing tab, bad id, bad escape, malformed
// UTF-8, empty text, an id defined before in this or an earlier file) is reported and skipped.
// fileName is the name used in messages.
void readStringTableFile(const std::string& path, const std::string& fileName, StringTable* table,
                         Diagnostics& diagnostics);
// The same for the text of a string-table file.
void readStringTable(std::istream& in, const std::string& fileName, StringTable* table,
                     Diagnostics& diagnostics);

}  // namespace rc
