#include "report/preview/progress.h"

#include "report/base/resources.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace orv::report {

namespace {

orv::platform::ui::FormSpec windowLayout()
{
    orv::platform::ui::FormSpec s;
    s.name = QStringLiteral("frxProgress");
    s.clientWidth = 271;
    s.clientHeight = 147;
    return s;
}

} // namespace

TfrxProgress::TfrxProgress(QWidget* Owner) : EngineWindow(Owner, windowLayout())
{
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setFixedSize(271, 147);
    LMessage = AddLabel(nullptr, "LMessage", 16, 11, 237, 20, QString());
    LMessage->setAlignment(Qt::AlignCenter);
    Bar = new QProgressBar(this);
    Bar->setObjectName(QStringLiteral("Bar"));
    Bar->setGeometry(16, 37, 237, 17);
    Bar->setTextVisible(false);
    CancelB = AddButton(nullptr, "CancelB", 100, 64, 75, 25, frxResourceText(2));
    SetCancelButton(CancelB);
    QObject::connect(CancelB, &QPushButton::clicked, this, [this] { orv::report::guarded([this] { CancelBClick(); }); });
    // FormCreate
    Bar->setRange(0, 100);
    SetPosition(0);
    created();
}

void TfrxProgress::Execute(int MaxValue, const QString& Msg, bool Canceled, bool Progress)
{
    FTerminated = false;
    CancelB->setVisible(Canceled);
    SetShowProgress(Progress);
    Bar->setMinimum(0);
    Reset();
    Bar->setMaximum(MaxValue);
    SetMessage(Msg);
    show();
}

void TfrxProgress::SetMessage(const QString& Value)
{
    FMessage = Value;
    LMessage->setText(Value);
    LMessage->repaint();
}

void TfrxProgress::SetTerminated(bool Value)
{
    FTerminated = Value;
    if (Value)
        close();
}

void TfrxProgress::SetPosition(int Value)
{
    FPosition = Value;
    Bar->setValue(Value);
    raise();
}

void TfrxProgress::SetShowProgress(bool Value)
{
    Bar->setVisible(Value);
    FProgress = Value;
    LMessage->move(LMessage->x(), Value ? 15 : 35);
}

void TfrxProgress::Tick()
{
    if (FPosition < Bar->maximum() && FPosition >= Bar->minimum())
        SetPosition(FPosition + 1);
}

} // namespace orv::report
