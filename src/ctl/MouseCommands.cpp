#include "ctl/MouseCommands.h"

#include "config/MouseProfiledata.h"
#include "config/ProfileList.h"
#include "config/Utf8.h"
#include "ctl/LightOptions.h"
#include "ctl/MouseConnection.h"

#include <optional>

namespace ctl {

namespace {

// The value of the system words that holds the report-rate index (word 3, high half).

Json::Value StagesJson(const devices::CKelvaneMouseDevice& mouse) {
    Json::Value list(Json::arrayValue);
    const std::vector<devices::DpiStageRecord>& stages = mouse.GetStageList();
    for (std::size_t i = 0; i < stages.size(); ++i) {
        const devices::DpiStageRecord& stage = stages[i];
        Json::Value& json = list.append(Json::objectValue);
        json["stage"] = static_cast<Json::UInt>(i);
        json["enabled"] = stage.enable != 0;
        json["position"] = stage.DpiX();
        json["cpi"] = devices::DpiOfPosition(mouse.GetDpiScale(), stage.DpiX());
        json["colour"] = ColourText({stage.red, stage.green, stage.blue});
        json["current"] = static_cast<int>(i) == mouse.GetCurrentDpiStage();
    }
    return list;
}

void PrintStages(const devices::CKelvaneMouseDevice& mouse, const Output& output) {
    if (output.json) {
        output.json->Data()["current_stage"] = mouse.GetCurrentDpiStage();
        output.json->Data()["stages"] = StagesJson(mouse);
        return;
    }
    const std::vector<devices::DpiStageRecord>& stages = mouse.GetStageList();
    for (std::size_t i = 0; i < stages.size(); ++i) {
        const devices::DpiStageRecord& stage = stages[i];
        std::fprintf(output.out, "%zu\t%d\t%d\t%d\t%s%s\n", i, stage.enable, stage.DpiX(),
                     devices::DpiOfPosition(mouse.GetDpiScale(), stage.DpiX()),
                     ColourText({stage.red, stage.green, stage.blue}).c_str(),
                     static_cast<int>(i) == mouse.GetCurrentDpiStage() ? "\t*" : "");
    }
}

// Whether the profile file now holds the mouse's stages, current stage and system words: a
// block sent for values the profile lost would be undone by the next profile load.
bool ProfileHolds(const std::string& path, devices::CKelvaneMouseDevice& mouse) {
    config::CMouseProfiledata written;
    written.ReadProfile(config::Utf8ToWide(path));
    return written.LoadResult() == config::kProfileDone &&
           written.ReadDpiStages() == mouse.GetStageList() &&
           written.GetDpiStageActive() == mouse.GetCurrentDpiStage() &&
           written.ReadMouseSystem() == mouse.GetSystemRecord();
}

// The panel's "store, save, apply".
int StoreAndApply(devices::CKelvaneMouseDevice& mouse, const std::string& path,
                  const Output& output) {
    mouse.StoreProfile();
    if (!ProfileHolds(path, mouse))
        return Failed(output, path + " cannot be written; nothing was sent to the mouse");
    if (mouse.WriteLightBlock() != 1)
        return Failed(output, "writing the configuration block failed; the profile keeps the "
                              "change and the next change sends it");
    return kExitOk;
}

std::optional<int> ParseStage(const std::string& text) {
    const std::optional<int> stage = ParseDecimal(text);
    if (!stage || *stage >= devices::kMouseStageCount)
        return std::nullopt;
    return stage;
}

} // namespace

int RunDpiCommand(transport::HidBackend& backend, const std::vector<std::string>& args,
                  const Output& output) {
    const bool select = args.size() == 3 && args[1] == "--select";
    if (args.empty() || (args.size() != 1 && args.size() != 3))
        return UsageError(output, "'dpi' takes KIND, KIND STAGE CPI or KIND --select STAGE");
    std::optional<int> stage;
    std::optional<int> cpi;
    if (args.size() == 3) {
        stage = ParseStage(args[select ? 2 : 1]);
        if (!stage)
            return UsageError(output, "STAGE is 0 to 4, not '" + args[select ? 2 : 1] + "'");
        if (!select && !(cpi = ParseDecimal(args[2])))
            return UsageError(output, "CPI is a decimal number, not '" + args[2] + "'");
    }
    int exitCode = kExitOk;
    std::string path;
    const auto mouse = OpenMouse(backend, args[0], output, &exitCode, &path);
    if (!mouse)
        return exitCode;
    if (stage) {
        std::vector<devices::DpiStageRecord> stages = mouse->GetStageList();
        if (static_cast<std::size_t>(*stage) >= stages.size())
            return UsageError(output, "the selected profile has no stage " +
                                          std::to_string(*stage) + "; nothing was changed");
        devices::DpiStageRecord& record = stages[static_cast<std::size_t>(*stage)];
        if (select) {
            if (!record.enable)
                return UsageError(output, "stage " + std::to_string(*stage) +
                                              " is switched off; nothing was changed");
            mouse->SetCurrentDpiStage(*stage);
        } else {
            record.SetDpiX(
                static_cast<std::uint16_t>(devices::PositionOfDpi(mouse->GetDpiScale(), *cpi)));
            mouse->SetStageList(stages);
        }
        if (const int stored = StoreAndApply(*mouse, path, output); stored != kExitOk)
            return stored;
    }
    PrintStages(*mouse, output);
    return kExitOk;
}

int RunRateCommand(transport::HidBackend& backend, const std::vector<std::string>& args,
                   const Output& output) {
    if (args.empty() || args.size() > 2)
        return UsageError(output, "'rate' takes KIND and optionally INDEX (0 to 4)");
    std::optional<int> rate;
    if (args.size() == 2) {
        rate = ParseDecimal(args[1]);
        if (!rate || *rate >= devices::kMouseReportRateCount)
            return UsageError(output, "INDEX is 0 to 4, not '" + args[1] + "'");
    }
    int exitCode = kExitOk;
    std::string path;
    const auto mouse = OpenMouse(backend, args[0], output, &exitCode, &path);
    if (!mouse)
        return exitCode;
    if (rate) {
        config::SystemStageWords system = mouse->GetSystemRecord();
        system.SetValue(config::mouse_system::kReportRate, static_cast<std::uint16_t>(*rate));
        mouse->SetSystemRecord(system);
        if (const int stored = StoreAndApply(*mouse, path, output); stored != kExitOk)
            return stored;
    }
    const int index = mouse->GetSystemRecord().Value(config::mouse_system::kReportRate);
    if (output.json)
        output.json->Data()["rate_index"] = index;
    else
        std::fprintf(output.out, "%d\n", index);
    return kExitOk;
}

} // namespace ctl
