// The results window on screen: what the scan leaves in its controls, its layout, the coupled
// lists, the copy button and the live-chat link.
#include "FocusName.h"
#include "QtTestMain.h"
#include "TestMachine.h"

#include "forms/WindowLayout.h"
#include "forms/qt/Form1.h"
#include "platform/qt/Browser.h"
#include "platform/qt/System.h"
#include "platform/qt/Widgets.h"
#include "results/HeadlessResultsWindow.h"
#include "results/StoreAddress.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTextDocument>
#include <QTimer>
#include <QWheelEvent>

#include <memory>

using namespace quorvin::qtforms;

using formtest::focusName;
using quorvin::ModuleList;
using quorvin::ValueLabel;

namespace {

constexpr const char* chatBrowser = QUORVIN_TEST_CHAT_BROWSER;
// Where the recording browser writes how it was started: the number of its arguments, then each.
const QString chatRecord = QStringLiteral(QUORVIN_TEST_CHAT_BROWSER ".args");
const std::string storeHost = "127.0.0.1:9";

// One scanned window, with the same scan run against the recording stand-in for comparison.
struct ScannedWindow {
    quorvin::snapshot::SnapshotProvider provider;
    quorvin::snapshot::SnapshotProvider headlessProvider;
    std::unique_ptr<Form1> form;
    std::unique_ptr<quorvin::HeadlessResultsWindow> headless;

    explicit ScannedWindow(
        const quorvin::snapshot::Snapshot& machine = quorvin::test::hostileMachine())
        : provider(machine)
        , headlessProvider(machine) {
        form = std::make_unique<Form1>(quorvin::ScanEnvironment{provider, {","}, storeHost},
                                       chatBrowser);
        headless = std::make_unique<quorvin::HeadlessResultsWindow>(
            quorvin::ScanEnvironment{headlessProvider, {","}, storeHost});
        form->results().getQuorvin();
        headless->getQuorvin();
    }
};

// What a modal message box showed, captured and closed with its OK button.
struct MessageSeen {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
};

// Closes every message box that opens while `action` runs, or up to five seconds later until
// `expected` have shown, and records what they showed.
QList<MessageSeen> messagesDuring(const std::function<void()>& action, qsizetype expected = 0) {
    QList<MessageSeen> seen;
    QTimer closer;
    closer.setInterval(20);
    QObject::connect(&closer, &QTimer::timeout, [&seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr)
            return;
        MessageSeen message{box->windowTitle(), box->text(), box->icon(), {}};
        for (QAbstractButton* button : box->buttons())
            message.buttons << button->text().remove('&');
        seen << message;
        box->button(QMessageBox::Ok) ? box->button(QMessageBox::Ok)->click() : box->reject();
    });
    closer.start();
    action();
    // The caller compares the count; waiting longer would not change it.
    static_cast<void>(QTest::qWaitFor([&] { return seen.size() >= expected; }, 5000));
    QTest::qWait(50);
    return seen;
}

// A table's place at the design's 96 DPI, which Qt's own scaling takes to the screen's.
QRect designPixels(const quorvin::layout::Twips& place) {
    const quorvin::layout::PixelRect pixels = quorvin::layout::toPixels(place, 96);
    return QRect(pixels.left, pixels.top, pixels.width, pixels.height);
}

} // namespace

class Form1Test : public QObject {
    Q_OBJECT

private slots:
    void createdWithoutControlsAndLoadedByShowing();
    void everyLabelHoldsTheScannedText();
    void hiddenVendorRowAndPlainTextLabels();
    void listsHoldTheModulesAligned();
    void geometryMatchesTheLayout_data();
    void geometryMatchesTheLayout();
    void windowIsFixedWithMinimizeAndClose();
    void styleOfLabelsAndPointer();
    void tabOrderAndInitialFocus();
    void clickInOneListSelectsTheRowInAll_data();
    void clickInOneListSelectsTheRowInAll();
    void arrowKeysMoveAllThreeLists();
    void listsStartUnselectedAndAgreeOnNone();
    void aValueCutShortShowsWholeInItsTooltip();
    void listsScrollTogether();
    void copyButtonPutsTheReportOnTheClipboardEachTime();
    void chatBrowserFailureShowsTheMessageOncePerClick_data();
    void chatBrowserFailureShowsTheMessageOncePerClick();
    void chatDoesNotWaitForTheLauncher();
    void chatStartsTheBrowserWithTheAddressAsItsOneArgument();
    void aDoubleClickOnTheChatIsOneClick();
    void valuesAreNamedByTheirTextAndLabelledByTheirCaption();
    void listsAreNamedByTheirHeadings_data();
    void listsAreNamedByTheirHeadings();
    void theFirstArrowOnAListWithoutSelectionSelectsRowZero_data();
    void theFirstArrowOnAListWithoutSelectionSelectsRowZero();
    void onlyTheFocusedListHasACurrentRow();
    void theChatLinkAndPictureActivateTheChat_data();
    void theChatLinkAndPictureActivateTheChat();
};

