#include "ui/ControlUI.h"

#include "ui/ControlTree.h"
#include "ui/PaintManagerUI.h"
#include "ui/ResourceManager.h"

#include <QDir>
#include <QPainter>
#include <QStyleOption>
#include <atomic>

namespace ui {

namespace {
std::atomic<quint64> g_nextUid{1};

bool ParseBool(const QString& value) {
    return value.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
}

QRect ParseRect(const QString& value) {
    const QStringList parts = value.split(QLatin1Char(','));
    int v[4] = {0, 0, 0, 0};
    for (int i = 0; i < 4 && i < parts.size(); ++i)
        v[i] = parts[i].trimmed().toInt();
    // Stored as left, top, right, bottom in the rectangle's corners.
    return QRect(QPoint(v[0], v[1]), QPoint(v[2], v[3]));
}
} // namespace

CControlUI::CControlUI() : m_uid(g_nextUid++) {}

CControlUI::~CControlUI() {
    if (m_manager)
        m_manager->ReapControl(this);
}

QString CControlUI::CssColour(std::uint32_t argb) {
    return QStringLiteral("rgba(%1,%2,%3,%4)")
        .arg((argb >> 16) & 0xFF)
        .arg((argb >> 8) & 0xFF)
        .arg(argb & 0xFF)
        .arg((argb >> 24) & 0xFF);
}

std::uint32_t CControlUI::ParseColour(const QString& text) {
    QString t = text.trimmed();
    if (t.startsWith(QLatin1Char('#')))
        t.remove(0, 1);
    else if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        t.remove(0, 2);
    bool ok = false;
    std::uint32_t v = t.toUInt(&ok, 16);
    if (!ok)
        return 0;
    if (t.size() <= 6)
        v |= 0xFF000000u; // "#RRGGBB" is opaque
    return v;
}

void CControlUI::SetName(const QString& name) {
    if (name == m_name)
        return;
    if (m_manager)
        m_manager->RenameControl(this, m_name, name);
    m_name = name;
    GetWidget()->setObjectName(name);
}

QString CControlUI::GetText() const {
    if (!m_resourceText)
        return m_text;
    return CResourceManager::GetInstance().GetText(m_text);
}

void CControlUI::SetText(const QString& text) {
    m_text = text;
    ShowText(GetText());
}

void CControlUI::SetResourceText(bool on) {
    if (on == m_resourceText)
        return;
    m_resourceText = on;
    ShowText(GetText());
}

void CControlUI::RefreshText() {
    ShowText(GetText());
}

void CControlUI::ShowText(const QString&) {}

QString CControlUI::GetToolTip() const {
    return GetWidget()->toolTip();
}
void CControlUI::SetToolTip(const QString& tip) {
    GetWidget()->setToolTip(tip);
}

bool CControlUI::IsVisible() const {
    return !GetWidget()->isHidden();
}
void CControlUI::SetVisible(bool visible) {
    GetWidget()->setVisible(visible);
}
bool CControlUI::IsEnabled() const {
    return GetWidget()->isEnabled();
}
void CControlUI::SetEnabled(bool enabled) {
    GetWidget()->setEnabled(enabled);
}

void CControlUI::SetMouseEnabled(bool enabled) {
    m_mouseEnabled = enabled;
    GetWidget()->setAttribute(Qt::WA_TransparentForMouseEvents, !enabled);
}

bool CControlUI::IsFocused() const {
    return GetWidget()->hasFocus();
}
void CControlUI::SetFocus() {
    GetWidget()->setFocus(Qt::OtherFocusReason);
}

void CControlUI::SetBkColor(std::uint32_t colour) {
    m_bkColor = colour;
    RefreshStyle();
}
void CControlUI::SetTextColor(std::uint32_t colour) {
    m_textColor = colour;
    RefreshStyle();
}
void CControlUI::SetBorderColor(std::uint32_t colour) {
    m_borderColor = colour;
    RefreshStyle();
}
void CControlUI::SetBorderSize(int size) {
    m_borderSize = size;
    RefreshStyle();
}
void CControlUI::SetImage(const QString& state, const QString& image) {
    m_images.insert(state, image);
    RefreshStyle();
}

void CControlUI::SetFixedWidth(int width) {
    m_fixedWidth = width;
    RefreshSize();
}
void CControlUI::SetFixedHeight(int height) {
    m_fixedHeight = height;
    RefreshSize();
}
void CControlUI::SetFloat(bool on) {
    m_float = on;
    RefreshSize();
}
void CControlUI::SetPos(const QRect& rect) {
    m_pos = rect;
    if (m_float)
        RefreshSize();
}
void CControlUI::SetPadding(const QRect& ltrb) {
    m_padding = ltrb;
}

void CControlUI::SetFont(int id) {
    m_fontId = id;
    RefreshFont();
}

QString CControlUI::GetVirtualWnd() const {
    if (!m_virtualWnd.isEmpty())
        return m_virtualWnd;
    return m_parent ? m_parent->GetVirtualWnd() : QString();
}

void CControlUI::SetManager(CPaintManagerUI* manager, CControlUI* parent) {
    m_parent = parent;
    if (manager == m_manager)
        return;
    if (m_manager)
        m_manager->ReapControl(this);
    m_manager = manager;
    if (m_manager)
        m_manager->InitControl(this);
    RefreshFont();
    RefreshSize();
}

int CControlUI::Scaled(int value) const {
    return m_manager ? m_manager->Scale(value) : value;
}

void CControlUI::RefreshFont() {
    if (!m_manager)
        return;
    GetWidget()->setFont(m_manager->GetFont(m_fontId));
}

void CControlUI::RefreshSize() {
    QWidget* w = GetWidget();
    if (m_float) {
        // A floating control is placed by its pos, relative to its parent, outside any layout.
        const int width = m_fixedWidth ? m_fixedWidth : m_pos.right() - m_pos.left();
        const int height = m_fixedHeight ? m_fixedHeight : m_pos.bottom() - m_pos.top();
        w->setGeometry(Scaled(m_pos.left()), Scaled(m_pos.top()), Scaled(width), Scaled(height));
        return;
    }
    QSizePolicy policy = w->sizePolicy();
    if (m_fixedWidth > 0) {
        w->setFixedWidth(Scaled(m_fixedWidth));
        policy.setHorizontalPolicy(QSizePolicy::Fixed);
    } else {
        w->setMinimumWidth(0);
        w->setMaximumWidth(QWIDGETSIZE_MAX);
        policy.setHorizontalPolicy(QSizePolicy::Expanding);
    }
    if (m_fixedHeight > 0) {
        w->setFixedHeight(Scaled(m_fixedHeight));
        policy.setVerticalPolicy(QSizePolicy::Fixed);
    } else {
        w->setMinimumHeight(0);
        w->setMaximumHeight(QWIDGETSIZE_MAX);
        policy.setVerticalPolicy(QSizePolicy::Expanding);
    }
    w->setSizePolicy(policy);
}

QString CControlUI::Selector() const {
    return QStringLiteral("QWidget[uiid=\"%1\"]").arg(m_uid);
}

QString CControlUI::ImageRule(const QString& image) const {
    if (image.isEmpty())
        return {};
    QString file = image;
    QString corner;
    if (image.contains(QLatin1String("file="))) {
        // "file='x.png' corner='l,t,r,b'": the corners are kept unstretched.
        auto value = [&](const QString& key) {
            const int at = image.indexOf(key + QLatin1String("='"));
            if (at < 0)
                return QString();
            const int from = at + key.size() + 2;
            return image.mid(from, image.indexOf(QLatin1Char('\''), from) - from);
        };
        file = value(QStringLiteral("file"));
        corner = value(QStringLiteral("corner"));
    }
    // A file the user picked is an absolute path; the skin's own images are relative to it.
    const QString path =
        QDir::isAbsolutePath(file) ? file : CPaintManagerUI::GetResourcePath() + file;
    // A drawing is not stretched from a pixmap of its own size: the style draws it through the
    // icon engine into the control's content box, at the screen's pixel density.
    if (file.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive))
        return QStringLiteral("image: url(\"%1\");").arg(path);
    QString rule = QStringLiteral("border-image: url(\"%1\")").arg(path);
    if (!corner.isEmpty()) {
        const QRect c = ParseRect(corner);
        rule += QStringLiteral(" %1 %2 %3 %4 stretch")
                    .arg(c.top())
                    .arg(c.right())
                    .arg(c.bottom())
                    .arg(c.left());
    }
    return rule + QLatin1Char(';');
}

