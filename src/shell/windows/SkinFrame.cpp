#include "shell/windows/SkinFrame.h"

#include "shell/windows/SkinImageStore.h"
#include "shell/windows/SkinNotifier.h"
#include "ui/ContainerUI.h"
#include "ui/ControlNames.h"
#include "ui/ControlUI.h"
#include "ui/DialogBuilder.h"

#include <QFileDialog>
#include <QLayout>
#include <QWidget>

namespace shell {

using ui::NameIs;

namespace {

const QString kDefaultImage = QStringLiteral("common/background.png");

CSkinFrame::FileChooser& Chooser() {
    static CSkinFrame::FileChooser chooser = &CSkinFrame::ChooseImageFile;
    return chooser;
}

} // namespace

CSkinFrame* CSkinFrame::Open(ui::CWindowWnd* mainWnd, ui::CControlUI* anchor) {
    auto* frame = new CSkinFrame(mainWnd, anchor);
    if (!frame->Create(nullptr, QStringLiteral("skinframe"), ui::WS_POPUP | ui::WS_VISIBLE,
                       ui::WS_EX_TOOLWINDOW)) {
        delete frame;
        return nullptr;
    }
    // The frame closes when it loses the focus, so it takes it first.
    frame->ShowWindow(true, true);
    return frame;
}

CSkinFrame::CSkinFrame(ui::CWindowWnd* mainWnd, ui::CControlUI* anchor)
    : m_mainWnd(mainWnd), m_anchor(anchor) {}

CSkinFrame::~CSkinFrame() {
    // The controls go before their manager.
    if (ui::CControlUI* root = m_pm.GetRoot())
        delete root->GetWidget();
}

CSkinFrame::FileChooser CSkinFrame::SetFileChooser(FileChooser chooser) {
    return std::exchange(Chooser(), std::move(chooser));
}

QString CSkinFrame::ChooseImageFile() {
    QFileDialog dialog;
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setDefaultSuffix(QStringLiteral("png"));
    dialog.setNameFilters({QStringLiteral("(*.png) (*.png)"), QStringLiteral("(*.*) (*)")});
    dialog.selectFile(QStringLiteral("*.png"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

bool CSkinFrame::OnCreate() {
    ui::CDialogBuilder builder;
    ui::CControlUI* root = builder.Create(QStringLiteral("skin.xml"), nullptr, &m_pm);
    if (!root) {
        qWarning("UISkinFrame: the skin cannot be built: %s", qPrintable(builder.GetLastError()));
        return false;
    }
    QWidget* host = GetHWND();
    const QSize size = builder.GetWindowInfo().size;
    if (size.isValid())
        host->resize(size);
    host->layout()->addWidget(root->GetWidget());
    m_pm.AttachRoot(root, host);
    m_pm.AddNotifier(this);
    PlaceUnderAnchor(size.isValid() ? size.width() : host->width());
    return true;
}

void CSkinFrame::PlaceUnderAnchor(int width) {
    QWidget* main = m_mainWnd ? m_mainWnd->GetHWND() : nullptr;
    QWidget* anchor = m_anchor ? m_anchor->GetWidget() : nullptr;
    if (!main || !anchor)
        return;
    const QPoint topLeft = anchor->mapTo(main, QPoint(0, 0));
    const QPoint at(topLeft.x() + anchor->width() - width, topLeft.y() + anchor->height());
    GetHWND()->move(main->mapToGlobal(at));
}

ui::LRESULT CSkinFrame::HandleMessage(ui::UINT msg, ui::WPARAM wParam, ui::LPARAM lParam) {
    const bool focusLost = msg == kWmKillFocus || (msg == ui::WM_ACTIVATE && wParam == 0);
    if (focusLost) {
        // The file dialog takes the focus while it is open; that does not end the frame.
        if (!m_choosingFile)
            Close(0);
        return 0;
    }
    return ui::CWindowWnd::HandleMessage(msg, wParam, lParam);
}

void CSkinFrame::Notify(ui::TNotifyUI& msg) {
    if (msg.sType != ui::notify::click || !msg.pSender)
        return;
    ui::CControlUI* sender = msg.pSender;
    if (NameIs(sender, "skin_image")) {
        ShowPage(0);
    } else if (NameIs(sender, "skin_color")) {
        ShowPage(1);
    } else if (NameIs(sender, "skin_color_btn")) {
        SkinNotifier().DeliverAll({1, sender->GetBkColor(), QString()});
    } else if (NameIs(sender, "skin_image_btn")) {
        const QString image = sender->GetUserData();
        SkinNotifier().DeliverAll({0, 0, image});
        WriteSkinImage(1, image);
    } else if (NameIs(sender, "skin_reset")) {
        SkinNotifier().DeliverAll({0, 0, kDefaultImage});
        WriteSkinImage(0, kDefaultImage);
    } else if (NameIs(sender, "skin_Custom")) {
        ChooseCustomImage();
    }
}

void CSkinFrame::ShowPage(int page) {
    if (auto* tab = dynamic_cast<ui::CTabLayoutUI*>(m_pm.FindControl(QStringLiteral("skin_tab"))))
        tab->SelectItem(page);
}

void CSkinFrame::ChooseCustomImage() {
    m_choosingFile = true;
    const QString file = Chooser() ? Chooser()() : QString();
    m_choosingFile = false;
    if (file.isEmpty())
        return;
    SkinNotifier().DeliverAll({0, 0, QFileInfo(file).absoluteFilePath()});
}

} // namespace shell
