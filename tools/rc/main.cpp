// rc: compiles one module's resource folders into a C++ source holding the module's resource table
// and a header declaring its accessor.
//   rc --module NAME --input FOLDER [--input FOLDER...] --source OUT.cpp --header OUT.h
// Exit status: 0 written, 1 the inputs have errors (all reported, nothing written), 2 bad usage or
// the outputs could not be written.
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "Diagnostics.h"
#include "ModuleFolder.h"
#include "TableWriter.h"

namespace {

constexpr int kInputErrors = 1;
constexpr int kUsageOrOutputError = 2;

struct Options {
    std::string module;
    std::vector<std::filesystem::path> inputs;
    std::string source;
    std::string header;
};

void printUsage() {
    std::cerr
        << "usage: rc --module NAME --input FOLDER [--input FOLDER...] --source OUT.cpp --header OUT.h\n"
           "  NAME: the module, a C identifier; the table's accessor is NAMEResourceTable()\n";
}

bool isIdentifier(const std::string& text) {
    if (text.empty() || (text[0] >= '0' && text[0] <= '9')) return false;
    for (char c : text) {
        bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
        if (!ok) return false;
    }
    return true;
}

// The folder without a trailing separator, so that its last component names the module folder.
std::filesystem::path folderPath(const std::string& text) {
    std::filesystem::path path = std::filesystem::path(text).lexically_normal();
    return path.has_filename() || !path.has_parent_path() ? path : path.parent_path();
}

// The options, or nothing when the command line is malformed.
std::optional<Options> parseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; i += 2) {
        std::string name = argv[i];
        if (i + 1 >= argc) return std::nullopt;
        std::string value = argv[i + 1];
        if (name == "--input")
            options.inputs.push_back(folderPath(value));
        else if (name == "--module" && options.module.empty())
            options.module = value;
        else if (name == "--source" && options.source.empty())
            options.source = value;
        else if (name == "--header" && options.header.empty())
            options.header = value;
        else
            return std::nullopt;
    }
    bool complete = isIdentifier(options.module) && !options.inputs.empty() && !options.source.empty() &&
                    !options.header.empty();
    return complete ? std::optional<Options>(options) : std::nullopt;
}

bool writeOutput(const std::string& path, const std::string& text) {
    if (rc::writeFileAtomically(path, text)) return true;
    std::cerr << path << ": error: cannot be written: " << std::strerror(errno) << '\n';
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    auto options = parseOptions(argc, argv);
    if (!options) {
        printUsage();
        return kUsageOrOutputError;
    }
    rc::Diagnostics diagnostics;
    auto resources = rc::compileModuleFolders(options->inputs, diagnostics);
    if (diagnostics.failed()) {
        std::cerr << "rc: " << diagnostics.errorCount() << " error(s) in the resources of " << options->module
                  << "; nothing written\n";
        return kInputErrors;
    }
    rc::TableNames names{options->module, options->module + "ResourceTable"};
    if (!writeOutput(options->header, rc::tableHeader(names))) return kUsageOrOutputError;
    if (!writeOutput(options->source, rc::tableSource(resources, names))) return kUsageOrOutputError;
    return 0;
}
