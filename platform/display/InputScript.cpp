// Parsing input scripts: one command a line, '#' comments, errors naming the file and line.

#include "InputScript.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/device.h"
#include "platform/winuser.h"

namespace platform::display {

namespace {

constexpr long kMaxCoordinate = 100000;
constexpr long kMaxWait = 24L * 60 * 60 * 1000;

struct KeyName {
    const char* name;
    UINT key;
};

// BACK is the device's back key, which the device reports as the escape key; BACKSPACE is the
// keyboard's backspace key, which types the character 8.
constexpr KeyName kKeyNames[] = {
    {"UP", VK_UP},         {"DOWN", VK_DOWN},   {"LEFT", VK_LEFT},      {"RIGHT", VK_RIGHT},
    {"RETURN", VK_RETURN}, {"BACK", VK_ESCAPE}, {"BACKSPACE", VK_BACK},
};

struct CharKey {
    char character;
    UINT key;
};

constexpr CharKey kCharKeys[] = {
    {' ', VK_SPACE},  {'+', VK_ADD},        {'-', VK_SUBTRACT},  {'*', VK_MULTIPLY},
    {'/', VK_DIVIDE}, {'.', VK_OEM_PERIOD}, {',', VK_OEM_COMMA},
};

std::string stripComment(const std::string& line) {
    size_t hash = line.find('#');
    return hash == std::string::npos ? line : line.substr(0, hash);
}

std::vector<std::string> words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> out;
    for (std::string word; in >> word;)
        out.push_back(word);
    return out;
}

bool parseInteger(const std::string& text, long max, long& value) {
    if (text.empty() || text.size() > 9) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    value = std::strtol(text.c_str(), nullptr, 10);
    return value <= max;
}

// The device key for a key name or a single character; empty error text on success.
std::string parseKey(const std::string& name, ScriptCommand& command) {
    for (const KeyName& known : kKeyNames)
        if (name == known.name) {
            command.key = known.key;
            return {};
        }
    if (name.size() != 1) return "unknown key \"" + name + "\"";
    char c = name[0];
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z')) {
        command.key = static_cast<UINT>(c);
        command.shift = c >= 'A' && c <= 'Z';
        return {};
    }
    if (c >= 'a' && c <= 'z') {
        command.key = static_cast<UINT>(c - 'a' + 'A');
        return {};
    }
    for (const CharKey& known : kCharKeys)
        if (c == known.character) {
            command.key = known.key;
            return {};
        }
    return "no device key types \"" + name + "\"";
}

std::string parsePoint(const std::vector<std::string>& w, ScriptCommand& command) {
    long x = 0;
    long y = 0;
    if (w.size() != 3 || !parseInteger(w[1], kMaxCoordinate, x) || !parseInteger(w[2], kMaxCoordinate, y))
        return "\"" + w[0] + "\" needs two pixel coordinates X Y";
    command.x = static_cast<int>(x);
    command.y = static_cast<int>(y);
    return {};
}

std::string parseDrag(const std::vector<std::string>& w, ScriptCommand& command) {
    long values[5] = {};
    bool ok = w.size() == 6;
    for (size_t i = 0; ok && i < 4; ++i)
        ok = parseInteger(w[i + 1], kMaxCoordinate, values[i]);
    if (!ok || !parseInteger(w[5], kMaxWait, values[4]))
        return "\"drag\" needs X1 Y1 X2 Y2 in pixels and the milliseconds it takes";
    command.op = ScriptOp::Drag;
    command.x = static_cast<int>(values[0]);
    command.y = static_cast<int>(values[1]);
    command.toX = static_cast<int>(values[2]);
    command.toY = static_cast<int>(values[3]);
    command.milliseconds = static_cast<DWORD>(values[4]);
    return {};
}

// The rest of the line after a verb that takes a whole text ("char", "tap-text", "tap-window"),
// without its line end; empty when there is none.
bool restOfLine(const std::string& trimmed, const std::string& verb, std::string& rest) {
    if (trimmed.size() <= verb.size() || trimmed.compare(0, verb.size(), verb) != 0) return false;
    char separator = trimmed[verb.size()];
    if (separator != ' ' && separator != '\t') return false;
    rest = trimmed.substr(verb.size() + 1);
    while (!rest.empty() && (rest.back() == '\r' || rest.back() == '\n'))
        rest.pop_back();
    return true;
}

