// Quorvin: the disclaimer, the scanning splash and the results window, in that order.
#include "ProgramApplication.h"
#include "ProgramWindows.h"
#include "forms/qt/Form1.h"
#include "forms/qt/LayoutWidgets.h"
#include "platform/locale/UserLocale.h"
#include "platform/qt/Browser.h"
#include "platform/qt/System.h"
#include "quorvin/BuildSettings.h"

#include "platform/linux/LinuxSnapshot.h"
#include "platform/snapshot/Snapshot.h"
#include "scan/wmi/Wmi.h"

#include <QFileInfo>
#include <QTimer>

#include <unistd.h>

namespace {

// What answers the scan's WMI queries: the machine's SMBIOS tables and kernel files, or the
// recorded machine that QUORVIN_SNAPSHOT names (the end-to-end tests use it). Nothing is read
// until the scan binds its session, so nothing is scanned before the disclaimer has been accepted.
std::unique_ptr<quorvin::wmi::WmiProvider> makeProgramBackend() {
    return std::make_unique<quorvin::wmi::DeferredProvider>(
        []() -> std::unique_ptr<quorvin::wmi::WmiProvider> {
            const QString recording = qEnvironmentVariable("QUORVIN_SNAPSHOT");
            if (!recording.isEmpty())
                return std::make_unique<quorvin::snapshot::SnapshotProvider>(
                    quorvin::snapshot::loadSnapshotFile(QFileInfo(recording).filesystemFilePath()));
            return quorvin::linux_hw::makeLinuxProvider();
        });
}

} // namespace

int main(int argc, char** argv) {
    quorvin::qt::markStartup("main");
    // The engine's sandbox cannot run as root, and a page fetched over plain http must not run
    // as root without it: as root the program starts no web engine and shows the link instead.
    if (geteuid() == 0)
        quorvin::qt::refuseWebEngine(
            QStringLiteral("The store page is not opened inside the program when it runs as "
                           "root: its web engine would run without its sandbox."));
    quorvin::qt::useOnlyARunningSessionBus();
    // The store page's browser control needs a native window of its own; its neighbours do not.
    QCoreApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
    quorvin::qtapp::ProgramApplication app(argc, argv);
    quorvin::qt::markStartup("application");
    QApplication::setApplicationName(QStringLiteral("Quorvin"));
    QApplication::setApplicationVersion(QString::fromLatin1(quorvin::build::versionText));
    QApplication::setWindowIcon(quorvin::qtforms::programIcon());
    // The program ends when its last loaded window goes, hidden ones included.
    QApplication::setQuitOnLastWindowClosed(false);

    const auto backend = makeProgramBackend();
    const quorvin::ScanEnvironment environment{*backend, quorvin::locale::userNumberFormat(),
                                               quorvin::build::storeHost,
                                               quorvin::build::storeScheme};
    quorvin::qtapp::ProgramWindows windows([&] {
        return std::make_unique<quorvin::qtforms::Form1>(environment, quorvin::build::chatBrowser);
    });
    app.setErrorPath([&windows](const std::string& message) { windows.sequence().fail(message); });
    QObject::connect(&windows, &quorvin::qtapp::ProgramWindows::finished, &app,
                     [](int exitCode) { QCoreApplication::exit(exitCode); });
    QTimer::singleShot(0, &windows, &quorvin::qtapp::ProgramWindows::start);

    const int exitCode = QApplication::exec();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return exitCode;
}
