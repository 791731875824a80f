#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class TClockTimer;
class TQvLed;
class TTurntable;

// The turntable control window "Kontroler stolika": mode buttons (full turn, range, step),
// the range and step fields, the four command buttons with their state lamps and the marker
// lamp, and "Ustaw 0°" for a table whose 0° is set where it stands (a Grbl table). A thin
// view over its turntable (the parallel-port controller or a Grbl table), which it owns; it
// turns the table's marker into a TurntableMark broadcast to every window and shows its
// errors. Created once at start-up and kept until the program ends. GUI thread only.
class TFrmStolikKontrol : public QWidget
{
    Q_OBJECT

public:
    explicit TFrmStolikKontrol(std::unique_ptr<TTurntable> controller, QWidget *parent = nullptr);
    ~TFrmStolikKontrol() override;

    // Opens the table the way its drive opens (open is given the table). On failure shows
    // the table's warning box (caption "Orvi") and returns false; the window then stays inert.
    bool OpenTable(const std::function<bool(TTurntable &)> &open);
    // The parallel-port controller's port lptNumber, as OpenTable.
    bool OpenPort(int lptNumber);
    bool PortAvailable() const;

    // The window that gets the TurntableMark when a return to 0 ends (the main window);
    // the parent widget when not set.
    void SetMainWindow(QWidget *mainWindow) { m_mainWindow = mainWindow; }

    TTurntable &Controller() const { return *m_controller; }

    // Told after "Ustaw 0°" made where the table stands its 0° (to store it).
    std::function<void()> OnZeroSet;

    // What the other windows call.
    int State() const;
    int StartAngle() const; // 0 in full-turn mode, else edStart, degrees
    int StopAngle() const; // 360 in full-turn mode, else edStop, degrees
    bool IsFullTurn() const;
    void SetFullTurn(bool full);
    void SetStartField(int degrees);
    void SetStopField(int degrees);
    void MoveForward();
    void MoveBackward();
    void StopMove();
    void ResetMove();
    bool RunRange();

    // How boxes are shown; tests replace them. Default: QMessageBox with caption "Orvi".
    std::function<void(const QString &text)> ShowErrorBox;
    std::function<void(const QString &text)> ShowWarningBox;

    // Controls, named as in the window's description.
    QRadioButton *rbFull = nullptr;
    QRadioButton *rbRange = nullptr;
    QRadioButton *rbStep = nullptr;
    QLabel *lblStart = nullptr;
    QSpinBox *edStart = nullptr;
    QLabel *lblStop = nullptr;
    QSpinBox *edStop = nullptr;
    QLabel *lblStep = nullptr;
    QSpinBox *edStep = nullptr;
    QLabel *lblMarker = nullptr;
    TQvLed *ledMark = nullptr;
    QPushButton *btnStart = nullptr;
    TQvLed *ledStart = nullptr;
    QPushButton *btnStop = nullptr;
    TQvLed *ledStop = nullptr;
    QPushButton *btnWstecz = nullptr;
    TQvLed *ledWstecz = nullptr;
    QPushButton *btnReset = nullptr;
    TQvLed *ledReset = nullptr;
    QPushButton *btnZero = nullptr; // "Ustaw 0°", only for a table with a settable 0°

protected:
    bool event(QEvent *event) override;

private:
    void CreateControls();
    void rbClick();
    void btnStartClick();
    void btnWsteczClick();
    void MarkerFlash();
    void ShowState(int state);
    void SendReturnedToZero();

    std::unique_ptr<TTurntable> m_controller;
    std::unique_ptr<TClockTimer> m_flashTimer; // puts the marker lamp out after 200 ms
    QPointer<QWidget> m_mainWindow;
};
