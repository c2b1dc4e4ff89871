// Shows the results window filled from the test machine, with its store page served on the
// loopback interface, so that a screenshot can be taken of it. Ends after the given seconds.
#include "LoopbackStoreServer.h"
#include "TestMachine.h"

#include "forms/qt/Form1.h"
#include "platform/locale/UserLocale.h"

#include <QApplication>
#include <QTimer>

#include <cstdlib>
#include <iostream>

using namespace quorvin::qtforms;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 10;

    formtest::LoopbackStoreServer server;
    quorvin::snapshot::SnapshotProvider provider{quorvin::test::hostileMachine()};
    Form1 form(quorvin::ScanEnvironment{provider, quorvin::locale::userNumberFormat(),
                                        "127.0.0.1:" + std::to_string(server.port())},
               "/usr/bin/xdg-open");
    try {
        form.results().getQuorvin();
    } catch (const std::exception& error) {
        std::cerr << "The scan failed: " << error.what() << '\n';
        return 1;
    }
    form.show();
    QTimer::singleShot(seconds * 1000, &app, &QApplication::quit);
    return app.exec();
}
