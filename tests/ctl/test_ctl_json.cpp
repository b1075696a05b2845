// quarin-z17ctl --json against the virtual devices: one object per command with
// "api_version" 1, "command" and the command's data as the devices hold it; failures keep
// their exit codes and messages and add "error"; text output without --json is unchanged.

#include "CtlRun.h"
#include "config/MacroFiles.h"
#include "ctl/CtlCommands.h"
#include "ctl/Dispatch.h"
#include "ctl/HeadsetCommands.h"
#include "ctl/JsonOutput.h"
#include "ctl/KeyboardCommands.h"
#include "ctl/LightCommands.h"
#include "ctl/MacroCommands.h"
#include "ctl/MouseCommands.h"
#include "ctl/ProfileCommands.h"
#include "ctl/UpdateCommands.h"
#include "headset/VirtualHeadsetLibrary.h"
#include "sim/VirtualDevice.h"
#include "sim/VirtualHidBackend.h"
#include "sim/VirtualProducts.h"
#include "support/DataFolders.h"
#include "support/HttpsTestServer.h"

#include <json/reader.h>
#include <json/writer.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct JsonRun {
    int exitCode = -1;
    Json::Value document;
    std::string err;
};

// The whole output as exactly one JSON object, nothing before or after it.
Json::Value ParseOne(const std::string& text) {
    Json::CharReaderBuilder builder;
    Json::CharReaderBuilder::strictMode(&builder.settings_);
    Json::Value document;
    std::string errors;
    std::istringstream in(text);
    EXPECT_TRUE(Json::parseFromStream(builder, in, &document, &errors)) << errors << text;
    EXPECT_TRUE(document.isObject()) << text;
    return document;
}

std::vector<std::string> Split(const std::string& line, char separator) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, separator);)
        fields.push_back(field);
    return fields;
}

class CtlJson : public ::testing::Test {
protected:
    void SetUp() override {
        for (sim::VirtualProduct product : sim::DefaultDemoProducts()) {
            plugged.push_back(sim::MakeVirtualDevice(product));
            plugged.back()->SetReplyDelay(std::chrono::microseconds(0));
            backend.Plug(plugged.back());
        }
    }
    sim::VirtualDevice& Plugged(sim::VirtualProduct product) {
        for (const auto& device : plugged)
            if (device->Product() == product)
                return *device;
        ADD_FAILURE() << "not plugged";
        return *plugged.front();
    }

    // The command `args` names, as the program runs it.
    int Call(const std::vector<std::string>& args, const ctl::Output& output) {
        return ctl::Dispatch(backend, args, output, {"", &audio});
    }
    test::CtlRun Captured(bool json, const std::vector<std::string>& args) {
        return test::RunCaptured([&](const ctl::Output& output) {
            return ctl::RunReported(json, ctl::JsonCommandName(args), output,
                                    [&](const ctl::Output& o) { return Call(args, o); });
        });
    }
    // Checks the members every object has.
    JsonRun Json(const std::vector<std::string>& args) {
        const test::CtlRun run = Captured(true, args);
        JsonRun result{run.exitCode, ParseOne(run.out), run.err};
        EXPECT_EQ(result.document["api_version"], 1);
        EXPECT_EQ(result.document["command"], ctl::JsonCommandName(args));
        EXPECT_EQ(result.document.isMember("error"), run.exitCode != ctl::kExitOk) << run.out;
        return result;
    }
    std::string Text(const std::vector<std::string>& args) {
        const test::CtlRun run = Captured(false, args);
        EXPECT_EQ(run.exitCode, ctl::kExitOk) << run.err;
        return run.out;
    }
    // A change command: succeeds with "ok" and nothing else.
    void ExpectOk(const std::vector<std::string>& args) {
        const JsonRun run = Json(args);
        EXPECT_EQ(run.exitCode, ctl::kExitOk) << run.err;
        EXPECT_EQ(run.document["ok"], true) << args[0];
        EXPECT_EQ(run.document.size(), 3u) << run.document;
    }

    test::DataFolders folders;
    sim::VirtualHidBackend backend;
    std::vector<std::shared_ptr<sim::VirtualDevice>> plugged;
    headset::VirtualHeadsetLibrary library;
    devices::CHeadsetAudio audio{&library};
};

