#include "turntable/ui/FrmStolikKontrol.h"

#include "controls/Messages.h"
#include "controls/ui/FormHelpers.h"
#include "controls/ui/QvLed.h"
#include "document/ui/Prompts.h"
#include "turntable/TurntableController.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

namespace {

constexpr int MarkerFlashMs = 200;

QSpinBox *AngleField(QWidget *parent, const char *name, int minimum, int maximum)
{
    auto *field = new QSpinBox(parent);
    field->setObjectName(QLatin1String(name));
    field->setRange(minimum, maximum);
    field->setSingleStep(10);
    field->setValue(0);
    return field;
}

TQvLed *Lamp(QWidget *parent, const char *name, TLedColor color)
{
    auto *led = new TQvLed(parent);
    led->setObjectName(QLatin1String(name));
    led->SetLedColor(color);
    led->setFixedSize(16, 8);
    return led;
}

} // namespace

TFrmStolikKontrol::TFrmStolikKontrol(std::unique_ptr<TTurntable> controller, QWidget *parent)
    : QWidget(parent)
    , m_controller(std::move(controller))
{
    setWindowTitle(tr("Kontroler stolika"));
    setObjectName(QStringLiteral("FrmStolikKontrol"));
    CreateControls();

    ShowErrorBox = [this](const QString &text) {
        ShowMessage(this, QMessageBox::Critical, text);
    };
    ShowWarningBox = [this](const QString &text) {
        ShowMessage(this, QMessageBox::Warning, text);
    };

    TTurntable *c = m_controller.get();
    connect(c, &TTurntable::MarkAccepted, this,
            [] { BroadcastToForms(OrviMessage::TurntableMark); });
    connect(c, &TTurntable::StateChanged, this, [this](int state, int) { ShowState(state); });
    connect(c, &TTurntable::ReturnedToZero, this, &TFrmStolikKontrol::SendReturnedToZero);
    connect(c, &TTurntable::ErrorOccurred, this, [this](const QString &text) {
        if (ShowErrorBox)
            ShowErrorBox(text);
    });

    connect(rbFull, &QRadioButton::toggled, this, &TFrmStolikKontrol::rbClick);
    connect(rbRange, &QRadioButton::toggled, this, &TFrmStolikKontrol::rbClick);
    connect(rbStep, &QRadioButton::toggled, this, &TFrmStolikKontrol::rbClick);
    connect(btnStart, &QPushButton::clicked, this, &TFrmStolikKontrol::btnStartClick);
    connect(btnWstecz, &QPushButton::clicked, this, &TFrmStolikKontrol::btnWsteczClick);
    connect(btnStop, &QPushButton::clicked, this, &TFrmStolikKontrol::StopMove);
    connect(btnReset, &QPushButton::clicked, this, &TFrmStolikKontrol::ResetMove);
    btnZero->setVisible(c->HasSettableZero());
    connect(btnZero, &QPushButton::clicked, this, [this] {
        m_controller->SetZeroHere();
        if (OnZeroSet)
            OnZeroSet();
    });

    rbFull->setChecked(true);
    rbClick();
    RegisterForm(this);
}

TFrmStolikKontrol::~TFrmStolikKontrol() = default;

void TFrmStolikKontrol::CreateControls()
{
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->setHorizontalSpacing(6);

    auto *heading = new QLabel(tr("Zakres pomiaru:"), this);
    rbFull = new QRadioButton(tr("&Pełny obrót"), this);
    rbFull->setObjectName(QStringLiteral("rbFull"));
    rbRange = new QRadioButton(tr("Prz&edział"), this);
    rbRange->setObjectName(QStringLiteral("rbRange"));
    rbStep = new QRadioButton(tr("K&rok"), this);
    rbStep->setObjectName(QStringLiteral("rbStep"));

    edStart = AngleField(this, "edStart", -180, 180);
    edStop = AngleField(this, "edStop", 0, 360);
    edStep = AngleField(this, "edStep", 0, 360);
    lblStart = new QLabel(tr("&Od"), this);
    lblStart->setBuddy(edStart);
    lblStop = new QLabel(tr("&Do"), this);
    lblStop->setBuddy(edStop);
    lblStep = new QLabel(tr("O &kąt"), this);
    lblStep->setBuddy(edStep);
    for (QWidget *w : { static_cast<QWidget *>(lblStart), static_cast<QWidget *>(edStart),
                        static_cast<QWidget *>(lblStop), static_cast<QWidget *>(edStop) })
        SetGroup(w, 1);
    SetGroup(lblStep, 2);
    SetGroup(edStep, 2);

    lblMarker = new QLabel(tr("Marker"), this);
    ledMark = Lamp(this, "ledMark", lcRed);

    btnStart = new QPushButton(tr("&Start"), this);
    btnStart->setObjectName(QStringLiteral("btnStart"));
    ledStart = Lamp(this, "ledStart", lcGreen);
    ledStart->SetActive(true);
    btnStop = new QPushButton(tr("S&top"), this);
    btnStop->setObjectName(QStringLiteral("btnStop"));
    ledStop = Lamp(this, "ledStop", lcGreen);
    btnWstecz = new QPushButton(tr("&Wstecz"), this);
    btnWstecz->setObjectName(QStringLiteral("btnWstecz"));
    ledWstecz = Lamp(this, "ledWstecz", lcGreen);
    btnReset = new QPushButton(tr("R&eset"), this);
    btnReset->setObjectName(QStringLiteral("btnReset"));
    ledReset = Lamp(this, "ledReset", lcGreen);
    btnZero = new QPushButton(tr("Ustaw &0°"), this);
    btnZero->setObjectName(QStringLiteral("btnZero"));

    grid->addWidget(heading, 0, 0, 1, 5);
    grid->addWidget(rbFull, 1, 0);
    grid->addWidget(rbRange, 2, 0);
    grid->addWidget(lblStart, 2, 1);
    grid->addWidget(edStart, 2, 2);
    grid->addWidget(lblStop, 2, 3);
    grid->addWidget(edStop, 2, 4);
    grid->addWidget(rbStep, 3, 0);
    grid->addWidget(lblStep, 3, 1);
    grid->addWidget(edStep, 3, 2);

    auto *lamps = new QGridLayout;
    lamps->addWidget(btnStart, 0, 0);
    lamps->addWidget(ledStart, 0, 1);
    lamps->addWidget(btnStop, 0, 2);
    lamps->addWidget(ledStop, 0, 3);
    lamps->addWidget(btnWstecz, 1, 0);
    lamps->addWidget(ledWstecz, 1, 1);
    lamps->addWidget(btnReset, 1, 2);
    lamps->addWidget(ledReset, 1, 3);
    lamps->addWidget(btnZero, 2, 0);
    lamps->addWidget(lblMarker, 2, 2, Qt::AlignRight);
    lamps->addWidget(ledMark, 2, 3);
    grid->addLayout(lamps, 4, 0, 1, 5);
    grid->setSizeConstraint(QLayout::SetFixedSize);
}