QString CControlUI::StyleRules(const QString& selector) const {
    QString body;
    if (m_bkColor)
        body += QStringLiteral("background-color: %1;").arg(CssColour(m_bkColor));
    if (m_textColor)
        body += QStringLiteral("color: %1;").arg(CssColour(m_textColor));
    if (m_borderSize > 0 && m_borderColor)
        body += QStringLiteral("border: %1px solid %2;")
                    .arg(m_borderSize)
                    .arg(CssColour(m_borderColor));
    body += ImageRule(GetBkImage());
    if (!GetImage(QStringLiteral("normal")).isEmpty())
        body += ImageRule(GetImage(QStringLiteral("normal")));
    QString rules;
    if (!body.isEmpty())
        rules += selector + QLatin1String(" {") + body + QLatin1String("}\n");
    if (!GetImage(QStringLiteral("disabled")).isEmpty())
        rules += selector + QLatin1String(":disabled {") +
                 ImageRule(GetImage(QStringLiteral("disabled"))) + QLatin1String("}\n");
    return rules;
}

void CControlUI::RefreshStyle() {
    const QString rules = StyleRules(Selector());
    if (rules == m_styleRules)
        return;
    m_styleRules = rules;
    if (m_styleDeferred)
        return;
    if (m_sheetHolder) {
        ApplySharedSheet();
        return;
    }
    if (m_inSharedSheet) {
        // The shared sheet keeps its rules for the old id; a new id leaves them behind.
        m_inSharedSheet = false;
        m_uid = g_nextUid++;
        m_styleRules = StyleRules(Selector());
    }
    ApplyOwnSheet();
}

