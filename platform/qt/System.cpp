#include "System.h"

#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QMessageBox>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSpacerItem>

#include <chrono>

namespace quorvin::qt {

namespace {

void showMessage(QWidget* parent, std::string_view title, const std::string& text,
                 QMessageBox::Icon icon) {
    QMessageBox box(icon, QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())),
                    toQString(text), QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    // A message box is as wide as its text, which can leave the title cut short; a spacer as
    // wide as the title with room for the title bar's buttons keeps it whole.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        const int titleWidth = box.fontMetrics().horizontalAdvance(box.windowTitle()) + 120;
        grid->addItem(new QSpacerItem(titleWidth, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    box.exec();
}

// Set when this program put its own session bus address in its environment.
bool sessionBusAddressOwn = false;
constexpr const char* sessionBusVariable = "DBUS_SESSION_BUS_ADDRESS";

} // namespace

bool replaceClipboardText(const std::string& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr)
        throw std::runtime_error("Copying to the clipboard failed: no clipboard is available");
    const QString wanted = toQString(text);
    clipboard->clear();
    clipboard->setText(wanted);
    // Qt reports no failure of its own: where another program keeps the clipboard open the old
    // contents stay, so reading back is the only way to know the copy took.
    return clipboard->text() == wanted;
}

void showPlainMessage(QWidget* parent, std::string_view title, const std::string& text) {
    showMessage(parent, title, text, QMessageBox::NoIcon);
}

void showErrorMessage(QWidget* parent, std::string_view title, const std::string& text) {
    showMessage(parent, title, text, QMessageBox::Critical);
}

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

void markStartup(const char* step) {
    static const QString path = qEnvironmentVariable("QUORVIN_STARTUP_TRACE");
    if (path.isEmpty())
        return;
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const double seconds = std::chrono::duration<double>(now).count();
    QFile file(path);
    if (file.open(QIODevice::Append | QIODevice::Text))
        file.write(QByteArray(step) + ' ' + QByteArray::number(seconds, 'f', 6) + '\n');
}

} // namespace quorvin::qt
