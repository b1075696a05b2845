#include "ctl/HeadsetCommands.h"

#include "ctl/MouseConnection.h"
#include "devices/DeviceModels.h"

#include <functional>
#include <optional>

namespace ctl {

namespace {

constexpr int kHeadsetModelRow = 3;

using Change = std::function<bool(devices::CKelvaneHS6533Device&)>;

struct Step {
    std::string words;
    Change change;
};

std::optional<int> InRange(const std::string& text, int min, int max) {
    const std::optional<int> value = ParseDecimal(text);
    return value && *value >= min && *value <= max ? value : std::nullopt;
}

// "mic"/"monitor": a level or on/off; nothing for another value.
std::optional<Change> LevelOrSwitch(const std::string& value, bool monitor) {
    if (value == "on" || value == "off") {
        const bool muted = value == "off";
        return Change([monitor, muted](devices::CKelvaneHS6533Device& h) {
            return monitor ? h.SetMonitorMuted(muted) : h.SetMicMuted(muted);
        });
    }
    const std::optional<int> level = InRange(value, 0, 100);
    if (!level)
        return std::nullopt;
    return Change([monitor, level = *level](devices::CKelvaneHS6533Device& h) {
        return monitor ? h.SetMonitorLevel(level) : h.SetMicLevel(level);
    });
}

std::optional<Change> ParseChange(const std::string& name, const std::string& value) {
    if (name == "mic" || name == "monitor")
        return LevelOrSwitch(value, name == "monitor");
    if (name == "eq") {
        const std::optional<int> preset = InRange(value, 1, 13);
        if (!preset)
            return std::nullopt;
        return Change([preset = *preset](devices::CKelvaneHS6533Device& h) {
            return h.SelectEqOption(preset);
        });
    }
    if (name == "effect") {
        if (value == "on" || value == "off")
            return Change([on = value == "on"](devices::CKelvaneHS6533Device& h) {
                return h.SetVoiceEffect(on);
            });
        const std::optional<int> effect = InRange(value, 1, 4);
        if (!effect)
            return std::nullopt;
        return Change([effect = *effect](devices::CKelvaneHS6533Device& h) {
            return h.SelectVoiceEffect(effect);
        });
    }
    return std::nullopt;
}

void PrintSettings(const config::HeadsetSettings& s, const Output& output) {
    if (output.json) {
        Json::Value& json = output.json->Data();
        json["effect"] = s.magicEnable;
        json["effect_selection"] = s.magicType;
        json["eq"] = s.eqType;
        json["custom_eq"] = s.customEqSelectIndex;
        json["mic"] = s.micInSelect;
        json["mic_level"] = s.micInValue;
        json["monitor"] = s.micMonitorSelect;
        json["monitor_level"] = s.micMonitorValue;
        return;
    }
    std::fprintf(output.out,
                 "effect\t%d\neffect-selection\t%d\neq\t%d\ncustom-eq\t%d\nmic\t%d\n"
                 "mic-level\t%d\nmonitor\t%d\nmonitor-level\t%d\n",
                 s.magicEnable, s.magicType, s.eqType, s.customEqSelectIndex, s.micInSelect,
                 s.micInValue, s.micMonitorSelect, s.micMonitorValue);
}

} // namespace

int RunHeadsetCommand(const std::vector<std::string>& args, const Output& output,
                      devices::CHeadsetAudio* audio) {
    if (args.size() % 2 != 0)
        return UsageError(output, "'headset' takes pairs: mic LEVEL|on|off, monitor "
                                  "LEVEL|on|off, eq PRESET, effect N|on|off");
    std::vector<Step> steps;
    for (std::size_t i = 0; i < args.size(); i += 2) {
        const std::optional<Change> change = ParseChange(args[i], args[i + 1]);
        if (!change)
            return UsageError(output, "'" + args[i] + " " + args[i + 1] +
                                          "' is not a headset setting; nothing was changed");
        steps.push_back({args[i] + " " + args[i + 1], *change});
    }

    auto model = devices::CreateDeviceForModel(kHeadsetModelRow);
    auto* headset = static_cast<devices::CKelvaneHS6533Device*>(model.get());
    if (audio)
        headset->UseAudio(*audio);
    std::string path;
    if (!LoadSelectedProfile(*headset, "headset", output, &path))
        return kExitFailed;
    const devices::AudioStart start = headset->StartAudio();
    if (start == devices::AudioStart::kNoLibrary || start == devices::AudioStart::kNoPlayback)
        return Failed(output, "no headset sound card (USB 0c76:1630) was found");
    if (start == devices::AudioStart::kInitFailed)
        std::fprintf(output.err, "quarin-z17ctl: %s\n", devices::kConfLibInitFailed);
    for (const Step& step : steps) {
        if (!step.change(*headset))
            return Failed(output, "the headset did not take '" + step.words +
                                      "'; the profile keeps what it had");
    }
    PrintSettings(headset->Settings(), output);
    return kExitOk;
}

} // namespace ctl
