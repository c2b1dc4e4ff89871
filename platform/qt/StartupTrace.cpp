#include "StartupTrace.h"

#include <QFile>

#include <chrono>

namespace quorvin::qt {

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
