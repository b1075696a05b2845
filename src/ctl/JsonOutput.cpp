#include "ctl/JsonOutput.h"

#include "ctl/CtlCommands.h"

#include <json/writer.h>

namespace ctl {

void JsonReport::SetError(const std::string& message) {
    if (m_error.empty())
        m_error = message;
}

Json::Value JsonReport::Document(const std::string& command, int exitCode) const {
    Json::Value document = m_data;
    document["api_version"] = kJsonApiVersion;
    document["command"] = command;
    if (exitCode != kExitOk)
        // Every failure path names its reason; the fallback keeps "error" a string regardless.
        document["error"] = m_error.empty() ? std::string("the command failed") : m_error;
    else if (m_data.empty())
        document["ok"] = true;
    return document;
}

std::string JsonCommandName(const std::vector<std::string>& args) {
    if (args.empty())
        return {};
    const bool hasOperation = args[0] == "profile" || args[0] == "key" || args[0] == "macro";
    return hasOperation && args.size() > 1 ? args[0] + " " + args[1] : args[0];
}

int RunReported(bool json, const std::string& commandName, const Output& output,
                const std::function<int(const Output&)>& command) {
    if (!json)
        return command(output);
    JsonReport report;
    Output reported = output;
    reported.json = &report;
    const int exitCode = command(reported);
    WriteJson(output.out, report.Document(commandName, exitCode));
    return exitCode;
}

void WriteJson(std::FILE* out, const Json::Value& document) {
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "  ";
    builder["emitUTF8"] = true;
    const std::string text = Json::writeString(builder, document);
    std::fprintf(out, "%s\n", text.c_str());
}

std::string HexBytes(const std::uint8_t* bytes, std::size_t size) {
    static const char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(2 * size);
    for (std::size_t i = 0; i < size; ++i) {
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 0x0F];
    }
    return text;
}

} // namespace ctl
