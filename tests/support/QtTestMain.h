#pragma once

#include <QApplication>
#include <QTest>

namespace qttest {

// Runs the test object with the program's arguments.
inline int run(QObject& test) {
    return QTest::qExec(&test, QCoreApplication::arguments());
}

} // namespace qttest

// As in the program, the web engine's module makes the shared OpenGL context when it loads.
#define QUORVIN_QTEST_MAIN(TestClass)                                                              \
    int main(int argc, char** argv) {                                                              \
        QApplication app(argc, argv);                                                              \
        TestClass test;                                                                            \
        return qttest::run(test);                                                                  \
    }
