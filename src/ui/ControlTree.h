#pragma once
// Walking a control tree by its containers, so that it works before the tree has a paint
// manager and stays inside one subtree when other pages use the same names.

#include "ui/ControlUI.h"

#include <QString>

namespace ui {

// Visits `root` and then its descendants, depth-first in tree order. When visit returns false,
// the children of that control are not visited.
template <class Visit> void WalkTree(CControlUI* root, Visit&& visit) {
    if (!root || !visit(root))
        return;
    if (auto* container = dynamic_cast<IContainerUI*>(root)) {
        for (int i = 0; i < container->GetCount(); ++i)
            WalkTree(container->GetItemAt(i), visit);
    }
}

// The first control in tree order, `root` included, for which match holds; nullptr when none.
template <class Match> CControlUI* FindInTree(CControlUI* root, Match&& match) {
    CControlUI* found = nullptr;
    WalkTree(root, [&](CControlUI* control) {
        if (!found && match(control))
            found = control;
        return !found;
    });
    return found;
}

// The first control named `name` (exactly) in the subtree of `root`.
inline CControlUI* FindInTreeByName(CControlUI* root, const QString& name) {
    return FindInTree(root, [&](CControlUI* c) { return c->GetName() == name; });
}

// Whether `control` is `ancestor` or lies inside it.
inline bool IsInTree(const CControlUI* control, const CControlUI* ancestor) {
    for (; control; control = control->GetParent()) {
        if (control == ancestor)
            return true;
    }
    return false;
}

} // namespace ui
