#include "ProgramStart.h"

#include "QtText.h"

#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>

namespace quorvin::qt {

namespace {
// Set when this program put its own session bus address in its environment.
bool sessionBusAddressOwn = false;
constexpr const char* sessionBusVariable = "DBUS_SESSION_BUS_ADDRESS";
} // namespace

void useOnlyARunningSessionBus() {
    if (!qEnvironmentVariableIsEmpty(sessionBusVariable))
        return;
    // Without an address D-Bus takes the user's bus in the runtime folder, where there is one.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/bus")))
        return;
    // An address of no known kind: a connection fails at once and nothing is started.
    qputenv(sessionBusVariable, "disabled:");
    sessionBusAddressOwn = true;
}

void startProgram(const std::string& program, const std::string& argument, QObject* context,
                  std::function<void()> failedLater) {
    const QString path = toQString(program);
    // A bare name would be searched for on the PATH; only the fixed path may start.
    if (!QFileInfo(path).isAbsolute())
        throw ProcessStartError("Starting \"" + program + "\" failed: not an absolute path");
    // A web-engine sandbox turned off in this program's environment (as the tests do for their
    // engine as root) is not handed on: a browser it starts keeps its sandbox.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"));
    if (sessionBusAddressOwn)
        environment.remove(QString::fromLatin1(sessionBusVariable));
    // The process object has no parent and is deleted only once the process has ended: deleting
    // it earlier would kill a launcher still running when this program ends, and with it a
    // browser it runs in the foreground. The browser writes to this program's own output, not
    // to pipes that would close under it.
    auto* process = new QProcess;
    process->setProgram(path);
    process->setArguments({toQString(argument)});
    process->setProcessEnvironment(environment);
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->setInputChannelMode(QProcess::ForwardedInputChannel);
    process->start();
    if (!process->waitForStarted()) {
        const std::string reason = process->errorString().toStdString();
        delete process;
        throw ProcessStartError("Starting \"" + program + "\" failed: " + reason);
    }
    QObject::connect(
        process, &QProcess::finished, context,
        [failedLater = std::move(failedLater)](int exitCode, QProcess::ExitStatus status) {
            if (status != QProcess::NormalExit || exitCode != 0)
                failedLater();
        });
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
}

} // namespace quorvin::qt
