// Whole-file reads, the styled write, the UTF-8 conversions and timestamp ids.

#include "ConfigFolder.h"
#include "config/JsonFile.h"

#include <cstdlib>
#include <ctime>
#include <optional>

using namespace config;
using test::Parse;

namespace {

class JsonFileTest : public test::ConfigFolder {};

TEST_F(JsonFileTest, UnreadableOrInvalidFilesReadAsNull) {
    WriteText("empty.json", "");
    WriteText("broken.json", "{\"profilename\": ");
    WriteText("deep.json", std::string(100000, '['));
    for (const char* name : {"missing.json", "empty.json", "broken.json", "deep.json"})
        EXPECT_TRUE(ReadJsonFile(Path(name)).isNull()) << name;
    EXPECT_EQ(readjsonFile(Folder().string()), "");
    EXPECT_TRUE(ReadJsonFile(Folder().string()).isNull());
}

TEST_F(JsonFileTest, ReadsRawContentAndAnyKindOfDocument) {
    WriteText("list.json", "[1, 2] // comment\n");
    EXPECT_EQ(readjsonFile(Path("list.json")), "[1, 2] // comment\n");
    EXPECT_EQ(ReadJsonFile(Path("list.json")), Parse("[1,2]"));
    WriteText("marked.json", "\xEF\xBB\xBF{\"a\": 1}");
    EXPECT_EQ(ReadJsonFile(Path("marked.json")), Parse(R"({"a": 1})"));
}

TEST_F(JsonFileTest, WritesStyledTextInKeyOrderEndingInALineEnd) {
    const Json::Value value = Parse(R"({"b": 1, "a": [true, "x"], "Z": null})");
    ASSERT_TRUE(WriteJsonFile(Path("out.json"), value));
    const std::string text = ReadText("out.json");
    EXPECT_EQ(text, StyledText(value));
    EXPECT_EQ(text.back(), '\n');
    EXPECT_EQ(text.substr(0, 8), "{\n   \"Z\"") << "three-space indent";
    EXPECT_LT(text.find("\"Z\""), text.find("\"a\""));
    EXPECT_LT(text.find("\"a\""), text.find("\"b\""));
    EXPECT_EQ(ReadJsonFile(Path("out.json")), value);
}

TEST_F(JsonFileTest, WidePathsAndStringsRoundTripThroughUtf8) {
    const std::wstring path = WidePath("配置 é.Json");
    Json::Value value;
    value["profilename"] = WideToUtf8(L"游戏 😀");
    ASSERT_TRUE(WriteJsonFile(path, value));
    EXPECT_TRUE(std::filesystem::exists(Folder() / "配置 é.Json"));
    EXPECT_EQ(Utf8ToWide(ReadJsonFile(path)["profilename"].asString()), L"游戏 😀");
}

TEST(Utf8, MalformedInputBecomesReplacementCharacters) {
    EXPECT_EQ(Utf8ToWide("a\xC3(b"), L"a\xFFFD(b");
    EXPECT_EQ(Utf8ToWide("\xC0\xAF"), L"\xFFFD\xFFFD");           // overlong '/'
    EXPECT_EQ(Utf8ToWide("\xED\xA0\x80"), L"\xFFFD\xFFFD\xFFFD"); // encoded surrogate
    EXPECT_EQ(Utf8ToWide("\xE4\xB8"), L"\xFFFD\xFFFD");           // cut short
    EXPECT_EQ(Utf8ToWide("\xF4\x90\x80\x80"), L"\xFFFD\xFFFD\xFFFD\xFFFD");
    EXPECT_EQ(WideToUtf8(std::wstring{L'x', wchar_t(0xD800), wchar_t(0x110000)}),
              "x\xEF\xBF\xBD\xEF\xBF\xBD");
}

class TimestampIdTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* tz = std::getenv("TZ"))
            m_oldZone = tz;
        setenv("TZ", "UTC", 1);
        tzset();
    }
    void TearDown() override {
        if (m_oldZone)
            setenv("TZ", m_oldZone->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    std::optional<std::string> m_oldZone;
};

TEST_F(TimestampIdTest, FormatsLocalTimeWithMilliseconds) {
    using namespace std::chrono;
    const sys_time<milliseconds> when = sys_days{2022y / 7 / 6} + 14h + 5min + 9s + 42ms;
    EXPECT_EQ(MakeTimestampId(when), "2022_07_06_14_05_09_042");
    // Ids made within the same millisecond are equal; nothing tells them apart.
    EXPECT_EQ(MakeTimestampId(when + 999us), MakeTimestampId(when));
    EXPECT_NE(MakeTimestampId(when + 1ms), MakeTimestampId(when));
}

} // namespace
