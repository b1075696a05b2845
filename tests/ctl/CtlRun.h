#pragma once
// Runs one ctl command with its output and error output caught in memory.

#include "ctl/CtlCommands.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

namespace test {

struct CtlRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline CtlRun RunCaptured(const std::function<int(const ctl::Output&)>& command) {
    char* outText = nullptr;
    char* errText = nullptr;
    std::size_t outSize = 0, errSize = 0;
    std::FILE* out = open_memstream(&outText, &outSize);
    std::FILE* err = open_memstream(&errText, &errSize);
    CtlRun run;
    run.exitCode = command({out, err});
    std::fclose(out);
    std::fclose(err);
    run.out.assign(outText, outSize);
    run.err.assign(errText, errSize);
    std::free(outText);
    std::free(errText);
    return run;
}

} // namespace test
