#pragma once

// Answers the program's message boxes and file dialogs in tests, and records what was
// asked. Header-only so the app_ui tests can use it too.

#include "document/ui/Prompts.h"

#include <QList>
#include <QMessageBox>
#include <QString>

#include <deque>

struct TAskedMessage
{
    QWidget *Owner;
    QMessageBox::Icon Icon;
    QString Text;
    QMessageBox::StandardButtons Buttons;
};

// A queued answer of a file dialog: accepted with this file and filter, or cancelled.
struct TDialogAnswer
{
    bool Accept = true;
    QString FileName;
    int FilterIndex = 0;
};

class TPromptStub
{
public:
    TPromptStub()
    {
        TPrompts &prompts = TPrompts::Instance();
        prompts.Message = [this](QWidget *owner, QMessageBox::Icon icon, const QString &text,
                                 QMessageBox::StandardButtons buttons) {
            Messages.append({ owner, icon, text, buttons });
            if (!MessageAnswers.empty()) {
                const QMessageBox::StandardButton answer = MessageAnswers.front();
                MessageAnswers.pop_front();
                return answer;
            }
            return buttons.testFlag(QMessageBox::Ok) ? QMessageBox::Ok : QMessageBox::No;
        };
        prompts.FileDialog = [this](QWidget *, TFileDialogRequest &request) {
            Dialogs.append(request);
            if (DialogAnswers.empty())
                return false;
            const TDialogAnswer answer = DialogAnswers.front();
            DialogAnswers.pop_front();
            if (!answer.Accept)
                return false;
            request.FileName = answer.FileName;
            request.FilterIndex = answer.FilterIndex;
            return true;
        };
    }
    ~TPromptStub() { TPrompts::Instance().Reset(); }

    TPromptStub(const TPromptStub &) = delete;
    TPromptStub &operator=(const TPromptStub &) = delete;

    QList<TAskedMessage> Messages;
    std::deque<QMessageBox::StandardButton> MessageAnswers; // default: Ok, or No
    QList<TFileDialogRequest> Dialogs;
    std::deque<TDialogAnswer> DialogAnswers; // default: cancel
};
