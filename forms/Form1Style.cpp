#include "Form1Style.h"

#include <QFile>
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

QFont sansFont(bool bold) {
    QFont font;
    font.setFamilies({"MS Sans Serif", "Microsoft Sans Serif", "Tahoma", "Arial", "Liberation Sans",
                      "DejaVu Sans"});
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
