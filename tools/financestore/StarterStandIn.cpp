// The starter stand-in and the dispatch of both stand-ins' command lines.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "StandIns.h"

namespace financestore {

int runStarter(const char* logPath, int argc, char** argv) {
    std::string line = "starter";
    for (int i = 0; i < argc; ++i)
        line += std::string(" ") + argv[i];
    line += "\n";
    FILE* log = (logPath && *logPath) ? std::fopen(logPath, "a") : stdout;
    if (!log) {
        std::fprintf(stderr, "financestore starter: cannot write the log %s\n", logPath);
        return 1;
    }
    bool written = std::fputs(line.c_str(), log) >= 0 && std::fflush(log) == 0;
    if (log != stdout) written = std::fclose(log) == 0 && written;
    return written ? 0 : 1;
}

bool runStandIn(int argc, char** argv, int* exitCode) {
    int at = 1;
    if (argc > 2 && std::strcmp(argv[1], "--root") == 0) {
        if (*argv[2] == '\0') return false;
        setenv("VARKEL_ROOT", argv[2], 1);
        at = 3;
    }
    if (at >= argc) return false;
    const bool manager = std::strcmp(argv[at], "manager") == 0;
    if (!manager && std::strcmp(argv[at], "starter") != 0) return false;
    ++at;
    const char* logPath = "";
    if (at + 1 < argc && std::strcmp(argv[at], "--log") == 0) {
        logPath = argv[at + 1];
        at += 2;
    }
    if (manager && at < argc) {
        std::fprintf(stderr, "financestore: manager takes only --log FILE, not %s\n", argv[at]);
        *exitCode = 2;
        return true;
    }
    *exitCode = manager ? runManager(logPath) : runStarter(logPath, argc - at, argv + at);
    return true;
}

}  // namespace financestore
