#include "Form1Style.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>
#include <QWidget>

namespace form1 {

namespace {
// The program's pictures, compiled in by the resources library.
constexpr const char* iconPath = ":/quorvin/quorvin.ico";
constexpr const char* chatPicturePath = ":/quorvin/chat.ico";
constexpr const char* chatCursorPath = ":/quorvin/chat.cur";
constexpr QSize chatPictureSize(152, 68);
constexpr QPoint chatCursorHotSpot(12, 1);

// The first of MS Sans Serif's look-alikes that is really installed. Asking for a missing family
// lets fontconfig substitute whatever it likes, often a much wider face.
QString sansFamily() {
    static const QString family = [] {
        const QStringList installed = QFontDatabase::families();
        for (const char* candidate : {"MS Sans Serif", "Microsoft Sans Serif", "Tahoma", "Arial",
                                      "Liberation Sans", "Nimbus Sans", "DejaVu Sans"}) {
            if (installed.contains(QString::fromUtf8(candidate), Qt::CaseInsensitive))
                return QString::fromUtf8(candidate);
        }
        return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    }();
    return family;
}

QFont sansFont(bool bold) {
    QFont font(sansFamily());
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.25);
    font.setBold(bold);
    return font;
}

QPixmap drawnChatPicture() {
    QPixmap picture(chatPictureSize);
    picture.fill(QColor(0, 0, 160));
    QPainter painter(&picture);
    painter.setPen(Qt::white);
    QFont font = sansFont(true);
    font.setPointSizeF(11);
    painter.setFont(font);
    painter.drawText(picture.rect(), Qt::AlignCenter, QStringLiteral("Live Chat"));
    return picture;
}
} // namespace

QFont defaultFont() {
    return sansFont(false);
}

QFont headingFont() {
    return sansFont(true);
}

void makeTextBlue(QWidget* widget) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
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
    if (QFile::exists(iconPath))
        return QIcon(iconPath);
    return QIcon(drawnChatPicture().copy(0, 0, 68, 68).scaled(32, 32));
}

QPixmap chatPicture() {
    const QPixmap picture(chatPicturePath);
    return picture.isNull() ? drawnChatPicture() : picture;
}

QCursor chatCursor() {
    const QPixmap shape(chatCursorPath);
    if (shape.isNull())
        return QCursor(Qt::PointingHandCursor);
    return QCursor(shape, chatCursorHotSpot.x(), chatCursorHotSpot.y());
}

} // namespace form1
