// The colour drop-down: entries in the order the window gives, selecting by colour, a colour
// the list lacks, and the change signal for the user's pick only.

#include "controls/ui/ColorComboBox.h"
#include "measurement/MeasurementColors.h"

#include <QSignalSpy>
#include <QtTest>

class TstColorComboBox : public QObject
{
    Q_OBJECT

private slots:
    void keepsTheGivenOrder();
    void selectsByColor_data();
    void selectsByColor();
    void unknownColorLeavesNoSelection();
    void userPickSignalsOnlyAChange();
};

void TstColorComboBox::keepsTheGivenOrder()
{
    QList<TNamedColor> colors = MeasurementColors();
    std::reverse(colors.begin(), colors.end());
    TColorComboBox box;
    box.SetColors(colors);

    QCOMPARE(box.count(), colors.size());
    for (int i = 0; i < colors.size(); ++i)
        QCOMPARE(box.itemText(i), colors[i].Name);
    QCOMPARE(box.currentIndex(), -1);
    QVERIFY(!box.isEditable());
}

void TstColorComboBox::selectsByColor_data()
{
    QTest::addColumn<int>("entry");
    const QList<TNamedColor> colors = MeasurementColors();
    for (int i = 0; i < colors.size(); ++i)
        QTest::newRow(qPrintable(colors[i].Name)) << i;
}

void TstColorComboBox::selectsByColor()
{
    QFETCH(int, entry);
    const QList<TNamedColor> colors = MeasurementColors();
    TColorComboBox box;
    box.SetColors(colors);

    box.SetColorValue(colors[entry].Color);

    QCOMPARE(box.currentIndex(), entry);
    QCOMPARE(box.currentText(), colors[entry].Name);
    QCOMPARE(box.ColorValue(), colors[entry].Color);
}

void TstColorComboBox::unknownColorLeavesNoSelection()
{
    TColorComboBox box;
    box.SetColors(MeasurementColors());
    box.SetColorValue(0x0000FF);

    box.SetColorValue(0x123456);

    QCOMPARE(box.currentIndex(), -1);
    QCOMPARE(box.ColorValue(), quint32(0x123456));
}

void TstColorComboBox::userPickSignalsOnlyAChange()
{
    const QList<TNamedColor> colors = MeasurementColors();
    TColorComboBox box;
    box.SetColors(colors);
    QSignalSpy changed(&box, &TColorComboBox::ColorValueChanged);
    box.SetColorValue(colors[3].Color);
    QCOMPARE(changed.count(), 0);

    box.show();
    QTest::keyClick(&box, Qt::Key_Down);

    QCOMPARE(box.currentIndex(), 4);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.first().first().value<quint32>(), colors[4].Color);
    QCOMPARE(box.ColorValue(), colors[4].Color);
}

QTEST_MAIN(TstColorComboBox)
#include "tst_colorcombobox.moc"
