#include "LayoutWidgets.h"

#include <QAbstractButton>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

namespace quorvin::qtforms {

namespace {

constexpr int designDpi = 96;

// A fixed text whole on one line in the font its control got: the box grows to hold it, about its
// centre or to its right, within its parent; only what the parent cannot make room for is drawn
// narrower.
void fitFixedText(QWidget* widget, const quorvin::layout::WindowLayout& layout,
                  const quorvin::layout::Control& control) {
    auto* label = qobject_cast<QLabel*>(widget);
    auto* button = qobject_cast<QPushButton*>(widget);
    if (label == nullptr && button == nullptr)
        return;
    const QString text = label != nullptr ? label->text() : button->text();
    // A button's caption needs its margins too, as the style measures them. Measured here in
    // device-independent pixels, a text can come out a little wider on a scaled screen, where its
    // glyphs are hinted to other pixels: a twenty-fifth more keeps it whole there.
    const qreal advance = QFontMetricsF(widget->font()).horizontalAdvance(text);
    const int buttonMargins = button != nullptr ? 12 : 0;
    const int needed = std::max(button != nullptr ? button->sizeHint().width() : 0,
                                static_cast<int>(std::ceil(advance * 1.04)) + 2 + buttonMargins);
    const QRect box = widget->geometry();
    const QWidget* parent = widget->parentWidget();
    const int parentWidth = parent != nullptr ? parent->width() : box.right() + 1;
    const quorvin::layout::PixelRect fitted = quorvin::layout::widenedToText(
        layout, control, {box.left(), box.top(), box.width(), box.height()}, 0, parentWidth,
        needed);
    widget->setGeometry(fitted.left, fitted.top, fitted.width, fitted.height);
    if (label == nullptr)
        return;
    if (quorvin::layout::growsAboutCentre(layout, control))
        label->setAlignment(Qt::AlignHCenter | (label->alignment() & Qt::AlignVertical_Mask));
    condenseToFit(label, text, fitted.width);
}

// The program's pictures, compiled in by the resources library.
constexpr const char* iconPath = ":/quorvin/quorvin.ico";
constexpr const char* chatPicturePath = ":/quorvin/chat.ico";
constexpr const char* chatCursorPath = ":/quorvin/chat.cur";
constexpr QPoint chatCursorHotSpot(12, 1);
// The same two pictures with twice the pixels, for scaled screens.
constexpr const char* chatPicture2xPath = ":/quorvin/chat@2x.png";
constexpr const char* chatCursor2xPath = ":/quorvin/chat-cursor@2x.png";

// Above 100 % the twice-as-large drawing, scaled down where the screen is not at 200 %, is
// sharper than the natural one scaled up.
QPixmap picture(const char* path1x, const char* path2x, qreal devicePixelRatio) {
    if (devicePixelRatio <= 1.0)
        return QPixmap(QString::fromUtf8(path1x));
    QPixmap twice(QString::fromUtf8(path2x));
    twice.setDevicePixelRatio(2.0);
    return twice;
}

// The first of the candidates that is really installed. Asking for a missing family lets the
// font system substitute whatever it likes, often a much wider face.
QString installedFamily(std::initializer_list<const char*> candidates) {
    const QStringList installed = QFontDatabase::families();
    for (const char* candidate : candidates) {
        if (installed.contains(QString::fromUtf8(candidate), Qt::CaseInsensitive))
            return QString::fromUtf8(candidate);
    }
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

// MS Sans Serif or the closest look-alike.
QString sansFamily() {
    static const QString family =
        installedFamily({"MS Sans Serif", "Microsoft Sans Serif", "Tahoma", "Arial",
                         "Liberation Sans", "Nimbus Sans", "DejaVu Sans"});
    return family;
}

// Times New Roman, or a face with the same widths.
QString serifFamily() {
    static const QString family =
        installedFamily({"Times New Roman", "Liberation Serif", "Tinos", "Nimbus Roman"});
    return family;
}

class EnterFilter : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (!enter || key->modifiers() & ~Qt::KeypadModifier)
            return false;
        if (!key->isAutoRepeat())
            static_cast<QAbstractButton*>(watched)->click();
        return true;
    }
};

} // namespace

