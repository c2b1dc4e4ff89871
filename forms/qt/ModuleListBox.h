#pragma once

#include <QListWidget>

namespace quorvin::qtforms {

// One of the three module lists: a single-selection list that answers the keyboard and the mouse
// as a Windows list box does. Down or Up on a list without a selection selects its first row, a
// click below the last row leaves the selection as it is, and the focus entering the list lands
// on its selected row. Only the list with the focus draws its selection in the active colour; the
// other two draw theirs in the inactive one, so that the user sees which list the keys move.
class ModuleListBox : public QListWidget {
    Q_OBJECT
public:
    explicit ModuleListBox(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void initViewItemOption(QStyleOptionViewItem* option) const override;

private:
    // Tells screen readers the current row has the focus.
    void announceCurrentRow();
};

} // namespace quorvin::qtforms
