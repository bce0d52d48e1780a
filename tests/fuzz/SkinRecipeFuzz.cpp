// Skin recipes of skingen: any text is a recipe whose every shape lies within the units a recipe may
// use, or an error that names the file and line.
#include "FuzzSupport.h"
#include "Recipe.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string error;
    auto recipe = skingen::parseRecipe(fuzz::textOf(data, size), "fuzz.skin", &error);
    if (!recipe) {
        fuzz::check(error.rfind("fuzz.skin:", 0) == 0, "an error names the file and line");
        return 0;
    }
    fuzz::check(recipe->width >= 1 && recipe->height >= 1 && recipe->normalId != recipe->highId,
                "a recipe has its size and two resource ids");
    for (const skingen::Shape& shape : recipe->shapes) {
        fuzz::check(std::abs(shape.x) <= 2000 && std::abs(shape.y) <= 2000 && std::abs(shape.w) <= 2000 &&
                        std::abs(shape.h) <= 2000 && shape.radius >= 0 && shape.radius <= 2000,
                    "shapes lie within 2000 units");
        fuzz::check(shape.kind != skingen::ShapeKind::Text || !shape.text.empty(), "a text shape has text");
    }
    return 0;
}
