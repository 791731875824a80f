#pragma once

#include "controls/NamedColor.h"

#include <QComboBox>
#include <QList>

// A drop-down list of named colours (no free text): each entry shows a swatch of its colour
// followed by its name, in the order the owning window gives. Colours are 0x00BBGGRR values.
// GUI thread only.
class TColorComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit TColorComboBox(QWidget *parent = nullptr);

    // Replaces the entries, in the given order. Afterwards no entry is selected; ColorValue()
    // keeps returning the last colour set or picked.
    void SetColors(const QList<TNamedColor> &colors);

    // The selected entry's colour; with no selection the last value given to SetColorValue
    // (or picked by the user), 0 at first.
    quint32 ColorValue() const;

    // Selects the first entry with this colour. A colour that is not in the list leaves no
    // entry selected, and ColorValue() then returns that colour. Does not emit
    // ColorValueChanged.
    void SetColorValue(quint32 color);

    // The entry of a colour, -1 when the list does not hold it.
    int IndexOfColor(quint32 color) const;

signals:
    // The user picked an entry whose colour differs from the previous ColorValue().
    void ColorValueChanged(quint32 color);

private:
    void OnActivated(int index);

    quint32 m_color = 0;
};
