// The program's error path for any handler: whatever a button's, a list's, a key's or a timer's
// handler throws ends in the program's message box and exit code 1, with no window left. The
// program here runs as it does as root: no web engine may start, and the store frame shows the
// link with the reason.
#include "MessageCatcher.h"
#include "QtTestMain.h"
#include "TestMachine.h"

#include "app/qt/ProgramApplication.h"
#include "app/qt/ProgramWindows.h"
#include "platform/qt/Browser.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <memory>
#include <stdexcept>

using namespace quorvin::qtforms;
using namespace quorvin::qtapp;

using namespace quorvin;

namespace {

const QString refusal = QStringLiteral("No engine here: it would run without its sandbox.");

// Throws from inside the watched object's event handling, as a handler of its own would.
class ThrowOnEvent : public QObject {
public:
    ThrowOnEvent(QEvent::Type type, std::function<void()> fail)
        : type_(type)
        , fail_(std::move(fail)) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == type_)
            fail_();
        return false;
    }

private:
    QEvent::Type type_;
    std::function<void()> fail_;
};

bool engineMapped() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = maps.readAll();
    return text.contains("quorvin-webengine") || text.contains("libQt6WebEngine");
}

} // namespace

class HandlerErrorTest : public QObject {
    Q_OBJECT

    snapshot::SnapshotProvider machine_{quorvin::test::hostileMachine()};

    std::unique_ptr<ProgramWindows> resultsShown() {
        auto windows = std::make_unique<ProgramWindows>([this] {
            return std::make_unique<Form1>(ScanEnvironment{machine_, {"."}, "127.0.0.1:9"},
                                           "/nonexistent/browser");
        });
        static_cast<ProgramApplication*>(qApp)->setErrorPath(
            [w = windows.get()](const std::string& message) { w->sequence().fail(message); });
        windows->start();
        if (!QTest::qWaitForWindowExposed(windows->dialog()))
            return nullptr;
        QTest::mouseClick(windows->dialog()->okButton(), Qt::LeftButton);
        if (!QTest::qWaitFor([&] { return windows->form1() && windows->form1()->isVisible(); },
                             10000))
            return nullptr;
        return windows;
    }

private slots:
    void initTestCase() { quorvin::qt::refuseWebEngine(refusal); }

    void aRefusedEngineLeavesTheLinkWithItsReason() {
        auto windows = resultsShown();
        QVERIFY(windows);
        auto* link = qobject_cast<quorvin::qt::LinkBrowser*>(windows->form1()->wb());
        QVERIFY2(link, "the store frame holds no link");
        QCOMPARE(link->reason(), refusal);
        QVERIFY(link->findChild<QLabel*>("WBReason")->isVisible());
        QVERIFY(link->address().startsWith("http://127.0.0.1:9/mc/quorvin.asp?"));
        const auto labels = link->findChildren<QLabel*>();
        const auto anchor = std::find_if(labels.begin(), labels.end(), [](const QLabel* label) {
            return label->objectName() != "WBReason";
        });
        QVERIFY(anchor != labels.end());
        QVERIFY((*anchor)->text().contains(link->address().toHtmlEscaped()));
        // The link's words stand on one line, none cut off.
        const QString words = "Open the compatible memory upgrades page";
        QVERIFY((*anchor)->text().contains(words));
        QVERIFY((*anchor)->width() >= (*anchor)->fontMetrics().horizontalAdvance(words));
        // The disclaimer's first paint asked for the warm-up, the results for the view: neither
        // loaded the engine.
        QVERIFY(!engineMapped());
        windows->form1()->close();
    }

