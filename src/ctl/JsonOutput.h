#pragma once
// quarin-z17ctl --json: every command prints exactly one JSON object on the output stream
// (docs/ctl-json.md). A command adds its data members to the report the Output carries; the
// error message of Failed() and UsageError() is kept there too; RunReported() then writes the
// one object, whatever the command printed or failed.

#include <json/value.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace ctl {

struct Output;

// Raised only when a member is removed or changes meaning; new members keep it.
constexpr int kJsonApiVersion = 1;

class JsonReport {
public:
    // The command's data members, an object ("devices": [...]).
    Json::Value& Data() { return m_data; }
    // The first message given wins: later ones follow from it.
    void SetError(const std::string& message);

    // The object for the output stream: "api_version", "command", the data members, and
    // "error" for a nonzero exit code or "ok": true for a command that gave no data.
    Json::Value Document(const std::string& command, int exitCode) const;

private:
    Json::Value m_data{Json::objectValue};
    std::string m_error;
};

// The "command" member of a command line: the command, and for profile, key and macro its
// operation ("profile list"); "" when there is none.
std::string JsonCommandName(const std::vector<std::string>& args);

// Runs `command`. With `json`, it runs with a report and the report's object is written to
// output.out; without, it runs on `output` as it is. The exit code is the command's.
int RunReported(bool json, const std::string& commandName, const Output& output,
                const std::function<int(const Output&)>& command);

// The object with two-space indentation and a final newline, UTF-8 as it is.
void WriteJson(std::FILE* out, const Json::Value& document);

// "0a1b2c": lower-case hexadecimal digits, two per byte.
std::string HexBytes(const std::uint8_t* bytes, std::size_t size);

} // namespace ctl
