#include "config/ShootFiles.h"

#include "config/JsonAccess.h"
#include "config/MacroFiles.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace config {

namespace {
// 180 events take a few kilobytes; anything far larger is not a shoot file.
constexpr std::size_t kMaxShootFileBytes = 4 * 1024 * 1024;

constexpr int kLeftButton = 1;
constexpr int kPressDelay = 10;
constexpr int kMoveDelay = 5;

// A number, or decimal text as ".mac" files carry delays; anything else is 0.
std::int64_t NumberOf(const Json::Value& value) {
    if (value.isString()) {
        const std::string text = value.asString();
        std::int64_t number = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
        return error == std::errc() && end == text.data() + text.size() ? number : 0;
    }
    if (value.isUInt64() && !value.isInt64())
        return std::numeric_limits<std::int64_t>::max();
    return json::ToInt64(value);
}

const Json::Value& EventAt(const Json::Value& document, int position) {
    static const Json::Value kNone;
    if (!document.isObject())
        return kNone;
    const Json::Value& events = document["Events"];
    if (!events.isArray() || position < 0 ||
        static_cast<Json::ArrayIndex>(position) >= events.size())
        return kNone;
    const Json::Value& event = events[static_cast<Json::ArrayIndex>(position)];
    return event.isObject() ? event : kNone;
}

bool IsDown(const Json::Value& event) {
    const Json::Value& action = event["Action"];
    return action.isString() && action.asString() == "down";
}

Json::Value Event(int type, bool down, std::int64_t button, std::int64_t delay) {
    Json::Value event(Json::objectValue);
    event["Type"] = type;
    event["Action"] = down ? "down" : "up";
    event["Button"] = static_cast<Json::Int64>(button);
    event["Delay"] = static_cast<Json::Int64>(delay);
    return event;
}

template <typename T> T Held(std::int64_t value, T high) {
    return static_cast<T>(std::clamp<std::int64_t>(value, 0, high));
}
} // namespace

std::string ShootFilePath(const std::string& folder, int slot) {
    return folder + "ShootData_" + std::to_string(slot) + ".Shoot";
}

ShootFileRead ReadShootFile(const std::string& path) {
    JsonRead read = ReadJsonDocument(path, kMaxShootFileBytes);
    return {std::move(read.document), read.state};
}

int WriteShootFile(const std::string& path, const Json::Value& document) {
    return WriteJsonFile(path, document) ? kShootFileDone : kShootFileWriteFailed;
}

int CopyShootFile(const std::string& from, const std::string& to) {
    return CopyMacroFile(from, to);
}

ShootBullet ReadShootBullet(const Json::Value& document, int bullet) {
    const Json::Value& horizontal = EventAt(document, bullet * kShootEventsPerBullet + 2);
    const Json::Value& vertical = EventAt(document, bullet * kShootEventsPerBullet + 3);
    ShootBullet values;
    values.left = IsDown(horizontal);
    values.x = NumberOf(horizontal["Button"]);
    values.up = IsDown(vertical);
    values.y = NumberOf(vertical["Button"]);
    values.delay = NumberOf(vertical["Delay"]);
    return values;
}

std::vector<Json::Value> ShootBulletEvents(const ShootBullet& values) {
    return {Event(kMacroMouseButton, true, kLeftButton, kPressDelay),
            Event(kMacroMouseButton, false, kLeftButton, 0),
            Event(kMacroMoveHorizontal, values.left, values.x, kMoveDelay),
            Event(kMacroMoveVertical, values.up, values.y, values.delay),
            Event(kMacroMoveHorizontal, values.left, 0, 0),
            Event(kMacroMoveVertical, values.up, 0, 0)};
}

void PutShootBullet(Json::Value& document, int bullet, const ShootBullet& values) {
    if (bullet < 0)
        return;
    Json::Value& events =
        json::Ensure(json::Ensure(document, Json::objectValue)["Events"], Json::arrayValue);
    int position = bullet * kShootEventsPerBullet;
    for (Json::Value& event : ShootBulletEvents(values))
        events[static_cast<Json::ArrayIndex>(position++)] = std::move(event);
}

std::vector<MacroEvent> ShootSlotEvents(const Json::Value& document) {
    std::vector<MacroEvent> events;
    events.reserve(kShootEventCount);
    for (int position = 0; position < kShootEventCount; ++position) {
        const Json::Value& value = EventAt(document, position);
        MacroEvent event;
        event.type = Held<std::uint8_t>(NumberOf(value["Type"]), 255);
        event.down = IsDown(value);
        event.button = Held<std::uint8_t>(NumberOf(value["Button"]), 255);
        event.delay = Held<std::uint16_t>(NumberOf(value["Delay"]), kMaxMacroDelay);
        events.push_back(event);
    }
    return events;
}

} // namespace config
