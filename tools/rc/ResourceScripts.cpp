// Walking the script folders of a module and reading each script's resource statements.
#include "ResourceScripts.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace rc {
namespace {

namespace fs = std::filesystem;

struct ScriptFolder {
    const char* folder;
    std::vector<std::string> kinds;  // the statements it may hold
    uint16_t type;
    std::vector<uint8_t> (*compile)(TokenStream&);
};

const std::vector<ScriptFolder>& scriptFolders() {
    static const std::vector<ScriptFolder> kFolders = {
        {"dialogs", {"DIALOG", "DIALOGEX"}, kDialogType, compileDialog},
        {"menus", {"MENU"}, kMenuType, compileMenu},
        {"accelerators", {"ACCELERATORS"}, kAcceleratorType, compileAccelerators},
    };
    return kFolders;
}

// Every statement a script may start, so that reading resumes at the next one after an error.
const std::vector<std::string> kAllKinds = {"DIALOG", "DIALOGEX", "MENU", "ACCELERATORS"};

std::string joined(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& w : words)
        text += (text.empty() ? "" : " or ") + w;
    return text;
}

// Reads one "<name> <KIND> ..." statement; throws ScriptError.
CompiledResource compileStatement(TokenStream& tokens, const ScriptFolder& kind, const std::string& origin) {
    int line = tokens.line();
    ResourceKey name = tokens.resourceName("a resource name");
    const Token& keyword = tokens.take(joined(kind.kinds));
    if (keyword.kind != TokenKind::Word ||
        std::find(kind.kinds.begin(), kind.kinds.end(), keyword.word) == kind.kinds.end())
        throw ScriptError{keyword.line, std::string(kind.folder) + "/ holds " + joined(kind.kinds) +
                                            " statements only, found \"" + keyword.word + "\""};
    CompiledResource resource{ResourceKey{kind.type, {}}, name, kind.compile(tokens),
                              origin + ":" + std::to_string(line)};
    return resource;
}

void compileSource(const std::string& source, const ScriptFolder& kind, const std::string& fileName,
                   const std::string& origin, std::vector<CompiledResource>* out, Diagnostics& diagnostics) {
    auto tokens = tokenizeScript(source, fileName, diagnostics);
    if (!tokens) return;
    if (tokens->empty()) diagnostics.error(fileName, 0, "holds no resource");
    TokenStream stream(*tokens);
    while (!stream.atEnd()) {
        size_t start = stream.position();
        try {
            out->push_back(compileStatement(stream, kind, origin));
        } catch (const ScriptError& error) {
            diagnostics.error(fileName, error.line, error.reason);
            stream.skipToHeader(kAllKinds, start);
        }
    }
}

void compileScript(const fs::path& file, const ScriptFolder& kind, const std::string& origin,
                   std::vector<CompiledResource>* out, Diagnostics& diagnostics) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream source;
    source << in.rdbuf();
    if (!in) {
        diagnostics.error(file.string(), 0, "cannot be read");
        return;
    }
    compileSource(source.str(), kind, file.string(), origin, out, diagnostics);
}

}  // namespace

bool compileScriptText(const std::string& source, const std::string& folder, const std::string& fileName,
                       std::vector<CompiledResource>* out, Diagnostics& diagnostics) {
    for (const ScriptFolder& kind : scriptFolders()) {
        if (folder != kind.folder) continue;
        compileSource(source, kind, fileName, fileName, out, diagnostics);
        return true;
    }
    return false;
}

void compileScriptFolders(const fs::path& moduleFolder, std::vector<CompiledResource>* out,
                          Diagnostics& diagnostics) {
    for (const ScriptFolder& kind : scriptFolders()) {
        fs::path folder = moduleFolder / kind.folder;
        if (!fs::is_directory(folder)) continue;
        std::vector<fs::path> files;
        for (const auto& entry : fs::directory_iterator(folder))
            files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        for (const fs::path& file : files) {
            if (file.extension() != ".rc" || !fs::is_regular_file(file)) {
                diagnostics.error(file.string(), 0, std::string(kind.folder) + "/ holds only .rc scripts");
                continue;
            }
            std::string origin = (moduleFolder.filename() / kind.folder / file.filename()).string();
            compileScript(file, kind, origin, out, diagnostics);
        }
    }
}

}  // namespace rc
