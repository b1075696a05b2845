#include "config/JsonAccess.h"

#include <cmath>

namespace config::json {

Json::Value* Member(Json::Value& value, const char* key) {
    if (!value.isNull() && !value.isObject())
        return nullptr;
    return &value[key];
}

Json::Value* Element(Json::Value& value, int index) {
    if (index < 0 || (!value.isNull() && !value.isArray()))
        return nullptr;
    return &value[static_cast<Json::ArrayIndex>(index)];
}

std::int64_t ToInt64(const Json::Value& value) {
    switch (value.type()) {
    case Json::intValue:
        return value.asInt64();
    case Json::uintValue:
        return static_cast<std::int64_t>(value.asUInt64());
    case Json::realValue: {
        const double number = value.asDouble();
        // Outside this range the conversion is undefined; such values carry no setting.
        if (!std::isfinite(number) || number <= -9.2e18 || number >= 9.2e18)
            return 0;
        return static_cast<std::int64_t>(number);
    }
    case Json::booleanValue:
        return value.asBool() ? 1 : 0;
    default:
        return 0;
    }
}

bool ToBool(const Json::Value& value) {
    if (value.type() == Json::realValue)
        return value.asDouble() != 0.0;
    return ToInt64(value) != 0;
}

int ReadInt(Json::Value& object, const char* key) {
    const Json::Value* member = Member(object, key);
    return member ? static_cast<int>(ToInt64(*member)) : 0;
}

bool ReadBool(Json::Value& object, const char* key) {
    const Json::Value* member = Member(object, key);
    return member && ToBool(*member);
}

std::string ReadString(Json::Value& object, const char* key) {
    const Json::Value* member = Member(object, key);
    return member && member->isString() ? member->asString() : std::string();
}

Json::Value& Ensure(Json::Value& value, Json::ValueType type) {
    if (value.type() != type)
        value = Json::Value(type);
    return value;
}

} // namespace config::json
