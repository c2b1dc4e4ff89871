#include "ProgramStart.h"

#include "QtText.h"

#include <QFileInfo>
#include <QProcess>

namespace quorvin::qt {

void startProgram(const std::string& program, const std::string& argument) {
    const QString path = toQString(program);
    // A bare name would be searched for on the PATH; only the fixed path may start.
    if (!QFileInfo(path).isAbsolute())
        throw ProcessStartError("Starting \"" + program + "\" failed: not an absolute path");
    if (!QProcess::startDetached(path, {toQString(argument)}))
        throw ProcessStartError("Starting \"" + program + "\" failed");
}

} // namespace quorvin::qt