TEST_F(CtlJson, DevicesListsEveryBoundSlotWithItsIdentity) {
    const JsonRun run = Json({"devices"});
    ASSERT_EQ(run.exitCode, ctl::kExitOk) << run.err;
    const Json::Value& list = run.document["devices"];
    // Keyboard, mouse and pad bind a command and an event interface, the headset one.
    ASSERT_EQ(list.size(), 7u) << list;
    const sim::VirtualDevice& pad = Plugged(sim::VirtualProduct::MousePad);
    Json::Value expected(Json::objectValue);
    expected["slot"] = 8;
    expected["kind"] = "mousepad";
    expected["role"] = "command";
    expected["vendor_product"] = "320f:1004";
    expected["path"] = pad.CommandPath();
    EXPECT_EQ(list[4], expected);
    EXPECT_EQ(list[5]["role"], "event");
    EXPECT_EQ(list[5]["path"], pad.NotificationPath());
    EXPECT_EQ(list[6]["kind"], "headset");
    EXPECT_EQ(list[6]["vendor_product"], "0c76:1630");
    for (const Json::Value& slot : list)
        EXPECT_TRUE(slot["slot"].isUInt());
}

TEST_F(CtlJson, InfoAndKeytableGiveTheDevicesOwnBytesAndKeys) {
    const JsonRun info = Json({"info", "mouse"});
    ASSERT_EQ(info.exitCode, ctl::kExitOk) << info.err;
    const std::vector<std::uint8_t> block = Plugged(sim::VirtualProduct::Mouse).InfoBlock();
    EXPECT_EQ(info.document["information_block"], ctl::HexBytes(block.data(), block.size()));
    EXPECT_EQ(info.document["information_block"].asString().size(), 68u);
    EXPECT_EQ(info.document["interface"], "mouse");

    const JsonRun table = Json({"keytable", "keyboard"});
    ASSERT_EQ(table.exitCode, ctl::kExitOk) << table.err;
    const Json::Value& keys = table.document["keys"];
    const std::vector<std::string> lines = Split(Text({"keytable", "keyboard"}), '\n');
    ASSERT_EQ(keys.size(), lines.size());
    ASSERT_EQ(keys.size(), 124u);
    for (Json::ArrayIndex k = 0; k < keys.size(); ++k) {
        const std::vector<std::string> fields = Split(lines[k], '\t');
        EXPECT_EQ(keys[k]["key"], std::stoi(fields[0]));
        EXPECT_EQ(keys[k]["code"], fields[1]);
        if (fields[2] == "255")
            EXPECT_TRUE(keys[k]["led"].isNull()) << k;
        else
            EXPECT_EQ(keys[k]["led"], std::stoi(fields[2])) << k;
    }
    EXPECT_EQ(keys[0]["code"], "200029");
    EXPECT_TRUE(keys[71]["led"].isNull()) << "key 71 has no LED";
}

TEST_F(CtlJson, ProfileAndKeyCommandsGiveTheListsEntries) {
    const JsonRun empty = Json({"profile", "list", "mouse"});
    EXPECT_EQ(empty.exitCode, ctl::kExitOk);
    EXPECT_TRUE(empty.document["profiles"].isArray());
    EXPECT_EQ(empty.document["profiles"].size(), 0u);
    EXPECT_FALSE(empty.document.isMember("ok")) << "an empty list is still data";

    const JsonRun added = Json({"profile", "add", "mouse"});
    ASSERT_EQ(added.exitCode, ctl::kExitOk) << added.err;
    const JsonRun copied = Json({"profile", "copy", "mouse"});
    ASSERT_EQ(copied.exitCode, ctl::kExitOk) << copied.err;
    ExpectOk({"profile", "select", "mouse", "0"});
    ExpectOk({"profile", "rename", "mouse", "Desk"});
    const JsonRun listed = Json({"profile", "list", "mouse"});
    const Json::Value& profiles = listed.document["profiles"];
    ASSERT_GE(profiles.size(), 2u);
    Json::Value last = copied.document["profile"];
    last["selected"] = false;
    EXPECT_EQ(profiles[profiles.size() - 1], last);
    EXPECT_EQ(profiles[0]["name"], "Desk");
    EXPECT_EQ(profiles[0]["selected"], true);
    EXPECT_EQ(profiles[1]["selected"], false);

    const JsonRun key = Json({"key", "get", "keyboard", "3"});
    ASSERT_EQ(key.exitCode, ctl::kExitOk) << key.err;
    EXPECT_EQ(key.document["key"], 3);
    EXPECT_EQ(key.document["code"].asString() + "\n", Text({"key", "get", "keyboard", "3"}));
    ExpectOk({"key", "set", "keyboard", "3", "20002C"});
    EXPECT_EQ(Json({"key", "get", "keyboard", "3"}).document["code"], "20002C");

    const JsonRun applied = Json({"apply", "keyboard"});
    ASSERT_EQ(applied.exitCode, ctl::kExitOk) << applied.err;
    const Json::Value keyboardProfiles = Json({"profile", "list", "keyboard"}).document["profiles"];
    ASSERT_EQ(keyboardProfiles.size(), 1u);
    EXPECT_EQ(applied.document["profile_id"], keyboardProfiles[0]["id"]);
    EXPECT_EQ(applied.document["macros_written"], 0);
}

