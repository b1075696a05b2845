// The four recoil patterns shipped as the weapon slots' defaults: each is a strict document
// of 30 bullets laid out as the editor writes them, within the mouse's limits, and reads back
// through the editor's reader.

#include "config/JsonFile.h"
#include "config/ShootFiles.h"
#include "data_files/shipped_data.h"

#include <gtest/gtest.h>
#include <string>

using namespace datafiles;

namespace {

std::string SlotFile(int slot) {
    return "ShootData_" + std::to_string(slot) + ".Shoot";
}

TEST(DefaultShootFiles, EachSlotShipsThirtyBulletsInTheEditorsLayout) {
    for (int slot = 0; slot < config::kShootSlotCount; ++slot) {
        SCOPED_TRACE(SlotFile(slot));
        const ShippedFile& file = Shipped(SlotFile(slot));
        ASSERT_TRUE(file.document.isObject()) << file.errors;
        EXPECT_EQ(config::StyledText(file.document), file.bytes)
            << "the file is laid out as the program writes it";
        const Json::Value& events = file.document["Events"];
        ASSERT_TRUE(events.isArray());
        ASSERT_EQ(events.size(), static_cast<Json::ArrayIndex>(config::kShootEventCount));

        for (int bullet = 0; bullet < config::kShootBulletCount; ++bullet) {
            SCOPED_TRACE("bullet " + std::to_string(bullet));
            for (const char* key : {"Type", "Button", "Delay"})
                for (int at = 0; at < 6; ++at)
                    EXPECT_TRUE(
                        IsInteger(events[static_cast<Json::ArrayIndex>(bullet * 6 + at)][key]))
                        << key << " of event " << at;
            const config::ShootBullet values = config::ReadShootBullet(file.document, bullet);
            EXPECT_GE(values.x, 0);
            EXPECT_LE(values.x, 255);
            EXPECT_GE(values.y, 0);
            EXPECT_LE(values.y, 255);
            EXPECT_GE(values.delay, 0);
            EXPECT_LE(values.delay, 65535);
            EXPECT_FALSE(values.up) << "the pattern pulls down against the climb";
            EXPECT_GT(values.y, 0);
            // The editor would write the bullet back exactly as shipped.
            const std::vector<Json::Value> expected = config::ShootBulletEvents(values);
            for (int at = 0; at < 6; ++at)
                EXPECT_EQ(events[static_cast<Json::ArrayIndex>(bullet * 6 + at)],
                          expected[static_cast<std::size_t>(at)])
                    << "event " << at;
        }
    }
}

TEST(DefaultShootFiles, ReadBackThroughTheSlotReader) {
    for (int slot = 0; slot < config::kShootSlotCount; ++slot) {
        const config::ShootFileRead read = config::ReadShootFile(
            std::string(QUARIN_SOURCE_DATA_DIR) + "/DefaultData/" + SlotFile(slot));
        EXPECT_EQ(read.state, config::ReadState::kRead) << slot;
        EXPECT_EQ(config::ShootSlotEvents(read.document)[3].delay,
                  config::ReadShootBullet(read.document, 0).delay)
            << slot;
    }
}

} // namespace
