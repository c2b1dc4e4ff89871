#pragma once

#include "forms/qt/Dialog.h"
#include "forms/qt/Form1.h"
#include "forms/qt/frmSplash.h"
#include "results/ResultsWindow.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

// The program's three windows, each at most once, and the sequence between them: the disclaimer,
// the splash while the scan runs, then the results. The program ends when its last loaded window
// is unloaded, at once on Cancel, and with a message and a failure code when an error escapes a
// handler.
class ProgramWindows : public QObject {
    Q_OBJECT
public:
    // Makes the results window; tests hand in one over a recorded machine.
    using Form1Factory = std::function<std::unique_ptr<Form1>()>;
    // Runs the scan on the results window; tests may stand in for getQuorvin's result.
    using ScanCall = std::function<quorvin::ScanValue(Form1&)>;

    explicit ProgramWindows(Form1Factory makeForm1, ScanCall scan = {});
    ~ProgramWindows() override;

    // Creates, loads and shows the disclaimer.
    void start();

    // The program's error path: closes every window, shows the message in the program's message
    // box and ends with code 1. After the program has ended, an error changes nothing.
    void reportError(const std::string& message);

    Dialog* dialog() const { return dialog_; }
    frmSplash* splash() const { return splash_; }
    Form1* form1() const { return form1_.get(); }
    int form1Created() const { return form1Created_; }

signals:
    // The program is over: exit code 0 for a normal end, 1 after an error was reported.
    void finished(int exitCode);

private:
    void showSplash();
    quorvin::ScanValue scanFromSplash();
    void showResults();
    void endIfNoWindowLoaded();
    // Runs a handler; an error escaping it is reported and ends the program.
    void guarded(const std::function<void()>& handler);
    void fail(const QString& message);
    void hideAll();
    void closeAll();

    Form1Factory makeForm1_;
    ScanCall scan_;
    QPointer<Dialog> dialog_;
    QPointer<frmSplash> splash_;
    std::unique_ptr<Form1> form1_;
    int form1Created_ = 0;
    bool ended_ = false;
};
