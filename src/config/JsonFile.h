#pragma once
// Every JSON file of the program is read and written through these helpers. Paths are UTF-8
// (narrow) or wide strings; wide paths are converted with WideToUtf8.

#include "config/TimestampId.h"
#include "config/Utf8.h"

#include <json/value.h>
#include <string>

namespace config {

// The raw content of the file; empty when it cannot be opened, is not a regular file or is
// read short.
std::string readjsonFile(const std::string& path);
std::string readjsonFile(const std::wstring& path);

// The whole document; a null value when the file is missing, empty or not valid JSON
// (including documents nested too deeply for the parser). A leading byte order mark is skipped.
Json::Value ReadJsonFile(const std::string& path);
Json::Value ReadJsonFile(const std::wstring& path);

// The styled text of a value: three-space indent, members in key order, ending in a line end.
std::string StyledText(const Json::Value& value);

// Replaces the file with the styled text, atomically (see AtomicFile.h).
// Returns false, with the old file intact, when the write failed.
bool WriteJsonFile(const std::string& path, const Json::Value& value);
bool WriteJsonFile(const std::wstring& path, const Json::Value& value);

} // namespace config
