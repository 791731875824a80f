#include "turntable/DLPrinterPortIO.h"

TDLPrinterPortIO::TDLPrinterPortIO(std::unique_ptr<TPortBackend> backend)
    : TDLPortIO(std::move(backend))
{
    m_table = Backend().DetectPorts();
    SetLPTNumber(1);
}

void TDLPrinterPortIO::SetLPTNumber(int number)
{
    if (number < 1 || number > 8)
        return;
    m_lptNumber = number;
    m_basePort = m_table.Base[number];
    Backend().SelectPort(m_lptNumber, m_basePort);
}

TDLPrinterPortIO::TPinInfo TDLPrinterPortIO::PinInfo(int pin)
{
    constexpr int Data = 0, Status = 1, Control = 2;
    if (pin >= 2 && pin <= 9)
        return { Data, quint8(1u << (pin - 2)), false, true };
    switch (pin) {
    case 1:
        return { Control, 1, true, true };
    case 10:
        return { Status, 64, false, false };
    case 11:
        return { Status, 128, true, false };
    case 12:
        return { Status, 32, false, false };
    case 13:
        return { Status, 16, false, false };
    case 14:
        return { Control, 2, true, true };
    case 15:
        return { Status, 8, false, false };
    case 16:
        return { Control, 4, false, true };
    case 17:
        return { Control, 8, true, true };
    default:
        return {};
    }
}

bool TDLPrinterPortIO::GetPin(int pin)
{
    const TPinInfo info = PinInfo(pin);
    if (info.Mask == 0)
        return false;
    const bool bit = (ReadPortByte(quint16(m_basePort + info.Offset)) & info.Mask) != 0;
    return bit != info.Inverted;
}

void TDLPrinterPortIO::SetPin(int pin, bool level)
{
    const TPinInfo info = PinInfo(pin);
    if (info.Mask == 0 || !info.Output)
        return;
    const quint16 address = quint16(m_basePort + info.Offset);
    const quint8 old = ReadPortByte(address);
    const bool bit = level != info.Inverted;
    WritePortByte(address, bit ? quint8(old | info.Mask) : quint8(old & ~info.Mask));
}
