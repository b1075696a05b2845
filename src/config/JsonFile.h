#pragma once
// Every JSON file of the program is read through these helpers.

#include <json/value.h>
#include <string>

namespace config {

// The whole document; a null value when the file is missing, empty or not valid JSON.
Json::Value ReadJsonFile(const std::string& path);

} // namespace config
