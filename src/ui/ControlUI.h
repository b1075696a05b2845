#pragma once
// CControlUI: the common part of every control built from the skin. A control is a Qt widget
// (ControlWidget<W> below) that also carries the toolkit's properties: name, user data, tag,
// colours, images, fixed size, font id and whether its text is a text id of the language
// table. Controls report user input to their paint manager as notifications.

#include "ui/UIDefs.h"

#include <QMap>
#include <QMouseEvent>
#include <QRect>
#include <QString>
#include <QWidget>
#include <cstdint>

namespace ui {

class CPaintManagerUI;

class CControlUI {
public:
    CControlUI();
    virtual ~CControlUI();
    CControlUI(const CControlUI&) = delete;
    CControlUI& operator=(const CControlUI&) = delete;

    virtual QWidget* GetWidget() = 0;
    const QWidget* GetWidget() const { return const_cast<CControlUI*>(this)->GetWidget(); }
    // The class name used in the skin's XML without the "UI" suffix ("Button", "Option", ...).
    virtual QString GetClass() const = 0;

    QString GetName() const { return m_name; }
    void SetName(const QString& name);

    // The text as shown: in resource-text mode the stored text is an id and this returns the
    // current language's text for it.
    virtual QString GetText() const;
    virtual void SetText(const QString& text);
    QString GetRawText() const { return m_text; }
    bool IsResourceText() const { return m_resourceText; }
    void SetResourceText(bool on);

    QString GetToolTip() const;
    void SetToolTip(const QString& tip);

    bool IsVisible() const;
    virtual void SetVisible(bool visible);
    bool IsEnabled() const;
    virtual void SetEnabled(bool enabled);
    bool IsMouseEnabled() const { return m_mouseEnabled; }
    void SetMouseEnabled(bool enabled);
    bool IsFocused() const;
    void SetFocus();

    QString GetUserData() const { return m_userData; }
    void SetUserData(const QString& data) { m_userData = data; }
    std::uintptr_t GetTag() const { return m_tag; }
    void SetTag(std::uintptr_t tag) { m_tag = tag; }

    // Colours are 0xAARRGGBB; 0 means "not set".
    std::uint32_t GetBkColor() const { return m_bkColor; }
    void SetBkColor(std::uint32_t colour);
    std::uint32_t GetTextColor() const { return m_textColor; }
    void SetTextColor(std::uint32_t colour);
    std::uint32_t GetBorderColor() const { return m_borderColor; }
    void SetBorderColor(std::uint32_t colour);
    int GetBorderSize() const { return m_borderSize; }
    void SetBorderSize(int size);

    // Images by state: "bk", "fore", "normal", "hot", "pushed", "focused", "disabled",
    // "selected", "selectedhot", "selectedpushed". Values are as in the skin: a path relative
    // to the skin folder or "file='...' corner='l,t,r,b'".
    QString GetImage(const QString& state) const { return m_images.value(state); }
    void SetImage(const QString& state, const QString& image);
    QString GetBkImage() const { return GetImage(QStringLiteral("bk")); }
    void SetBkImage(const QString& image) { SetImage(QStringLiteral("bk"), image); }
    QString GetForeImage() const { return GetImage(QStringLiteral("fore")); }
    void SetForeImage(const QString& image) { SetImage(QStringLiteral("fore"), image); }

    // Sizes are in toolkit units at 96 DPI; the paint manager scales them.
    int GetFixedWidth() const { return m_fixedWidth; }
    void SetFixedWidth(int width);
    int GetFixedHeight() const { return m_fixedHeight; }
    void SetFixedHeight(int height);
    bool IsFloat() const { return m_float; }
    void SetFloat(bool on);
    QRect GetPos() const { return m_pos; }
    void SetPos(const QRect& rect);
    void SetPadding(const QRect& ltrb);
    QRect GetPadding() const { return m_padding; }

    int GetFont() const { return m_fontId; }
    void SetFont(int id);

    QString GetVirtualWnd() const;
    void SetVirtualWnd(const QString& name) { m_virtualWnd = name; }

    CPaintManagerUI* GetManager() const { return m_manager; }
    CControlUI* GetParent() const { return m_parent; }
    // Attaches this control (and, for containers, its children) to a manager.
    virtual void SetManager(CPaintManagerUI* manager, CControlUI* parent);

    // Skin attributes; unknown attributes are ignored, as the skin may carry look-only ones.
    virtual void SetAttribute(const QString& name, const QString& value);
    void ApplyAttributeList(const QString& list);

