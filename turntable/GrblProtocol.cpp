#include "turntable/GrblProtocol.h"

#include <QList>

#include <cmath>

namespace {

std::optional<double> Number(const QByteArray &text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

std::optional<int> CodeAfter(const QByteArray &line, const char *prefix)
{
    if (!line.startsWith(prefix))
        return std::nullopt;
    bool ok = false;
    const int code = line.mid(qsizetype(qstrlen(prefix))).trimmed().toInt(&ok);
    return ok && code >= 0 ? std::optional<int>(code) : std::nullopt;
}

// The first number of "a,b,c".
std::optional<double> FirstOf(const QByteArray &values)
{
    return Number(values.split(',').value(0));
}

QByteArray Fixed(double value, int decimals)
{
    // Grbl reads a plain decimal; "-0.000" is fine, exponents are not.
    return QByteArray::number(value, 'f', decimals);
}

} // namespace

bool TGrblProtocol::IsGreeting(const QByteArray &line)
{
    return line.startsWith("Grbl ") && line.contains("['$' for help]");
}

std::optional<TGrblProtocol::TStatus> TGrblProtocol::ParseStatus(const QByteArray &line)
{
    const QByteArray text = line.trimmed();
    if (text.size() < 3 || !text.startsWith('<') || !text.endsWith('>'))
        return std::nullopt;
    const QList<QByteArray> fields = text.mid(1, text.size() - 2).split('|');
    TStatus status;
    const QList<QByteArray> state = fields.front().split(':');
    status.State = QString::fromLatin1(state.front());
    if (status.State.isEmpty())
        return std::nullopt;
    if (state.size() > 1) {
        bool ok = false;
        status.SubState = state[1].toInt(&ok);
        if (!ok)
            status.SubState = -1;
    }
    bool haveX = false;
    for (qsizetype i = 1; i < fields.size(); ++i) {
        const qsizetype colon = fields[i].indexOf(':');
        if (colon <= 0)
            continue;
        const QByteArray key = fields[i].left(colon);
        const QByteArray values = fields[i].mid(colon + 1);
        if (key == "MPos" || key == "WPos") {
            const std::optional<double> x = FirstOf(values);
            if (!x)
                return std::nullopt;
            status.X = *x;
            status.Machine = key == "MPos";
            haveX = true;
        } else if (key == "WCO") {
            status.WorkOffsetX = FirstOf(values);
        } else if (key == "FS" || key == "F") {
            status.Feed = FirstOf(values).value_or(0.0);
        }
    }
    return haveX ? std::optional<TStatus>(status) : std::nullopt;
}

std::optional<TGrblProtocol::TSetting> TGrblProtocol::ParseSetting(const QByteArray &line)
{
    if (!line.startsWith('$'))
        return std::nullopt;
    const qsizetype eq = line.indexOf('=');
    if (eq < 2)
        return std::nullopt;
    bool ok = false;
    const int number = line.mid(1, eq - 1).toInt(&ok);
    if (!ok || number < 0)
        return std::nullopt;
    QByteArray value = line.mid(eq + 1);
    if (const qsizetype comment = value.indexOf('('); comment >= 0)
        value.truncate(comment);
    const std::optional<double> parsed = Number(value);
    if (!parsed)
        return std::nullopt;
    return TSetting { number, *parsed };
}

std::optional<int> TGrblProtocol::ErrorCode(const QByteArray &line)
{
    return CodeAfter(line, "error:");
}

std::optional<int> TGrblProtocol::AlarmCode(const QByteArray &line)
{
    return CodeAfter(line, "ALARM:");
}

QByteArray TGrblProtocol::JogRelative(double degrees, double degreesPerMinute)
{
    return "$J=G91 X" + Fixed(degrees, 3) + " F" + Fixed(degreesPerMinute, 1);
}

QByteArray TGrblProtocol::JogToMachine(double x, double degreesPerMinute)
{
    return "$J=G53 X" + Fixed(x, 3) + " F" + Fixed(degreesPerMinute, 1);
}

QString TGrblProtocol::ErrorMeaning(int code)
{
    switch (code) {
    case 1:
    case 2:
    case 20:
        return tr("sterownik nie zrozumiał polecenia");
    case 3:
        return tr("nieznane polecenie „$”");
    case 8:
        return tr("polecenie wymaga stanu spoczynku (Idle)");
    case 9:
        return tr("ruch zablokowany w stanie alarmu lub podczas ruchu ręcznego "
                  "(odblokuj sterownik poleceniem $X lub wykonaj bazowanie)");
    case 11:
        return tr("za długa linia polecenia");
    case 15:
        return tr("cel ruchu poza zakresem osi; obracająca się bez końca oś stolika "
                  "wymaga wyłączenia limitów programowych ($20=0)");
    case 16:
        return tr("nieprawidłowe polecenie ruchu ręcznego ($J=)");
    case 22:
        return tr("nie podano prędkości ruchu");
    default:
        return tr("błąd sterownika Grbl");
    }
}

QString TGrblProtocol::AlarmMeaning(int code)
{
    switch (code) {
    case 1:
        return tr("zadziałał wyłącznik krańcowy; pozycja stolika jest nieznana");
    case 2:
        return tr("cel ruchu poza zakresem osi (limity programowe; dla stolika "
                  "ustaw $20=0)");
    case 3:
        return tr("reset podczas ruchu; pozycja stolika jest nieznana");
    case 6:
    case 7:
    case 8:
    case 9:
        return tr("bazowanie nie powiodło się");
    default:
        return tr("alarm sterownika Grbl");
    }
}
