#include "ModuleListBox.h"

#include "Form1Style.h"
#include "ModuleListCoupling.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>

namespace quorvin::qtforms {

ModuleListBox::ModuleListBox(QWidget* parent)
    : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSortingEnabled(false);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    useInactiveSelectionColours(this);
}

void ModuleListBox::initViewItemOption(QStyleOptionViewItem* option) const {
    QListWidget::initViewItemOption(option);
    // The style draws a row in the active colours while its window is active; here only while
    // the list has the focus too, as a Windows list box does.
    if (!hasFocus())
        option->state &= ~QStyle::State_Active;
}

void ModuleListBox::keyPressEvent(QKeyEvent* event) {
    // Qt moves on from the row its focus rests on, unselected, so the first Down would select
    // the second row; a list box without a selection starts at the first.
    const bool step = event->key() == Qt::Key_Down || event->key() == Qt::Key_Up;
    if (step && event->modifiers() == Qt::NoModifier && count() > 0 && selectedIndex(this) < 0) {
        setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
        // The row was current already (the focus put it there), so Qt announces nothing.
        announceCurrentRow();
        event->accept();
        return;
    }
    QListWidget::keyPressEvent(event);
}

void ModuleListBox::mousePressEvent(QMouseEvent* event) {
    // A list box ignores a press on no row; Qt's list would clear the selection.
    if (itemAt(event->position().toPoint()) == nullptr) {
        setFocus(Qt::MouseFocusReason);
        event->accept();
        return;
    }
    QListWidget::mousePressEvent(event);
}

void ModuleListBox::mouseDoubleClickEvent(QMouseEvent* event) {
    if (itemAt(event->position().toPoint()) == nullptr) {
        event->accept();
        return;
    }
    QListWidget::mouseDoubleClickEvent(event);
}

void ModuleListBox::focusInEvent(QFocusEvent* event) {
    // A screen reader takes a list's current row for the focused one, so only the list with the
    // focus has one: the coupling selects rows in the other lists without making them current,
    // and the focus arriving makes the selected row current, which a screen reader announces.
    const int selected = selectedIndex(this);
    if (selected >= 0 && currentRow() != selected)
        setCurrentRow(selected, QItemSelectionModel::NoUpdate);
    QListWidget::focusInEvent(event);
    viewport()->update(); // its selection turns to the active colour
    // Qt announces the list once this has returned, after the row it made current; the row is
    // announced again after the list, so that it is what the screen reader says last.
    QTimer::singleShot(0, this, &ModuleListBox::announceCurrentRow);
}

void ModuleListBox::announceCurrentRow() {
    if (!hasFocus() || currentRow() < 0)
        return;
    QAccessibleEvent focus(this, QAccessible::Focus);
    focus.setChild(currentRow());
    QAccessible::updateAccessibility(&focus);
}

void ModuleListBox::focusOutEvent(QFocusEvent* event) {
    // Leaving, the list keeps its selection but no current row.
    selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    QListWidget::focusOutEvent(event);
    viewport()->update();
}

} // namespace quorvin::qtforms