void Form1Test::createdWithoutControlsAndLoadedByShowing() {
    quorvin::snapshot::SnapshotProvider provider{quorvin::test::hostileMachine()};
    Form1 form(quorvin::ScanEnvironment{provider, {"."}, storeHost}, chatBrowser);
    QVERIFY(!form.results().isLoaded());
    QCOMPARE(form.moduleList(ModuleList::Slots), nullptr);
    form.show();
    QVERIFY(form.results().isLoaded());
    // The load step blanks every value label; the placeholder never shows.
    for (const ValueLabel label : quorvin::allValueLabels)
        QCOMPARE(form.valueLabel(label)->text(), QString());
}

void Form1Test::everyLabelHoldsTheScannedText() {
    ScannedWindow w;
    w.form->show();
    for (const ValueLabel label : quorvin::allValueLabels) {
        const QString shown = w.form->valueLabel(label)->text();
        QVERIFY2(shown != "Label21", quorvin::labelName(label).c_str());
        QCOMPARE(shown, quorvin::qt::toQString(w.headless->results().caption(label)));
    }
    // A few texts as the user reads them, independent of the core's own window.
    QCOMPARE(w.form->valueLabel(ValueLabel::Label21)->text(),
             quorvin::qt::toQString(quorvin::test::hostileMaker));
    QCOMPARE(w.form->valueLabel(ValueLabel::Label22)->text(),
             quorvin::qt::toQString(quorvin::test::hostileModel));
    QCOMPARE(w.form->valueLabel(ValueLabel::Label35)->text(), QString("15,92 GB"));
    QCOMPARE(w.form->valueLabel(ValueLabel::Label36)->text(), QString("32 GB"));
    QCOMPARE(w.form->valueLabel(ValueLabel::Label41)->text(), QString("3400"));
    QCOMPARE(w.form->results().reportText(), w.headless->reportText());
    QCOMPARE(w.form->wb()->address(), quorvin::qt::toQString(w.headless->navigations().at(0)));
}

void Form1Test::hiddenVendorRowAndPlainTextLabels() {
    ScannedWindow w;
    w.form->show();
    QCOMPARE(w.form->valueLabel(ValueLabel::Label23)->text(), QString("Vendor Ltd"));
    QVERIFY(!w.form->valueLabel(ValueLabel::Label23)->isVisible());
    QVERIFY(!w.form->findChild<QLabel*>("Label3")->isVisible());
    for (const ValueLabel label : quorvin::allValueLabels) {
        QLabel* widget = w.form->valueLabel(label);
        QCOMPARE(widget->textFormat(), Qt::PlainText);
        if (label != ValueLabel::Label23)
            QVERIFY(widget->isVisible());
    }
}

void Form1Test::listsHoldTheModulesAligned() {
    ScannedWindow w;
    for (const ModuleList list : {ModuleList::Slots, ModuleList::Memory, ModuleList::Speed}) {
        QListWidget* widget = w.form->moduleList(list);
        const auto& expected = w.headless->rows(list);
        QCOMPARE(widget->count(), 3);
        for (int i = 0; i < widget->count(); ++i)
            QCOMPARE(widget->item(i)->text(), quorvin::qt::toQString(expected.at(i)));
    }
    QCOMPARE(w.form->moduleList(ModuleList::Memory)->item(0)->text(), QString("8192 MB"));
    QCOMPARE(w.form->moduleList(ModuleList::Speed)->item(1)->text(), QString("1333 MHz"));
}

void Form1Test::geometryMatchesTheLayout_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    for (const quorvin::layout::Control& control : quorvin::layout::form1Layout().controls) {
        const QString name = QString::fromUtf8(control.name.data(), control.name.size());
        QTest::newRow(qPrintable(name)) << name << designPixels(control.place);
    }
}

