#include "ProgramStart.h"

#include "QtText.h"

#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>

namespace quorvin::qt {

void startProgram(const std::string& program, const std::string& argument) {
    const QString path = toQString(program);
    // A bare name would be searched for on the PATH; only the fixed path may start.
    if (!QFileInfo(path).isAbsolute())
        throw ProcessStartError("Starting \"" + program + "\" failed: not an absolute path");
    // The program turns its own browser's sandbox off when it runs as root; a browser it starts
    // keeps its sandbox.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"));
    QProcess process;
    process.setProgram(path);
    process.setArguments({toQString(argument)});
    process.setProcessEnvironment(environment);
    if (!process.startDetached())
        throw ProcessStartError("Starting \"" + program + "\" failed");
}

} // namespace quorvin::qt
