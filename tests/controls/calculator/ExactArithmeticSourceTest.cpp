// The calculator's sources hold no binary floating point: every file of the calculator, its decimal
// type and its digit strings is read, comments and string literals are left out, and no
// floating-point type, literal or conversion may remain; each source file also poisons the
// floating-point types, so that the compiler refuses any later use.

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const char kPoison[] = "#pragma GCC poison float double";

fs::path controlsFolder() {
    return fs::path(VARKEL_SOURCE_ROOT) / "controls";
}

std::vector<fs::path> calculatorSources() {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(controlsFolder())) {
        std::string name = entry.path().filename().string();
        bool ours = name.rfind("Calculator", 0) == 0 || name.rfind("CalcDecimal", 0) == 0 ||
                    name.rfind("DigitString", 0) == 0;
        if (ours) files.push_back(entry.path());
    }
    return files;
}

std::string read(const fs::path& file) {
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The code without comments, string and character literals, and the poison line itself.
std::string codeOnly(const std::string& source) {
    std::string code;
    for (size_t i = 0; i < source.size(); ++i) {
        if (source.compare(i, sizeof(kPoison) - 1, kPoison) == 0) {
            i += sizeof(kPoison) - 2;
        } else if (source.compare(i, 2, "//") == 0) {
            i = source.find('\n', i);
            if (i == std::string::npos) break;
            code += '\n';
        } else if (source.compare(i, 2, "/*") == 0) {
            i = source.find("*/", i + 2);
            if (i == std::string::npos) break;
            ++i;
        } else if (source[i] == '"' || source[i] == '\'') {
            char quote = source[i];
            for (++i; i < source.size() && source[i] != quote; ++i)
                if (source[i] == '\\') ++i;
            code += ' ';
        } else {
            code += source[i];
        }
    }
    return code;
}

// The first floating-point use in code: a floating-point type, one of the library's conversions to
// or from it or its real-number functions, the real-number headers, or a real literal. Empty when
// there is none.
std::string floatingPointUse(const std::string& code) {
    static const std::set<std::string> kNames = {
        "float",  "double", "float_t", "double_t", "strtod", "strtof", "strtold", "wcstod",
        "wcstof", "atof",   "stod",    "stof",     "stold",  "fabs",   "floor",   "ceil",
        "round",  "lround", "llround", "trunc",    "fmod",   "pow",    "sqrt"};
    for (const char* header : {"<cmath>", "<math.h>"})
        if (code.find(header) != std::string::npos) return header;
    auto isWord = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
    for (size_t i = 0; i < code.size();) {
        if (!isWord(code[i])) {
            ++i;
            continue;
        }
        size_t end = i;
        // A number runs on through its point and a signed exponent.
        bool number = std::isdigit(static_cast<unsigned char>(code[i])) != 0;
        while (end < code.size() && (isWord(code[end]) || (number && code[end] == '.') ||
                                     (number && (code[end] == '+' || code[end] == '-') &&
                                      (code[end - 1] == 'e' || code[end - 1] == 'E'))))
            ++end;
        std::string token = code.substr(i, end - i);
        bool hex = token.size() > 1 && (token[1] == 'x' || token[1] == 'X');
        if (number && !hex && token.find_first_of(".eE") != std::string::npos) return token;
        if (!number && kNames.count(token) != 0) return token;
        i = end;
    }
    return {};
}

TEST(ExactArithmeticSource, NoFloatingPointInTheCalculator) {
    std::vector<fs::path> files = calculatorSources();
    ASSERT_GE(files.size(), 10u) << "the calculator's sources are found in " << controlsFolder();
    for (const fs::path& file : files) {
        std::string source = read(file);
        EXPECT_EQ(floatingPointUse(codeOnly(source)), "") << file.filename() << " uses floating point";
        if (file.extension() == ".cpp") {
            EXPECT_NE(source.find(kPoison), std::string::npos)
                << file.filename() << " does not poison floats";
        }
    }
}

TEST(ExactArithmeticSource, TheCheckFindsFloatingPoint) {
    struct Case {
        const char* code;
        const char* found;
    } cases[] = {
        {"int x = 1; double y;", "double"},
        {"auto v = 2.5 * x;", "2.5"},
        {"auto v = 1e9;", "1e9"},
        {"auto v = 3.f;", "3.f"},
        {"x = wcstod(text, nullptr);", "wcstod"},
        {"#include <cmath>", "<cmath>"},
        {"// a double check\nint x; /* float */ s = \"2.5\";", ""},
        {"divideRounded(x); rounded.add(y); int e = 0x1e5; a.b = 10;", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(floatingPointUse(codeOnly(c.code)), c.found) << c.code;
}

}  // namespace