QRect pixelRect(const quorvin::layout::Twips& place) {
    const quorvin::layout::PixelRect pixels = quorvin::layout::toPixels(place, designDpi);
    return QRect(pixels.left, pixels.top, pixels.width, pixels.height);
}

void applyControl(QWidget* widget, const quorvin::layout::Control& control) {
    widget->setObjectName(qtText(control.name));
    widget->setGeometry(pixelRect(control.place));
    widget->setFont(qtFont(control.font));
    if (control.colour == quorvin::layout::TextColour::Blue)
        makeTextBlue(widget);
    if (!control.visible)
        widget->setVisible(false);
}

LayoutWidgets::LayoutWidgets(QWidget* window, const quorvin::layout::WindowLayout& layout,
                             const MakeWidget& make)
    : layout_(layout) {
    quorvin::layout::checkLayout(layout);
    for (const quorvin::layout::Control& control : layout.controls) {
        QWidget* parent = control.parent.empty() ? window : at(control.parent);
        QWidget* widget = make(control, parent);
        applyControl(widget, control);
        if (quorvin::layout::growsToHoldText(control))
            fitFixedText(widget, layout, control);
        widgets_[control.name] = widget;
    }
}

QWidget* LayoutWidgets::at(std::string_view name) const {
    const auto it = widgets_.find(name);
    if (it == widgets_.end())
        throw std::out_of_range(std::string(layout_.name) + " has no control " + std::string(name));
    return it->second;
}

std::vector<QWidget*> LayoutWidgets::tabStops() const {
    std::vector<QWidget*> stops;
    for (const quorvin::layout::Control* control : layout_.tabStops())
        stops.push_back(at(control->name));
    return stops;
}

void LayoutWidgets::applyTabOrder() const {
    const std::vector<QWidget*> stops = tabStops();
    for (std::size_t i = 1; i < stops.size(); ++i)
        QWidget::setTabOrder(stops[i - 1], stops[i]);
}

QFont qtFont(const quorvin::layout::Font& font) {
    const bool serif = font.family == quorvin::layout::splashSerifFont.family;
    QFont qt(serif ? serifFamily() : sansFamily());
    qt.setStyleHint(serif ? QFont::Serif : QFont::SansSerif);
    qt.setPointSizeF(font.points);
    qt.setBold(font.bold);
    return qt;
}

void makeTextBlue(QWidget* widget) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
    widget->setPalette(palette);
}

void useInactiveSelectionColours(QWidget* widget) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight,
                     palette.color(QPalette::Active, QPalette::Button));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Active, QPalette::ButtonText));
    widget->setPalette(palette);
}

void condenseToFit(QWidget* widget, const QString& caption, int width) {
    QFont font = widget->font();
    for (int spacing = 100; spacing >= 85; --spacing) {
        font.setLetterSpacing(QFont::PercentageSpacing, spacing);
        if (QFontMetrics(font).horizontalAdvance(caption) <= width)
            break;
    }
    widget->setFont(font);
}

QIcon programIcon() {
    return QIcon(iconPath);
}

QPixmap chatPicture(qreal devicePixelRatio) {
    return picture(chatPicturePath, chatPicture2xPath, devicePixelRatio);
}

QCursor chatCursor(qreal devicePixelRatio) {
    // The hot spot is given in the pointer's own size, whatever its pixel count.
    return QCursor(picture(chatCursorPath, chatCursor2xPath, devicePixelRatio),
                   chatCursorHotSpot.x(), chatCursorHotSpot.y());
}

void pressOnEnter(QAbstractButton* button) {
    button->installEventFilter(new EnterFilter(button));
}

} // namespace quorvin::qtforms
