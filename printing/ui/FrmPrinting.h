#pragma once

#include <QWidget>

class QLabel;

// The borderless notice "Drukowanie na <printer>" shown while a print job is produced. It
// has no buttons: a started job cannot be cancelled from it. Created, shown and destroyed
// by the print dialog around one job. GUI thread only.
class TFrmPrinting : public QWidget
{
    Q_OBJECT

public:
    explicit TFrmPrinting(QWidget *parent = nullptr);

    QString Text() const;
    void SetText(const QString &text);
    // Shows the window and paints it at once: the job that follows blocks the event loop.
    void ShowNow();

private:
    QLabel *m_label = nullptr;
};
