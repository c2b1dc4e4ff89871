// Loads the compiled-in pictures the way the program does, through Qt's image readers, from a
// program that gets them only through the results window's library.
#include "forms/qt/LayoutWidgets.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPixmap>
#include <gtest/gtest.h>

#include <vector>

using namespace quorvin::qtforms;

namespace {

std::vector<QSize> imageSizes(const QString& path) {
    QImageReader reader(path);
    std::vector<QSize> sizes;
    if (!reader.canRead())
        return sizes;
    for (int i = 0; i < reader.imageCount(); ++i) {
        reader.jumpToImage(i);
        sizes.push_back(reader.read().size());
    }
    return sizes;
}

TEST(CompiledPictures, IconFilesReadWithEveryImage) {
    struct Case {
        const char* path;
        std::vector<QSize> sizes;
    };
    const Case cases[] = {
        {":/quorvin/quorvin.ico", {QSize(32, 32), QSize(16, 16)}},
        {":/quorvin/chat.ico", {QSize(152, 68), QSize(152, 68)}},
        {":/quorvin/chat.cur", {QSize(32, 32)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        ASSERT_TRUE(QFile::exists(c.path));
        EXPECT_EQ(imageSizes(c.path), c.sizes);
    }
}

TEST(CompiledPictures, ChatPictureKeepsItsTransparentCorners) {
    QImageReader reader(":/quorvin/chat.ico");
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        ASSERT_TRUE(reader.jumpToImage(i));
        const QImage image = reader.read();
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
        EXPECT_EQ(qAlpha(image.pixel(76, 34)), 255);
    }
}

TEST(CompiledPictures, CursorPngHasItsFingertipAtTheHotSpot) {
    for (const int scale : {1, 2}) {
        SCOPED_TRACE(scale);
        const QImage image(scale == 1 ? ":/quorvin/chat-cursor.png"
                                      : ":/quorvin/chat-cursor@2x.png");
        ASSERT_EQ(image.size(), QSize(32, 32) * scale);
        EXPECT_EQ(image.pixel(12 * scale, 1 * scale), qRgba(0, 0, 0, 255));
        EXPECT_EQ(qAlpha(image.pixel(12 * scale, 1 * scale - 1)), 0);
    }
}

// On scaled screens the window takes the drawings with twice the pixels at the same size.
TEST(CompiledPictures, ScaledScreensGetTwiceThePixelsAtTheSameSize) {
    for (const qreal ratio : {1.0, 1.5, 2.0}) {
        SCOPED_TRACE(ratio);
        const int pixels = ratio > 1.0 ? 2 : 1;
        const QPixmap picture = quorvin::qtforms::chatPicture(ratio);
        EXPECT_EQ(picture.size(), QSize(152, 68) * pixels);
        EXPECT_EQ(picture.deviceIndependentSize(), QSizeF(152, 68));
        const QImage image = picture.toImage();
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
        EXPECT_EQ(qAlpha(image.pixel(76 * pixels, 34 * pixels)), 255);
        const QCursor cursor = quorvin::qtforms::chatCursor(ratio);
        EXPECT_EQ(cursor.pixmap().size(), QSize(32, 32) * pixels);
        EXPECT_EQ(cursor.pixmap().devicePixelRatio(), pixels);
        EXPECT_EQ(cursor.hotSpot(), QPoint(12, 1));
    }
}

TEST(CompiledPictures, WindowUsesThePicturesNotItsStandIns) {
    const QIcon icon = quorvin::qtforms::programIcon();
    EXPECT_TRUE(icon.availableSizes().contains(QSize(32, 32)));
    EXPECT_TRUE(icon.availableSizes().contains(QSize(16, 16)));
    // The chat picture has rounded, transparent corners.
    EXPECT_EQ(qAlpha(quorvin::qtforms::chatPicture().toImage().pixel(0, 0)), 0);
    const QCursor cursor = quorvin::qtforms::chatCursor();
    EXPECT_EQ(cursor.shape(), Qt::BitmapCursor);
    EXPECT_EQ(cursor.hotSpot(), QPoint(12, 1));
}

} // namespace

int main(int argc, char** argv) {
    // Nothing here is shown, so no display is needed, not even for listing the tests.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    testing::InitGoogleTest(&argc, argv);
    // The build lists the cases: that needs no application, and Qt's warnings stay out of its log.
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
