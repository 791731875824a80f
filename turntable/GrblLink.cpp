#include "turntable/GrblLink.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QSerialPort>
#include <QSerialPortInfo>
#include <QTimer>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int WaitSliceMs = 5; // real time between looks while nothing arrives

} // namespace

TGrblLink::TGrblLink(QObject *parent)
    : QObject(parent)
{ }

TGrblLink::~TGrblLink() = default;

QString TGrblLink::PermissionMessage(const QString &devicePath)
{
    QString groupName = QStringLiteral("dialout");
    struct stat info
    {
    };
    if (::stat(QFile::encodeName(devicePath).constData(), &info) == 0)
        if (const struct group *owner = ::getgrgid(info.st_gid); owner && owner->gr_name)
            groupName = QString::fromLocal8Bit(owner->gr_name);
    return tr("Brak dostępu do portu %1: należy on do grupy „%2”. Dodaj swoje konto "
              "do tej grupy (sudo usermod -aG %2 $USER), wyloguj się i zaloguj "
              "ponownie.")
        .arg(devicePath, groupName);
}

QString TGrblLink::OpenFailure() const
{
    const QString path = QSerialPortInfo(*m_port).systemLocation().isEmpty()
        ? m_portName
        : QSerialPortInfo(*m_port).systemLocation();
    const QString device = m_portName.startsWith(u'/') ? m_portName : path;
    switch (m_port->error()) {
    case QSerialPort::DeviceNotFoundError:
        return tr("Nie ma portu %1.").arg(device);
    case QSerialPort::PermissionError:
        // Qt says the same for a device we may not open and one that another program holds.
        if (::access(QFile::encodeName(device).constData(), R_OK | W_OK) != 0)
            return PermissionMessage(device);
        return tr("Port %1 jest zajęty przez inny program.").arg(device);
    default:
        return tr("Nie można otworzyć portu %1: %2.").arg(device, m_port->errorString());
    }
}

bool TGrblLink::Connect(const QString &portName)
{
    Disconnect();
    m_portName = portName;
    m_port = std::make_unique<QSerialPort>();
    m_port->setPortName(portName);
    m_port->setBaudRate(BaudRate);
    m_port->setDataBits(QSerialPort::Data8);
    m_port->setParity(QSerialPort::NoParity);
    m_port->setStopBits(QSerialPort::OneStop);
    m_port->setFlowControl(QSerialPort::NoFlowControl);
    connect(m_port.get(), &QSerialPort::readyRead, this, &TGrblLink::ReadLines);
    connect(m_port.get(), &QSerialPort::errorOccurred, this,
            [this](QSerialPort::SerialPortError e) {
                if (e == QSerialPort::ResourceError || e == QSerialPort::ReadError
                    || e == QSerialPort::WriteError)
                    Lose(tr("Stolik na porcie %1 przestał odpowiadać (%2).")
                             .arg(m_portName, m_port->errorString()));
            });
    // DTR and RTS are left as the driver sets them: opening the port resets an Arduino by
    // itself, and a pseudo-terminal has no such lines to set.
    if (!m_port->open(QIODevice::ReadWrite)) {
        m_error = OpenFailure();
        m_port.reset();
        return false;
    }
    m_lost = false;
    if (!WaitForGreeting()) {
        m_error = tr("Stolik na porcie %1 nie odpowiada: nie przysłał powitania "
                     "Grbl ani po otwarciu portu, ani po resecie.")
                      .arg(m_portName);
        Disconnect();
        return false;
    }
    m_settings.clear();
    if (!Command("$$"))
        return Disconnect(), false;
    for (int number : { 110, 120 })
        if (!m_settings.contains(number) || !(m_settings.value(number) > 0)) {
            m_error = tr("Sterownik na porcie %1 nie podał ustawienia $%2 (prędkość "
                         "$110, przyspieszenie $120 osi X).")
                          .arg(m_portName)
                          .arg(number);
            Disconnect();
            return false;
        }
    const std::optional<TGrblProtocol::TStatus> status = Query();
    if (!status)
        return Disconnect(), false;
    if (status->State == QLatin1String("Alarm")) {
        m_error = tr("Sterownik stolika na porcie %1 jest w stanie alarmu: odblokuj "
                     "go poleceniem $X albo wykonaj bazowanie ($H), np. w programie "
                     "do obsługi Grbl, i połącz się ponownie.")
                      .arg(m_portName);
        Disconnect();
        return false;
    }
    return true;
}

void TGrblLink::Disconnect()
{
    if (m_port && m_port->isOpen())
        m_port->close();
    m_port.reset();
    m_buffer.clear();
    m_lineInFlight = false;
    m_queryInFlight = false;
}

bool TGrblLink::IsConnected() const
{
    return m_port && m_port->isOpen() && !m_lost;
}

std::optional<double> TGrblLink::Setting(int number) const
{
    return m_settings.contains(number) ? std::optional<double>(m_settings.value(number))
                                       : std::nullopt;
}

bool TGrblLink::WaitForGreeting()
{
    m_greeting.clear();
    m_expectGreeting = true;
    bool greeted = WaitUntil([this] { return !m_greeting.isEmpty(); }, GreetingWaitMs);
    if (!greeted && !m_lost) {
        SendRealTime(TGrblProtocol::SoftReset);
        greeted = WaitUntil([this] { return !m_greeting.isEmpty(); }, GreetingWaitMs);
    }
    m_expectGreeting = false;
    return greeted;
}

