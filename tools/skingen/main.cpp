// skingen: draws every skin bitmap of a module from its recipes, at normal and at high resolution.
//   skingen --output FOLDER RECIPE.skin...
// Writes FOLDER/bitmaps/<id>.bmp for both ids of each recipe (normal: 96 dpi; high resolution:
// 192 dpi, every coordinate doubled) and removes other .bmp files there, so that the folder holds
// exactly the bitmaps of the recipes given. Exit status: 0 written, 1 the recipes have errors (all
// reported, nothing written), 2 bad usage or the output could not be written.
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "BmpFile.h"
#include "Recipe.h"
#include "SkinPainter.h"

namespace {

namespace fs = std::filesystem;

constexpr int kRecipeErrors = 1;
constexpr int kUsageOrOutputError = 2;
constexpr int kNormalDpi = 96;

struct Options {
    fs::path output;
    std::vector<std::string> recipes;
};

std::optional<Options> parseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        std::string word = argv[i];
        if (word == "--output" && i + 1 < argc && options.output.empty())
            options.output = argv[++i];
        else if (word.rfind("--", 0) == 0)
            return std::nullopt;
        else
            options.recipes.push_back(word);
    }
    if (options.output.empty()) return std::nullopt;
    return options;
}

// Loads all recipes; reports every problem, including an id used by two recipes.
std::optional<std::vector<skingen::Recipe>> loadAll(const std::vector<std::string>& paths) {
    std::vector<skingen::Recipe> recipes;
    std::map<uint16_t, std::string> owners;
    bool failed = false;
    for (const std::string& path : paths) {
        std::string error;
        auto recipe = skingen::loadRecipe(path, &error);
        if (!recipe) {
            std::fprintf(stderr, "%s\n", error.c_str());
            failed = true;
            continue;
        }
        for (uint16_t id : {recipe->normalId, recipe->highId}) {
            auto [it, fresh] = owners.emplace(id, path);
            if (!fresh) {
                std::fprintf(stderr, "%s: error: bitmap %u is also made by %s\n", path.c_str(), id,
                             it->second.c_str());
                failed = true;
            }
        }
        recipes.push_back(std::move(*recipe));
    }
    if (failed) return std::nullopt;
    return recipes;
}

// Paints the recipe at the scale and writes it as <id>.bmp; false (reported) on failure.
bool paintAndWrite(const skingen::Recipe& recipe, int scale, const fs::path& folder) {
    uint16_t id = scale == 1 ? recipe.normalId : recipe.highId;
    skingen::SkinPainter painter(recipe, scale);
    if (!painter.ok()) {
        std::fprintf(stderr, "%s: error: cannot make a %dx scaled canvas\n", recipe.file.c_str(), scale);
        return false;
    }
    for (const skingen::Shape& shape : recipe.shapes) {
        if (!painter.draw(shape)) {
            std::fprintf(stderr, "%s:%d: error: the text's font cannot be made\n", recipe.file.c_str(),
                         shape.line);
            return false;
        }
    }
    fs::path file = folder / (std::to_string(id) + ".bmp");
    if (skingen::writeFileIfChanged(file.string(), skingen::bmpBytes(painter, kNormalDpi * scale)))
        return true;
    std::fprintf(stderr, "%s: error: cannot be written\n", file.string().c_str());
    return false;
}

void removeStaleBitmaps(const fs::path& folder, const std::vector<skingen::Recipe>& recipes) {
    std::map<std::string, bool> wanted;
    for (const skingen::Recipe& recipe : recipes) {
        wanted[std::to_string(recipe.normalId) + ".bmp"] = true;
        wanted[std::to_string(recipe.highId) + ".bmp"] = true;
    }
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        std::string name = entry.path().filename().string();
        if (entry.path().extension() == ".bmp" && !wanted.count(name)) fs::remove(entry.path(), error);
    }
}

}  // namespace

int main(int argc, char** argv) {
    auto options = parseOptions(argc, argv);
    if (!options) {
        std::fprintf(stderr, "usage: skingen --output FOLDER RECIPE.skin...\n");
        return kUsageOrOutputError;
    }
    auto recipes = loadAll(options->recipes);
    if (!recipes) {
        std::fprintf(stderr, "skingen: errors in the recipes; nothing written\n");
        return kRecipeErrors;
    }
    fs::path folder = options->output / "bitmaps";
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) {
        std::fprintf(stderr, "%s: error: cannot be created: %s\n", folder.string().c_str(),
                     error.message().c_str());
        return kUsageOrOutputError;
    }
    removeStaleBitmaps(folder, *recipes);
    for (const skingen::Recipe& recipe : *recipes) {
        if (!paintAndWrite(recipe, 1, folder) || !paintAndWrite(recipe, 2, folder))
            return kUsageOrOutputError;
    }
    return 0;
}
