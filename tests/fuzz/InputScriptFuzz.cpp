// Input scripts: any text gives commands up to the first malformed line, each within its ranges, and
// an error naming the script and that line.
#include <sstream>

#include "../../platform/display/InputScript.h"
#include "FuzzSupport.h"

using namespace platform::display;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::istringstream in(fuzz::textOf(data, size));
    ParsedScript script = parseScript(in, "fuzz.script");
    fuzz::check(script.error.empty() || script.error.rfind("fuzz.script:", 0) == 0,
                "an error names the script and the line");
    int line = 0;
    for (const ScriptCommand& command : script.commands) {
        fuzz::check(command.line > line, "commands come in the order of their lines");
        line = command.line;
        fuzz::check(command.x >= 0 && command.x <= 100000 && command.y >= 0 && command.y <= 100000,
                    "points lie within the coordinate range");
        fuzz::check(command.milliseconds <= 24u * 60 * 60 * 1000, "waits last at most a day");
        fuzz::check(command.op != ScriptOp::Char || !command.text.empty(), "char types something");
    }
    return 0;
}