TEST_F(CtlJson, MacroCommandsGiveTheLibraryAndTheEvents) {
    const std::string folder =
        (folders.UserData() / "QUARIN Z17 Keyboard" / "keyboard").string() + "/";
    std::filesystem::create_directories(folder);
    const std::vector<config::MacroInfo> macros = {{"Copy", "2026_01_01_10_00_00_001"},
                                                   {"Burst", "2026_01_01_10_00_00_002"}};
    ASSERT_EQ(config::WriteMacroIndex(folder, macros), config::kMacroFileDone);
    ASSERT_EQ(config::WriteMacroEvents(
                  config::MacroEventsPath(folder, macros[1].guid), macros[1],
                  {{config::kMacroKey, true, 4, 30}, {config::kMacroMouseButton, false, 2, 65535}}),
              config::kMacroFileDone);

    const Json::Value list = Json({"macro", "list", "keyboard"}).document["macros"];
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[1]["index"], 1);
    EXPECT_EQ(list[1]["name"], "Burst");
    EXPECT_EQ(list[1]["id"], "2026_01_01_10_00_00_002");

    const JsonRun shown = Json({"macro", "show", "keyboard", "1"});
    ASSERT_EQ(shown.exitCode, ctl::kExitOk) << shown.err;
    EXPECT_EQ(shown.document["index"], 1);
    const Json::Value& events = shown.document["events"];
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0]["type"], config::kMacroKey);
    EXPECT_EQ(events[0]["action"], "down");
    EXPECT_EQ(events[0]["button"], 4);
    EXPECT_EQ(events[0]["delay_ms"], 30);
    EXPECT_EQ(events[1]["type"], config::kMacroMouseButton);
    EXPECT_EQ(events[1]["action"], "up");
    EXPECT_EQ(events[1]["delay_ms"], 65535);

    const JsonRun added = Json({"macro", "add", "keyboard"});
    ASSERT_EQ(added.exitCode, ctl::kExitOk) << added.err;
    EXPECT_EQ(added.document["macro"]["index"], 2);
    ExpectOk({"macro", "rename", "keyboard", "2", "Paste"});
    ExpectOk({"macro", "delete", "keyboard", "0"});
    EXPECT_EQ(Json({"macro", "list", "keyboard"}).document["macros"][1]["name"], "Paste");
}

TEST_F(CtlJson, LightDpiAndRateGiveTheFieldsAsNumbers) {
    const JsonRun light = Json({"light", "keyboard"});
    ASSERT_EQ(light.exitCode, ctl::kExitOk) << light.err;
    const std::vector<std::string> lines = Split(Text({"light", "keyboard"}), '\n');
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], "mode\t" + std::to_string(light.document["mode"].asInt()) + "\t" +
                            light.document["mode_name"].asString());
    EXPECT_EQ(lines[1], "brightness\t" + std::to_string(light.document["brightness"].asInt()));
    EXPECT_EQ(lines[4], "colour\t" + light.document["colour"].asString());
    EXPECT_TRUE(light.document["multicolour"].isInt());

    const JsonRun changed = Json({"light", "mouse", "--brightness", "2", "--colour", "00ff80"});
    ASSERT_EQ(changed.exitCode, ctl::kExitOk) << changed.err;
    EXPECT_EQ(changed.document["brightness"], 2);
    EXPECT_EQ(changed.document["colour"], "00FF80");
    EXPECT_EQ(changed.document["multicolour"], 0);

    const JsonRun dpi = Json({"dpi", "mouse", "--select", "2"});
    ASSERT_EQ(dpi.exitCode, ctl::kExitOk) << dpi.err;
    EXPECT_EQ(dpi.document["current_stage"], 2);
    const Json::Value& stages = dpi.document["stages"];
    ASSERT_EQ(stages.size(), 5u);
    const int cpi[] = {400, 800, 1600, 3200, 6400};
    for (Json::ArrayIndex i = 0; i < stages.size(); ++i) {
        // Parsed numbers are signed: compare them as such.
        EXPECT_EQ(stages[i]["stage"].asUInt(), i);
        EXPECT_EQ(stages[i]["cpi"], cpi[i]);
        EXPECT_EQ(stages[i]["enabled"], true);
        EXPECT_EQ(stages[i]["current"], i == 2);
        EXPECT_TRUE(stages[i]["position"].isInt());
    }
    EXPECT_EQ(stages[0]["colour"], "FF0000");

    EXPECT_EQ(Json({"rate", "mouse", "3"}).document["rate_index"], 3);
    EXPECT_EQ(Json({"rate", "mouse"}).document["rate_index"], 3);
}

