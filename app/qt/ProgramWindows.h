#pragma once

#include "app/WindowSequence.h"
#include "forms/qt/Dialog.h"
#include "forms/qt/Form1.h"
#include "forms/qt/frmSplash.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

namespace quorvin::qtapp {

// The program's three windows with Qt, each at most once, driven by the window sequence.
class ProgramWindows : public QObject, public quorvin::app::SequenceToolkit {
    Q_OBJECT
public:
    // Makes the results window; tests hand in one over a recorded machine.
    using Form1Factory = std::function<std::unique_ptr<qtforms::Form1>()>;
    // Runs the scan on the results window; tests may stand in for getQuorvin's result.
    using ScanCall = std::function<quorvin::ScanValue(qtforms::Form1&)>;

    explicit ProgramWindows(Form1Factory makeForm1, ScanCall scan = {});
    ~ProgramWindows() override;

    // Creates, loads and shows the disclaimer.
    void start();

    quorvin::app::WindowSequence& sequence() { return sequence_; }
    qtforms::Dialog* dialog() const { return dialog_; }
    qtforms::frmSplash* splash() const { return splash_; }
    qtforms::Form1* form1() const { return form1_.get(); }

    // SequenceToolkit
    void show(quorvin::app::Window window) override;
    void unload(quorvin::app::Window window) override;
    bool isLoaded(quorvin::app::Window window) const override;
    quorvin::ScanValue scan() override;
    void paintNow(quorvin::app::Window window) override;
    void hideAll() override;
    void showMessage(const std::string& text) override;
    void endProgram(int exitCode) override;
    std::uint64_t milliseconds() const override;

signals:
    // The program is over: exit code 0 for a normal end, 1 after an error was reported.
    void finished(int exitCode);

private:
    void makeForm1();
    void closeSplash();

    // How long the splash waits at most for the results window's first paint.
    static constexpr int splashWaitMilliseconds = 3000;

    Form1Factory makeForm1_;
    ScanCall scan_;
    quorvin::app::WindowSequence sequence_{*this};
    QPointer<qtforms::Dialog> dialog_;
    QPointer<qtforms::frmSplash> splash_;
    std::unique_ptr<qtforms::Form1> form1_;
    bool form1Drawn_ = false;
    bool splashWaitsForForm1_ = false;
};

} // namespace quorvin::qtapp
