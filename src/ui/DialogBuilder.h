#pragma once
// CDialogBuilder: builds a control tree from a skin XML file (docs/skin.md describes the
// dialect). Unknown tags go to the builder callback, then to the control factory as
// "C<tag>UI". A file that cannot be read, is not well-formed XML, names an unknown tag or
// includes a file that fails builds nothing: Create returns nullptr and GetLastError() says
// which file and line.

#include "ui/UIDefs.h"

#include <QHash>
#include <QSize>
#include <QString>
#include <QStringList>

class QXmlStreamReader;

namespace ui {

class CControlUI;
class CPaintManagerUI;

// The attributes of the <Window> element of the file built last.
struct WindowSkinInfo {
    QSize size;
    int captionHeight = 0;
    QSize minSize;
    QHash<QString, QString> attributes;
};

class CDialogBuilder {
public:
    // `xml` is a skin id of the resource index (such as "XML_MAIN") or a file name relative to
    // the skin folder. The top-level controls are added to `parent` when one is given (it must
    // hold children), and attached to `manager`. Returns the first top-level control.
    CControlUI* Create(const QString& xml, IDialogBuilderCallback* callback,
                       CPaintManagerUI* manager, CControlUI* parent = nullptr);
    // The same from XML text; `sourceName` names it in error messages.
    CControlUI* CreateFromText(const QString& text, const QString& sourceName,
                               IDialogBuilderCallback* callback, CPaintManagerUI* manager,
                               CControlUI* parent = nullptr);

    QString GetLastError() const { return m_error; }
    const WindowSkinInfo& GetWindowInfo() const { return m_window; }

private:
    void Reset(IDialogBuilderCallback* callback, CPaintManagerUI* manager);
    bool ParseFile(const QString& file, CControlUI* parent, QList<CControlUI*>& top, int depth);
    bool ParseDocument(QXmlStreamReader& xml, const QString& sourceName, CControlUI* parent,
                       QList<CControlUI*>& top, int depth);
    // Builds the elements under the current one (or, with rootIsElement, the current element
    // itself) into parent, or into top when there is no parent.
    bool ParseChildren(QXmlStreamReader& xml, const QString& sourceName, CControlUI* parent,
                       QList<CControlUI*>& top, int depth, bool rootIsElement = false);
    bool ParseWindowElement(QXmlStreamReader& xml);
    void ParseFont(QXmlStreamReader& xml);
    CControlUI* MakeControl(const QString& tag);
    bool Fail(const QString& sourceName, qint64 line, const QString& message);
    CControlUI* Finish(bool ok, QList<CControlUI*>& top, CControlUI* parent);

    IDialogBuilderCallback* m_callback = nullptr;
    CPaintManagerUI* m_manager = nullptr;
    QHash<QString, QString> m_defaults; // lower-case class -> attribute list
    WindowSkinInfo m_window;
    QString m_error;
};

} // namespace ui