bool TFrmStolikKontrol::OpenPort(int lptNumber)
{
    return OpenTable([lptNumber](TTurntable &table) {
        auto *controller = qobject_cast<TTurntableController *>(&table);
        return controller && controller->Open(lptNumber);
    });
}

bool TFrmStolikKontrol::OpenTable(const std::function<bool(TTurntable &)> &open)
{
    if (open(*m_controller))
        return true;
    if (ShowWarningBox)
        ShowWarningBox(m_controller->OpenFailureMessage());
    return false;
}

bool TFrmStolikKontrol::PortAvailable() const
{
    return m_controller->PortAvailable();
}

int TFrmStolikKontrol::State() const
{
    return m_controller->State();
}

int TFrmStolikKontrol::StartAngle() const
{
    return IsFullTurn() ? 0 : edStart->value();
}

int TFrmStolikKontrol::StopAngle() const
{
    return IsFullTurn() ? 360 : edStop->value();
}

bool TFrmStolikKontrol::IsFullTurn() const
{
    return rbFull->isChecked();
}

void TFrmStolikKontrol::SetFullTurn(bool full)
{
    (full ? rbFull : rbRange)->setChecked(true);
    rbClick();
}

void TFrmStolikKontrol::SetStartField(int degrees)
{
    edStart->setValue(degrees);
}

void TFrmStolikKontrol::SetStopField(int degrees)
{
    edStop->setValue(degrees);
}

void TFrmStolikKontrol::MoveForward()
{
    m_controller->MoveForward();
}

void TFrmStolikKontrol::MoveBackward()
{
    m_controller->MoveBackward();
}

void TFrmStolikKontrol::StopMove()
{
    m_controller->StopMove();
}

void TFrmStolikKontrol::ResetMove()
{
    m_controller->ResetMove();
}

bool TFrmStolikKontrol::RunRange()
{
    return m_controller->RunRange(StartAngle(), StopAngle());
}

void TFrmStolikKontrol::rbClick()
{
    const bool range = rbRange->isChecked();
    const bool step = rbStep->isChecked();
    EnableGroup(this, 1, !range);
    EnableGroup(this, 2, !step);
    btnWstecz->setEnabled(!range);
}

void TFrmStolikKontrol::btnStartClick()
{
    if (rbRange->isChecked())
        RunRange();
    else if (rbStep->isChecked())
        m_controller->Step(edStep->value(), false);
    else
        MoveForward();
}

void TFrmStolikKontrol::btnWsteczClick()
{
    if (rbStep->isChecked())
        m_controller->Step(edStep->value(), true);
    else if (rbFull->isChecked())
        MoveBackward();
}

void TFrmStolikKontrol::ShowState(int state)
{
    ledStart->SetActive(state == 2);
    ledWstecz->SetActive(state == 1);
    ledStop->SetActive(state == 3);
    ledReset->SetActive(state == 4);
}

void TFrmStolikKontrol::MarkerFlash()
{
    // The lamp goes out from its own timer: waiting here would hold the 50 ms marker timer,
    // whose tick delivered this mark, and count later markers late.
    ledMark->SetActive(true);
    if (!m_flashTimer) {
        m_flashTimer = m_controller->Clock().CreateTimer();
        m_flashTimer->OnTimeout = [this] {
            m_flashTimer->Stop();
            ledMark->SetActive(false);
        };
    }
    m_flashTimer->Start(MarkerFlashMs);
}

void TFrmStolikKontrol::SendReturnedToZero()
{
    QWidget *target = m_mainWindow ? m_mainWindow.data() : parentWidget();
    if (!target)
        return;
    TOrviEvent event(OrviMessage::TurntableMark);
    QCoreApplication::sendEvent(target, &event);
}

bool TFrmStolikKontrol::event(QEvent *event)
{
    if (event->type() == OrviMessage::TurntableMark) {
        MarkerFlash();
        return true;
    }
    if (event->type() == OrviMessage::ProgramClosing) {
        m_controller->ProgramClosing();
        return true;
    }
    return QWidget::event(event);
}
