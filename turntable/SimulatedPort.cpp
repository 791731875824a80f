#include "turntable/SimulatedPort.h"

#include "turntable/DLPrinterPortIO.h"
#include "turntable/SimulatedController.h"

TSimulatedPort::TSimulatedPort(std::shared_ptr<TSimulatedController> controller)
    : m_controller(std::move(controller))
{ }

TSimulatedPort::~TSimulatedPort() = default;

TPortTable TSimulatedPort::DetectPorts()
{
    TPortTable table;
    table.Base[1] = BaseAddress;
    table.NumPorts = 1;
    return table;
}

bool TSimulatedPort::Open()
{
    m_open = true;
    return true;
}

bool TSimulatedPort::Close()
{
    m_open = false;
    return true;
}

void TSimulatedPort::SelectPort(int, quint16 basePort)
{
    m_base = basePort;
}

bool TSimulatedPort::Offset(quint16 address, int &offset)
{
    offset = int(address) - int(m_base);
    if (offset >= 0 && offset <= 2)
        return true;
    m_lastError = tr("Adres 0x%1 leży poza portem symulatora").arg(address, 0, 16);
    return false;
}

bool TSimulatedPort::ReadByte(quint16 address, quint8 &value)
{
    int offset = 0;
    if (!m_open || !Offset(address, offset))
        return false;
    if (offset == 0) {
        value = m_data;
    } else if (offset == 2) {
        value = m_control;
    } else {
        // Status: the controller's outputs through the same pin map the program reads.
        quint8 status = 0;
        for (int pin : { 10, 11, 12, 13, 15 }) {
            const TDLPrinterPortIO::TPinInfo info = TDLPrinterPortIO::PinInfo(pin);
            if (m_controller->PinLevel(pin) != info.Inverted)
                status |= info.Mask;
        }
        value = status;
    }
    return true;
}

bool TSimulatedPort::WriteByte(quint16 address, quint8 value)
{
    int offset = 0;
    if (!m_open || !Offset(address, offset))
        return false;
    if (offset == 0) {
        m_data = value;
        m_controller->SetCommandLines(value);
    } else if (offset == 2) {
        m_control = value & 0x0F;
    }
    // Writes to the status register go nowhere, as on a real port.
    return true;
}

QString TSimulatedPort::OpenFailureMessage(int) const
{
    return tr("Nie można uruchomić symulatora stolika\r\n"
              "Funkcje pomiarowe nie będą dostępne");
}