void CControlUI::ApplyOwnSheet() {
    QWidget* w = GetWidget();
    w->setProperty("uiid", m_uid);
    m_ownSheet = !m_styleRules.isEmpty();
    if (m_styleRules != w->styleSheet())
        w->setStyleSheet(m_styleRules);
}

void CControlUI::ShareStyleSheet() {
    WalkTree(this, [this](CControlUI* c) {
        if (c != this && (c->m_sheetHolder || c->m_ownSheet))
            c->GetWidget()->setStyleSheet({}); // a tree built inside this one joins its sheet
        c->m_styleDeferred = false;
        c->m_inSharedSheet = c != this;
        c->m_sheetHolder = c == this;
        c->m_ownSheet = false;
        if (!c->m_styleRules.isEmpty())
            c->GetWidget()->setProperty("uiid", c->m_uid);
        return true;
    });
    ApplySharedSheet();
}

void CControlUI::ApplySharedSheet() {
    QString sheet;
    if (m_manager && m_manager->GetRoot() == this)
        sheet = CPaintManagerUI::GetStyleSheet() + QLatin1Char('\n');
    WalkTree(this, [&](CControlUI* c) {
        if (c == this || c->m_inSharedSheet)
            sheet += c->m_styleRules;
        return true;
    });
    QWidget* w = GetWidget();
    if (sheet != w->styleSheet())
        w->setStyleSheet(sheet);
}

void CControlUI::Invalidate() {
    GetWidget()->update();
}

void CControlUI::Notify(const QString& type, WPARAM wParam, LPARAM lParam) {
    if (m_manager)
        m_manager->SendNotify(this, type, wParam, lParam);
}

void CControlUI::DoTimer(int id) {
    Notify(notify::timer, static_cast<WPARAM>(id));
}

void CControlUI::ApplyAttributeList(const QString& list) {
    // name="value" pairs separated by blanks, quotes " or '.
    int i = 0;
    const int n = list.size();
    while (i < n) {
        while (i < n && list[i].isSpace())
            ++i;
        const int nameStart = i;
        while (i < n && list[i] != QLatin1Char('=') && !list[i].isSpace())
            ++i;
        const QString name = list.mid(nameStart, i - nameStart);
        while (i < n && (list[i] == QLatin1Char('=') || list[i].isSpace()))
            ++i;
        if (i >= n || (list[i] != QLatin1Char('"') && list[i] != QLatin1Char('\'')))
            return;
        const QChar quote = list[i++];
        const int valueStart = i;
        while (i < n && list[i] != quote)
            ++i;
        SetAttribute(name, list.mid(valueStart, i - valueStart));
        ++i;
    }
}

void CControlUI::SetAttribute(const QString& name, const QString& value) {
    const QString key = name.toLower();
    if (key == QLatin1String("name"))
        SetName(value);
    else if (key == QLatin1String("text"))
        SetText(value);
    else if (key == QLatin1String("resourcetext") || key == QLatin1String("textid"))
        SetResourceText(ParseBool(value));
    else if (key == QLatin1String("tooltip"))
        SetToolTip(value);
    else if (key == QLatin1String("visible"))
        SetVisible(ParseBool(value));
    else if (key == QLatin1String("enabled"))
        SetEnabled(ParseBool(value));
    else if (key == QLatin1String("mouse"))
        SetMouseEnabled(ParseBool(value));
    else if (key == QLatin1String("userdata"))
        SetUserData(value);
    else if (key == QLatin1String("tag"))
        SetTag(value.toULongLong());
    else if (key == QLatin1String("bkcolor"))
        SetBkColor(ParseColour(value));
    else if (key == QLatin1String("textcolor"))
        SetTextColor(ParseColour(value));
    else if (key == QLatin1String("bordercolor"))
        SetBorderColor(ParseColour(value));
    else if (key == QLatin1String("bordersize"))
        SetBorderSize(value.toInt());
    else if (key == QLatin1String("bkimage"))
        SetBkImage(value);
    else if (key == QLatin1String("foreimage"))
        SetForeImage(value);
    else if (key.endsWith(QLatin1String("image")))
        SetImage(key.chopped(5), value);
    else if (key == QLatin1String("width"))
        SetFixedWidth(value.toInt());
    else if (key == QLatin1String("height"))
        SetFixedHeight(value.toInt());
    else if (key == QLatin1String("float"))
        SetFloat(ParseBool(value));
    else if (key == QLatin1String("pos"))
        SetPos(ParseRect(value));
    else if (key == QLatin1String("padding"))
        SetPadding(ParseRect(value));
    else if (key == QLatin1String("font"))
        SetFont(value.toInt());
    else if (key == QLatin1String("virtualwnd"))
        SetVirtualWnd(value);
    else if (key == QLatin1String("style"))
        GetWidget()->setProperty("skinstyle", value); // a class for the skin's style sheet
}

CPlainControlUI::CPlainControlUI() {
    setAttribute(Qt::WA_StyledBackground, true);
}

void CPlainControlUI::paintEvent(QPaintEvent*) {
    QStyleOption option;
    option.initFrom(this);
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
}

} // namespace ui
