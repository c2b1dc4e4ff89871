// The Qt windows under the window sequence, over a recorded machine: what Qt itself does with
// clicks, keys, paints and the message box (the sequence's own rules are tested without a toolkit).
#include "MessageCatcher.h"
#include "QtTestMain.h"
#include "TestMachine.h"

#include "app/qt/ProgramWindows.h"
#include "forms/WindowLayout.h"
#include "forms/qt/Dialog.h"
#include "forms/qt/LayoutWidgets.h"

#include <QAccessible>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtMath>

#include <memory>
#include <vector>

using namespace quorvin::qtforms;
using namespace quorvin::qtapp;

using namespace quorvin;

namespace {

// A provider whose bind fails, as when WMI cannot be reached.
class UnreachableProvider : public wmi::WmiProvider {
public:
    explicit UnreachableProvider(std::string reason)
        : reason_(std::move(reason)) {}
    std::unique_ptr<wmi::WmiService> bind(std::string_view) override {
        throw wmi::WmiError("Binding the WMI object path failed: " + reason_);
    }

private:
    std::string reason_;
};

} // namespace

// Notes the splash's paints, or keeps them from it.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(bool swallow)
        : swallow_(swallow) {}
    bool seen = false;
    bool eventFilter(QObject* receiver, QEvent* event) override {
        if (event->type() != QEvent::Paint || qobject_cast<frmSplash*>(receiver) == nullptr)
            return false;
        seen = true;
        return swallow_;
    }

private:
    bool swallow_;
};

class ProgramWindowsTest : public QObject {
    Q_OBJECT

    snapshot::SnapshotProvider machine_{quorvin::test::hostileMachine()};

    int form1Created_ = 0;

    std::unique_ptr<ProgramWindows> makeWindows(wmi::WmiProvider& provider,
                                                ProgramWindows::ScanCall scan = {}) {
        form1Created_ = 0;
        return std::make_unique<ProgramWindows>(
            [this, &provider] {
                ++form1Created_;
                return std::make_unique<Form1>(ScanEnvironment{provider, {"."}, "127.0.0.1:9"},
                                               "/nonexistent/browser");
            },
            std::move(scan));
    }

    static void startAndWaitForDisclaimer(ProgramWindows& windows) {
        windows.start();
        QVERIFY(windows.dialog());
        QVERIFY(QTest::qWaitForWindowExposed(windows.dialog()));
    }

    // The width of a text in a font drawn at a screen's DPI, in that screen's pixels: the font
    // is made at the scaled size, as the toolkit hints and measures it there.
    static qreal widthAt(QFont font, const QString& text, int dpi) {
        font.setPointSizeF(font.pointSizeF() * dpi / 96);
        return QFontMetricsF(font).horizontalAdvance(text);
    }
    static int pixelsAt(int designPixels, int dpi) {
        return layout::toPixels(designPixels * 15, dpi);
    }

private slots:
    // Every fixed text of the three windows at 96, 120, 144 and 192 DPI: a label's one line lies
    // in its box, within its parent, and no other control stands over it; a button's and a
    // frame's caption fit their control.
    void everyFixedTextShowsWholeOnOneLine() {
        Dialog dialog;
        frmSplash splash;
        Form1 form1(ScanEnvironment{machine_, {"."}, "127.0.0.1:9"}, "/nonexistent/browser");
        const std::pair<QWidget*, const layout::WindowLayout*> windows[] = {
            {&dialog, &layout::dialogLayout()},
            {&splash, &layout::splashLayout()},
            {&form1, &layout::form1Layout()}};
        for (const auto& [window, table] : windows) {
            window->show();
            for (const int dpi : {96, 120, 144, 192}) {
                for (const layout::Control& entry : table->controls) {
                    if (!layout::showsFixedText(entry) || !entry.visible)
                        continue;
                    auto* widget = window->findChild<QWidget*>(qtText(entry.name));
                    QVERIFY2(widget != nullptr, entry.name.data());
                    const QString text = qtText(entry.caption);
                    const qreal width = widthAt(widget->font(), text, dpi);
                    const int box = pixelsAt(widget->width(), dpi);
                    const QByteArray where = QString("%1.%2 at %3 DPI: %4 px in %5")
                                                 .arg(qtText(table->name), qtText(entry.name))
                                                 .arg(dpi)
                                                 .arg(width)
                                                 .arg(box)
                                                 .toUtf8();
                    if (auto* label = qobject_cast<QLabel*>(widget)) {
                        QVERIFY2(!label->wordWrap(), where);
                        QVERIFY2(width <= box, where);
                        QVERIFY2(QRect(QPoint(), label->parentWidget()->size())
                                     .contains(label->geometry()),
                                 where + ": outside its parent");
                        // The line as drawn, in the window, against every other control there.
                        const int line = QFontMetricsF(label->font()).height();
                        const int textLeft = (label->alignment() & Qt::AlignHCenter)
                                                 ? (label->width() - qCeil(width * 96 / dpi)) / 2
                                                 : 0;
                        const QRect drawn(label->mapTo(window, QPoint(textLeft, 0)),
                                          QSize(qCeil(width * 96 / dpi), line));
                        for (const layout::Control& other : table->controls) {
                            auto* over = window->findChild<QWidget*>(qtText(other.name));
                            if (over == label || over == nullptr || !over->isVisible() ||
                                over->isAncestorOf(label))
                                continue;
                            const QRect place(over->mapTo(window, QPoint()), over->size());
                            QVERIFY2(!place.intersects(drawn),
                                     where + " under " + QByteArray(other.name.data()));
                        }
                    } else if (qobject_cast<QGroupBox*>(widget) != nullptr) {
                        QVERIFY2(width + 2 * pixelsAt(widget->fontMetrics().height(), dpi) <= box,
                                 where);
                    } else {
                        QVERIFY2(width + pixelsAt(6, dpi) <= box, where);
                    }
                }
            }
            window->hide();
        }
    }

