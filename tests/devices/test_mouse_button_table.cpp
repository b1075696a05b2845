// The mouse's button map from the factory codes, and the key table and used-macro list built
// from the button assignments.

#include "devices/MouseButtonMap.h"
#include "devices/MouseButtonTable.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace devices;
using Bytes = std::vector<std::uint8_t>;

Bytes TableOf(const std::vector<KeyCode>& codes) {
    Bytes table;
    for (const KeyCode& c : codes)
        table.insert(table.end(), {c.type, c.param1, c.param2});
    return table;
}

KeyRecord Button(KeyCode code, KeyCode defaultCode) {
    KeyRecord record;
    record.code = code;
    record.defaultCode = defaultCode;
    return record;
}

TEST(MouseButtonMapTest, EachButtonIsTheFirstSlotWithItsFactoryCode) {
    const auto& f = MouseFactoryCodes();
    // Slots: right, left, left again, fire, an unknown code, forward.
    const Bytes table = TableOf({f[1], f[0], f[0], f[10], {0x20, 0x04, 0}, f[3]});
    const MouseButtonMap map = BuildMouseButtonMap(table, 6);
    const MouseButtonMap expected = {1, 0, 170, 5, 170, 170, 170, 170, 170, 170, 3};
    EXPECT_EQ(map, expected);

    EXPECT_EQ(BuildMouseButtonMap(table, 3)[3], kNoMouseSlot)
        << "slots beyond the mouse's button count are not looked at";
    EXPECT_EQ(BuildMouseButtonMap(Bytes(5, 0x10), 100)[0], kNoMouseSlot)
        << "a short table: no slot past its end";
}

class MouseButtonTableTest : public ::testing::Test {
protected:
    const std::array<KeyCode, kMouseButtonCount>& f = MouseFactoryCodes();
    // The mouse holds buttons 0 to 4 in slots 0 to 4; button 5 is not there.
    Bytes table = TableOf({f[0], f[1], f[2], f[3], f[4]});
    MouseButtonMap map = BuildMouseButtonMap(table, 5);
    std::vector<KeyRecord> buttons = {
        Button({0x10, 0x01, 0}, f[0]), // left as it is
        Button({0x70, 3, 1}, f[1]),    // macro 3
        Button({0x71, 1, 4}, f[2]),    // macro 1, four times
        Button({0x70, 3, 2}, f[3]),    // macro 3 again
        Button({0x70, 7, 0}, f[4]),    // macro 7, beyond a library of 5
        Button({0x70, 0, 0}, f[5]),    // macro 0, on a button the mouse lacks
    };
};

TEST_F(MouseButtonTableTest, MacrosAreNumberedInTheOrderTheButtonsFirstUseThem) {
    EXPECT_EQ(MouseUsedMacros(map, buttons, 5), (std::vector<int>{3, 1}));
    const Bytes sent = BuildMouseButtonTable(table, map, buttons, 5);
    EXPECT_EQ(sent, (Bytes{0x10, 0x01, 0, 0x70, 0, 1, 0x71, 1, 4, 0x70, 0, 2, 0x10, 0x08, 0}))
        << "macro 3 is the mouse's 0, macro 1 its 1; macro 7 goes as the default bytes";
}

TEST_F(MouseButtonTableTest, WithoutALibraryEveryMacroButtonGoesAsItsDefault) {
    EXPECT_TRUE(MouseUsedMacros(map, buttons, 0).empty());
    EXPECT_EQ(BuildMouseButtonTable(table, map, buttons, 0), table);
}

TEST_F(MouseButtonTableTest, ButtonsWithoutARecordKeepTheMouseBytes) {
    buttons.resize(2);
    const Bytes sent = BuildMouseButtonTable(table, map, buttons, 5);
    EXPECT_EQ(Bytes(sent.begin() + 6, sent.end()), Bytes(table.begin() + 6, table.end()));
    EXPECT_EQ(sent[3], 0x70);
}

} // namespace
