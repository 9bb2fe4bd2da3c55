#pragma once
// The progress window of a preparation, an export or a print: a message, optionally a
// bar, and a Cancel button that stops the work at its next step.
#include "report/model/report.h"
#include "report/preview/controls.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace orv::report {

class TfrxProgress : public orv::report::EngineWindow, public TfrxProgressWindow {
public:
    explicit TfrxProgress(QWidget* Owner = nullptr);

    // Shows the window (not modally) with the message, the Cancel button when Canceled
    // and the bar when Progress.
    void Execute(int MaxValue, const QString& Msg, bool Canceled, bool Progress) override;
    void SetMessage(const QString& Value) override;
    const QString& Message() const { return FMessage; }
    bool Terminated() const override { return FTerminated; }
    // Set, it closes the window.
    void SetTerminated(bool Value);
    int Position() const { return FPosition; }
    void SetPosition(int Value);
    bool ShowProgress() const { return FProgress; }
    void SetShowProgress(bool Value);
    void Reset() { SetPosition(0); }
    // One step on, within the bar's range.
    void Tick();

    QLabel* LMessage;
    QProgressBar* Bar;
    QPushButton* CancelB;

private:
    void CancelBClick() { SetTerminated(true); }
    bool FTerminated = false;
    int FPosition = 0;
    QString FMessage;
    bool FProgress = false;
};

} // namespace orv::report