    void disclaimerHoldsTheExactTextAndKeepsEnterAndEscToItself() {
        auto windows = makeWindows(machine_);
        startAndWaitForDisclaimer(*windows);
        Dialog* dialog = windows->dialog();
        const QString text = dialog->text1()->exactText();
        QCOMPARE(text.size(), 920);
        QCOMPARE(text, disclaimerText());
        QVERIFY(text.startsWith(
            "Please read the following carefully before using the scan tool.\r\n\r\nUsing"));
        QVERIFY(text.endsWith("help you find the compatible memory."));
        QCOMPARE(text.count("\r\n\r\n"), 3);
        QVERIFY(dialog->text1()->isReadOnly());
        QCOMPARE(QApplication::focusWidget(), dialog->text1());

        QSignalSpy accepted(dialog, &Dialog::accepted);
        QSignalSpy cancelled(dialog, &Dialog::cancelled);
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
            QTest::keyClick(dialog->text1(), key);
        QTest::keyClick(dialog->text1(), Qt::Key_A);
        QCOMPARE(accepted.count(), 0);
        QCOMPARE(cancelled.count(), 0);
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->text1()->exactText(), disclaimerText());

        // Tab goes Text1, CancelButton, OKButton.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), dialog->cancelButton());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), dialog->okButton());
        QVERIFY(dialog->okButton()->geometry().right() < dialog->cancelButton()->geometry().left());
        QVERIFY(!(dialog->windowFlags() & Qt::WindowMinMaxButtonsHint));
        const layout::PixelRect client = layout::toPixels(layout::dialogLayout().client, 96);
        QCOMPARE(dialog->size(), QSize(client.width, client.height));

