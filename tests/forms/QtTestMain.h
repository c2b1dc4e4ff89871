#pragma once

#include <QApplication>
#include <QTest>

// Qt WebEngine wants shared OpenGL contexts set before the application exists.
#define QUORVIN_QTEST_MAIN(TestClass)                                                              \
    int main(int argc, char** argv) {                                                              \
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);                                \
        QApplication app(argc, argv);                                                              \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
