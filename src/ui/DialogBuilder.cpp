#include "ui/DialogBuilder.h"

#include "ui/ControlFactory.h"
#include "ui/ControlUI.h"
#include "ui/PaintManagerUI.h"
#include "ui/ResourceManager.h"

#include <QFile>
#include <QXmlStreamReader>

namespace ui {

namespace {
constexpr int kMaxIncludeDepth = 16; // an include cycle ends here with an error

// Builds running on the UI thread, the outermost first: a panel that a builder callback builds
// for another build (no parent given) leaves its style sheet to that build, which takes the
// panel into its tree and covers its controls.
int g_buildDepth = 0;
struct BuildScope {
    BuildScope() { ++g_buildDepth; }
    ~BuildScope() { --g_buildDepth; }
    BuildScope(const BuildScope&) = delete;
    BuildScope& operator=(const BuildScope&) = delete;
};

QSize ParseSize(const QString& value) {
    const QStringList p = value.split(QLatin1Char(','));
    return p.size() == 2 ? QSize(p[0].trimmed().toInt(), p[1].trimmed().toInt()) : QSize();
}

bool IsTrue(const QStringView value) {
    return value.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
}
} // namespace

bool CDialogBuilder::Fail(const QString& sourceName, qint64 line, const QString& message) {
    if (m_error.isEmpty()) // keep the innermost error
        m_error = QStringLiteral("%1:%2: %3").arg(sourceName).arg(line).arg(message);
    return false;
}

void CDialogBuilder::Reset(IDialogBuilderCallback* callback, CPaintManagerUI* manager) {
    m_callback = callback;
    m_manager = manager;
    m_defaults.clear();
    m_window = WindowSkinInfo();
    m_error.clear();
}

CControlUI* CDialogBuilder::Create(const QString& xml, IDialogBuilderCallback* callback,
                                   CPaintManagerUI* manager, CControlUI* parent) {
    const BuildScope scope;
    Reset(callback, manager);
    QList<CControlUI*> top;
    const QString file = CResourceManager::GetInstance().GetXmlFile(xml);
    const bool ok = ParseFile(file, nullptr, top, 0);
    return Finish(ok, top, parent);
}

CControlUI* CDialogBuilder::CreateFromText(const QString& text, const QString& sourceName,
                                           IDialogBuilderCallback* callback,
                                           CPaintManagerUI* manager, CControlUI* parent) {
    const BuildScope scope;
    Reset(callback, manager);
    QList<CControlUI*> top;
    QXmlStreamReader xml(text);
    const bool ok = ParseDocument(xml, sourceName, nullptr, top, 0);
    return Finish(ok, top, parent);
}

CControlUI* CDialogBuilder::Finish(bool ok, QList<CControlUI*>& top, CControlUI* parent) {
    auto* holder = dynamic_cast<IContainerUI*>(parent);
    if (ok && parent && !holder)
        ok = Fail(QStringLiteral("(parent)"), 0,
                  QStringLiteral("the parent control holds no children"));
    if (!ok) {
        for (CControlUI* control : top)
            delete control->GetWidget();
        return nullptr;
    }
    for (CControlUI* control : top) {
        if (g_buildDepth == 1 || holder)
            control->ShareStyleSheet();
        if (holder)
            holder->Add(control);
        else if (m_manager)
            control->SetManager(m_manager, nullptr);
    }
    return top.isEmpty() ? nullptr : top.first();
}

bool CDialogBuilder::ParseFile(const QString& file, CControlUI* parent, QList<CControlUI*>& top,
                               int depth) {
    QFile in(CPaintManagerUI::GetResourcePath() + file);
    if (!in.open(QIODevice::ReadOnly))
        return Fail(file, 0, QStringLiteral("cannot read the file"));
    QXmlStreamReader xml(&in);
    return ParseDocument(xml, file, parent, top, depth);
}

bool CDialogBuilder::ParseDocument(QXmlStreamReader& xml, const QString& sourceName,
                                   CControlUI* parent, QList<CControlUI*>& top, int depth) {
    if (!xml.readNextStartElement()) {
        if (xml.hasError())
            return Fail(sourceName, xml.lineNumber(), xml.errorString());
        return Fail(sourceName, xml.lineNumber(), QStringLiteral("no root element"));
    }
    if (xml.name().compare(QLatin1String("Window"), Qt::CaseInsensitive) == 0) {
        if (depth == 0 && !ParseWindowElement(xml))
            return Fail(sourceName, xml.lineNumber(), QStringLiteral("bad Window attributes"));
        if (!ParseChildren(xml, sourceName, parent, top, depth))
            return false;
    } else {
        // A file whose root is a control: that control is the only top-level one.
        if (!ParseChildren(xml, sourceName, parent, top, depth, /*rootIsElement*/ true))
            return false;
    }
    return true;
}

bool CDialogBuilder::ParseWindowElement(QXmlStreamReader& xml) {
    for (const QXmlStreamAttribute& a : xml.attributes()) {
        const QString name = a.name().toString().toLower();
        const QString value = a.value().toString();
        m_window.attributes.insert(name, value);
        if (name == QLatin1String("size"))
            m_window.size = ParseSize(value);
        else if (name == QLatin1String("mininfo"))
            m_window.minSize = ParseSize(value);
        else if (name == QLatin1String("caption")) {
            const QStringList p = value.split(QLatin1Char(','));
            if (p.size() == 4)
                m_window.captionHeight = p[3].toInt();
        }
    }
    return true;
}

void CDialogBuilder::ParseFont(QXmlStreamReader& xml) {
    const QXmlStreamAttributes a = xml.attributes();
    if (!m_manager)
        return;
    const QString face = a.value(QLatin1String("name")).toString();
    const int size = a.value(QLatin1String("size")).toInt();
    const bool bold = IsTrue(a.value(QLatin1String("bold")));
    const bool underline = IsTrue(a.value(QLatin1String("underline")));
    const bool italic = IsTrue(a.value(QLatin1String("italic")));
    const bool shared = IsTrue(a.value(QLatin1String("shared")));
    if (a.hasAttribute(QLatin1String("id")))
        m_manager->AddFont(a.value(QLatin1String("id")).toInt(), face, size, bold, underline,
                           italic, shared);
    if (IsTrue(a.value(QLatin1String("default"))))
        m_manager->SetDefaultFont(face, size, bold, underline, italic, shared);
}

CControlUI* CDialogBuilder::MakeControl(const QString& tag) {
    CControlFactory& factory = CControlFactory::GetInstance();
    const QString builtIn = QStringLiteral("C%1UI").arg(tag);
    // The toolkit's own tags are matched without regard to case.
    static const QStringList kOwnTags = {QStringLiteral("Control"),
                                         QStringLiteral("Container"),
                                         QStringLiteral("VerticalLayout"),
                                         QStringLiteral("HorizontalLayout"),
                                         QStringLiteral("TabLayout"),
                                         QStringLiteral("Label"),
                                         QStringLiteral("Text"),
                                         QStringLiteral("Button"),
                                         QStringLiteral("Option"),
                                         QStringLiteral("CheckBox"),
                                         QStringLiteral("Edit"),
                                         QStringLiteral("RichEdit"),
                                         QStringLiteral("Combo"),
                                         QStringLiteral("List"),
                                         QStringLiteral("ListLabelElement"),
                                         QStringLiteral("ListContainerElement"),
                                         QStringLiteral("Slider"),
                                         QStringLiteral("Progress"),
                                         QStringLiteral("ColorPalette")};
    for (const QString& own : kOwnTags) {
        if (own.compare(tag, Qt::CaseInsensitive) == 0)
            return factory.CreateControl(QStringLiteral("C%1UI").arg(own));
    }
    if (m_callback) {
        if (CControlUI* control = m_callback->CreateControl(tag))
            return control;
    }
    if (CControlUI* control = factory.CreateControl(builtIn))
        return control;
    return factory.CreateControl(tag);
}

bool CDialogBuilder::ParseChildren(QXmlStreamReader& xml, const QString& sourceName,
                                   CControlUI* parent, QList<CControlUI*>& top, int depth,
                                   bool rootIsElement) {
    auto addChild = [&](CControlUI* control) {
        if (!parent) {
            top.append(control);
            return true;
        }
        auto* holder = dynamic_cast<IContainerUI*>(parent);
        if (!holder || !holder->Add(control)) {
            delete control->GetWidget();
            return false;
        }
        return true;
    };

    bool current = rootIsElement; // the reader already stands on the element to parse
    while (current || xml.readNextStartElement()) {
        current = false;
        const QString tag = xml.name().toString();
        const qint64 line = xml.lineNumber();
        if (tag.compare(QLatin1String("Font"), Qt::CaseInsensitive) == 0) {
            ParseFont(xml);
            xml.skipCurrentElement();
            continue;
        }
        if (tag.compare(QLatin1String("Default"), Qt::CaseInsensitive) == 0) {
            m_defaults.insert(xml.attributes().value(QLatin1String("name")).toString().toLower(),
                              xml.attributes().value(QLatin1String("value")).toString());
            xml.skipCurrentElement();
            continue;
        }
        if (tag.compare(QLatin1String("Include"), Qt::CaseInsensitive) == 0) {
            const QString source = xml.attributes().value(QLatin1String("source")).toString();
            const int count = std::max(1, xml.attributes().value(QLatin1String("count")).toInt());
            if (depth >= kMaxIncludeDepth)
                return Fail(sourceName, line, QStringLiteral("includes nested too deeply"));
            for (int i = 0; i < count; ++i) {
                if (!ParseFile(source, parent, top, depth + 1))
                    return Fail(sourceName, line,
                                QStringLiteral("cannot include \"%1\"").arg(source));
            }
            xml.skipCurrentElement();
            continue;
        }
        CControlUI* control = MakeControl(tag);
        if (!control)
            return Fail(sourceName, line, QStringLiteral("unknown control \"%1\"").arg(tag));
        control->DeferStyle();
        const QString defaults = m_defaults.value(control->GetClass().toLower());
        if (!defaults.isEmpty())
            control->ApplyAttributeList(defaults);
        for (const QXmlStreamAttribute& a : xml.attributes())
            control->SetAttribute(a.name().toString(), a.value().toString());
        // Children are built before the control joins its parent, so a failure deletes it whole.
        QList<CControlUI*> unused;
        if (!ParseChildren(xml, sourceName, control, unused, depth)) {
            delete control->GetWidget();
            return false;
        }
        if (!addChild(control))
            return Fail(sourceName, line,
                        QStringLiteral("\"%1\" cannot hold a \"%2\"").arg(parent->GetClass(), tag));
        control->DoInit();
        if (rootIsElement)
            break;
    }
    if (xml.hasError())
        return Fail(sourceName, xml.lineNumber(), xml.errorString());
    return true;
}

} // namespace ui
