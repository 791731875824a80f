#pragma once

#include "turntable/DLPortIO.h"

// One parallel port with pin-level access. Pins are those of the 25-pin connector; levels
// are as on the connector (true = high): the hardware inversions of pins 1, 11, 14 and 17
// are undone here. Ports are detected once, at creation. GUI thread only.
class TDLPrinterPortIO : public TDLPortIO
{
public:
    // Detects the ports through the backend and selects LPT1.
    explicit TDLPrinterPortIO(std::unique_ptr<TPortBackend> backend);

    int LPTNumPorts() const { return m_table.NumPorts; }
    int LPTNumber() const { return m_lptNumber; }
    // Accepted only for 1..8 (which also copies LPTBasePort from the port table);
    // other values change nothing.
    void SetLPTNumber(int number);
    // Base I/O address of the selected port; 0 when detection did not find it.
    quint16 LPTBasePort() const { return m_basePort; }
    // Entry n is the base address of LPTn; entry 0 is never selectable.
    const TPortTable &PortTable() const { return m_table; }

    // The level on the connector of pin 1..17; false for other numbers.
    // Throws EPortIOError like ReadPortByte.
    bool GetPin(int pin);
    // Sets an output pin (1..9, 14, 16, 17) by a read-modify-write of its register; input
    // pins (10, 11, 12, 13, 15) and other numbers are ignored. Throws like WritePortByte.
    void SetPin(int pin, bool level);

    // Where a pin lives: register offset from the base (0 data, 1 status, 2 control),
    // bit mask, whether the register bit is the complement of the level, and whether the
    // program drives it. Mask 0 for numbers outside 1..17.
    struct TPinInfo
    {
        int Offset = 0;
        quint8 Mask = 0;
        bool Inverted = false;
        bool Output = false;
    };
    static TPinInfo PinInfo(int pin);

private:
    TPortTable m_table;
    int m_lptNumber = 0;
    quint16 m_basePort = 0;
};
