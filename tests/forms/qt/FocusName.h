#pragma once

#include "forms/qt/Form1.h"
#include "platform/qt/Browser.h"

#include <QString>
#include <QWidget>

namespace formtest {

// The name of the control that has the focus as Tab counts it: "WB" for anything inside the
// browser, "none" for nothing.
inline QString focusName(const quorvin::qtforms::Form1& form, QWidget* widget) {
    if (widget != nullptr && form.wb()->isAncestorOf(widget))
        return "WB";
    return widget == nullptr ? "none" : widget->objectName();
}

} // namespace formtest
