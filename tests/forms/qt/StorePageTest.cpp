// The store page in the real embedded browser: after a scan WB asks a loopback server for the page,
// and the query the server decodes holds exactly the texts the window shows.
#include "FocusName.h"
#include "LoopbackStoreServer.h"
#include "QtTestMain.h"
#include "TestMachine.h"

#include "forms/qt/Form1.h"
#include "platform/qt/Browser.h"
#include "platform/qt/System.h"
#include "results/HeadlessResultsWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <memory>

using namespace quorvin::qtforms;

namespace {

// The store page is what these tests look at; the chat is not started.
constexpr const char* noBrowser = "/nonexistent/browser";

using Pairs = QList<QPair<QString, QString>>;

// The request target's query split at "&" and "=", each value percent-decoded as UTF-8.
Pairs decodedQuery(const QByteArray& target) {
    Pairs pairs;
    const QByteArray query = target.mid(target.indexOf('?') + 1);
    for (const QByteArray& pair : query.split('&')) {
        const qsizetype equals = pair.indexOf('=');
        pairs.append({QString::fromUtf8(pair.left(equals)),
                      QString::fromUtf8(QByteArray::fromPercentEncoding(pair.mid(equals + 1)))});
    }
    return pairs;
}

// A stand-in default browser: an xdg-open first on the PATH that notes each address it is given,
// one a line. Qt's desktop services hand http, https and mailto addresses to xdg-open.
struct RecordingXdgOpen {
    QTemporaryDir dir;
    QString record = dir.filePath("opened");
    RecordingXdgOpen() {
        QFile script(dir.filePath("xdg-open"));
        if (!script.open(QIODevice::WriteOnly))
            qFatal("the stand-in xdg-open cannot be written");
        script.write(("#!/bin/sh\nprintf '%s\\n' \"$*\" >> '" + record + "'\n").toUtf8());
        script.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        qputenv("PATH", (dir.path() + ":").toUtf8() + qgetenv("PATH"));
    }
    QStringList opened() const {
        QFile file(record);
        file.open(QIODevice::ReadOnly);
        return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    }
};

// The store page of these tests: every way a page may try to leave its frame or take the focus.
// SITE stands for the server's address.
constexpr const char* leavingPage =
    "<html><head><title>Store</title></head><body>"
    "<input id=field autofocus>"
    "<a id=file href='file:///etc/hostname'>a file</a> <a id=other "
    "href='ms-settings:display'>x</a> "
    "<a id=blank href='SITE/blank-target' target=_blank>new window</a> "
    "<button id=open onclick=\"window.open('SITE/opened-on-click')\">open</button> "
    "<a id=download href='SITE/file.bin'>download</a> "
    "<button id=close onclick='window.close()'>close</button> "
    "<a id=mail href='mailto:sales@store.test'>mail</a> "
    "<span id=words>Selectable words</span>"
    "<script>window.open('SITE/opened-on-load');"
    "document.getElementById('field').focus();"
    "onload = function() { document.title = 'loaded'; };</script></body></html>";

QVariant runScript(QWebEngineView* view, const QString& script) {
    QVariant result;
    bool done = false;
    view->page()->runJavaScript(script, [&](const QVariant& value) {
        result = value;
        done = true;
    });
    static_cast<void>(QTest::qWaitFor([&] { return done; }, 10000));
    return result;
}

// Clicks the middle of the page's element of that id with the mouse, as a person would.
void clickElement(QWebEngineView* view, const QString& id,
                  Qt::MouseButton button = Qt::LeftButton) {
    const QVariantList middle =
        runScript(view, "(function(){var r=document.getElementById('" + id +
                            "').getBoundingClientRect();return [r.x+r.width/2,r.y+r.height/2];})()")
            .toList();
    QVERIFY2(middle.size() == 2, qPrintable(id));
    QTest::mouseClick(view->focusProxy(), button, {}, QPoint(middle[0].toInt(), middle[1].toInt()));
}

// The hostile test machine's results window, its store page on the loopback server (or, without
// one, on a port where nothing answers), with the decimal separator given.
struct StoreForm {
    explicit StoreForm(const formtest::LoopbackStoreServer* server, std::string decimal = ".")
        : form(quorvin::ScanEnvironment{provider,
                                        {std::move(decimal)},
                                        "127.0.0.1:" + std::to_string(server ? server->port() : 9)},
               noBrowser) {}
    quorvin::snapshot::SnapshotProvider provider{quorvin::test::hostileMachine()};
    Form1 form;
};

} // namespace