template<typename Done>
bool TGrblLink::WaitUntil(Done done, int limitMs)
{
    QElapsedTimer elapsed;
    elapsed.start();
    while (!done() && !m_lost && m_port && elapsed.elapsed() < limitMs) {
        QEventLoop loop;
        QTimer::singleShot(WaitSliceMs, &loop, &QEventLoop::quit);
        connect(m_port.get(), &QSerialPort::readyRead, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return done();
}

bool TGrblLink::Write(const QByteArray &bytes)
{
    if (!m_port || m_lost)
        return false;
    if (m_port->write(bytes) != bytes.size()) {
        Lose(tr("Stolik na porcie %1 przestał odpowiadać (%2).")
                 .arg(m_portName, m_port->errorString()));
        return false;
    }
    m_port->flush();
    return true;
}

bool TGrblLink::Command(const QByteArray &line)
{
    if (m_lost || !m_port) {
        if (m_error.isEmpty())
            m_error = tr("Stolik nie jest połączony.");
        return false;
    }
    if (line.size() > TGrblProtocol::MaxLineLength) {
        m_error = tr("Polecenie dla stolika jest dłuższe niż %1 znaków: „%2”.")
                      .arg(TGrblProtocol::MaxLineLength)
                      .arg(QString::fromLatin1(line));
        return false;
    }
    if (m_lineInFlight) {
        m_error = tr("Poprzednie polecenie dla stolika czeka jeszcze na odpowiedź.");
        return false;
    }
    m_errorCode = 0;
    m_answer = EAnswer::None;
    m_lineInFlight = true;
    // "\n" only: Grbl ends a line at "\r" as well, and would answer the empty one between.
    const bool written = Write(line + '\n');
    if (written)
        WaitUntil([this] { return m_answer != EAnswer::None; }, AnswerLimitMs);
    m_lineInFlight = false;
    if (m_lost)
        return false;
    if (m_answer == EAnswer::None) {
        Lose(tr("Stolik na porcie %1 przestał odpowiadać: brak odpowiedzi na „%2” "
                "w ciągu %3 s.")
                 .arg(m_portName, QString::fromLatin1(line))
                 .arg(AnswerLimitMs / 1000));
        return false;
    }
    if (m_answer == EAnswer::Error) {
        m_errorCode = m_answerCode;
        m_error = tr("Sterownik stolika odrzucił polecenie „%1”: error:%2 (%3).")
                      .arg(QString::fromLatin1(line))
                      .arg(m_answerCode)
                      .arg(TGrblProtocol::ErrorMeaning(m_answerCode));
        return false;
    }
    return true;
}

std::optional<TGrblProtocol::TStatus> TGrblLink::Query()
{
    if (m_lost || !m_port || m_queryInFlight)
        return std::nullopt;
    m_report.reset();
    m_queryInFlight = true;
    SendRealTime(TGrblProtocol::StatusQuery);
    WaitUntil([this] { return m_report.has_value(); }, AnswerLimitMs);
    m_queryInFlight = false;
    if (!m_report && !m_lost)
        Lose(tr("Stolik na porcie %1 przestał odpowiadać: brak raportu stanu w "
                "ciągu %2 s.")
                 .arg(m_portName)
                 .arg(AnswerLimitMs / 1000));
    return m_report;
}

void TGrblLink::SendRealTime(char byte)
{
    Write(QByteArray(1, byte));
}

void TGrblLink::Lose(const QString &message)
{
    if (m_lost)
        return;
    m_lost = true;
    m_error = message;
    emit ConnectionLost(message);
}

void TGrblLink::ReadLines()
{
    if (!m_port)
        return;
    m_buffer += m_port->readAll();
    // A board that floods the line with garbage must not grow the buffer for ever.
    if (m_buffer.size() > 4096 && !m_buffer.contains('\n'))
        m_buffer.clear();
    qsizetype end;
    while ((end = m_buffer.indexOf('\n')) >= 0) {
        const QByteArray line = m_buffer.left(end).trimmed();
        m_buffer.remove(0, end + 1);
        if (!line.isEmpty())
            HandleLine(line);
    }
}

void TGrblLink::HandleLine(const QByteArray &line)
{
    if (line == "ok") {
        if (m_lineInFlight)
            m_answer = EAnswer::Ok;
    } else if (const std::optional<int> error = TGrblProtocol::ErrorCode(line)) {
        if (m_lineInFlight) {
            m_answer = EAnswer::Error;
            m_answerCode = *error;
        }
    } else if (line.startsWith('<')) {
        if (m_queryInFlight)
            m_report = TGrblProtocol::ParseStatus(line);
    } else if (const std::optional<int> alarm = TGrblProtocol::AlarmCode(line)) {
        emit AlarmRaised(*alarm);
    } else if (line.startsWith("[MSG:") && line.endsWith(']')) {
        emit BoardMessage(QString::fromUtf8(line.mid(5, line.size() - 6)));
    } else if (TGrblProtocol::IsGreeting(line)) {
        m_greeting = QString::fromLatin1(line);
        if (!m_expectGreeting)
            emit BoardRestarted();
    } else if (const std::optional<TGrblProtocol::TSetting> setting
               = TGrblProtocol::ParseSetting(line)) {
        m_settings.insert(setting->Number, setting->Value);
    }
}
