#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

// What a file dialog asks for and, on return, what the user chose.
struct TFileDialogRequest
{
    enum EKind { Open, Save };

    EKind Kind = Open;
    QString FileName; // in: proposed name (may hold a directory); out: chosen full path
    QStringList Filters; // "description (*.ext)" entries, in the order shown
    int FilterIndex = 0; // in: preselected filter; out: the filter chosen (0-based)
    QString DefaultSuffix; // appended when the typed name has no extension
    bool ConfirmOverwrite = true; // Save: ask before replacing an existing file
};

// The one place through which the program's windows talk to the user in dialogs they wait
// for: the message boxes (caption "Orvi") and the file dialogs. Both are replaceable
// function objects so that tests can answer them without a modal loop; Reset() brings back
// the real dialogs. GUI thread only.
class TPrompts
{
public:
    using TMessageFn = std::function<QMessageBox::StandardButton(
        QWidget *owner, QMessageBox::Icon icon, const QString &text,
        QMessageBox::StandardButtons buttons)>;
    using TFileDialogFn = std::function<bool(QWidget *owner, TFileDialogRequest &request)>;

    TMessageFn Message; // returns the button pressed
    TFileDialogFn FileDialog; // returns false when the user cancels

    // The program-wide instance.
    static TPrompts &Instance();
    // Installs the real message box and file dialogs.
    void Reset();

    static QMessageBox::StandardButton RealMessage(QWidget *owner, QMessageBox::Icon icon,
                                                   const QString &text,
                                                   QMessageBox::StandardButtons buttons);
    static bool RealFileDialog(QWidget *owner, TFileDialogRequest &request);
};

// Shortcuts for TPrompts::Instance().
QMessageBox::StandardButton ShowMessage(QWidget *owner, QMessageBox::Icon icon, const QString &text,
                                        QMessageBox::StandardButtons buttons = QMessageBox::Ok);
bool AskFileName(QWidget *owner, TFileDialogRequest &request);
// Posts the message: it is shown from the event loop once the caller's handler has returned,
// for news that must not hold up what is running (a stream that has just started). Dropped
// when owner is gone by then.
void ShowMessageLater(QWidget *owner, QMessageBox::Icon icon, const QString &text);