void Form1Test::geometryMatchesTheLayout() {
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    ScannedWindow w;
    w.form->show();
    auto* widget = w.form->findChild<QWidget*>(name);
    QVERIFY(widget != nullptr);
    // A fixed text's label or button may have grown to hold its text, on the same line.
    const auto& control = quorvin::layout::form1Layout().at(name.toStdString());
    if (quorvin::layout::growsToHoldText(control)) {
        QVERIFY(widget->geometry().contains(geometry));
        QCOMPARE(widget->y(), geometry.y());
        QCOMPARE(widget->height(), geometry.height());
        return;
    }
    QCOMPARE(widget->geometry(), geometry);
}

void Form1Test::windowIsFixedWithMinimizeAndClose() {
    ScannedWindow w;
    w.form->show();
    QCOMPARE(w.form->windowTitle(), QString("Quorvin - System Memory Information"));
    const QRect client = designPixels(quorvin::layout::form1Layout().client);
    QCOMPARE(w.form->size(), client.size());
    QCOMPARE(w.form->minimumSize(), w.form->maximumSize());
    const Qt::WindowFlags flags = w.form->windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QCOMPARE(w.form->geometry().topLeft(), client.topLeft());
    QVERIFY(!w.form->windowIcon().isNull());
    // The group boxes frame the controls: every frame lies inside Frame1 and is visible.
    const auto frames = w.form->findChildren<QGroupBox*>();
    QCOMPARE(frames.size(), 9);
}