std::string parseAnswer(const std::vector<std::string>& w, ScriptCommand& command) {
    static constexpr std::pair<const char*, int> kAnswers[] = {
        {"OK", IDOK}, {"CANCEL", IDCANCEL}, {"YES", IDYES}, {"NO", IDNO}};
    if (w.size() == 2)
        for (const auto& [name, id] : kAnswers)
            if (w[1] == name) {
                command.answer = id;
                return {};
            }
    return "\"answer\" needs one of OK, CANCEL, YES, NO";
}

std::string parseSimple(const std::vector<std::string>& w, ScriptCommand& command) {
    const std::string& verb = w[0];
    if (verb == "key") {
        if (w.size() != 2) return "\"key\" needs one key name";
        command.op = ScriptOp::Key;
        return parseKey(w[1], command);
    }
    if (verb == "wait") {
        long ms = 0;
        if (w.size() != 2 || !parseInteger(w[1], kMaxWait, ms))
            return "\"wait\" needs milliseconds (0 to 86400000)";
        command.op = ScriptOp::Wait;
        command.milliseconds = static_cast<DWORD>(ms);
        return {};
    }
    if (verb == "rotate" || verb == "quit") {
        if (w.size() != 1) return "\"" + verb + "\" takes no arguments";
        command.op = verb == "rotate" ? ScriptOp::Rotate : ScriptOp::Quit;
        return {};
    }
    if (verb == "char" || verb == "tap-text" || verb == "tap-window") return "\"" + verb + "\" needs text";
    if (verb == "answer") {
        command.op = ScriptOp::Answer;
        return parseAnswer(w, command);
    }
    return "unknown command \"" + verb + "\"";
}

// Parses one line that is not blank; returns the error text, empty on success.
std::string parseLine(const std::string& raw, ScriptCommand& command) {
    std::string trimmed = raw;
    size_t start = trimmed.find_first_not_of(" \t");
    trimmed.erase(0, start);
    // These verbs take the whole rest of the line, '#' included.
    static constexpr std::pair<const char*, ScriptOp> kTextOps[] = {
        {"char", ScriptOp::Char}, {"tap-text", ScriptOp::TapText}, {"tap-window", ScriptOp::TapWindow}};
    for (const auto& [verb, op] : kTextOps) {
        std::string text;
        if (!restOfLine(trimmed, verb, text)) continue;
        if (op == ScriptOp::TapWindow)
            while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
                text.pop_back();
        if (text.empty()) return "\"" + std::string(verb) + "\" needs text";
        command.op = op;
        command.text = fromUtf8(text);
        return {};
    }
    std::vector<std::string> w = words(stripComment(trimmed));
    static constexpr std::pair<const char*, ScriptOp> kPointOps[] = {
        {"tap", ScriptOp::Tap}, {"down", ScriptOp::Down}, {"move", ScriptOp::Move}, {"up", ScriptOp::Up}};
    for (const auto& [verb, op] : kPointOps)
        if (w[0] == verb) {
            command.op = op;
            return parsePoint(w, command);
        }
    if (w[0] == "shot" || w[0] == "dump-text") {
        if (w.size() != 2) return "\"" + w[0] + "\" needs one file name (without spaces)";
        command.op = w[0] == "shot" ? ScriptOp::Shot : ScriptOp::DumpText;
        command.file = w[1];
        return {};
    }
    if (w[0] == "drag") return parseDrag(w, command);
    return parseSimple(w, command);
}

}  // namespace

ParsedScript parseScript(std::istream& in, const std::string& name) {
    ParsedScript script;
    int lineNumber = 0;
    for (std::string line; std::getline(in, line);) {
        ++lineNumber;
        if (words(stripComment(line)).empty()) continue;
        ScriptCommand command;
        command.line = lineNumber;
        std::string error = parseLine(line, command);
        if (!error.empty()) {
            script.error = name + ":" + std::to_string(lineNumber) + ": " + error;
            return script;
        }
        script.commands.push_back(std::move(command));
    }
    return script;
}

ParsedScript loadScript(const std::string& path) {
    std::ifstream in(path);
    if (!in) {
        ParsedScript script;
        script.error = path + ": cannot read the input script";
        return script;
    }
    return parseScript(in, path);
}

}  // namespace platform::display
