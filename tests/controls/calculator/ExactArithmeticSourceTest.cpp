// The calculator's sources hold no binary floating point: every file of the calculator, its decimal
// type and its digit strings is read, comments and string literals are left out, and no
// floating-point type, literal or conversion may remain; each source file also poisons the
// floating-point types, so that the compiler refuses any later use.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
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

// Floating-point types, the library's conversions to and from them and its real-number functions,
// and real literals.
const std::regex& floatingPoint() {
    static const std::regex kPattern(
        R"(\b(float|double|float_t|double_t|strtod|strtof|strtold|wcstod|wcstof|atof|stod|stof|stold|)"
        R"(fabs|floor|ceil|round|lround|llround|trunc|fmod|pow|sqrt)\b|<cmath>|<math\.h>|)"
        R"(\b\d+\.\d*([eE][-+]?\d+)?[fFlL]?|\b\d+[eE][-+]?\d+\b)");
    return kPattern;
}

TEST(ExactArithmeticSource, NoFloatingPointInTheCalculator) {
    const std::regex& floating = floatingPoint();
    std::vector<fs::path> files = calculatorSources();
    ASSERT_GE(files.size(), 10u) << "the calculator's sources are found in " << controlsFolder();
    for (const fs::path& file : files) {
        std::string source = read(file);
        std::string code = codeOnly(source);
        std::smatch match;
        EXPECT_FALSE(std::regex_search(code, match, floating))
            << file.filename() << " uses " << (match.empty() ? "" : match.str());
        if (file.extension() == ".cpp") {
            EXPECT_NE(source.find(kPoison), std::string::npos)
                << file.filename() << " does not poison floats";
        }
    }
}

TEST(ExactArithmeticSource, TheCheckFindsFloatingPoint) {
    const std::regex& floating = floatingPoint();
    EXPECT_TRUE(std::regex_search(codeOnly("int x = 1; double y;"), floating));
    EXPECT_TRUE(std::regex_search(codeOnly("auto v = 2.5 * x;"), floating));
    EXPECT_TRUE(std::regex_search(codeOnly("x = wcstod(text, nullptr);"), floating));
    EXPECT_TRUE(std::regex_search(codeOnly("y = 1e9;"), floating));
    EXPECT_TRUE(std::regex_search(codeOnly("#include <cmath>"), floating));
    EXPECT_FALSE(std::regex_search(codeOnly("// a double check\nint x; /* float */ s = \"2.5\";"), floating));
    EXPECT_FALSE(std::regex_search(codeOnly("divideRounded(x); rounded.add(y);"), floating));
}

}  // namespace
