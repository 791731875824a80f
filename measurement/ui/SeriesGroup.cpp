#include "measurement/ui/SeriesGroup.h"

#include "controls/ui/ColorComboBox.h"
#include "measurement/MeasurementColors.h"

#include <QBoxLayout>
#include <QDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TSeriesGroup::TSeriesGroup(QWidget *parent)
    : QGroupBox(tr(" Pomiar "), parent)
{
    m_Edit1 = new QLineEdit(this);
    m_Edit1->setObjectName(QStringLiteral("Edit1"));
    m_ColorComboBox1 = new TColorComboBox(this);
    m_ColorComboBox1->setObjectName(QStringLiteral("ColorComboBox1"));
    m_ColorComboBox1->SetColors(MeasurementColors());

    auto *name = new QLabel(tr("Nazwa"), this);
    name->setBuddy(m_Edit1);
    auto *color = new QLabel(tr("Kolor"), this);
    color->setBuddy(m_ColorComboBox1);
    auto *grid = new QGridLayout(this);
    grid->addWidget(name, 0, 0);
    grid->addWidget(m_Edit1, 0, 1);
    grid->addWidget(color, 1, 0);
    grid->addWidget(m_ColorComboBox1, 1, 1);
    grid->setColumnStretch(1, 1);
}

void TSeriesGroup::SetName(const QString &name)
{
    m_Edit1->setText(name);
}

QString TSeriesGroup::Name() const
{
    return m_Edit1->text();
}

void TSeriesGroup::SetColor(quint32 color)
{
    m_ColorComboBox1->SetColorValue(color);
}

quint32 TSeriesGroup::Color() const
{
    return m_ColorComboBox1->ColorValue();
}

void TSeriesGroup::AddButtons(QDialog &dialog, QBoxLayout &layout, QPushButton *&ok,
                              QPushButton *&cancel)
{
    ok = new QPushButton(tr("&OK"), &dialog);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    cancel = new QPushButton(tr("&Anuluj"), &dialog);
    cancel->setObjectName(QStringLiteral("btnAnuluj"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout.addLayout(buttons);
    // accept() is virtual: a dialog's own check runs first.
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
}
