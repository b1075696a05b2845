#include "shell/macro/MacroEventRow.h"

#include "config/MacroFiles.h"
#include "shell/macro/MacroEventText.h"
#include "ui/ButtonUI.h"
#include "ui/EditUI.h"
#include "ui/ListUI.h"

#include <QStyle>
#include <QWidget>
#include <json/json.h>

namespace shell::macro {

namespace {

constexpr int kChildPadding = 4;
constexpr int kDelayEditHeight = 25;
constexpr int kDelayEditWidth = 70;
constexpr int kDirectionWidth = 60;
constexpr int kDelayDigits = 6;
constexpr std::uint32_t kDelayEditColour = 0xFF444444;

enum RowChild { kActionLabel = 0, kDirectionLabel = 1, kDelayEdit = 2 };

ui::CControlUI* ChildOf(ui::CControlUI* row, int index) {
    auto* container = dynamic_cast<ui::CContainerUI*>(row);
    return container ? container->GetItemAt(index) : nullptr;
}

QString EventJsonText(const config::MacroEvent& event) {
    Json::StreamWriterBuilder writer;
    return QString::fromStdString(Json::writeString(writer, config::MacroEventToJson(event)));
}

// The skin's style sheet picks the look by this property; a changed one takes a new polish.
void SetStyle(ui::CControlUI* control, const QString& style) {
    QWidget* widget = control->GetWidget();
    if (widget->property("skinstyle").toString() == style)
        return;
    control->SetAttribute(QStringLiteral("style"), style);
    widget->style()->unpolish(widget);
    widget->style()->polish(widget);
}

} // namespace

ui::CListContainerElementUI* MakeEventRow(const config::MacroEvent& event) {
    auto* row = new ui::CListContainerElementUI;
    row->SetName(QStringLiteral("macro_action"));
    row->SetFixedHeight(kEventRowHeight);
    row->SetChildPadding(kChildPadding);
    row->SetInset(QRect(4, 2, 4, 2));

    auto* action = new ui::CLabelUI;
    row->Add(action);

    auto* direction = new ui::CLabelUI;
    direction->SetFixedWidth(kDirectionWidth);
    row->Add(direction);

    auto* delay = new ui::CEditUI;
    delay->SetName(QStringLiteral("macro_delay"));
    delay->SetAttribute(QStringLiteral("style"), QStringLiteral("macro_label_text_style"));
    delay->SetNumberOnly(true);
    delay->SetMaxChar(kDelayDigits);
    delay->SetRange(0, config::kMaxMacroDelay);
    delay->SetBkColor(kDelayEditColour);
    delay->SetFixedHeight(kDelayEditHeight);
    delay->SetFixedWidth(kDelayEditWidth);
    row->Add(delay);

    ShowEventInRow(row, event);
    return row;
}

void ShowEventInRow(ui::CControlUI* row, const config::MacroEvent& event) {
    if (!row)
        return;
    if (ui::CControlUI* action = ChildOf(row, kActionLabel)) {
        action->SetText(MacroEventText(event));
        SetStyle(action, MacroEventStyle(event));
    }
    if (ui::CControlUI* direction = ChildOf(row, kDirectionLabel)) {
        direction->SetText(MacroDirectionText(event));
        SetStyle(direction, MacroDirectionStyle(event));
    }
    if (ui::CEditUI* delay = DelayEditOfRow(row))
        delay->SetText(QString::number(event.delay));
    row->SetUserData(EventJsonText(event));
}

ui::CEditUI* DelayEditOfRow(ui::CControlUI* row) {
    return dynamic_cast<ui::CEditUI*>(ChildOf(row, kDelayEdit));
}

std::uint16_t TakeRowDelay(ui::CControlUI* row) {
    ui::CEditUI* edit = DelayEditOfRow(row);
    if (!edit)
        return 0;
    bool ok = false;
    const qulonglong value = edit->GetText().trimmed().toULongLong(&ok);
    const std::uint16_t delay =
        ok ? static_cast<std::uint16_t>(std::min<qulonglong>(value, config::kMaxMacroDelay)) : 0;
    const QString text = QString::number(delay);
    if (edit->GetText() != text)
        edit->SetText(text);
    return delay;
}

} // namespace shell::macro
