// The store page in the real embedded browser: after a scan WB asks a loopback server for the page,
// and the query the server decodes holds exactly the texts the window shows.
#include "FocusName.h"
#include "LoopbackStoreServer.h"
#include "QtTestMain.h"
#include "TestMachine.h"

#include "forms/qt/Form1.h"
#include "platform/qt/QtText.h"
#include "platform/qt/WebEngineBrowser.h"
#include "results/HeadlessResultsWindow.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

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

} // namespace

class StorePageTest : public QObject {
    Q_OBJECT
private slots:
    void browserRequestCarriesTheScannedTextsUnchanged();
    void deadPageProcessLeavesTheAddressAsALink();
    void tabPassesThroughTheLoadedPageInItsPlace();
};

void StorePageTest::browserRequestCarriesTheScannedTextsUnchanged() {
    formtest::LoopbackStoreServer server;
    const std::string host = "127.0.0.1:" + std::to_string(server.port());
    quorvin::snapshot::SnapshotProvider provider{quorvin::test::hostileMachine()};
    Form1 form(quorvin::ScanEnvironment{provider, {","}, host}, noBrowser);
    QCOMPARE(form.getQuorvin().asText(), std::string("Success"));
    form.show();

    QTRY_VERIFY_WITH_TIMEOUT(!server.storeRequestTarget().isEmpty(), 60000);
    const QByteArray target = server.storeRequestTarget();
    QVERIFY2(target.startsWith("/mc/quorvin.asp?manufacturer="), target.constData());
    QVERIFY(!target.contains('#'));

    const auto& record = form.record();
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
    quorvin::snapshot::SnapshotProvider provider{quorvin::test::hostileMachine()};
    Form1 form(quorvin::ScanEnvironment{provider, {"."}, "127.0.0.1:9"}, noBrowser);
    form.getQuorvin();
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
    quorvin::snapshot::SnapshotProvider provider{quorvin::test::hostileMachine()};
    Form1 form(
        quorvin::ScanEnvironment{provider, {"."}, "127.0.0.1:" + std::to_string(server.port())},
        noBrowser);
    form.getQuorvin();
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QTRY_VERIFY_WITH_TIMEOUT(!server.storeRequestTarget().isEmpty(), 60000);
    auto* browser = qobject_cast<quorvin::qt::WebEngineBrowser*>(form.wb());
    QVERIFY(browser != nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(
        browser->focusProxy() != nullptr && browser->focusProxy()->focusProxy() != nullptr, 30000);
    const auto focusName = [&] { return formtest::focusName(form, QApplication::focusWidget()); };

    form.clipboardCmd()->setFocus();
    for (const char* next : {"WB", "memoryLst", "speedLst", "slotsLst", "clipboardCmd"}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTRY_COMPARE(focusName(), QString(next));
    }
    form.moduleList(quorvin::ModuleList::Memory)->setFocus();
    for (const char* previous : {"WB", "clipboardCmd"}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QTRY_COMPARE(focusName(), QString(previous));
    }
}

QUORVIN_QTEST_MAIN(StorePageTest)
#include "StorePageTest.moc"
