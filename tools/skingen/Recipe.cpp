// Parsing of skin recipes: one command a line, split into words and one quoted text.
#include "Recipe.h"

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "platform/device.h"

namespace skingen {
namespace {

constexpr double kMaxUnits = 2000;  // larger than any screen side in 96-dpi units

struct ParseError {
    std::string reason;
};

// The words of a line; a word in double quotes keeps its blanks and '#' (escapes \" and \\).
std::vector<std::string> splitLine(const std::string& line) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < line.size()) {
        char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
        } else if (c == '#') {
            break;
        } else if (c == '"') {
            std::string word = "\"";
            for (++i; i < line.size() && line[i] != '"'; ++i) {
                if (line[i] == '\\' && i + 1 < line.size()) ++i;
                word.push_back(line[i]);
            }
            if (i >= line.size()) throw ParseError{"text without its closing quote"};
            words.push_back(word + "\"");
            ++i;
        } else {
            size_t end = line.find_first_of(" \t\r#\"", i);
            if (end == std::string::npos) end = line.size();
            words.push_back(line.substr(i, end - i));
            i = end;
        }
    }
    return words;
}

double number(const std::string& word, double low, double high) {
    errno = 0;
    char* end = nullptr;
    double value = std::strtod(word.c_str(), &end);
    if (word.empty() || *end != '\0' || errno != 0 || word.find_first_of("xXnNiIpP") != std::string::npos)
        throw ParseError{"\"" + word + "\" is not a number"};
    if (value < low || value > high) {
        std::ostringstream out;
        out << word << " is outside " << low << " to " << high;
        throw ParseError{out.str()};
    }
    return value;
}

uint16_t resourceId(const std::string& word) {
    if (word.find_first_not_of("0123456789") != std::string::npos)
        throw ParseError{"bad resource id \"" + word + "\": expected a decimal number"};
    return static_cast<uint16_t>(number(word, 0, 65535));
}

Colour colour(const std::string& word) {
    std::istringstream in(word);
    std::string part;
    int parts[3] = {0, 0, 0};
    int count = 0;
    while (std::getline(in, part, ',')) {
        if (count == 3 || part.find_first_not_of("0123456789") != std::string::npos)
            throw ParseError{"bad colour \"" + word + "\": expected R,G,B"};
        parts[count++] = static_cast<int>(number(part, 0, 255));
    }
    if (count != 3) throw ParseError{"bad colour \"" + word + "\": expected R,G,B"};
    return Colour{static_cast<uint8_t>(parts[0]), static_cast<uint8_t>(parts[1]),
                  static_cast<uint8_t>(parts[2])};
}

void expectCount(const std::vector<std::string>& words, size_t low, size_t high) {
    if (words.size() < low || words.size() > high) {
        std::string expected =
            std::to_string(low - 1) + (high > low ? " or " + std::to_string(high - 1) : "");
        throw ParseError{words[0] + " takes " + expected + " values, not " +
                         std::to_string(words.size() - 1)};
    }
}

// x, y, w, h of a box from words[1..4]; w and h must be positive.
void box(const std::vector<std::string>& words, Shape* shape) {
    shape->x = number(words[1], -kMaxUnits, kMaxUnits);
    shape->y = number(words[2], -kMaxUnits, kMaxUnits);
    shape->w = number(words[3], 0, kMaxUnits);
    shape->h = number(words[4], 0, kMaxUnits);
    if (shape->w <= 0 || shape->h <= 0) throw ParseError{"a box needs a positive width and height"};
}

Shape parseShape(const std::vector<std::string>& words) {
    Shape s;
    const std::string& op = words[0];
    if (op == "rect" || op == "round") {
        size_t first = op == "rect" ? 5 : 6;
        expectCount(words, first + 1, first + 2);
        s.kind = op == "rect" ? ShapeKind::Rect : ShapeKind::Round;
        box(words, &s);
        if (s.kind == ShapeKind::Round) s.radius = number(words[5], 0, kMaxUnits);
        s.top = colour(words[first]);
        s.bottom = words.size() > first + 1 ? colour(words[first + 1]) : s.top;
    } else if (op == "outline") {
        expectCount(words, 8, 8);
        s.kind = ShapeKind::Outline;
        box(words, &s);
        s.radius = number(words[5], 0, kMaxUnits);
        s.width = number(words[6], 0.1, kMaxUnits);
        s.top = s.bottom = colour(words[7]);
    } else if (op == "line") {
        expectCount(words, 7, 7);
        s.kind = ShapeKind::Line;
        s.x = number(words[1], -kMaxUnits, kMaxUnits);
        s.y = number(words[2], -kMaxUnits, kMaxUnits);
        s.w = number(words[3], -kMaxUnits, kMaxUnits);
        s.h = number(words[4], -kMaxUnits, kMaxUnits);
        s.width = number(words[5], 0.1, kMaxUnits);
        s.top = s.bottom = colour(words[6]);
    } else if (op == "text") {
        expectCount(words, 9, 9);
        s.kind = ShapeKind::Text;
        box(words, &s);
        s.points = number(words[5], 1, 200);
        s.weight = static_cast<int>(number(words[6], 100, 900));
        s.top = s.bottom = colour(words[7]);
        if (words[8].size() < 3 || words[8].front() != '"')
            throw ParseError{"text needs a quoted, non-empty text"};
        s.text = platform::fromUtf8(words[8].substr(1, words[8].size() - 2));
    } else {
        throw ParseError{"unknown command \"" + op + "\""};
    }
    return s;
}

void parseLine(const std::vector<std::string>& words, Recipe* recipe, bool* haveBitmap) {
    const std::string& op = words[0];
    if (op == "bitmap") {
        expectCount(words, 3, 3);
        if (*haveBitmap) throw ParseError{"a recipe names its bitmap once"};
        recipe->normalId = resourceId(words[1]);
        recipe->highId = resourceId(words[2]);
        if (recipe->normalId == recipe->highId) throw ParseError{"the two resource ids must differ"};
        *haveBitmap = true;
    } else if (op == "size") {
        expectCount(words, 3, 3);
        if (recipe->width > 0) throw ParseError{"a recipe has one size"};
        recipe->width = number(words[1], 1, kMaxUnits);
        recipe->height = number(words[2], 1, kMaxUnits);
    } else {
        if (!*haveBitmap || recipe->width <= 0) throw ParseError{"bitmap and size come before the shapes"};
        recipe->shapes.push_back(parseShape(words));
    }
}

}  // namespace

std::optional<Recipe> parseRecipe(const std::string& text, const std::string& file, std::string* error) {
    Recipe recipe;
    recipe.file = file;
    bool haveBitmap = false;
    std::istringstream in(text);
    std::string line;
    int lineNumber = 0;
    try {
        while (std::getline(in, line)) {
            ++lineNumber;
            std::vector<std::string> words = splitLine(line);
            if (words.empty()) continue;
            parseLine(words, &recipe, &haveBitmap);
            if (!recipe.shapes.empty() && recipe.shapes.back().line == 0)
                recipe.shapes.back().line = lineNumber;
        }
        if (!haveBitmap || recipe.width <= 0)
            throw ParseError{"a recipe needs a bitmap line and a size line"};
    } catch (const ParseError& problem) {
        *error = file + ":" + std::to_string(lineNumber) + ": error: " + problem.reason;
        return std::nullopt;
    }
    return recipe;
}

std::optional<Recipe> loadRecipe(const std::string& path, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        *error = path + ": error: cannot be read";
        return std::nullopt;
    }
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return parseRecipe(text, path, error);
}

}  // namespace skingen
