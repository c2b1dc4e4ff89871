#include "Form1Style.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QWidget>

namespace quorvin::qtforms {

namespace {
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

} // namespace

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

} // namespace quorvin::qtforms
