#pragma once
// Typed access to stored documents as every reader of them expects it:
//  - reading a member goes through the inserting access, so an absent key is added to the
//    document as null and a document written back afterwards carries it as null;
//  - an absent or null value reads as 0, false or the empty string;
//  - a value of the wrong kind (a string where a number belongs, an array where an object
//    belongs) reads the same way and is left as it is. Json::Value's own accessors throw on
//    those; these never do.

#include <cstdint>
#include <json/value.h>
#include <string>

namespace config::json {

// The member `key` of an object (null becomes an object), added as null when absent; nullptr
// when `value` is neither null nor an object.
Json::Value* Member(Json::Value& value, const char* key);
// Element `index` of an array (null becomes an array), growing the array as needed; nullptr
// when `value` is neither null nor an array, or the index is negative.
Json::Value* Element(Json::Value& value, int index);

// Numbers with any fraction dropped, booleans as 0 and 1, everything else 0.
std::int64_t ToInt64(const Json::Value& value);
// Numbers are true when not zero.
bool ToBool(const Json::Value& value);

int ReadInt(Json::Value& object, const char* key);
bool ReadBool(Json::Value& object, const char* key);
std::string ReadString(Json::Value& object, const char* key);

// `value` itself after replacing it with an empty one of `type` when it holds another kind.
Json::Value& Ensure(Json::Value& value, Json::ValueType type);

} // namespace config::json
