// Device paths: reading the identity pieces back, building them, and the helpers that turn
// what udev and sysfs say into paths.

#include "transport/HidBackend.h"
#include "transport/HidrawIdentity.h"

#include <gtest/gtest.h>

namespace {

using namespace transport;

TEST(HidPathParsing, ReadsEachPieceWhateverItsCase) {
    const std::string lower = "/dev/hidraw3?vid_320f&pid_5001&mi_01&col04";
    EXPECT_EQ(PathVendorId(lower), 0x320F);
    EXPECT_EQ(PathProductId(lower), 0x5001);
    EXPECT_EQ(PathInterfaceNumber(lower), 1);
    EXPECT_EQ(PathCollectionNumber(lower), 4);
    const std::string upper = R"(\\?\HID#VID_0C45&PID_7698&MI_01&COL03#8&1a2b&0&0002#{4d1e55b2})";
    EXPECT_EQ(PathVendorId(upper), 0x0C45);
    EXPECT_EQ(PathProductId(upper), 0x7698);
    EXPECT_EQ(PathInterfaceNumber(upper), 1);
    EXPECT_EQ(PathCollectionNumber(upper), 3);
}

TEST(HidPathParsing, MissingPiecesAndOddNumbers) {
    const std::string headset = "/dev/hidraw7?vid_0c76&pid_1630&mi_03";
    EXPECT_EQ(PathInterfaceNumber(headset), 3);
    EXPECT_EQ(PathCollectionNumber(headset), 0);
    EXPECT_EQ(PathVendorId("/dev/hidraw0"), 0);
    EXPECT_EQ(PathInterfaceNumber("/dev/hidraw0?vid_320f&pid_5001"), 0);
    EXPECT_EQ(PathVendorId("vid_&pid_12"), 0); // no digits
    EXPECT_EQ(PathVendorId("vid_xyz"), 0);
    EXPECT_EQ(PathVendorId("vid_123456"), 0x3456); // low 16 bits
    EXPECT_EQ(PathVendorId("vid_FFFFFFFFF1"), 0xFFF1);
    EXPECT_EQ(PathVendorId("vid_0x1A"), 0x1A);       // as "%x" reads it
    EXPECT_EQ(PathInterfaceNumber("&mi_&mi_05"), 0); // only the first occurrence counts
    EXPECT_EQ(PathVendorId("vi"), 0);
    EXPECT_EQ(PathVendorId("vid_"), 0);
}

TEST(HidPathBuilding, WritesLowerCaseHexAndLeavesOutCollectionZero) {
    EXPECT_EQ(MakeHidPath("/dev/hidraw3", 0x320F, 0x5001, 1, 4),
              "/dev/hidraw3?vid_320f&pid_5001&mi_01&col04");
    EXPECT_EQ(MakeHidPath("/dev/hidraw7", 0x0C76, 0x1630, 3, 0),
              "/dev/hidraw7?vid_0c76&pid_1630&mi_03");
    const std::string built = MakeHidPath("/dev/hidraw1", 0xABCD, 0x00EF, 0x12, 0x1F);
    EXPECT_EQ(PathVendorId(built), 0xABCD);
    EXPECT_EQ(PathProductId(built), 0x00EF);
    EXPECT_EQ(PathInterfaceNumber(built), 0x12);
    EXPECT_EQ(PathCollectionNumber(built), 0x1F);
    EXPECT_EQ(NodeOfPath(built), "/dev/hidraw1");
    EXPECT_EQ(NodeOfPath("/dev/hidraw1"), "/dev/hidraw1");
}

TEST(HidIdentity, ReadsTheHidIdPropertyAndTheSysfsName) {
    const auto property = ParseHidId("0003:0000320F:00005001");
    ASSERT_TRUE(property);
    EXPECT_EQ(property->bus, 3);
    EXPECT_EQ(property->vendorId, 0x320F);
    EXPECT_EQ(property->productId, 0x5001);
    EXPECT_FALSE(property->instance);

    const auto name = ParseHidId("0003:0C45:7698.000A");
    ASSERT_TRUE(name);
    EXPECT_EQ(name->vendorId, 0x0C45);
    EXPECT_EQ(name->productId, 0x7698);
    EXPECT_EQ(name->instance, 0x000Au);

    for (const char* bad : {"", "0003", "0003:320F", "0003:320F:", "0003:320F:5001.",
                            "0003:320F:5001x", "hidraw3", "0003:0000320F0:5001"})
        EXPECT_FALSE(ParseHidId(bad)) << bad;
}

TEST(HidIdentity, SysfsHelpers) {
    EXPECT_EQ(ParseHexAttribute("01\n"), 1);
    EXPECT_EQ(ParseHexAttribute("0a"), 10);
    EXPECT_EQ(ParseHexAttribute("0100\n"), 0x100);
    EXPECT_EQ(ParseHexAttribute(nullptr), 0);
    EXPECT_EQ(ParseHexAttribute("zz"), 0);
    EXPECT_EQ(LastPathComponent("../../../0003:320F:5001.0007"), "0003:320F:5001.0007");
    EXPECT_EQ(LastPathComponent("0003:320F:5001.0007"), "0003:320F:5001.0007");
}

TEST(HidIdentity, OnePathPerCollectionAndNoSuffixForASingleOne) {
    HidId id;
    id.vendorId = 0x320F;
    id.productId = 0x5001;
    EXPECT_EQ(InterfacePaths("/dev/hidraw2", id, 1, 4),
              (std::vector<std::string>{"/dev/hidraw2?vid_320f&pid_5001&mi_01&col01",
                                        "/dev/hidraw2?vid_320f&pid_5001&mi_01&col02",
                                        "/dev/hidraw2?vid_320f&pid_5001&mi_01&col03",
                                        "/dev/hidraw2?vid_320f&pid_5001&mi_01&col04"}));
    EXPECT_EQ(InterfacePaths("/dev/hidraw5", id, 3, 1),
              std::vector<std::string>{"/dev/hidraw5?vid_320f&pid_5001&mi_03"});
    EXPECT_TRUE(InterfacePaths("/dev/hidraw5", id, 3, 0).empty());
}

TEST(HidDefaultBackend, IsHidrawUntilAnotherIsSet) {
    HidBackend& hidraw = DefaultHidBackend();
    struct Fake : HidBackend {
        bool Enumerate(std::vector<std::string>&) override { return true; }
        std::unique_ptr<HidDevice> Open(const std::string&, const OpenFlags&, int*) override {
            return nullptr;
        }
        bool Exists(const std::string&) override { return false; }
        int WaitForChange(Event&, int) override { return kWaitStopped; }
    } fake;
    SetDefaultHidBackend(&fake);
    EXPECT_EQ(&DefaultHidBackend(), &fake);
    SetDefaultHidBackend(nullptr);
    EXPECT_EQ(&DefaultHidBackend(), &hidraw);
    EXPECT_NE(&hidraw, static_cast<HidBackend*>(&fake));
}

} // namespace
