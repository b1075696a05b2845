#pragma once
// The recoil ("shoot") files of the mouse's user folder: one "ShootData_<slot>.Shoot" per
// weapon slot (0 to 3), a JSON document whose "Events" array holds six macro events per
// bullet, bullet b at 6b to 6b + 5, 30 bullets:
//   6b     Type 1 "down" Button 1 Delay 10   left press
//   6b + 1 Type 1 "up"   Button 1 Delay 0    its release
//   6b + 2 Type 4 left "down" / right "up", Button X distance, Delay 5
//   6b + 3 Type 5 up "down" / down "up",    Button Y distance, Delay the bullet's delay
//   6b + 4 Type 4 as 6b + 2, Button 0, Delay 0
//   6b + 5 Type 5 as 6b + 3, Button 0, Delay 0
// Unlike ".mac" files the delays are written as JSON integers. Other members of a document are
// kept as the file has them.

#include "config/JsonFile.h"
#include "config/MacroEvent.h"

#include <cstdint>
#include <string>
#include <vector>

namespace config {

inline constexpr int kShootSlotCount = 4;
inline constexpr int kShootBulletCount = 30;
inline constexpr int kShootEventsPerBullet = 6;
inline constexpr int kShootEventCount = kShootBulletCount * kShootEventsPerBullet; // 180

// Results of writing and copying shoot files; the same codes as the macro files'.
inline constexpr int kShootFileDone = 1;
inline constexpr int kShootFileWriteFailed = 0;
inline constexpr int kShootFileSourceMissing = -1;
inline constexpr int kShootFileRefused = -2; // there, but could not be read: nothing written

// One bullet as the editor shows it. The distances and the delay are kept as typed; the
// device's limits (distance 0 to 255, delay 0 to 65535) apply only when they are packed.
struct ShootBullet {
    std::int64_t x = 0;
    bool left = false; // the horizontal move's "Action" is "down"
    std::int64_t y = 0;
    bool up = false; // the vertical move's "Action" is "down"
    std::int64_t delay = 0;

    bool operator==(const ShootBullet&) const = default;
};

struct ShootFileRead {
    Json::Value document; // null unless state is kRead
    ReadState state = ReadState::kMissing;

    bool Refused() const {
        return state == ReadState::kUnreadable || state == ReadState::kNotAFile ||
               state == ReadState::kTooLarge;
    }
};

// folder (ending in a path separator) + "ShootData_" + slot + ".Shoot".
std::string ShootFilePath(const std::string& folder, int slot);

ShootFileRead ReadShootFile(const std::string& path);
// The whole document replaced atomically; kShootFileDone or kShootFileWriteFailed.
int WriteShootFile(const std::string& path, const Json::Value& document);
// Byte for byte, the destination replaced atomically; a missing source gives
// kShootFileSourceMissing, an unreadable one kShootFileRefused, and the destination is then
// not touched.
int CopyShootFile(const std::string& from, const std::string& to);

// Bullet `bullet` of a document; whatever is missing or of the wrong kind reads as 0 / false.
ShootBullet ReadShootBullet(const Json::Value& document, int bullet);
// Writes the six events of `bullet`; the other events stay. A document that is no object is
// replaced by one, and a short "Events" array is grown (the gap reads as zeros).
void PutShootBullet(Json::Value& document, int bullet, const ShootBullet& values);
// The six events of a bullet as written.
std::vector<Json::Value> ShootBulletEvents(const ShootBullet& values);

// All 180 events of a slot as the mouse takes them: missing events count as zeros, "Button"
// is held to 0..255 and "Delay" to 0..65535.
std::vector<MacroEvent> ShootSlotEvents(const Json::Value& document);

} // namespace config