TEST_F(CtlJson, HeadsetGivesItsEightSettings) {
    const JsonRun run = Json({"headset", "mic", "37", "monitor", "on", "eq", "5", "effect", "2"});
    ASSERT_EQ(run.exitCode, ctl::kExitOk) << run.err;
    Json::Value expected(Json::objectValue);
    expected["api_version"] = 1;
    expected["command"] = "headset";
    expected["effect"] = 0;
    expected["effect_selection"] = 2;
    expected["eq"] = 5;
    expected["custom_eq"] = 0;
    expected["mic"] = 1;
    expected["mic_level"] = 37;
    expected["monitor"] = 1;
    expected["monitor_level"] = 50;
    EXPECT_EQ(run.document, expected);
}

TEST_F(CtlJson, AFailureKeepsItsExitCodeAndMessageAndNamesItAsError) {
    sim::VirtualHidBackend none;
    const test::CtlRun text = test::RunCaptured(
        [&](const ctl::Output& output) { return ctl::PrintInfo(none, "keyboard", output); });
    const test::CtlRun json = test::RunCaptured([&](const ctl::Output& output) {
        return ctl::RunReported(true, "info", output, [&](const ctl::Output& o) {
            return ctl::PrintInfo(none, "keyboard", o);
        });
    });
    EXPECT_EQ(json.exitCode, ctl::kExitFailed);
    EXPECT_EQ(json.err, text.err);
    EXPECT_EQ(json.err, "quarin-z17ctl: no keyboard is connected\n");
    Json::Value expected(Json::objectValue);
    expected["api_version"] = 1;
    expected["command"] = "info";
    expected["error"] = "no keyboard is connected";
    EXPECT_EQ(ParseOne(json.out), expected);

    const JsonRun usage = Json({"dpi", "mouse", "9", "400"});
    EXPECT_EQ(usage.exitCode, ctl::kExitUsage);
    EXPECT_EQ(usage.document["error"], "STAGE is 0 to 4, not '9'");
    EXPECT_EQ(usage.document.size(), 3u);
}

TEST_F(CtlJson, AWarningBeforeTheFailureIsNotTheError) {
    sim::VirtualHidBackend refusing;
    auto keyboard = sim::MakeVirtualDevice(sim::VirtualProduct::Keyboard);
    keyboard->RefuseOpens(true);
    refusing.Plug(keyboard);
    const test::CtlRun run = test::RunCaptured([&](const ctl::Output& output) {
        return ctl::RunReported(true, "keytable", output, [&](const ctl::Output& o) {
            return ctl::PrintKeyTable(refusing, "keyboard", o);
        });
    });
    EXPECT_EQ(run.exitCode, ctl::kExitFailed);
    EXPECT_NE(run.err.find("Permission denied"), std::string::npos) << run.err;
    EXPECT_EQ(ParseOne(run.out)["error"], "no keyboard is connected");
}

