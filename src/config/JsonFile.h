#pragma once
// Every JSON file of the program is read and written through these helpers. Paths are UTF-8
// (narrow) or wide strings; wide paths are converted with WideToUtf8.

#include "config/TimestampId.h"
#include "config/Utf8.h"

#include <cstddef>
#include <json/value.h>
#include <limits>
#include <string>

namespace config {

// How reading a JSON file went. Only a missing or damaged file may be replaced by a new one:
// the others are files the program could not look into, and are left as they are.
enum class ReadState {
    kRead,       // the document is there
    kMissing,    // there is no file of that name
    kDamaged,    // the file holds no JSON document (empty or malformed)
    kUnreadable, // the file is there but cannot be read; `error` says why
    kNotAFile,   // a folder, a FIFO or a device node
    kTooLarge,   // larger than the reader was allowed to take
};

struct JsonRead {
    Json::Value document; // null unless kRead
    ReadState state = ReadState::kMissing;
    int error = 0; // the errno of kUnreadable

    // Something is there that could not be looked into.
    bool Refused() const {
        return state == ReadState::kUnreadable || state == ReadState::kNotAFile ||
               state == ReadState::kTooLarge;
    }
};

// Reads and parses the file. FIFOs and device nodes are never opened, so the read cannot hang
// on one; a regular file larger than maxBytes is not read.
JsonRead ReadJsonDocument(const std::string& path,
                          std::size_t maxBytes = std::numeric_limits<std::size_t>::max());
// Why a refused read failed, for a message: "Permission denied", "not a regular file", ...
std::string DescribeRefusedRead(const JsonRead& read);

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
