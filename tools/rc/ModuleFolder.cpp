// Walking a module's resource folder and compiling each input it recognises.
#include "ModuleFolder.h"

#include <algorithm>
#include <map>
#include <utility>

#include "Bitmaps.h"
#include "ResourceScripts.h"
#include "StringBlocks.h"
#include "StringTableFile.h"
#include "TextResources.h"

namespace rc {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> sortedEntries(const fs::path& folder) {
    std::vector<fs::path> entries;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error))
        entries.push_back(entry.path());
    std::sort(entries.begin(), entries.end());
    return entries;
}

bool isStringTableFile(const fs::path& path) {
    std::string name = path.filename().string();
    bool strings = name == "strings.txt" || (name.rfind("strings-", 0) == 0 && path.extension() == ".txt");
    return strings && fs::is_regular_file(path);
}

// "<module folder>/text/<TYPE>/<NAME>.txt": names the input without the machine's path, so that the
// generated source is the same wherever the tree lies.
std::string originOf(const fs::path& file, const fs::path& typeFolder) {
    fs::path moduleFolder = typeFolder.parent_path().parent_path();
    return (moduleFolder.filename() / file.lexically_relative(moduleFolder)).string();
}

void compileTextType(const fs::path& typeFolder, std::vector<CompiledResource>* out,
                     Diagnostics& diagnostics) {
    auto type = parseResourceKey(typeFolder.filename().string());
    if (!type || (!type->isName() && type->id == kStringType)) {
        diagnostics.error(typeFolder.string(), 0,
                          "bad resource type: expected a number (not 6) or a name of letters, digits and _");
        return;
    }
    for (const fs::path& file : sortedEntries(typeFolder)) {
        auto name = file.extension() == ".txt" ? parseResourceKey(file.stem().string()) : std::nullopt;
        if (!name || !fs::is_regular_file(file)) {
            diagnostics.error(file.string(), 0, "bad text resource: expected <number or name>.txt");
            continue;
        }
        auto bytes = readTextResource(file.string(), file.string(), diagnostics);
        if (bytes) out->push_back({*type, *name, std::move(*bytes), originOf(file, typeFolder)});
    }
}

void reportDuplicates(const std::vector<CompiledResource>& sorted, Diagnostics& diagnostics) {
    for (size_t i = 1; i < sorted.size(); ++i) {
        if (sorted[i].type == sorted[i - 1].type && sorted[i].name == sorted[i - 1].name) {
            diagnostics.error(sorted[i].origin, 0,
                              "duplicate resource: same type and name as " + sorted[i - 1].origin);
        }
    }
}

}  // namespace

std::vector<CompiledResource> compileModuleFolders(const std::vector<fs::path>& folders,
                                                   Diagnostics& diagnostics) {
    StringTable strings;
    for (const fs::path& folder : folders) {
        if (!fs::is_directory(folder)) diagnostics.error(folder.string(), 0, "is not a folder");
        for (const fs::path& entry : sortedEntries(folder)) {
            if (isStringTableFile(entry))
                readStringTableFile(entry.string(), entry.string(), &strings, diagnostics);
        }
    }
    std::vector<CompiledResource> resources = buildStringBlocks(strings);
    for (const fs::path& folder : folders)
        compileScriptFolders(folder, &resources, diagnostics);
    for (const fs::path& folder : folders)
        compileBitmapFolder(folder, &resources, diagnostics);
    for (const fs::path& folder : folders) {
        if (!fs::is_directory(folder / "text")) continue;
        for (const fs::path& typeFolder : sortedEntries(folder / "text")) {
            if (fs::is_directory(typeFolder))
                compileTextType(typeFolder, &resources, diagnostics);
            else
                diagnostics.error(typeFolder.string(), 0, "text/ holds one folder per resource type");
        }
    }
    std::stable_sort(resources.begin(), resources.end(),
                     [](const CompiledResource& a, const CompiledResource& b) {
                         return a.type == b.type ? a.name < b.name : a.type < b.type;
                     });
    reportDuplicates(resources, diagnostics);
    return resources;
}

}  // namespace rc