TEST_F(CtlJson, WithoutJsonTheTextIsAsBefore) {
    const sim::VirtualDevice& pad = Plugged(sim::VirtualProduct::MousePad);
    const std::string text = Text({"devices"});
    EXPECT_NE(text.find("8\tmousepad\tcommand\t320f:1004\t" + pad.CommandPath() + "\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find('{'), std::string::npos);
    EXPECT_EQ(Text({"rate", "mouse"}),
              std::to_string(Json({"rate", "mouse"}).document["rate_index"].asInt()) + "\n");
    EXPECT_EQ(Text({"profile", "select", "mouse", "0"}), "") << "a change prints nothing";
}

TEST(CtlJsonReport, OkOnlyWithoutDataAndAnErrorAlwaysAString) {
    ctl::JsonReport report;
    EXPECT_EQ(report.Document("apply", ctl::kExitOk)["ok"], true);
    const Json::Value failed = report.Document("apply", ctl::kExitFailed);
    EXPECT_EQ(failed["error"], "the command failed");
    EXPECT_FALSE(failed.isMember("ok"));

    report.SetError("the first reason");
    report.SetError("what followed from it");
    EXPECT_EQ(report.Document("apply", ctl::kExitUsage)["error"], "the first reason");

    report.Data()["rate_index"] = 2;
    const Json::Value data = report.Document("rate", ctl::kExitOk);
    EXPECT_FALSE(data.isMember("ok"));
    EXPECT_FALSE(data.isMember("error"));
    EXPECT_EQ(data["rate_index"], 2);
    EXPECT_EQ(data["api_version"], ctl::kJsonApiVersion);
}

TEST(CtlJsonReport, CommandNamesAndHexBytes) {
    EXPECT_EQ(ctl::JsonCommandName({}), "");
    EXPECT_EQ(ctl::JsonCommandName({"dpi", "mouse", "0", "800"}), "dpi");
    EXPECT_EQ(ctl::JsonCommandName({"profile", "list", "mouse"}), "profile list");
    EXPECT_EQ(ctl::JsonCommandName({"macro"}), "macro");
    EXPECT_EQ(ctl::JsonCommandName({"key", "set", "keyboard", "1", "20002C"}), "key set");
    const std::uint8_t bytes[] = {0x00, 0x0f, 0xa0, 0xff};
    EXPECT_EQ(ctl::HexBytes(bytes, sizeof bytes), "000fa0ff");
    EXPECT_EQ(ctl::HexBytes(bytes, 0), "");
}

class CtlJsonUpdate : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"http_proxy", "https_proxy", "all_proxy", "HTTPS_PROXY",
                                 "ALL_PROXY", update::kServiceRootVariable})
            unsetenv(name);
        ASSERT_TRUE(server.Error().empty()) << server.Error();
        server.SetReplyBody(R"({"name": "x", "version": "0105", "version_name": "1.05"})");
        pad->SetReplyDelay(std::chrono::microseconds(0));
        backend.Plug(pad);
    }
    JsonRun Update(const std::string& root) {
        const test::CtlRun run = test::RunCaptured([&](const ctl::Output& output) {
            return ctl::RunReported(true, "update", output, [&](const ctl::Output& o) {
                return ctl::RunUpdateCommand(backend, {"--url", root}, "1.0.5", o,
                                             {server.CaFile(), {}});
            });
        });
        return {run.exitCode, ParseOne(run.out), run.err};
    }

    test::HttpsTestServer server;
    sim::VirtualHidBackend backend;
    std::shared_ptr<sim::VirtualDevice> pad = sim::MakeVirtualDevice(sim::VirtualProduct::MousePad);
};

TEST_F(CtlJsonUpdate, EntriesCarryTheVersionsAndTheirState) {
    const JsonRun run = Update(server.Root());
    ASSERT_EQ(run.exitCode, ctl::kExitOk) << run.err;
    const Json::Value& entries = run.document["entries"];
    ASSERT_EQ(entries.size(), 2u);
    Json::Value pad(Json::objectValue);
    pad["name"] = "RT23";
    pad["local_version"] = "V0101";
    pad["server_version"] = "V0105";
    pad["state"] = "newer";
    EXPECT_EQ(entries[0], pad);
    EXPECT_EQ(entries[1]["name"], "AP");
    EXPECT_EQ(entries[1]["state"], "current");
}

TEST_F(CtlJsonUpdate, AnUnreachableServiceFailsButKeepsTheEntries) {
    const JsonRun run = Update("https://127.0.0.1:" + std::to_string(test::UnusedLoopbackPort()));
    EXPECT_EQ(run.exitCode, ctl::kExitFailed);
    ASSERT_TRUE(run.document["error"].isString());
    EXPECT_NE(run.document["error"].asString().find("cannot be reached"), std::string::npos);
    ASSERT_EQ(run.document["entries"].size(), 2u);
    for (const Json::Value& entry : run.document["entries"]) {
        EXPECT_EQ(entry["state"], "no-link");
        EXPECT_TRUE(entry["server_version"].isNull());
    }
}

} // namespace
