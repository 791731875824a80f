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
class TTurntableController;

// The turntable control window "Kontroler stolika": mode buttons (full turn, range, step),
// the range and step fields, the four command buttons with their state lamps and the marker
// lamp. A thin view over its TTurntableController, which it owns; it turns the controller's
// marker into a TurntableMark broadcast to every window and shows its errors. Created once
// at start-up and kept until the program ends. GUI thread only.
class TFrmStolikKontrol : public QWidget
{
    Q_OBJECT

public:
    explicit TFrmStolikKontrol(std::unique_ptr<TTurntableController> controller,
                               QWidget *parent = nullptr);
    ~TFrmStolikKontrol() override;

    // Opens the controller's port lptNumber. On failure shows the warning box (caption
    // "Orvi") and returns false; the window then stays inert.
    bool OpenPort(int lptNumber);
    bool PortAvailable() const;

    // The window that gets the TurntableMark when a return to 0 ends (the main window);
    // the parent widget when not set.
    void SetMainWindow(QWidget *mainWindow) { m_mainWindow = mainWindow; }

    TTurntableController &Controller() const { return *m_controller; }

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

    std::unique_ptr<TTurntableController> m_controller;
    std::unique_ptr<TClockTimer> m_flashTimer; // puts the marker lamp out after 200 ms
    QPointer<QWidget> m_mainWindow;
};
