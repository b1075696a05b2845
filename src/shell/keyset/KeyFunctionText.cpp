#include "shell/keyset/KeyFunctionText.h"

#include "shell/keyset/KeyNameTable.h"
#include "ui/ResourceManager.h"

namespace shell::keyset {

namespace {

QString Text(const char* id) {
    return ui::CResourceManager::GetInstance().GetText(QString::fromLatin1(id));
}

const char* FunctionTextId(std::uint8_t type) {
    switch (type) {
    case devices::kKeyTypeMouseButton:
        return "keyset_function_1";
    case devices::kKeyTypeMouseSwing:
        return "keyset_function_2";
    case devices::kKeyTypeMouseWheel:
        return "keyset_function_3";
    case devices::kKeyTypeDpi:
        return "keyset_function_4";
    case devices::kKeyTypeMouseFire:
        return "keyset_function_5";
    case devices::kKeyTypeMacro:
    case devices::kKeyTypeMacroTimes:
        return "keyset_function_9";
    case devices::kKeyTypeGunKey:
        return "keyset_function_10";
    default:
        return "keyset_function_6";
    }
}

} // namespace

QString KeyFunctionText(devices::KeyCode code) {
    const auto table = KeyNameTable();
    if (const auto row = FindKeyNameRow(code, 0))
        return Text(table[*row].textId);
    if (code.type == devices::kKeyTypeKeyboard) {
        const auto modifier = FindModifierRow(code.param1);
        const auto key = FindKeyNameRow(devices::KeyboardCode(0, code.param2));
        if (modifier && key)
            return Text(table[*modifier].textId) + QStringLiteral(" + ") + Text(table[*key].textId);
    }
    return Text(FunctionTextId(code.type));
}

} // namespace shell::keyset