class StorePageTest : public QObject {
    Q_OBJECT
private slots:
    void browserRequestCarriesTheScannedTextsUnchanged();
    void deadPageProcessLeavesTheAddressAsALink();
    void tabPassesThroughTheLoadedPageInItsPlace();
    void thePageStaysInItsFrame();
};

void StorePageTest::browserRequestCarriesTheScannedTextsUnchanged() {
    formtest::LoopbackStoreServer server;
    StoreForm scanned(&server, ",");
    Form1& form = scanned.form;
    QCOMPARE(form.results().getQuorvin().asText(), std::string("Success"));
    form.show();

    QTRY_VERIFY_WITH_TIMEOUT(!server.storeRequestTarget().isEmpty(), 60000);
    const QByteArray target = server.storeRequestTarget();
    QVERIFY2(target.startsWith("/mc/quorvin.asp?manufacturer="), target.constData());
    QVERIFY(!target.contains('#'));

    const auto& record = form.results().record();
    const auto text = [](const std::string& s) { return quorvin::qt::toQString(s); };
    const auto label = [&](quorvin::ValueLabel l) { return form.valueLabel(l)->text(); };
    const Pairs expected{
        {"manufacturer", text(quorvin::test::hostileMaker)},
        {"mdlname", text(quorvin::test::hostileModel)},
        {"bName", text(quorvin::test::hostileBoard)},
        {"maxmemory", "32 GB"},
        {"totalslots", label(quorvin::ValueLabel::Label37)},
        {"memoryspeeds", text(record.scanModSpeeds.asText())},
        {"memorysize", text(record.scanModCapacities.asText())},
        {"processorspeed", "3400"},
        {"site", "Brindlemark"},
    };
    QCOMPARE(decodedQuery(target), expected);
    QCOMPARE(label(quorvin::ValueLabel::Label21), text(quorvin::test::hostileMaker));
}

void StorePageTest::deadPageProcessLeavesTheAddressAsALink() {
    StoreForm scanned(nullptr);
    Form1& form = scanned.form;
    form.results().getQuorvin();
    form.show();
    auto* browser = qobject_cast<quorvin::qt::WebEngineBrowser*>(form.wb());
    QVERIFY(browser != nullptr);
    QVERIFY(!browser->showsLink());
    // Chromium's own address for a page process that crashes at once.
    browser->navigate("chrome://crash");
    QTRY_VERIFY_WITH_TIMEOUT(browser->showsLink(), 30000);
    const auto* link = browser->findChild<QLabel*>();
    QVERIFY(link != nullptr && link->isVisible());
    QVERIFY(link->text().contains("chrome://crash"));
}

