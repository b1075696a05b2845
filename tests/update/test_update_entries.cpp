// The update entries of the model table, their application keys and version texts, and the
// reading of the service's request and reply apart from any transfer.

#include "update/UpdateEntry.h"
#include "update/UpdateReply.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using namespace update;

std::vector<char> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

TEST(UpdateEntries, RowsTakeTheirVersionsInTableOrderAndTheApplicationComesLast) {
    const std::vector<UpdateEntry> entries = UpdateEntries({0x0203, 0x0105, 0x0101}, 210);
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].currentVersion, 0x0203);
    EXPECT_EQ(entries[1].currentVersion, 0x0105);
    EXPECT_EQ(entries[2].currentVersion, 0x0101);
    EXPECT_EQ(entries[3].currentVersion, 210);

    EXPECT_EQ(BuildApplicationKey(entries[0]), L"ORBEK_1_RT20M_MS_1");
    EXPECT_EQ(BuildApplicationKey(entries[1]), L"ORBEK_1_RT21K_QUARIN Z17 Keyboard_1");
    EXPECT_EQ(BuildApplicationKey(entries[2]), L"ORBEK_2_RT22H_1_RT23_1");
    EXPECT_EQ(BuildApplicationKey(entries[3]), L"ORBEK_0_ALL_RT23_C1_C2_1");

    EXPECT_TRUE(entries[2].IsHex());
    EXPECT_FALSE(entries[2].IsApplication());
    const UpdateEntry& application = entries[3];
    EXPECT_TRUE(application.IsApplication());
    EXPECT_FALSE(application.IsHex());
    EXPECT_EQ(application.displayName, L"AP");
    EXPECT_EQ(application.versionText, L"V0100");
}

TEST(UpdateEntries, OnlyEntriesWithAVersionAreGiven) {
    const std::vector<UpdateEntry> keyboardOnly = UpdateEntries({0, 0x0105}, 105);
    ASSERT_EQ(keyboardOnly.size(), 2u);
    EXPECT_EQ(keyboardOnly[0].modelCode, L"RT21K");
    EXPECT_EQ(keyboardOnly[1].modelCode, L"ALL");

    const std::vector<UpdateEntry> noDevice = UpdateEntries({}, 105);
    ASSERT_EQ(noDevice.size(), 1u);
    EXPECT_TRUE(noDevice[0].IsApplication());

    // Versions past the device rows (the headset has no update row) are not used, and an
    // application without an installed version is not asked about.
    const std::vector<UpdateEntry> devicesOnly = UpdateEntries({1, 2, 3, 4, 5}, 0);
    ASSERT_EQ(devicesOnly.size(), 3u);
    EXPECT_EQ(devicesOnly[2].currentVersion, 3);

    UpdateEntry absent = keyboardOnly[0];
    absent.currentVersion = 0;
    EXPECT_EQ(BuildApplicationKey(absent), L"NULL");
}

TEST(UpdateEntries, InstalledVersionDropsTheDotsAndReadsTheRestAsDecimal) {
    EXPECT_EQ(ParseInstalledVersion("1.0.5"), 105);
    EXPECT_EQ(ParseInstalledVersion("2.1.0"), 210);
    EXPECT_EQ(ParseInstalledVersion("10.2"), 102);
    EXPECT_EQ(ParseInstalledVersion(""), 0);
    EXPECT_EQ(ParseInstalledVersion("2.1.0-rc1"), 210);
    EXPECT_EQ(ParseInstalledVersion("beta"), 0);
    EXPECT_EQ(ParseInstalledVersion("99999.99999.99999"), std::numeric_limits<std::int32_t>::max());
}

TEST(UpdateEntries, LocalVersionIsFourHexDigitsOrDecimal) {
    UpdateEntry entry;
    entry.numberFormat = 1;
    entry.currentVersion = 0x0105;
    EXPECT_EQ(LocalVersionText(entry), L"V0105");
    entry.currentVersion = 0x12345;
    EXPECT_EQ(LocalVersionText(entry), L"V12345");
    entry.numberFormat = 0;
    entry.currentVersion = 210;
    EXPECT_EQ(LocalVersionText(entry), L"V210");
}