void Form1Test::styleOfLabelsAndPointer() {
    ScannedWindow w;
    w.form->show();
    const QColor blue(0, 0, 255);
    QCOMPARE(w.form->valueLabel(ValueLabel::Label30)->palette().color(QPalette::WindowText), blue);
    QCOMPARE(w.form->label39()->palette().color(QPalette::WindowText), blue);
    QVERIFY(w.form->findChild<QLabel*>("Label19")->font().bold());
    // The heading font on every captioned frame.
    for (QGroupBox* frame : w.form->findChildren<QGroupBox*>())
        QCOMPARE(frame->font().bold(),
                 !frame->title().isEmpty() || frame->objectName() == "Frame8");
    QVERIFY(!w.form->valueLabel(ValueLabel::Label30)->font().bold());
    QVERIFY(!w.form->clipboardCmd()->font().bold());
    QCOMPARE(w.form->valueLabel(ValueLabel::Label30)->font().pointSizeF(), 8.25);
    // One custom pointer over the picture and the link, the ordinary arrow elsewhere.
    const Qt::CursorShape chat = w.form->image1()->cursor().shape();
    QVERIFY(chat != Qt::ArrowCursor);
    QCOMPARE(w.form->label39()->cursor().shape(), chat);
    QCOMPARE(w.form->clipboardCmd()->cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(w.form->image1()->pixmap().size(), QSize(152, 68));
}

void Form1Test::tabOrderAndInitialFocus() {
    ScannedWindow w;
    w.form->show();
    QVERIFY(QTest::qWaitForWindowActive(w.form.get()));
    QCOMPARE(focusName(*w.form, QApplication::focusWidget()), QString("slotsLst"));

    QStringList order;
    QWidget* widget = w.form->moduleList(ModuleList::Slots);
    do {
        const QString name = focusName(*w.form, widget);
        if ((widget->focusPolicy() & Qt::TabFocus) && widget->isVisibleTo(w.form.get()) &&
            (order.isEmpty() || order.last() != name))
            order << name;
        widget = widget->nextInFocusChain();
    } while (widget != w.form->moduleList(ModuleList::Slots));
    // The table's Tab order, the browser standing for whatever inside it has the focus.
    QStringList tableOrder;
    for (const quorvin::layout::Control* stop : quorvin::layout::form1Layout().tabStops())
        tableOrder << QString::fromUtf8(stop->name.data(), stop->name.size());
    QCOMPARE(order, tableOrder);

    // Tab itself goes the same way, as far as into the browser.
    for (int step = 1; step <= tableOrder.indexOf("WB"); ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(focusName(*w.form, QApplication::focusWidget()), tableOrder[step]);
    }
}

void Form1Test::clickInOneListSelectsTheRowInAll_data() {
    QTest::addColumn<int>("list");
    QTest::newRow("slotsLst") << static_cast<int>(ModuleList::Slots);
    QTest::newRow("memoryLst") << static_cast<int>(ModuleList::Memory);
    QTest::newRow("speedLst") << static_cast<int>(ModuleList::Speed);
}

void Form1Test::clickInOneListSelectsTheRowInAll() {
    QFETCH(int, list);
    ScannedWindow w;
    w.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
    QListWidget* clicked = w.form->moduleList(static_cast<ModuleList>(list));
    const QRect row = clicked->visualItemRect(clicked->item(2));
    QTest::mouseClick(clicked->viewport(), Qt::LeftButton, {}, row.center());
    QCOMPARE(clicked->currentRow(), 2);
    for (const ModuleList other : {ModuleList::Slots, ModuleList::Memory, ModuleList::Speed}) {
        QCOMPARE(quorvin::qtforms::selectedIndex(w.form->moduleList(other)), 2);
        QVERIFY(w.form->moduleList(other)->item(2)->isSelected());
    }
}

void Form1Test::arrowKeysMoveAllThreeLists() {
    ScannedWindow w;
    w.form->show();
    QVERIFY(QTest::qWaitForWindowActive(w.form.get()));
    QListWidget* speed = w.form->moduleList(ModuleList::Speed);
    speed->setFocus();
    speed->setCurrentRow(0);
    QTest::keyClick(speed, Qt::Key_Down);
    QTest::keyClick(speed, Qt::Key_Down);
    for (const ModuleList other : {ModuleList::Slots, ModuleList::Memory, ModuleList::Speed})
        QCOMPARE(quorvin::qtforms::selectedIndex(w.form->moduleList(other)), 2);
    // The focus entering another list lands on the selected row, and the arrows go on from it.
    QListWidget* slotList = w.form->moduleList(ModuleList::Slots);
    slotList->setFocus();
    QCOMPARE(slotList->currentRow(), 2);
    QTest::keyClick(slotList, Qt::Key_Up);
    for (const ModuleList other : {ModuleList::Slots, ModuleList::Memory, ModuleList::Speed})
        QCOMPARE(quorvin::qtforms::selectedIndex(w.form->moduleList(other)), 1);
}

void Form1Test::listsStartUnselectedAndAgreeOnNone() {
    ScannedWindow w;
    w.form->show();
    QVERIFY(QTest::qWaitForWindowActive(w.form.get()));
    const auto selections = [&] {
        QList<int> rows;
        for (const ModuleList list : {ModuleList::Slots, ModuleList::Memory, ModuleList::Speed})
            rows << quorvin::qtforms::selectedIndex(w.form->moduleList(list));
        return rows;
    };
    QCOMPARE(selections(), QList<int>({-1, -1, -1}));

    QListWidget* memory = w.form->moduleList(ModuleList::Memory);
    const QPoint row1 = memory->visualItemRect(memory->item(1)).center();
    QTest::mouseClick(memory->viewport(), Qt::LeftButton, {}, row1);
    QCOMPARE(selections(), QList<int>({1, 1, 1}));
    QTest::mouseClick(memory->viewport(), Qt::LeftButton, Qt::ControlModifier, row1);
    QCOMPARE(selections(), QList<int>({-1, -1, -1}));

    QListWidget* speed = w.form->moduleList(ModuleList::Speed);
    QTest::mouseClick(speed->viewport(), Qt::LeftButton, {},
                      speed->visualItemRect(speed->item(2)).center());
    QCOMPARE(selections(), QList<int>({2, 2, 2}));
    const QPoint belowTheRows(5, speed->viewport()->height() - 3);
    QVERIFY(!speed->itemAt(belowTheRows));
    // As in a Windows list box, a click on no row leaves the selection as it is.
    QTest::mouseClick(speed->viewport(), Qt::LeftButton, {}, belowTheRows);
    QCOMPARE(selections(), QList<int>({2, 2, 2}));
}

void Form1Test::aValueCutShortShowsWholeInItsTooltip() {
    const std::string longName =
        "Intel(R) Core(TM) i9-14900KS <b>24</b> Cores & 32 Threads @ 6.2GHz";
    quorvin::snapshot::Snapshot machine = quorvin::test::hostileMachine();
    using T = quorvin::ScanValue;
    machine.addInstance("Win32_Processor", {{"Name", T::text(longName)},
                                            {"manufacturer", T::text("GenuineIntel")},
                                            {"CurrentClockSpeed", T::integer(3200)},
                                            {"extclock", T::integer(100)}});
    ScannedWindow w(machine);
    w.form->show();
    const QLabel* name = w.form->valueLabel(ValueLabel::Label27);
    QCOMPARE(name->text(), QString::fromStdString(longName));
    QVERIFY(name->fontMetrics().horizontalAdvance(name->text()) > name->width());
    QTextDocument tip;
    tip.setHtml(name->toolTip());
    QCOMPARE(tip.toPlainText(), QString::fromStdString(longName)); // whole, markup shown as text
    QCOMPARE(name->accessibleName(), QString::fromStdString(longName));
    QCOMPARE(w.form->valueLabel(ValueLabel::Label33)->toolTip(), QString()); // "2103" fits
}

void Form1Test::listsScrollTogether() {
    ScannedWindow w;
    for (const ModuleList list : {ModuleList::Slots, ModuleList::Memory, ModuleList::Speed})
        for (int row = 0; row < 30; ++row)
            w.form->moduleList(list)->addItem(QString::number(row));
    w.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
    const auto positions = [&] {
        QList<int> values;
        for (const ModuleList list : {ModuleList::Slots, ModuleList::Memory, ModuleList::Speed})
            values << w.form->moduleList(list)->verticalScrollBar()->value();
        return values;
    };
    QListWidget* memory = w.form->moduleList(ModuleList::Memory);
    const QPoint at = memory->viewport()->rect().center();
    QWheelEvent wheel(at, memory->viewport()->mapToGlobal(at), {}, QPoint(0, -240), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(memory->viewport(), &wheel);
    QVERIFY(positions().first() > 0);
    QCOMPARE(positions(), QList<int>(3, positions().first()));

    QListWidget* slotList = w.form->moduleList(ModuleList::Slots);
    slotList->setFocus();
    QTest::keyClick(slotList, Qt::Key_End);
    QCOMPARE(positions(), QList<int>(3, slotList->verticalScrollBar()->maximum()));
}

void Form1Test::copyButtonPutsTheReportOnTheClipboardEachTime() {
    ScannedWindow w;
    w.form->show();
    const QString report = quorvin::qt::toQString(w.form->results().reportText());
    QCOMPARE(report.count("\r\n"), 35);
    // A click, then Enter on the focused button, as on Windows.
    for (int press = 0; press < 2; ++press) {
        QGuiApplication::clipboard()->setText("something else");
        const auto messages = messagesDuring([&] {
            if (press == 0) {
                w.form->clipboardCmd()->click();
            } else {
                w.form->clipboardCmd()->setFocus();
                QTest::keyClick(w.form->clipboardCmd(), Qt::Key_Return);
            }
        });
        QCOMPARE(messages.size(), 0);
        QCOMPARE(QGuiApplication::clipboard()->text(), report);
    }
    QCOMPARE(quorvin::qt::toQString(w.form->results().reportText()), report);
}

// Puts a shell script at the chat browser's path; false if it cannot be written.
static bool installChatBrowserScript(const QString& body) {
    QFile::remove(chatBrowser);
    QFile script(chatBrowser);
    if (!script.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    script.write(("#!/bin/sh\n" + body + "\n").toUtf8());
    script.close();
    return script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void Form1Test::chatBrowserFailureShowsTheMessageOncePerClick_data() {
    // The script at the browser's path; empty: no program there at all.
    QTest::addColumn<QString>("browser");
    QTest::newRow("no program") << QString();
    // What xdg-open does on a system without a browser: it starts, then ends with code 3.
    QTest::newRow("launcher finds no browser") << QStringLiteral("exit 3");
    QTest::newRow("launcher killed") << QStringLiteral("kill -9 $$");
}

void Form1Test::chatBrowserFailureShowsTheMessageOncePerClick() {
    QFETCH(QString, browser);
    if (browser.isEmpty())
        QFile::remove(chatBrowser);
    else
        QVERIFY(installChatBrowserScript(browser));
    ScannedWindow w;
    w.form->show();
    for (QLabel* target :
         {static_cast<QLabel*>(w.form->image1()), static_cast<QLabel*>(w.form->label39())}) {
        for (int click = 0; click < 2; ++click) {
            const auto messages = messagesDuring(
                [&] { QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(5, 5)); }, 1);
            QCOMPARE(messages.size(), 1);
            QCOMPARE(messages[0].text, QString("Browser Not found!!!"));
            QCOMPARE(messages[0].title, QString("Quorvin - System Memory Information"));
            QCOMPARE(messages[0].icon, QMessageBox::NoIcon);
            QCOMPARE(messages[0].buttons, QStringList({"OK"}));
        }
    }
    QVERIFY(w.form->isVisible());
    QFile::remove(chatBrowser);
}

void Form1Test::chatDoesNotWaitForTheLauncher() {
    // A launcher that runs until the test lets it go (or, at the latest, for some three seconds),
    // then fails: the click returns while it runs, and the message comes when it ends.
    const QString release = chatRecord + ".release";
    const QString ended = chatRecord + ".ended";
    QFile::remove(release);
    QFile::remove(ended);
    QVERIFY(installChatBrowserScript(
        QStringLiteral("i=0\n"
                       "while [ ! -e '%1' ] && [ $i -lt 150 ]; do sleep 0.02; i=$((i+1)); done\n"
                       "touch '%2'\nexit 4")
            .arg(release, ended)));
    ScannedWindow w;
    w.form->show();
    QList<MessageSeen> whileRunning;
    bool endedBeforeRelease = true;
    const auto afterRelease = messagesDuring(
        [&] {
            whileRunning = messagesDuring(
                [&] { QTest::mouseClick(w.form->label39(), Qt::LeftButton, {}, QPoint(5, 5)); });
            endedBeforeRelease = QFile::exists(ended);
            QFile(release).open(QIODevice::WriteOnly);
        },
        1);
    QVERIFY(!endedBeforeRelease);
    QCOMPARE(whileRunning.size(), 0);
    QCOMPARE(afterRelease.size(), 1);
    QCOMPARE(afterRelease[0].text, QString("Browser Not found!!!"));
    for (const QString& file : {release, ended, QString(chatBrowser)})
        QFile::remove(file);
}

// Puts a program at the chat browser's path that records its arguments in chatRecord.
static bool installRecordingBrowser() {
    return installChatBrowserScript(
        QStringLiteral("printf '%s\\n' \"$#\" \"$@\" > '%1.tmp'\n"
                       "printf '%s' \"${QTWEBENGINE_DISABLE_SANDBOX-unset}\" > '%1.env'\n"
                       "mv '%1.tmp' '%1'")
            .arg(chatRecord));
}

void Form1Test::chatStartsTheBrowserWithTheAddressAsItsOneArgument() {
    QVERIFY(installRecordingBrowser());
    // As the program sets it for itself when it runs as root.
    const bool sandboxWasOff = qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX");
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    ScannedWindow w;
    w.form->show();
    const QString expected = QStringLiteral("1\n%1\n").arg(
        quorvin::qt::toQString(quorvin::chatAddress("http", storeHost)));
    for (QLabel* target :
         {static_cast<QLabel*>(w.form->image1()), static_cast<QLabel*>(w.form->label39())}) {
        QFile::remove(chatRecord);
        // Nor does the browser's ending with success bring a message.
        const auto messages = messagesDuring([&] {
            QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(5, 5));
            static_cast<void>(QTest::qWaitFor([] { return QFile::exists(chatRecord); }, 5000));
            QTest::qWait(200);
        });
        QCOMPARE(messages.size(), 0);
        QVERIFY(QFile::exists(chatRecord));
        QFile record(chatRecord);
        QVERIFY(record.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(record.readAll()), expected);
        QFile environment(chatRecord + ".env");
        QVERIFY(environment.open(QIODevice::ReadOnly));
        QCOMPARE(environment.readAll(), QByteArray("unset")); // the browser keeps its sandbox
    }
    if (!sandboxWasOff)
        qunsetenv("QTWEBENGINE_DISABLE_SANDBOX");
    QFile::remove(chatBrowser);
}

// Qt reports a double click as press, release, double-click press, release; a Windows control
// raises Click once for it, so the browser starts once.
void Form1Test::aDoubleClickOnTheChatIsOneClick() {
    quorvin::qt::ClickableLabel label(QAccessible::Link);
    label.resize(100, 20);
    QSignalSpy clicks(&label, &quorvin::qt::ClickableLabel::clicked);
    const QPointF at(5, 5);
    const auto send = [&](QEvent::Type type) {
        QMouseEvent event(type, at, label.mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(&label, &event);
    };
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                    QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease})
        send(type);
    QCOMPARE(clicks.count(), 1);
    send(QEvent::MouseButtonPress);
    send(QEvent::MouseButtonRelease);
    QCOMPARE(clicks.count(), 2);
}

// What a screen reader reads of a widget.
static QAccessibleInterface* accessible(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
}

// The objects the widget is related to so, each once.
static QObjectList related(QObject* object, QAccessible::Relation relation) {
    QObjectList objects;
    for (const auto& [other, kind] : accessible(object)->relations(relation))
        if (!objects.contains(other->object()))
            objects << other->object();
    return objects;
}

void Form1Test::valuesAreNamedByTheirTextAndLabelledByTheirCaption() {
    ScannedWindow w;
    w.form->show();
    int filled = 0;
    for (const quorvin::layout::Control& control : quorvin::layout::form1Layout().controls) {
        if (control.kind != quorvin::layout::ControlKind::Label || control.captionLabel.empty())
            continue;
        const QString name = QString::fromUtf8(control.name.data(), control.name.size());
        auto* value = w.form->findChild<QLabel*>(name);
        auto* caption = w.form->findChild<QLabel*>(
            QString::fromUtf8(control.captionLabel.data(), control.captionLabel.size()));
        QVERIFY2(value != nullptr && caption != nullptr, qPrintable(name));
        // The name is the value as shown, ampersands and markup included; nothing when empty.
        filled += value->text().isEmpty() ? 0 : 1;
        QVERIFY2(accessible(value)->text(QAccessible::Name) == value->text(),
                 qPrintable(name + ": " + accessible(value)->text(QAccessible::Name) + " role " +
                            QString::number(accessible(value)->role())));
        const QString description = accessible(value)->text(QAccessible::Description);
        QVERIFY2(description.isEmpty() || description == value->text(), qPrintable(description));
        // Labelled by its caption, and (Qt's own) by the frame it stands in.
        QObjectList labels = related(value, QAccessible::Label);
        QCOMPARE(labels.removeAll(caption), 1);
        QCOMPARE(labels, QObjectList({value->parentWidget()}));
        QCOMPARE(related(caption, QAccessible::Labelled), QObjectList({value}));
        QCOMPARE(accessible(caption)->text(QAccessible::Name), caption->text());
    }
    QCOMPARE(filled, 17);
    QCOMPARE(accessible(w.form->valueLabel(ValueLabel::Label21))->text(QAccessible::Name),
             quorvin::qt::toQString(quorvin::test::hostileMaker));
    // The frames stay named groupings.
    auto* memory = w.form->findChild<QLabel*>("Label36")->parentWidget();
    QCOMPARE(accessible(memory)->role(), QAccessible::Grouping);
    QCOMPARE(accessible(memory)->text(QAccessible::Name), QString("Memory"));
}

void Form1Test::listsAreNamedByTheirHeadings_data() {
    QTest::addColumn<int>("list");
    QTest::addColumn<QString>("heading");
    QTest::newRow("slotsLst") << static_cast<int>(ModuleList::Slots) << "Slots";
    QTest::newRow("memoryLst") << static_cast<int>(ModuleList::Memory) << "Memory Size";
    QTest::newRow("speedLst") << static_cast<int>(ModuleList::Speed) << "Memory Speed";
}

void Form1Test::listsAreNamedByTheirHeadings() {
    QFETCH(int, list);
    QFETCH(QString, heading);
    ScannedWindow w;
    w.form->show();
    QListWidget* widget = w.form->moduleList(static_cast<ModuleList>(list));
    QCOMPARE(accessible(widget)->role(), QAccessible::List);
    QCOMPARE(accessible(widget)->text(QAccessible::Name), heading);
}

void Form1Test::theFirstArrowOnAListWithoutSelectionSelectsRowZero_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("row");
    QTest::newRow("Down") << static_cast<int>(Qt::Key_Down) << 0;
    QTest::newRow("Up") << static_cast<int>(Qt::Key_Up) << 0;
    QTest::newRow("End") << static_cast<int>(Qt::Key_End) << 2;
}

