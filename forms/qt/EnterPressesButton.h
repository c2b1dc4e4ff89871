#pragma once

class QAbstractButton;

namespace form1 {

// Enter and Return press the button while it has the focus, as on Windows (Space already does).
// Nothing else changes: a window's other controls still ignore both keys.
void pressOnEnter(QAbstractButton* button);

} // namespace form1
