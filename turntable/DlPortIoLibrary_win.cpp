#include "turntable/DlPortIoLibrary.h"

#include <QLibrary>
#include <QStringList>

#include <windows.h>

namespace {

const wchar_t ServiceName[] = L"DLPortIO";
const char *const EntryPoints[12] = {
    "DlPortReadPortUchar",        "DlPortReadPortUshort",        "DlPortReadPortUlong",
    "DlPortWritePortUchar",       "DlPortWritePortUshort",       "DlPortWritePortUlong",
    "DlPortReadPortBufferUchar",  "DlPortReadPortBufferUshort",  "DlPortReadPortBufferUlong",
    "DlPortWritePortBufferUchar", "DlPortWritePortBufferUshort", "DlPortWritePortBufferUlong",
};

using TReadUchar = UCHAR(WINAPI *)(ULONG port);
using TWriteUchar = void(WINAPI *)(ULONG port, UCHAR value);

QString SystemDriverFolder()
{
    wchar_t buffer[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(buffer, MAX_PATH);
    return QString::fromWCharArray(buffer, int(length)) + QStringLiteral("\\DRIVERS");
}

// Reads a registry value; false when the key or value is missing.
bool ReadValue(HKEY root, const wchar_t *key, const QString &name, DWORD &type, QByteArray &data,
               DWORD maxSize)
{
    HKEY handle = nullptr;
    if (RegOpenKeyExW(root, key, 0, KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS, &handle)
        != ERROR_SUCCESS)
        return false;
    data.resize(int(maxSize));
    DWORD size = maxSize;
    const LONG result
        = RegQueryValueExW(handle, reinterpret_cast<const wchar_t *>(name.utf16()), nullptr, &type,
                           reinterpret_cast<BYTE *>(data.data()), &size);
    RegCloseKey(handle);
    if (result != ERROR_SUCCESS && result != ERROR_MORE_DATA)
        return false;
    data.resize(int(qMin(size, maxSize)));
    return true;
}

} // namespace

struct TDlPortIoLibrary::TImpl
{
    QLibrary Library;
    bool Active = false;
    TReadUchar ReadUchar = nullptr;
    TWriteUchar WriteUchar = nullptr;
    SC_HANDLE Manager = nullptr;
    bool DriverWasInstalled = false;
    bool DriverWasRunning = false;
    QString LastError;
};

TDlPortIoLibrary::TDlPortIoLibrary()
    : DriverPath(SystemDriverFolder())
    , m(new TImpl)
{ }

TDlPortIoLibrary::~TDlPortIoLibrary()
{
    if (m->Active)
        Close();
}

bool TDlPortIoLibrary::ConnectSCM()
{
    m->Manager = OpenSCManagerW(nullptr, nullptr, 0x17);
    if (!m->Manager && GetLastError() == ERROR_ACCESS_DENIED)
        m->Manager = OpenSCManagerW(nullptr, nullptr, 0x15);
    if (!m->Manager) {
        m->LastError = QStringLiteral("ConnectSCM: Error #%1").arg(GetLastError());
        return false;
    }
    return true;
}

bool TDlPortIoLibrary::DriverInstall()
{
    m->DriverWasInstalled = false;
    if (SC_HANDLE service = OpenServiceW(m->Manager, ServiceName, SERVICE_QUERY_STATUS)) {
        m->DriverWasInstalled = true;
        CloseServiceHandle(service);
        return true;
    }
    const QString binary = DriverPath + QStringLiteral("\\DLPortIO.SYS");
    SC_HANDLE service
        = CreateServiceW(m->Manager, ServiceName, L"DriverLINX Port I/O Driver", 0x10034,
                         SERVICE_KERNEL_DRIVER, SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL,
                         reinterpret_cast<const wchar_t *>(binary.utf16()), L"SST miniport drivers",
                         nullptr, nullptr, nullptr, nullptr);
    if (!service) {
        m->LastError = QStringLiteral("DriverInstall: Error #%1").arg(GetLastError());
        return false;
    }
    CloseServiceHandle(service);
    return true;
}

bool TDlPortIoLibrary::DriverStart()
{
    m->DriverWasRunning = false;
    SC_HANDLE service = OpenServiceW(m->Manager, ServiceName, SERVICE_QUERY_STATUS);
    if (!service) {
        m->LastError = QStringLiteral("DriverStart: Error #%1").arg(GetLastError());
        return false;
    }
    SERVICE_STATUS status = {};
    const bool queried = QueryServiceStatus(service, &status);
    const DWORD error = GetLastError();
    CloseServiceHandle(service);
    if (!queried) {
        m->LastError = QStringLiteral("DriverStart: Error #%1").arg(error);
        return false;
    }
    if (status.dwCurrentState == SERVICE_RUNNING) {
        m->DriverWasRunning = true;
        return true;
    }
    if (status.dwCurrentState != SERVICE_STOPPED) {
        m->LastError = QStringLiteral("DriverStart: Error #-1");
        return false;
    }
    service = OpenServiceW(m->Manager, ServiceName, SERVICE_START);
    const bool started = service && StartServiceW(service, 0, nullptr);
    const DWORD startError = GetLastError();
    if (service)
        CloseServiceHandle(service);
    if (!started) {
        m->LastError = QStringLiteral("DriverStart: Error #%1").arg(startError);
        return false;
    }
    return true;
}

bool TDlPortIoLibrary::DriverStop()
{
    if (m->DriverWasRunning)
        return true;
    SC_HANDLE service = OpenServiceW(m->Manager, ServiceName, SERVICE_STOP | SERVICE_QUERY_STATUS);
    SERVICE_STATUS status = {};
    const bool stopped = service && ControlService(service, SERVICE_CONTROL_STOP, &status);
    const DWORD error = GetLastError();
    if (service)
        CloseServiceHandle(service);
    if (!stopped) {
        m->LastError = QStringLiteral("DriverStop: Error #%1").arg(error);
        return false;
    }
    return true;
}

bool TDlPortIoLibrary::DriverRemove()
{
    if (m->DriverWasInstalled)
        return true;
    SC_HANDLE service = OpenServiceW(m->Manager, ServiceName, DELETE);
    const bool deleted = service && DeleteService(service);
    const DWORD error = GetLastError();
    if (service)
        CloseServiceHandle(service);
    if (!deleted) {
        m->LastError = QStringLiteral("DriverRemove: Error #%1").arg(error);
        return false;
    }
    return true;
}

void TDlPortIoLibrary::DisconnectSCM()
{
    if (m->Manager) {
        CloseServiceHandle(m->Manager);
        m->Manager = nullptr;
    }
}

bool TDlPortIoLibrary::Open()
{
    if (m->Active)
        return true;
    // Every Windows that runs this program is of the NT family.
    if (!ConnectSCM())
        return false;
    if (!DriverInstall()) {
        DisconnectSCM();
        return false;
    }
    if (!DriverStart()) {
        DriverRemove();
        DisconnectSCM();
        return false;
    }
    m->Library.setFileName(DLLPath.isEmpty() ? QStringLiteral("DLPortIO.dll")
                                             : DLLPath + QStringLiteral("\\DLPortIO.dll"));
    if (m->Library.load()) {
        bool all = true;
        for (const char *name : EntryPoints)
            all = all && m->Library.resolve(name) != nullptr;
        m->ReadUchar = reinterpret_cast<TReadUchar>(m->Library.resolve("DlPortReadPortUchar"));
        m->WriteUchar = reinterpret_cast<TWriteUchar>(m->Library.resolve("DlPortWritePortUchar"));
        m->Active = all;
    }
    if (!m->Active) {
        DriverStop();
        DriverRemove();
        DisconnectSCM();
        if (m->Library.isLoaded())
            m->Library.unload();
        m->ReadUchar = nullptr;
        m->WriteUchar = nullptr;
    }
    return m->Active;
}

bool TDlPortIoLibrary::Close()
{
    if (!m->Active)
        return true;
    if (!DriverStop() || !DriverRemove())
        return false;
    DisconnectSCM();
    if (m->Library.unload()) {
        m->Active = false;
        m->ReadUchar = nullptr;
        m->WriteUchar = nullptr;
    }
    return !m->Active;
}

bool TDlPortIoLibrary::IsOpen() const
{
    return m->Active;
}

void TDlPortIoLibrary::SelectPort(int, quint16) { }

bool TDlPortIoLibrary::ReadByte(quint16 address, quint8 &value)
{
    if (!m->Active)
        return false;
    value = m->ReadUchar(address);
    return true;
}

bool TDlPortIoLibrary::WriteByte(quint16 address, quint8 value)
{
    if (!m->Active)
        return false;
    m->WriteUchar(address, value);
    return true;
}

QString TDlPortIoLibrary::LastError() const
{
    return m->LastError;
}

QString TDlPortIoLibrary::OpenFailureMessage(int) const
{
    return tr("Nie można otworzyć pliku DLPortIO.dll\r\n"
              "Funkcje pomiarowe nie będą dostępne");
}

TPortTable TDlPortIoLibrary::DetectPorts()
{
    TPortTable table;
    HKEY map = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\PARALLEL PORTS", 0,
                      KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS, &map)
        != ERROR_SUCCESS)
        return table;
    QStringList names;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD length = 256;
        if (RegEnumValueW(map, i, name, &length, nullptr, nullptr, nullptr, nullptr)
            != ERROR_SUCCESS)
            break;
        names << QString::fromWCharArray(name, int(length));
    }
    RegCloseKey(map);

    const QString dosDevice = QStringLiteral("\\DosDevices\\LPT");
    const QString device = QStringLiteral("\\Device\\Parallel");
    for (const QString &name : names) {
        DWORD type = 0;
        QByteArray data;
        if (!ReadValue(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\PARALLEL PORTS", name, type, data,
                       512)
            || type != REG_SZ)
            continue;
        const QString text = QString::fromWCharArray(
            reinterpret_cast<const wchar_t *>(data.constData()), data.size() / 2);
        const int at = text.indexOf(dosDevice);
        if (at < 0)
            continue;
        const int number
            = QStringView(text).mid(at + dosDevice.size()).toString().remove(QChar(0)).toInt();
        const int suffixAt = name.indexOf(device);
        const QString suffix = suffixAt < 0 ? QString() : name.mid(suffixAt + device.size());
        const QString raw
            = QStringLiteral("\\Device\\ParallelPort") + suffix + QStringLiteral(".Raw");
        if (!ReadValue(HKEY_LOCAL_MACHINE,
                       L"HARDWARE\\RESOURCEMAP\\LOADED PARALLEL DRIVER RESOURCES\\Parport", raw,
                       type, data, 128)
            || type != REG_RESOURCE_LIST || data.size() < 26 || number > 8)
            continue;
        const auto *bytes = reinterpret_cast<const uchar *>(data.constData());
        table.Base[qMax(0, number)] = quint16(bytes[24] | (bytes[25] << 8));
        ++table.NumPorts;
    }
    return table;
}
