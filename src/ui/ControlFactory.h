#pragma once
// The control factory: class names ("CButtonUI", "CKeySetControlUI", ...) mapped to functions
// that create a new control. The toolkit's own classes are registered from the start; the
// program registers its own with RegistControl.

#include <QHash>
#include <QString>
#include <functional>

namespace ui {

class CControlUI;

class CControlFactory {
public:
    using CreateFn = std::function<CControlUI*()>;
    static CControlFactory& GetInstance();

    void RegistControl(const QString& className, CreateFn create);
    bool IsRegistered(const QString& className) const { return m_classes.contains(className); }
    // A new control of the class, or nullptr for an unknown class.
    CControlUI* CreateControl(const QString& className) const;

private:
    CControlFactory();
    QHash<QString, CreateFn> m_classes;
};

} // namespace ui
