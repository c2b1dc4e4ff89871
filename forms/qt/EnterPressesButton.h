#pragma once

class QAbstractButton;

namespace quorvin::qtforms {

// Enter and Return press the button while it has the focus, as on Windows (Space already does).
// Nothing else changes: a window's other controls still ignore both keys.
void pressOnEnter(QAbstractButton* button);

} // namespace quorvin::qtforms
