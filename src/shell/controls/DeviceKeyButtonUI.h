#pragma once
// An on-screen key or LED of a device panel. Over its own images it draws its light image in
// the key's light colour and, unless hidden, its key-set image. A rubber band of the select
// panel around it marks it selected-by-band. A label longer than the key ("Home", "PgUp") is
// drawn in a smaller size of the key's font, so that it fits between the key's borders.

#include "devices/DevicePanel.h"
#include "ui/ButtonUI.h"

#include <QImage>

class QPainter;

namespace shell {

class CDeviceKeyButtonUI : public ui::CButtonUI, public devices::IKeyButton {
public:
    QString GetClass() const override { return QStringLiteral("DeviceKeyButton"); }
    void SetAttribute(const QString& name, const QString& value) override;

    // devices::IKeyButton
    bool IsVisible() const override { return CControlUI::IsVisible(); }
    bool GetColour(devices::LedColour& colour) const override;
    void SetColour(const devices::LedColour& colour) override;

    // 0xAARRGGBB; 0 draws no light.
    std::uint32_t GetLightColor() const { return m_lightColor; }
    void SetLightColor(std::uint32_t argb);
    QString GetLightImage() const { return m_lightImage; }
    QString GetKeySetImage() const { return m_keySetImage; }
    bool IsKeySetImageHidden() const { return m_keySetImageHidden; }
    void SetKeySetImageHidden(bool hidden);
    std::uint32_t GetGameNameTextColor() const { return m_gameNameTextColor; }

    std::uint32_t IsSelectedByBand() const { return m_selectedByBand; }
    void SetSelectedByBand(std::uint32_t selected);

protected:
    void paintEvent(QPaintEvent* event) override;
    void ShowText(const QString& text) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void FitLabel();
    void PaintLight(QPainter& painter);

    bool m_fitting = false;
    QString m_lightImage;
    QString m_keySetImage;
    std::uint32_t m_lightColor = 0;
    int m_lightAlpha = 255;
    int m_lightFade = 200;
    // The light image in the light colour, made again only when the colour changes.
    QImage m_tinted;
    std::uint32_t m_tintedFor = 0;
    bool m_keySetImageHidden = true;
    std::uint32_t m_gameNameTextColor = 0;
    std::uint32_t m_selectedByBand = 0;
};

} // namespace shell
