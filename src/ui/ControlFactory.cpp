#include "ui/ControlFactory.h"

#include "ui/ColorPaletteUI.h"
#include "ui/ComboUI.h"
#include "ui/ContainerUI.h"
#include "ui/EditUI.h"
#include "ui/ListUI.h"
#include "ui/SliderUI.h"

namespace ui {

namespace {
template <class T> CControlFactory::CreateFn Make() {
    return [] { return static_cast<CControlUI*>(new T); };
}
} // namespace

CControlFactory& CControlFactory::GetInstance() {
    static CControlFactory factory;
    return factory;
}

CControlFactory::CControlFactory() {
    RegistControl(QStringLiteral("CControlUI"), Make<CPlainControlUI>());
    RegistControl(QStringLiteral("CContainerUI"), Make<CContainerUI>());
    RegistControl(QStringLiteral("CVerticalLayoutUI"), Make<CVerticalLayoutUI>());
    RegistControl(QStringLiteral("CHorizontalLayoutUI"), Make<CHorizontalLayoutUI>());
    RegistControl(QStringLiteral("CTabLayoutUI"), Make<CTabLayoutUI>());
    RegistControl(QStringLiteral("CLabelUI"), Make<CLabelUI>());
    RegistControl(QStringLiteral("CTextUI"), Make<CLabelUI>());
    RegistControl(QStringLiteral("CButtonUI"), Make<CButtonUI>());
    RegistControl(QStringLiteral("COptionUI"), Make<COptionUI>());
    RegistControl(QStringLiteral("CCheckBoxUI"), Make<CCheckBoxUI>());
    RegistControl(QStringLiteral("CEditUI"), Make<CEditUI>());
    RegistControl(QStringLiteral("CRichEditUI"), Make<CRichEditUI>());
    RegistControl(QStringLiteral("CComboUI"), Make<CComboUI>());
    RegistControl(QStringLiteral("CListUI"), Make<CListUI>());
    RegistControl(QStringLiteral("CListLabelElementUI"), Make<CListLabelElementUI>());
    RegistControl(QStringLiteral("CListContainerElementUI"), Make<CListContainerElementUI>());
    RegistControl(QStringLiteral("CSliderUI"), Make<CSliderUI>());
    RegistControl(QStringLiteral("CProgressUI"), Make<CProgressUI>());
    RegistControl(QStringLiteral("CColorPaletteUI"), Make<CColorPaletteUI>());
}

void CControlFactory::RegistControl(const QString& className, CreateFn create) {
    m_classes.insert(className, std::move(create));
}

CControlUI* CControlFactory::CreateControl(const QString& className) const {
    auto it = m_classes.constFind(className);
    return it == m_classes.constEnd() ? nullptr : (*it)();
}

} // namespace ui