TEST(UpdateRequest, AddressAndBodyWithItsZeroByte) {
    EXPECT_EQ(UpdateServiceUrl("https://updates.example"), "https://updates.example/api/updates");
    EXPECT_EQ(UpdateServiceUrl("https://updates.example/"), "https://updates.example/api/updates");
    EXPECT_EQ(UpdateServiceUrl("https://example/base"), "https://example/base/api/updates");

    EXPECT_EQ(UpdateRequestBody(L"ORBEK_1_RT20M_MS_1", 0x0105, true),
              std::string("app_key=ORBEK_1_RT20M_MS_1&version=105\0", 39));
    EXPECT_EQ(UpdateRequestBody(L"NULL", 0x00ab, true),
              std::string("app_key=NULL&version=ab\0", 24));
    EXPECT_EQ(UpdateRequestBody(L"K", 210, false), std::string("app_key=K&version=210\0", 22));
    // Wide text goes out as UTF-8: the length is counted in its bytes.
    EXPECT_EQ(UpdateRequestBody(L"M\u00e4use", 1, false),
              std::string("app_key=M\xc3\xa4use&version=1\0", 25));
}

TEST(UpdateReply, HexEntriesCompareBaseSixteenAndShowTheServerVersionWithAV) {
    const std::string reply = R"({"path": "https://dl.example/kb.exe", "name": "Keyboard",
        // the service may annotate its replies
        "version_name": "1.06", "version": "0106", "device_id": 17})";
    const UpdateResult newer = ReadUpdateReply(Bytes(reply), int(reply.size()), 0x0105, true);
    EXPECT_EQ(newer.status, kStatusNewer);
    EXPECT_EQ(newer.localVersion, L"V0105");
    EXPECT_EQ(newer.serverVersion, L"V0106");
    EXPECT_EQ(newer.versionName, L"1.06");
    EXPECT_EQ(newer.name, L"Keyboard");
    EXPECT_EQ(newer.downloadPath, L"https://dl.example/kb.exe");
    EXPECT_EQ(newer.deviceId, 17);

    // "0106" read in base 10 would be below 0x0107; in base 16 it is not newer.
    EXPECT_EQ(ReadUpdateReply(Bytes(reply), int(reply.size()), 0x0107, true).status,
              kStatusCurrent);
    EXPECT_EQ(ReadUpdateReply(Bytes(reply), int(reply.size()), 0x0106, true).status,
              kStatusCurrent);
}

TEST(UpdateReply, DecimalEntriesShowTheVersionName) {
    const std::string reply = R"({"version_name": "2.0.9", "version": "209"})";
    const UpdateResult current = ReadUpdateReply(Bytes(reply), int(reply.size()), 210, false);
    EXPECT_EQ(current.status, kStatusCurrent);
    EXPECT_EQ(current.localVersion, L"V210");
    EXPECT_EQ(current.serverVersion, L"2.0.9");
    EXPECT_EQ(ReadUpdateReply(Bytes(reply), int(reply.size()), 208, false).status, kStatusNewer);
}

TEST(UpdateReply, NoLinkNamesTheResultAndAnUnreadableReplyLeavesTheStatusOpen) {
    const UpdateResult noLink = ReadUpdateReply(Bytes(kNoLinkServer), 0, 0x0105, true);
    EXPECT_EQ(noLink.name, L"NO_LINK_SERVER");
    EXPECT_EQ(noLink.status, 0);
    EXPECT_EQ(noLink.localVersion, L"V0105");

    EXPECT_EQ(ReadUpdateReply({}, 0, 1, false).name, L"");
    for (const std::string& text :
         {std::string("<html>busy</html>"), std::string("[1, 2]"), std::string("\"0106\"")}) {
        const UpdateResult unread = ReadUpdateReply(Bytes(text), int(text.size()), 1, true);
        EXPECT_EQ(unread.status, 0) << text;
        EXPECT_EQ(unread.serverVersion, L"") << text;
    }

    // The reply is text up to its first zero byte.
    const std::string padded = std::string(R"({"version": "0002"})") + '\0' + "garbage";
    EXPECT_EQ(ReadUpdateReply(Bytes(padded), int(padded.size()), 1, true).status, kStatusNewer);
}

} // namespace
