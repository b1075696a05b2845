#pragma once
// CMenuWnd: a pop-up menu built from a skin XML file:
//   <Menu>
//     <MenuElement name="about_menu" text="about_text" resourcetext="true"/>
//     <MenuElement text="More"><MenuElement name="x" text="X"/></MenuElement>
//     <MenuSeparator/>
//   </Menu>
// (optionally inside <Window>). A click on an item sends its owner WM_MENUCLICK with wParam
// pointing at a MenuCmd for the item.

#include "ui/UIDefs.h"

#include <QPoint>
#include <QString>
#include <memory>

class QMenu;

namespace ui {

class CWindowWnd;

struct MenuCmd {
    QString szName;
    QString szUserData;
    QString szText;
    bool bChecked = false;
};

enum MenuAlignment {
    eMenuAlignment_Left = 1 << 1,   // the menu's left edge at the point
    eMenuAlignment_Top = 1 << 2,    // its top edge at the point
    eMenuAlignment_Right = 1 << 3,  // its right edge at the point
    eMenuAlignment_Bottom = 1 << 4, // its bottom edge at the point
};

class CMenuWnd {
public:
    CMenuWnd();
    ~CMenuWnd();

    // Builds the menu from the file (relative to the skin folder) and shows it at the point,
    // in screen coordinates. Returns false, showing nothing, when the file cannot be built.
    bool Init(CWindowWnd* owner, const QString& xmlFile, QPoint point, int alignment);
    // Builds without showing (for tests and for callers that place the menu themselves).
    bool Build(CWindowWnd* owner, const QString& xmlFile);
    QPoint PlacementFor(QPoint point, int alignment) const;
    void Close();
    QMenu* GetMenu() const { return m_menu.get(); }
    QString GetLastError() const { return m_error; }

private:
    std::unique_ptr<QMenu> m_menu;
    CWindowWnd* m_owner = nullptr;
    QString m_error;
};

} // namespace ui