    // One Tab from the copy button chooses the link, and Enter opens it. The offscreen platform
    // starts no browser, as a machine without one: the message box says so, with the address,
    // and the program goes on.
    void theLinkSaysWhenNoBrowserStarts() {
        auto windows = resultsShown();
        QVERIFY(windows);
        Form1* form = windows->form1();
        auto* link = qobject_cast<quorvin::qt::LinkBrowser*>(form->wb());
        QVERIFY(link);
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form));
        form->clipboardCmd()->setFocus();
        QTest::keyClick(form->clipboardCmd(), Qt::Key_Tab);
        QVERIFY(link->isAncestorOf(form->focusWidget()));
        MessageCatcher catcher;
        catcher.arm();
        QTest::keyClick(form->focusWidget(), Qt::Key_Return);
        QTRY_COMPARE_WITH_TIMEOUT(catcher.seen, 1, 5000);
        QCOMPARE(catcher.title, QString("Quorvin - System Memory Information"));
        QCOMPARE(catcher.text,
                 "No web browser or mail program could be started to open this address:\n\n" +
                     link->address());
        QVERIFY(form->isVisible());
        form->close();
    }

    void everyHandlersErrorEndsInTheMessageBox_data() {
        QTest::addColumn<int>("handler");
        QTest::addColumn<QString>("shown");
        QTest::newRow("button click") << 0 << "The copy failed: disk on fire";
        QTest::newRow("list selection") << 1 << "The list failed";
        QTest::newRow("key on a list") << 2 << "The key failed";
        QTest::newRow("timer") << 3 << "The timer failed";
        QTest::newRow("not a standard error") << 4 << "An unexpected error ended the program.";
    }

    void everyHandlersErrorEndsInTheMessageBox() {
        QFETCH(int, handler);
        QFETCH(QString, shown);
        auto windows = resultsShown();
        QVERIFY(windows);
        QSignalSpy finished(windows.get(), &ProgramWindows::finished);
        Form1* form = windows->form1();
        QListWidget* slotsList = form->moduleList(ModuleList::Slots);
        const std::string message = shown.toStdString();
        MessageCatcher catcher;
        catcher.arm();
        switch (handler) {
        case 0:
            connect(form->clipboardCmd(), &QPushButton::clicked, form,
                    [message] { throw std::runtime_error(message); });
            QTest::mouseClick(form->clipboardCmd(), Qt::LeftButton);
            break;
        case 1: {
            connect(form->moduleList(ModuleList::Speed), &QListWidget::itemSelectionChanged, form,
                    [message] { throw std::invalid_argument(message); });
            const QRect row = slotsList->visualItemRect(slotsList->item(1));
            QTest::mouseClick(slotsList->viewport(), Qt::LeftButton, {}, row.center());
            break;
        }
        case 2: {
            auto* filter =
                new ThrowOnEvent(QEvent::KeyPress, [message] { throw std::logic_error(message); });
            filter->setParent(slotsList);
            slotsList->installEventFilter(filter);
            slotsList->setFocus();
            QTest::keyClick(slotsList, Qt::Key_Down);
            break;
        }
        case 3:
            QTimer::singleShot(0, form, [message] { throw std::runtime_error(message); });
            break;
        case 4:
            connect(form->clipboardCmd(), &QPushButton::clicked, form, [] { throw 42; });
            QTest::mouseClick(form->clipboardCmd(), Qt::LeftButton);
            break;
        }
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 10000);
        QCOMPARE(finished.first().first().toInt(), 1);
        QCOMPARE(catcher.seen, 1);
        QCOMPARE(catcher.title, QString("Quorvin - System Memory Information"));
        QCOMPARE(catcher.icon, QMessageBox::Critical);
        QVERIFY(catcher.wideEnoughForTitle);
        QCOMPARE(catcher.text, shown);
        QVERIFY(!windows->form1());
        QTest::qWait(20); // the windows go once the handler that failed has returned
        for (QWidget* w : QApplication::topLevelWidgets())
            QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
        QVERIFY(!engineMapped());
    }
};

int main(int argc, char** argv) {
    ProgramApplication app(argc, argv);
    HandlerErrorTest test;
    return qttest::run(test);
}
#include "HandlerErrorTest.moc"
