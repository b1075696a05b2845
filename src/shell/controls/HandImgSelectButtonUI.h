#pragma once
// A button that shows a picture through itself: a picture larger than the button shows the
// part under a source rectangle, which the user pans by dragging with the button held.

#include "ui/ButtonUI.h"

namespace shell {

class CHandImgSelectButtonUI : public ui::CButtonUI {
public:
    void SetAttribute(const QString& name, const QString& value) override;

    QString GetHandImage() const { return m_handImage; }
    void SetHandImage(const QString& image);
    QSize GetHandImageSize() const { return m_imageSize; }
    // The part of the picture shown, in picture pixels.
    QRect GetSourceRect() const;
    // The image text drawn: "file='...' " with "source='l,t,r,b'" when the picture is larger.
    QString GetDrawImageText() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    bool IsLargerThanControl() const;
    void ClampOffset();

    QString m_handImage;
    QImage m_image;
    QSize m_imageSize;
    QPoint m_offset; // top left of the source rectangle
    QPoint m_pressed;
    bool m_dragging = false;
};

} // namespace shell