        // A screen reader meets a dialog named by its title, its text box named for what it is.
        QAccessibleInterface* window = QAccessible::queryAccessibleInterface(dialog);
        QCOMPARE(window->role(), QAccessible::Dialog);
        QCOMPARE(window->text(QAccessible::Name), QString("Quorvin - System Memory Information"));
        QCOMPARE(dialog->windowType(), Qt::Dialog); // no taskbar entry, not a tool window
        QCOMPARE(QAccessible::queryAccessibleInterface(dialog->text1())->text(QAccessible::Name),
                 QString("Disclaimer"));
    }

    void okShowsTheSplashFirstThenTheFilledResults() {
        auto windows = makeWindows(machine_);
        QSignalSpy finished(windows.get(), &ProgramWindows::finished);
        startAndWaitForDisclaimer(*windows);
        QTest::mouseClick(windows->dialog()->okButton(), Qt::LeftButton);
        // The splash stands before the disclaimer goes, and no scan has started yet.
        QVERIFY(windows->splash());
        QVERIFY(windows->splash()->isVisible());
        QCOMPARE(windows->sequence().scans(), 0);
        // Its caption is drawn whole, last full stop included, in the label's own width.
        const auto* caption = windows->splash()->findChild<QLabel*>("Label2");
        QVERIFY(caption);
        QVERIFY(caption->width() >= 209);
        QVERIFY(caption->fontMetrics().horizontalAdvance(caption->text()) <= caption->width());
        // It is announced as it appears, as an alert saying what it shows.
        QAccessibleInterface* splash = QAccessible::queryAccessibleInterface(windows->splash());
        QCOMPARE(splash->role(), QAccessible::AlertMessage);
        QCOMPARE(splash->text(QAccessible::Name), QString("Quorvin"));
        QCOMPARE(splash->text(QAccessible::Description), QString("Scanning Please Wait......"));
        QTRY_VERIFY(!windows->dialog());

        QTRY_VERIFY_WITH_TIMEOUT(windows->form1() && windows->form1()->isVisible(), 10000);
        QTRY_VERIFY(!windows->splash());
        QCOMPARE(finished.count(), 0); // the program did not end between splash and results
        Form1* form = windows->form1();
        QCOMPARE(form1Created_, 1);
        // Loaded once, before the first module: the counter holds each module once.
        QCOMPARE(form->results().record().scanModuleCount, 3);
        QCOMPARE(form->moduleList(ModuleList::Slots)->count(), 3);
        for (const ValueLabel label : allValueLabels)
            QVERIFY(form->valueLabel(label)->text() != "Label21");
        QCOMPARE(form->valueLabel(ValueLabel::Label37)->text(),
                 QString("4  (Currently Memory in 3 Slots)"));

        form->close(); // its close box: no window is left, the program ends normally
        QTRY_COMPARE(finished.count(), 1);
        QCOMPARE(finished.first().first().toInt(), 0);
    }

    void cancelEndsAtOnceWithoutAScan_data() {
        QTest::addColumn<int>("key"); // 0: a click
        QTest::newRow("click") << 0;
        QTest::newRow("enter on the focused button") << int(Qt::Key_Return);
        QTest::newRow("keypad enter") << int(Qt::Key_Enter);
        QTest::newRow("space") << int(Qt::Key_Space);
    }

    void cancelEndsAtOnceWithoutAScan() {
        QFETCH(int, key);
        auto windows = makeWindows(machine_);
        QSignalSpy finished(windows.get(), &ProgramWindows::finished);
        startAndWaitForDisclaimer(*windows);
        QPushButton* cancel = windows->dialog()->cancelButton();
        if (key == 0) {
            QTest::mouseClick(cancel, Qt::LeftButton);
        } else {
            cancel->setFocus();
            QTest::keyClick(cancel, Qt::Key(key),
                            key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        }
        QCOMPARE(finished.count(), 1);
        QCOMPARE(finished.first().first().toInt(), 0);
        QVERIFY(!windows->dialog());
        QVERIFY(!windows->splash());
        QCOMPARE(form1Created_, 0);
    }

    void closingTheDisclaimerEndsWithoutAScan() {
        auto windows = makeWindows(machine_);
        QSignalSpy finished(windows.get(), &ProgramWindows::finished);
        startAndWaitForDisclaimer(*windows);
        windows->dialog()->close();
        QCOMPARE(finished.count(), 1);
        QCOMPARE(finished.first().first().toInt(), 0);
        QCOMPARE(form1Created_, 0);
    }

    void aCharacterKeyOnTheSplashBeforeItsFirstTickEnds() {
        auto windows = makeWindows(machine_);
        QSignalSpy finished(windows.get(), &ProgramWindows::finished);
        startAndWaitForDisclaimer(*windows);
        QTest::mouseClick(windows->dialog()->okButton(), Qt::LeftButton);
        frmSplash* splash = windows->splash();
        QTest::keyClick(splash, Qt::Key_Right); // no character: nothing happens
        QVERIFY(windows->splash());
        QTest::keyClick(splash, Qt::Key_F5);
        QVERIFY(windows->splash());
        QTest::keyClick(splash, Qt::Key_Q);
        QTRY_COMPARE(finished.count(), 1);
        QCOMPARE(finished.first().first().toInt(), 0);
        QCOMPARE(form1Created_, 0);
    }

    // The scan holds the program up, so the splash is drawn first; one that is not drawn (here:
    // its paints are kept from it) scans all the same, a little later.
    void theSplashScansOnceDrawn() {
        for (const bool drawn : {false, true}) {
            PaintWatch paints(!drawn);
            bool paintedAtFirstScan = false;
            auto windows = makeWindows(machine_, [&](Form1&) {
                paintedAtFirstScan = paints.seen;
                return ScanValue::text("again");
            });
            startAndWaitForDisclaimer(*windows);
            qApp->installEventFilter(&paints);
            QTest::mouseClick(windows->dialog()->okButton(), Qt::LeftButton);
            if (!drawn) {
                QTest::qWait(300);
                QCOMPARE(windows->sequence().scans(), 0);
            }
            QTRY_VERIFY_WITH_TIMEOUT(windows->sequence().scans() > 0, 5000);
            if (drawn)
                QVERIFY(paintedAtFirstScan);
            qApp->removeEventFilter(&paints);
        }
    }

    void keysThatCloseTheSplash_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("closes");
        QTest::newRow("letter") << int(Qt::Key_A) << "a" << true;
        QTest::newRow("digit") << int(Qt::Key_7) << "7" << true;
        QTest::newRow("space") << int(Qt::Key_Space) << " " << true;
        QTest::newRow("punctuation") << int(Qt::Key_Period) << "." << true;
        QTest::newRow("enter") << int(Qt::Key_Return) << "\r" << true;
        QTest::newRow("escape") << int(Qt::Key_Escape) << "\x1b" << true;
        QTest::newRow("backspace") << int(Qt::Key_Backspace) << "\b" << true;
        QTest::newRow("ctrl with a letter") << int(Qt::Key_A) << "\x01" << true;
        QTest::newRow("delete") << int(Qt::Key_Delete) << "\x7f" << false;
        QTest::newRow("arrow") << int(Qt::Key_Up) << "" << false;
        QTest::newRow("function key") << int(Qt::Key_F1) << "" << false;
        QTest::newRow("shift alone") << int(Qt::Key_Shift) << "" << false;
    }

    void keysThatCloseTheSplash() {
        QFETCH(int, key);
        QFETCH(QString, text);
        QFETCH(bool, closes);
        const QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
        QCOMPARE(producesCharacter(event), closes);
    }

    void aFailingScanReportsTheErrorAndEndsWithoutWindows_data() {
        QTest::addColumn<QString>("reason");
        QTest::addColumn<QString>("shown");
        const QString prefix = "Binding the WMI object path failed: ";
        const QString service = "the WMI service is not running";
        QTest::newRow("whole") << service << prefix + service;
        // A 10 MB value in a recording: cut to a readable length, or the box takes ages to lay out.
        const QString huge(10'000'000, QChar(0xE9));
        QTest::newRow("cut") << huge << prefix + huge.left(500 - prefix.size()) + "...";
        const QString fits(500 - prefix.size(), QChar(0xE9));
        QTest::newRow("500 characters") << fits << prefix + fits;
    }

    void aFailingScanReportsTheErrorAndEndsWithoutWindows() {
        QFETCH(QString, reason);
        QFETCH(QString, shown);
        UnreachableProvider unreachable(reason.toStdString());
        auto windows = makeWindows(unreachable);
        QSignalSpy finished(windows.get(), &ProgramWindows::finished);
        MessageCatcher catcher;
        startAndWaitForDisclaimer(*windows);
        catcher.arm();
        QTest::mouseClick(windows->dialog()->okButton(), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 10000);
        QCOMPARE(finished.first().first().toInt(), 1);
        QCOMPARE(catcher.seen, 1);
        QCOMPARE(catcher.title, QString("Quorvin - System Memory Information"));
        QCOMPARE(catcher.icon, QMessageBox::Critical);
        QVERIFY(catcher.wideEnoughForTitle);
        QCOMPARE(catcher.text, shown);
        QVERIFY(!windows->dialog());
        QVERIFY(!windows->splash());
        QVERIFY(!windows->form1());
        for (QWidget* w : QApplication::topLevelWidgets())
            QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
    }
};

QUORVIN_QTEST_MAIN(ProgramWindowsTest)
#include "ProgramWindowsTest.moc"
