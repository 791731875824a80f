#pragma once

#include <QGroupBox>

class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class TSettings;

// The options' choice of the turntable's drive ("Sterownik stolika"): the parallel-port
// controller, or a Grbl board on a serial port with its port, the time of a full turn and a
// "Sprawdź" button that connects and shows what the board says. Its values reach the
// settings only through Store (on Apply or OK); a new drive is used from the next start.
class TTurntableDriverGroup : public QGroupBox
{
    Q_OBJECT

public:
    explicit TTurntableDriverGroup(QWidget *parent = nullptr);

    void Load(const TSettings &settings);
    void Store(TSettings &settings) const;

    QComboBox &cbDriver() const { return *m_driver; }
    QComboBox &cbPort() const { return *m_port; }
    QSpinBox &edTurnTime() const { return *m_turnTime; }
    QPushButton &btnCheck() const { return *m_check; }
    QLabel &lblCheck() const { return *m_result; }

    // The serial port the user chose or typed: a port's name, or a path.
    QString ChosenPort() const;

private:
    void FillPorts(const QString &current);
    void ShowDriver();
    void Check();

    QComboBox *m_driver = nullptr;
    QComboBox *m_port = nullptr;
    QSpinBox *m_turnTime = nullptr;
    QPushButton *m_check = nullptr;
    QLabel *m_result = nullptr;
    QList<QWidget *> m_grblOnly;
};