    // Called once the control and its children have been built.
    virtual void DoInit() {}
    // Timer set through CPaintManagerUI::SetTimer; the default sends the "timer" notification.
    virtual void DoTimer(int id);

    // Re-applies language text, font, style and size (after a language, font or DPI change).
    virtual void RefreshText();
    void RefreshFont();
    void RefreshStyle();
    void RefreshSize();

    // Style sheets. Qt styles a tree under one sheet far faster than many controls each under
    // a sheet of its own, so the skin builder holds back the rules of the controls it makes
    // (DeferStyle) and then gives each tree it built one sheet with the rules of all its
    // controls (ShareStyleSheet), the program's sheet first when the tree is a window's root.
    // A control whose look changes afterwards takes its rules into a sheet of its own.
    void DeferStyle() { m_styleDeferred = true; }
    void ShareStyleSheet();

    void Invalidate();

    // Sends a notification with this control as sender to its manager.
    void Notify(const QString& type, WPARAM wParam = 0, LPARAM lParam = 0);

    static std::uint32_t ParseColour(const QString& text);
    // A 0xAARRGGBB colour as a style-sheet colour.
    static QString CssColour(std::uint32_t argb);

protected:
    // Shows the text that GetText() answers; controls with a text widget override it.
    virtual void ShowText(const QString& text);
    // Per-control style sheet rules; the selector names this control only.
    virtual QString StyleRules(const QString& selector) const;
    // A bitmap fills the control as its border image; an .svg drawing is the control's image,
    // scaled to its content box, so a control may show a drawing over a bitmap frame.
    QString ImageRule(const QString& image) const;
    QString Selector() const;
    int Scaled(int value) const;

private:
    void ApplySharedSheet();
    void ApplyOwnSheet();

    CPaintManagerUI* m_manager = nullptr;
    CControlUI* m_parent = nullptr;
    QString m_name;
    QString m_text;
    bool m_resourceText = false;
    bool m_mouseEnabled = true;
    QString m_userData;
    std::uintptr_t m_tag = 0;
    std::uint32_t m_bkColor = 0;
    std::uint32_t m_textColor = 0;
    std::uint32_t m_borderColor = 0;
    int m_borderSize = 0;
    QMap<QString, QString> m_images;
    int m_fixedWidth = 0;
    int m_fixedHeight = 0;
    bool m_float = false;
    QRect m_pos;
    QRect m_padding;
    int m_fontId = -1;
    QString m_virtualWnd;
    quint64 m_uid;
    QString m_styleRules;
    bool m_styleDeferred = false;
    bool m_inSharedSheet = false; // its rules are in the sheet of a tree above it
    bool m_sheetHolder = false;   // its widget carries the sheet of its tree
    bool m_ownSheet = false;
};

// A control shown by a Qt widget of type W. A right click sends "menu" when the skin sets
// menu="true"; a double click sends "dbclick".
template <class W> class ControlWidget : public W, public CControlUI {
public:
    explicit ControlWidget(QWidget* parent = nullptr) : W(parent) {}
    QWidget* GetWidget() override { return this; }
    void SetAttribute(const QString& name, const QString& value) override {
        if (name.compare(QLatin1String("menu"), Qt::CaseInsensitive) == 0)
            m_menu = value.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
        else
            CControlUI::SetAttribute(name, value);
    }

protected:
    void contextMenuEvent(QContextMenuEvent* event) override {
        if (m_menu)
            Notify(notify::menu);
        else
            W::contextMenuEvent(event);
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        W::mouseDoubleClickEvent(event);
        event->accept(); // reported here only, not again by the parents
        Notify(notify::dbclick);
    }

private:
    bool m_menu = false;
};

// Controls that hold child controls built from the skin: containers, lists and combos.
class IContainerUI {
public:
    virtual ~IContainerUI() = default;
    virtual int GetCount() const = 0;
    virtual CControlUI* GetItemAt(int index) const = 0;
    virtual bool Add(CControlUI* control) = 0;
};

// Casts a control to a more derived control class; nullptr when it is not one.
template <class T> T* control_cast(CControlUI* control) {
    return dynamic_cast<T*>(control);
}

// The plain "Control" tag: an empty area, a spacer or a picture.
class CPlainControlUI : public ControlWidget<QWidget> {
public:
    CPlainControlUI();
    QString GetClass() const override { return QStringLiteral("Control"); }

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace ui
