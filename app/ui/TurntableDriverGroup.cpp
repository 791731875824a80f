#include "app/ui/TurntableDriverGroup.h"

#include "app/Settings.h"
#include "turntable/GrblLink.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSerialPortInfo>
#include <QSpinBox>

TTurntableDriverGroup::TTurntableDriverGroup(QWidget *parent)
    : QGroupBox(tr("Sterownik stolika"), parent)
{
    setObjectName(QStringLiteral("gbTurntableDriver"));
    auto *grid = new QGridLayout(this);
    m_driver = new QComboBox(this);
    m_driver->setObjectName(QStringLiteral("cbDriver"));
    m_driver->addItem(tr("Port równoległy (LPT)"));
    m_driver->addItem(tr("Grbl (USB / port szeregowy)"));
    grid->addWidget(m_driver, 0, 0, 1, 3);

    auto *portCaption = new QLabel(tr("Port &szeregowy"), this);
    m_port = new QComboBox(this);
    m_port->setObjectName(QStringLiteral("cbPort"));
    m_port->setEditable(true); // a device path may be typed, e.g. of an emulator
    portCaption->setBuddy(m_port);
    m_check = new QPushButton(tr("Sp&rawdź"), this);
    m_check->setObjectName(QStringLiteral("btnCheck"));
    grid->addWidget(portCaption, 1, 0);
    grid->addWidget(m_port, 1, 1);
    grid->addWidget(m_check, 1, 2);

    auto *turnCaption = new QLabel(tr("Czas pełnego &obrotu [s]"), this);
    m_turnTime = new QSpinBox(this);
    m_turnTime->setObjectName(QStringLiteral("edTurnTime"));
    m_turnTime->setRange(1, 3600);
    turnCaption->setBuddy(m_turnTime);
    grid->addWidget(turnCaption, 2, 0);
    grid->addWidget(m_turnTime, 2, 1);

    m_result = new QLabel(this);
    m_result->setObjectName(QStringLiteral("lblCheck"));
    m_result->setWordWrap(true);
    m_result->setTextInteractionFlags(Qt::TextSelectableByMouse);
    grid->addWidget(m_result, 3, 0, 1, 3);
    m_grblOnly = { portCaption, m_port, m_check, turnCaption, m_turnTime, m_result };

    connect(m_driver, &QComboBox::currentIndexChanged, this, &TTurntableDriverGroup::ShowDriver);
    connect(m_check, &QPushButton::clicked, this, &TTurntableDriverGroup::Check);
}

void TTurntableDriverGroup::Load(const TSettings &settings)
{
    m_driver->setCurrentIndex(settings.TurntableDriver == 1 ? 1 : 0);
    m_turnTime->setValue(settings.GrblTurnTime);
    FillPorts(settings.GrblPort);
    ShowDriver();
}

void TTurntableDriverGroup::Store(TSettings &settings) const
{
    settings.TurntableDriver = m_driver->currentIndex() == 1 ? 1 : 0;
    settings.GrblPort = ChosenPort();
    settings.GrblTurnTime = m_turnTime->value();
}

QString TTurntableDriverGroup::ChosenPort() const
{
    const QString text = m_port->currentText().trimmed();
    const int listed = m_port->findText(text);
    return listed >= 0 ? m_port->itemData(listed).toString() : text;
}

void TTurntableDriverGroup::FillPorts(const QString &current)
{
    m_port->clear();
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        const QString text = info.description().isEmpty()
            ? info.portName()
            : QStringLiteral("%1 – %2").arg(info.portName(), info.description());
        m_port->addItem(text, info.portName());
    }
    const int listed = m_port->findData(current);
    if (listed >= 0)
        m_port->setCurrentIndex(listed);
    else
        m_port->setEditText(current);
}

void TTurntableDriverGroup::ShowDriver()
{
    const bool grbl = m_driver->currentIndex() == 1;
    for (QWidget *widget : m_grblOnly)
        widget->setVisible(grbl);
}

void TTurntableDriverGroup::Check()
{
    m_result->setText(tr("Łączenie z %1…").arg(ChosenPort()));
    m_check->setEnabled(false);
    TGrblLink link;
    if (link.Connect(ChosenPort())) {
        m_result->setText(tr("%1\n$110 = %2 °/min (największa prędkość), $120 = %3 "
                             "°/s² (przyspieszenie)")
                              .arg(link.Greeting())
                              .arg(link.Setting(110).value_or(0.0))
                              .arg(link.Setting(120).value_or(0.0)));
    } else {
        m_result->setText(link.ErrorMessage());
    }
    m_check->setEnabled(true);
}