void Form1Test::theFirstArrowOnAListWithoutSelectionSelectsRowZero() {
    QFETCH(int, key);
    QFETCH(int, row);
    ScannedWindow w;
    w.form->show();
    QVERIFY(QTest::qWaitForWindowActive(w.form.get()));
    QListWidget* memory = w.form->moduleList(ModuleList::Memory);
    memory->setFocus(Qt::TabFocusReason);
    QTest::keyClick(memory, static_cast<Qt::Key>(key));
    for (const ModuleList list : {ModuleList::Slots, ModuleList::Memory, ModuleList::Speed})
        QCOMPARE(quorvin::qtforms::selectedIndex(w.form->moduleList(list)), row);
    QTest::keyClick(memory, Qt::Key_Down);
    QCOMPARE(quorvin::qtforms::selectedIndex(memory), std::min(row + 1, 2));
}

// A screen reader takes a list's current row for the focused one: a selection copied into the
// other lists must not make their rows current too.
void Form1Test::onlyTheFocusedListHasACurrentRow() {
    ScannedWindow w;
    w.form->show();
    QVERIFY(QTest::qWaitForWindowActive(w.form.get()));
    QListWidget* speed = w.form->moduleList(ModuleList::Speed);
    QTest::mouseClick(speed->viewport(), Qt::LeftButton, {},
                      speed->visualItemRect(speed->item(1)).center());
    QCOMPARE(focusName(*w.form, QApplication::focusWidget()), QString("speedLst"));
    int focusedRows = 0;
    for (const ModuleList list : {ModuleList::Slots, ModuleList::Memory, ModuleList::Speed}) {
        QAccessibleInterface* table = accessible(w.form->moduleList(list));
        for (int child = 0; child < table->childCount(); ++child)
            focusedRows += table->child(child)->state().focused ? 1 : 0;
    }
    QCOMPARE(focusedRows, 1);
    // Only the focused list draws its selected row in the active colour; the other two in the
    // inactive one, and the two can be told apart. Then the focus moves on with Tab.
    const auto selectionColour = [](QListWidget* list) {
        const QRect row = list->visualItemRect(list->item(1));
        return list->viewport()->grab().toImage().pixelColor(row.right() - 4, row.center().y());
    };
    const QColor active = speed->palette().color(QPalette::Active, QPalette::Highlight);
    const QColor inactive = speed->palette().color(QPalette::Inactive, QPalette::Highlight);
    // The style may shade the colour a little: drawn in the one it is nearer to.
    const auto distance = [](const QColor& a, const QColor& b) {
        return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
               std::abs(a.blue() - b.blue());
    };
    const auto drawnActive = [&](QListWidget* list) {
        const QColor drawn = selectionColour(list);
        return distance(drawn, active) < distance(drawn, inactive);
    };
    QVERIFY(distance(active, inactive) > 60);
    QVERIFY(drawnActive(speed));
    QVERIFY(!drawnActive(w.form->moduleList(ModuleList::Slots)));
    QVERIFY(!drawnActive(w.form->moduleList(ModuleList::Memory)));
    w.form->moduleList(ModuleList::Memory)->setFocus(Qt::TabFocusReason);
    QVERIFY(!drawnActive(speed));
    QVERIFY(drawnActive(w.form->moduleList(ModuleList::Memory)));
}

