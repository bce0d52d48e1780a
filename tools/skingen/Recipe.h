// Skin recipes: the text format that describes one skin bitmap as vector shapes and texts in 96-dpi
// units, and its parser. One recipe names the bitmap's two resource ids (normal and high resolution).
//
//   # comment                         blank lines and text from '#' on are ignored (outside quotes)
//   bitmap NORMAL_ID HIGH_ID          resource ids, 0 to 65535, different from each other
//   size W H                          the bitmap in 96-dpi units (required before any shape)
//   rect X Y W H COLOUR [COLOUR]      filled rectangle; two colours: vertical gradient top to bottom
//   round X Y W H R COLOUR [COLOUR]   filled rectangle with corners of radius R, anti-aliased
//   outline X Y W H R WIDTH COLOUR    the border of such a rectangle, WIDTH thick, inside the box
//   line X1 Y1 X2 Y2 WIDTH COLOUR     a line with round ends, anti-aliased
//   text X Y W H POINTS WEIGHT COLOUR "TEXT"   Tahoma text centred in the box (UTF-8, \" and \\)
//
// Numbers may have a fraction ("0.5"); COLOUR is R,G,B with each part 0 to 255. Shapes are drawn in
// the order given, each over the ones before; the bitmap starts black.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace skingen {

struct Colour {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
};

enum class ShapeKind { Rect, Round, Outline, Line, Text };

struct Shape {
    ShapeKind kind = ShapeKind::Rect;
    double x = 0, y = 0, w = 0, h = 0;  // Line: x, y is the start and w, h the end point
    double radius = 0;
    double width = 0;  // Outline, Line: the stroke; Text: unused
    Colour top;        // the colour (the top one of a gradient)
    Colour bottom;     // equal to top unless a gradient was given
    double points = 0;
    int weight = 400;
    std::u16string text;
    int line = 0;  // where it was written, for messages
};

struct Recipe {
    std::string file;
    uint16_t normalId = 0;
    uint16_t highId = 0;
    double width = 0;
    double height = 0;
    std::vector<Shape> shapes;
};

// Parses a recipe's text; on the first problem sets error to "FILE:LINE: error: reason" and returns
// nothing. A recipe needs one bitmap line and one size line before its first shape.
std::optional<Recipe> parseRecipe(const std::string& text, const std::string& file, std::string* error);
// Reads and parses a file; an unreadable file is an error naming it.
std::optional<Recipe> loadRecipe(const std::string& path, std::string* error);

}  // namespace skingen
