#pragma once
// The documents of data/DefaultData and the language files of data/skin, loaded once, and the
// member checks shared by their tests.

#include <json/value.h>
#include <map>
#include <set>
#include <string>

namespace datafiles {

struct ShippedFile {
    std::string bytes;    // the file as shipped; empty when it cannot be read
    Json::Value document; // null when the bytes are not one strict JSON document
    std::string errors;   // the parser's complaint
};

// A file of the default-data folder, by name ("keyboard.Json").
const ShippedFile& Shipped(const std::string& name);

// Record "Device"[0] of a default profile document (null when absent).
const Json::Value& DeviceRecord(const std::string& name);

// The texts of a language file of the skin ("lan_en.xml") by id; sets `wellFormed` to whether
// the XML parsed to its end.
std::map<std::string, std::string> Texts(const std::string& languageFile,
                                         bool* wellFormed = nullptr);
// The text ids of a language file, as Texts.
std::set<std::string> TextIds(const std::string& languageFile, bool* wellFormed = nullptr);

// The profile records write integers; a boolean or a fractional number is a fault even where
// the reader would accept it.
bool IsInteger(const Json::Value& value);

// The value of `key` when it is an integer, else `fallback`.
long long IntOf(const Json::Value& object, const char* key, long long fallback = -1);

// Non-fatal checks that name the key in their failure message.
void ExpectMembers(const Json::Value& object, const std::set<std::string>& keys);
void ExpectInt(const Json::Value& object, const char* key, long long low, long long high);
inline void ExpectByte(const Json::Value& object, const char* key) {
    ExpectInt(object, key, 0, 255);
}
inline void ExpectWord(const Json::Value& object, const char* key) {
    ExpectInt(object, key, 0, 65535);
}
inline void ExpectFlag(const Json::Value& object, const char* key) {
    ExpectInt(object, key, 0, 1);
}

} // namespace datafiles