// The web engine makes the widget that takes the page's focus once the page starts; Tab still
// goes from the copy button into the page and on to the memory sizes, and Shift+Tab back.
void StorePageTest::tabPassesThroughTheLoadedPageInItsPlace() {
    formtest::LoopbackStoreServer server;
    StoreForm scanned(&server);
    Form1& form = scanned.form;
    form.results().getQuorvin();
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QTRY_VERIFY_WITH_TIMEOUT(!server.storeRequestTarget().isEmpty(), 60000);
    auto* browser = qobject_cast<quorvin::qt::WebEngineBrowser*>(form.wb());
    QVERIFY(browser != nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(
        browser->focusProxy() != nullptr && browser->focusProxy()->focusProxy() != nullptr, 30000);
    const auto focusName = [&] { return formtest::focusName(form, QApplication::focusWidget()); };

    // The frame's ring shows while the focus is in the page, and only then.
    const auto ringShown = [&] {
        const QImage frame = browser->grab().toImage();
        const QColor ring = browser->palette().color(QPalette::Highlight);
        return frame.pixelColor(0, frame.height() / 2) == ring &&
               frame.pixelColor(frame.width() / 2, frame.height() - 1) == ring;
    };
    form.clipboardCmd()->setFocus();
    QVERIFY(!ringShown());
    for (const char* next : {"WB", "memoryLst", "speedLst", "slotsLst", "clipboardCmd"}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTRY_COMPARE(focusName(), QString(next));
        QCOMPARE(browser->hasFocusInside(), QString(next) == "WB");
        QTRY_COMPARE(ringShown(), QString(next) == "WB");
    }
    form.moduleList(quorvin::ModuleList::Memory)->setFocus();
    for (const char* previous : {"WB", "clipboardCmd"}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QTRY_COMPARE(focusName(), QString(previous));
    }
}

// The page keeps to its frame: what it asks to open elsewhere reaches the user's own browser or
// mail program for a click only, nothing takes the focus, closes the page, writes a file or opens
// a window of the program's own, and its menu offers Copy alone.
void StorePageTest::thePageStaysInItsFrame() {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("the offscreen platform opens no address with the desktop's programs");
    RecordingXdgOpen browser;
    formtest::LoopbackStoreServer server;
    const QString site = QStringLiteral("http://127.0.0.1:%1").arg(server.port());
    server.answer("/mc/", QString::fromLatin1(leavingPage).replace("SITE", site).toUtf8());
    server.answer("/file.bin", "not to be written",
                  "Content-Type: application/octet-stream\r\n"
                  "Content-Disposition: attachment; filename=quorvin-test.bin\r\n");
    StoreForm scanned(&server);
    Form1& form = scanned.form;
    form.results().getQuorvin();
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    auto* view = form.wb()->findChild<QWebEngineView*>();
    QVERIFY(view != nullptr);
    QTRY_COMPARE_WITH_TIMEOUT(view->title(), QString("loaded"), 60000);
    QTRY_VERIFY(view->isVisible() && view->focusProxy() != nullptr);
    const QUrl storePage = view->url();

    // The page focused its field for itself; the window's focus stayed in the slots list.
    QCOMPARE(runScript(view, "document.activeElement.id").toString(), QString("field"));
    QCOMPARE(formtest::focusName(form, QApplication::focusWidget()), QString("slotsLst"));
    // Nor does a focus() of its own once the frame is on the screen take it.
    runScript(view, "window.focus(); document.getElementById('field').focus()");
    QCOMPARE(runScript(view, "document.hasFocus()").toBool(), false);
    QCOMPARE(formtest::focusName(form, QApplication::focusWidget()), QString("slotsLst"));

    // Each click's address, in order: the file link, another scheme and the pop-up no click asked
    // for lead nowhere. A download goes once it has been answered (a click that follows at once
    // would cancel it), and the mail link clicked after the closing finds the page still there.
    const QStringList expected{site + "/blank-target", site + "/opened-on-click",
                               site + "/file.bin", "mailto:sales@store.test"};
    for (const char* id : {"file", "other", "blank", "open", "download"})
        clickElement(view, id);
    QTRY_VERIFY2_WITH_TIMEOUT(browser.opened() == expected.mid(0, 3),
                              qPrintable(browser.opened().join(' ')), 20000);
    for (const char* id : {"close", "mail"})
        clickElement(view, id);
    QTRY_VERIFY2_WITH_TIMEOUT(browser.opened() == expected, qPrintable(browser.opened().join(' ')),
                              20000);
    QVERIFY(view->url() == storePage && view->isVisible());
    QVERIFY(
        !QFile::exists(QDir(view->page()->profile()->downloadPath()).filePath("quorvin-test.bin")));
    for (QWidget* window : QApplication::topLevelWidgets())
        QVERIFY2(window == &form || !window->isVisible(), qPrintable(window->objectName()));

    // A link without a selection has no menu; selected text a menu with Copy alone, and Ctrl+C
    // copies it. Qt's own menu, offered for the link, would still stand among the windows.
    clickElement(view, "mail", Qt::RightButton);
    runScript(view, "getSelection().selectAllChildren(document.getElementById('words'))");
    QTRY_VERIFY(view->page()->hasSelection());
    clickElement(view, "words", Qt::RightButton);
    QTRY_VERIFY(qobject_cast<QMenu*>(QApplication::activePopupWidget()) != nullptr);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QList<QStringList> menus;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* shown = qobject_cast<QMenu*>(window); shown != nullptr && shown->isVisible()) {
            menus.append(QStringList());
            for (QAction* action : shown->actions())
                menus.back() << action->text().remove('&');
        }
    QCOMPARE(menus, QList<QStringList>{{"Copy"}});
    menu->close();
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(view->focusProxy(), Qt::Key_C, Qt::ControlModifier);
    QTRY_COMPARE(QGuiApplication::clipboard()->text(), QString("Selectable words"));
}

QUORVIN_QTEST_MAIN(StorePageTest)
#include "StorePageTest.moc"
