#pragma once

#include <QDialog>

// "O programie...": a fixed dialog with the program picture as a banner, a small icon, the
// program's description and version and an OK button (default and cancel). Created for
// one showing and destroyed after it.
class TFrmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit TFrmAbout(QWidget *parent = nullptr);
};