void Form1Test::theChatLinkAndPictureActivateTheChat_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("role");
    QTest::newRow("Label39") << "Label39" << static_cast<int>(QAccessible::Link);
    QTest::newRow("Image1") << "Image1" << static_cast<int>(QAccessible::Graphic);
}

void Form1Test::theChatLinkAndPictureActivateTheChat() {
    QFETCH(QString, control);
    QFETCH(int, role);
    QVERIFY(installRecordingBrowser());
    QFile::remove(chatRecord);
    ScannedWindow w;
    w.form->show();
    auto* widget = w.form->findChild<QWidget*>(control);
    QAccessibleInterface* iface = accessible(widget);
    QCOMPARE(static_cast<int>(iface->role()), role);
    QCOMPARE(iface->text(QAccessible::Name),
             QString("Click Here to Chat with Our Customer Representative"));
    // Out of the Tab order, reached by the action a screen reader invokes.
    QCOMPARE(widget->focusPolicy(), Qt::NoFocus);
    QAccessibleActionInterface* actions = iface->actionInterface();
    QVERIFY(actions != nullptr);
    QCOMPARE(actions->actionNames(), QStringList({"activate"}));
    actions->doAction("activate");
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(chatRecord), 5000);
    QFile record(chatRecord);
    QVERIFY(record.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(record.readAll()),
             QStringLiteral("1\n%1\n").arg(
                 quorvin::qt::toQString(quorvin::chatAddress("http", storeHost))));
    QFile::remove(chatBrowser);
}

QUORVIN_QTEST_MAIN(Form1Test)
#include "Form1Test.moc"
