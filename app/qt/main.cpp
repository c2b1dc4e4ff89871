// Quorvin: the disclaimer, the scanning splash and the results window, in that order.
#include "Backend.h"
#include "ProgramWindows.h"
#include "forms/qt/Form1.h"
#include "forms/qt/Form1Style.h"
#include "platform/locale/UserLocale.h"
#include "platform/qt/StartupTrace.h"

#include <QApplication>
#include <QTimer>

#include <unistd.h>

int main(int argc, char** argv) {
    startup_trace::mark("main");
    // Qt WebEngine's sandbox refuses to run as root; it is turned off for root only.
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // The store page's browser control needs a native window of its own; its neighbours do not.
    QCoreApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
    QApplication app(argc, argv);
    startup_trace::mark("application");
    QApplication::setApplicationName(QStringLiteral("Quorvin"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    QApplication::setWindowIcon(form1::programIcon());
    // The program ends when its last loaded window goes, hidden ones included.
    QApplication::setQuitOnLastWindowClosed(false);

    const auto backend = makeProgramBackend();
    const quorvin::ScanEnvironment environment{*backend, quorvin::userNumberFormat(),
                                               QUORVIN_STORE_HOST};
    ProgramWindows windows([&] { return std::make_unique<Form1>(environment); });
    QObject::connect(&windows, &ProgramWindows::finished, &app,
                     [](int exitCode) { QCoreApplication::exit(exitCode); });
    QTimer::singleShot(0, &windows, &ProgramWindows::start);

    const int exitCode = QApplication::exec();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return exitCode;
}
