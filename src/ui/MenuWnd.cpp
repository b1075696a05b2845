#include "ui/MenuWnd.h"

#include "ui/PaintManagerUI.h"
#include "ui/ResourceManager.h"
#include "ui/WindowWnd.h"

#include <QFile>
#include <QMenu>
#include <QXmlStreamReader>

namespace ui {

namespace {
bool IsTag(QStringView name, const char* tag) {
    return name.compare(QLatin1String(tag), Qt::CaseInsensitive) == 0;
}

// Fills `menu` with the elements under the reader's current element.
bool ReadItems(QXmlStreamReader& xml, QMenu* menu, CWindowWnd* owner) {
    while (xml.readNextStartElement()) {
        if (IsTag(xml.name(), "MenuSeparator")) {
            menu->addSeparator();
            xml.skipCurrentElement();
            continue;
        }
        if (!IsTag(xml.name(), "MenuElement")) {
            xml.raiseError(QStringLiteral("unknown menu element \"%1\"").arg(xml.name()));
            return false;
        }
        const QXmlStreamAttributes a = xml.attributes();
        QString text = a.value(QLatin1String("text")).toString();
        if (a.value(QLatin1String("resourcetext")) == QLatin1String("true"))
            text = CResourceManager::GetInstance().GetText(text);
        const QString name = a.value(QLatin1String("name")).toString();
        const QString userData = a.value(QLatin1String("userdata")).toString();
        const bool checkable = a.value(QLatin1String("checkitem")) == QLatin1String("true");
        const bool checked = a.value(QLatin1String("checked")) == QLatin1String("true");
        const bool enabled = a.value(QLatin1String("enabled")) != QLatin1String("false");
        const bool visible = a.value(QLatin1String("visible")) != QLatin1String("false");

        // An element with elements under it is a sub-menu.
        auto sub = std::make_unique<QMenu>(text, menu);
        if (!ReadItems(xml, sub.get(), owner))
            return false;
        if (!sub->actions().isEmpty()) {
            QMenu* child = sub.release();
            child->setObjectName(name);
            child->menuAction()->setVisible(visible);
            child->setEnabled(enabled);
            menu->addMenu(child);
            continue;
        }
        QAction* action = menu->addAction(text);
        action->setObjectName(name);
        action->setCheckable(checkable);
        action->setChecked(checked);
        action->setEnabled(enabled);
        action->setVisible(visible);
        QObject::connect(action, &QAction::triggered, action, [=](bool on) {
            MenuCmd cmd{name, userData, text, on};
            if (owner)
                owner->SendMessage(WM_MENUCLICK, reinterpret_cast<WPARAM>(&cmd), 0);
        });
    }
    return !xml.hasError();
}
} // namespace

CMenuWnd::CMenuWnd() = default;
CMenuWnd::~CMenuWnd() = default;

bool CMenuWnd::Build(CWindowWnd* owner, const QString& xmlFile) {
    m_owner = owner;
    m_error.clear();
    m_menu.reset(); // a failed build leaves no menu of an earlier file behind
    const QString file = CResourceManager::GetInstance().GetXmlFile(xmlFile);
    QFile in(CPaintManagerUI::GetResourcePath() + file);
    if (!in.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("%1:0: cannot read the file").arg(file);
        return false;
    }
    QXmlStreamReader xml(&in);
    auto menu = std::make_unique<QMenu>();
    menu->setObjectName(QStringLiteral("menu"));
    menu->setStyleSheet(CPaintManagerUI::GetStyleSheet()); // a window of its own
    bool ok = xml.readNextStartElement();
    if (ok && IsTag(xml.name(), "Window"))
        ok = xml.readNextStartElement();
    if (ok && !IsTag(xml.name(), "Menu")) {
        xml.raiseError(QStringLiteral("the menu file has no <Menu>"));
        ok = false;
    }
    if (ok)
        ok = ReadItems(xml, menu.get(), owner);
    if (!ok) {
        m_error =
            QStringLiteral("%1:%2: %3").arg(file).arg(xml.lineNumber()).arg(xml.errorString());
        return false;
    }
    m_menu = std::move(menu);
    return true;
}

QPoint CMenuWnd::PlacementFor(QPoint point, int alignment) const {
    const QSize size = m_menu ? m_menu->sizeHint() : QSize();
    QPoint topLeft = point;
    if (alignment & eMenuAlignment_Right)
        topLeft.rx() -= size.width();
    if (alignment & eMenuAlignment_Bottom)
        topLeft.ry() -= size.height();
    return topLeft;
}

bool CMenuWnd::Init(CWindowWnd* owner, const QString& xmlFile, QPoint point, int alignment) {
    if (!Build(owner, xmlFile))
        return false;
    m_menu->popup(PlacementFor(point, alignment));
    return true;
}

void CMenuWnd::Close() {
    if (m_menu)
        m_menu->close();
}

} // namespace ui
