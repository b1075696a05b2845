#pragma once
// A button showing a picture, with a delete spot at its bottom right: when deleting is allowed,
// the spot shows the delete hot image while the pointer is over the button, and a release on
// it sends "click_handdelete" instead of a click.

#include "ui/ButtonUI.h"

namespace shell {

inline const QString kClickHandDelete = QStringLiteral("click_handdelete");

class CHandImgButtonUI : public ui::CButtonUI {
public:
    CHandImgButtonUI();
    void SetAttribute(const QString& name, const QString& value) override;

    QString GetHandImage() const { return m_handImage; }
    QString GetDeleteNormalImage() const { return m_deleteNormalImage; }
    QString GetDeleteHotImage() const { return m_deleteHotImage; }
    // Deleting is off until the owner allows it.
    bool IsNoDelete() const { return m_noDelete; }
    void SetNoDelete(bool noDelete);
    // The delete spot in the button's own coordinates.
    QRect DeleteRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString m_handImage;
    QString m_deleteNormalImage;
    QString m_deleteHotImage;
    bool m_noDelete = true;
};

} // namespace shell
