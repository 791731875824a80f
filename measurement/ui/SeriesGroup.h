#pragma once

#include <QGroupBox>

class QBoxLayout;
class QDialog;
class QLineEdit;
class QPushButton;
class TColorComboBox;

// The " Pomiar " group of the measurement dialogs: the new series' name ("Nazwa") and colour
// ("Kolor", the measurement colours). A child of its dialog; GUI thread only.
class TSeriesGroup : public QGroupBox
{
    Q_OBJECT

public:
    explicit TSeriesGroup(QWidget *parent);

    void SetName(const QString &name);
    QString Name() const;
    // Colour 0x00BBGGRR; one that the list does not offer leaves the list without a selection.
    void SetColor(quint32 color);
    quint32 Color() const;

    QLineEdit &Edit1() const { return *m_Edit1; }
    TColorComboBox &ColorComboBox1() const { return *m_ColorComboBox1; }

    // The dialogs' "&OK" (default) and "&Anuluj" row at the end of layout, wired to the
    // dialog's accept() and reject().
    static void AddButtons(QDialog &dialog, QBoxLayout &layout, QPushButton *&ok,
                           QPushButton *&cancel);

private:
    QLineEdit *m_Edit1 = nullptr;
    TColorComboBox *m_ColorComboBox1 = nullptr;
};
