// financestore: creates, seeds, inspects, changes and verifies a finance store through the DoveVO code,
// on the device root given by --root or VARKEL_ROOT.
#include <cstdio>

#include "CommandLine.h"
#include "DemoSeed.h"
#include "DeviceInstall.h"
#include "EntryCommands.h"
#include "LedgerExport.h"
#include "PlanCommands.h"
#include "StandIns.h"
#include "StoreCheck.h"
#include "StoreSession.h"
#include "TableDump.h"
#include "ValueParsing.h"

namespace financestore {
namespace {

int usageError(const std::string& message) {
    std::fprintf(stderr, "financestore: %s\n\n%s", message.c_str(), usageText());
    return kExitUsage;
}

int runInit(const CommandLine& line) {
    const std::string unexpected = line.unexpectedOption({"demo", "seed"});
    if (!unexpected.empty()) return usageError("init does not take --" + unexpected);
    if (!line.arguments().empty()) return usageError("init takes no argument " + line.arguments().front());
    if (line.has("seed") && !line.has("demo")) return usageError("--seed goes with --demo");
    uint32_t seed = kDefaultDemoSeed;
    if (auto text = line.value("seed")) {
        auto parsed = parseInteger(*text);
        if (!parsed || *parsed < 0) return usageError("bad seed '" + *text + "'");
        seed = static_cast<uint32_t>(*parsed);
    }
    if (!line.has("demo")) return kExitOk;
    return seedDemo(seed);
}

int runDump(const CommandLine& line) {
    const std::string unexpected = line.unexpectedOption({"raw"});
    if (!unexpected.empty()) return usageError("dump does not take --" + unexpected);
    if (line.arguments().size() != 1) return usageError("dump needs exactly one table name");
    auto table = tableByName(line.arguments().front());
    if (!table) return usageError("no table is named '" + line.arguments().front() + "'");
    if (dumpTable(*table, line.has("raw") ? DumpForm::Raw : DumpForm::Named, stdout) < 0) {
        std::fprintf(stderr, "financestore: a record of %s could not be read\n", line.arguments()[0].c_str());
        return kExitUsage;
    }
    return kExitOk;
}

int runCommand(const CommandLine& line) {
    const std::string& command = line.command();
    if (command == "init") return runInit(line);
    if (command == "add") return runAdd(line);
    if (command == "edit") return runEdit(line);
    if (command == "export") return runExport(line);
    if (command == "delete") return runDelete(line);
    if (command == "dump") return runDump(line);
    if (command == "plan") return runPlan(line);
    if (command == "future") return runFuture(line);
    if (command == "check") {
        const std::string unexpected = line.unexpectedOption({});
        if (!unexpected.empty()) return usageError("check does not take --" + unexpected);
        if (!line.arguments().empty()) return usageError("check takes no argument");
        return runCheck();
    }
    return usageError("unknown command '" + command + "'");
}

bool isKnownCommand(const std::string& command) {
    return command == "init" || command == "add" || command == "edit" || command == "delete" ||
           command == "dump" || command == "export" || command == "check" || command == "plan" ||
           command == "future";
}

}  // namespace
}  // namespace financestore

int main(int argc, char** argv) {
    using namespace financestore;
    int standInExit = 0;
    if (runStandIn(argc, argv, &standInExit)) return standInExit;
    if (runDeviceInstall(argc, argv, &standInExit)) return standInExit;
    CommandLine line;
    if (!line.parse(argc, argv)) return usageError(line.error());
    if (line.has("help")) {
        std::fputs(usageText(), stdout);
        return kExitOk;
    }
    if (line.command().empty()) return usageError("no command given");
    if (!isKnownCommand(line.command())) return usageError("unknown command '" + line.command() + "'");
    if (line.has("root") && line.value("root").value_or("").empty())
        return usageError("--root needs a folder");
    StoreSession session;
    if (!session.open(chooseRoot(line.value("root").value_or("")), storeUseOf(line.command()))) {
        std::fprintf(stderr, "financestore: %s\n", session.error().c_str());
        return session.failureExit();
    }
    return runCommand(line);
}
