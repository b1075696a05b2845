// The quarin-z17ctl program with --json: where the option may stand, and the command line's
// own usage errors as error objects.

#include "support/DataFolders.h"

#include <json/reader.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <sys/wait.h>

namespace {

struct ProgramRun {
    int exitCode = -1;
    Json::Value document;
};

// Runs the program with `arguments` (the error output dropped) and parses its output.
ProgramRun RunProgram(const std::string& arguments) {
    const std::string command =
        std::string("'") + QUARIN_CTL_PROGRAM + "' " + arguments + " 2>/dev/null";
    std::FILE* pipe = popen(command.c_str(), "r");
    EXPECT_NE(pipe, nullptr);
    std::string text;
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
        text.append(buffer, n);
    const int status = pclose(pipe);
    ProgramRun run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    Json::CharReaderBuilder builder;
    Json::CharReaderBuilder::strictMode(&builder.settings_);
    std::istringstream in(text);
    std::string errors;
    EXPECT_TRUE(Json::parseFromStream(builder, in, &run.document, &errors)) << errors << text;
    return run;
}

TEST(CtlJsonProgram, TheOptionStandsBeforeOrAfterTheCommand) {
    test::DataFolders folders;
    for (const char* arguments : {"--json --demo devices", "--demo devices --json"}) {
        const ProgramRun run = RunProgram(arguments);
        EXPECT_EQ(run.exitCode, 0) << arguments;
        EXPECT_EQ(run.document["api_version"], 1);
        EXPECT_EQ(run.document["command"], "devices");
        EXPECT_EQ(run.document["devices"].size(), 7u) << arguments;
    }
    const ProgramRun pad = RunProgram("--demo=mousepad --json info mousepad");
    EXPECT_EQ(pad.exitCode, 0);
    EXPECT_EQ(pad.document["interface"], "mousepad");
}

TEST(CtlJsonProgram, UsageErrorsOfTheCommandLineAreErrorObjects) {
    test::DataFolders folders;
    const ProgramRun unknown = RunProgram("--json frob");
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_EQ(unknown.document["command"], "frob");
    EXPECT_EQ(unknown.document["error"], "unknown command 'frob'");

    const ProgramRun none = RunProgram("--json");
    EXPECT_EQ(none.exitCode, 2);
    EXPECT_EQ(none.document["command"], "");
    EXPECT_EQ(none.document["error"], "no command given");

    const ProgramRun words = RunProgram("--json --demo info");
    EXPECT_EQ(words.exitCode, 2);
    EXPECT_EQ(words.document["command"], "info");
    EXPECT_EQ(words.document["api_version"], 1);

    const ProgramRun missing = RunProgram("--json --demo=mouse keytable keyboard");
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.document["error"], "no keyboard is connected");
}

} // namespace
