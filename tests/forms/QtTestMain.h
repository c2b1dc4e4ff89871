#pragma once

#include <QApplication>
#include <QTest>

#ifdef _WIN32
#include <QDir>
#include <QFile>

#include <windows.h>
#endif

namespace qttest {

// Runs the test object with the program's arguments. On Windows, Qt Test's writes to a standard
// output that is not a console are lost (under Wine at least), so the log goes to a file as well,
// which is then handed to the standard output handle whole.
inline int run(QObject& test) {
#ifdef _WIN32
    const QString log = QDir::temp().filePath(
        QStringLiteral("qtest-%1.txt").arg(QCoreApplication::applicationPid()));
    const int failures = QTest::qExec(&test, QCoreApplication::arguments() << "-o" << log + ",txt");
    QFile file(log);
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray text = file.readAll();
        DWORD written = 0;
        WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.constData(),
                  static_cast<DWORD>(text.size()), &written, nullptr);
        file.close();
        file.remove();
    }
    return failures;
#else
    return QTest::qExec(&test, QCoreApplication::arguments());
#endif
}

} // namespace qttest

// As in the program, the web engine's module makes the shared OpenGL context when it loads.
#define QUORVIN_QTEST_MAIN(TestClass)                                                              \
    int main(int argc, char** argv) {                                                              \
        QApplication app(argc, argv);                                                              \
        TestClass test;                                                                            \
        return qttest::run(test);                                                                  \
    }
