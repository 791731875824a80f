#include "app/Settings.h"

#include <QDir>
#include <QSettings>
#include <QVariant>

namespace {

const char *const OptionsGroup = "1.0/Options";
const char *const SignalGroup = "1.0/Signal";

// A stored text counts only when the store holds it as a text (an INI line that QSettings
// reads as a list, or a registry value of another type, does not).
bool IsText(const QVariant &value)
{
    return value.typeId() == QMetaType::QString;
}

// An integer setting is taken when the store holds a 32-bit integer: a DWORD in the
// registry; in an INI file (which holds only text) a text that parses as a 32-bit integer.
bool ReadInteger(const QVariant &value, int &result)
{
    switch (value.typeId()) {
    case QMetaType::Int:
        result = value.toInt();
        return true;
    case QMetaType::UInt:
        // A DWORD above 0x7FFFFFFF is kept as the same 32 bits.
        result = int(value.toUInt());
        return true;
    case QMetaType::QString: {
#ifdef Q_OS_WIN
        return false; // a REG_SZ value is of the wrong type
#else
        bool ok = false;
        const int parsed = value.toString().trimmed().toInt(&ok);
        if (ok)
            result = parsed;
        return ok;
#endif
    }
    default:
        return false;
    }
}

// Takes the stored value when it is an integer, otherwise stores the current one.
void ReadOrRepair(QSettings &store, const char *name, int &setting)
{
    const QString key = QLatin1String(name);
    if (!ReadInteger(store.value(key), setting))
        store.setValue(key, setting);
}

} // namespace

TSettings::TSettings()
    : TempDir(DefaultTempDir())
{ }

QString TSettings::DefaultTempDir()
{
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\Windows\\Temp");
#else
    QString dir = QDir::toNativeSeparators(QDir::tempPath());
    while (dir.size() > 1 && dir.endsWith(QDir::separator()))
        dir.chop(1);
    return dir;
#endif
}

void TSettings::ReadSettings(QSettings &store)
{
    store.beginGroup(QLatin1String(OptionsGroup));
    const QVariant tempDir = store.value(QStringLiteral("TempDir"));
    if (IsText(tempDir) && !tempDir.toString().isEmpty())
        TempDir = tempDir.toString();
    else
        store.setValue(QStringLiteral("TempDir"), TempDir);
    ReadOrRepair(store, "LPTNumber", LPTNumber);
    ReadOrRepair(store, "MarkUnsensitivityTime", MarkUnsensitivityTime);
    ReadOrRepair(store, "DocWindowState", DocWindowState);
    ReadOrRepair(store, "DocumentSize", DocumentSize);
    store.endGroup();

    store.beginGroup(QLatin1String(SignalGroup));
    ReadOrRepair(store, "InSampleRate", InSampleRate);
    ReadOrRepair(store, "OutSampleRate", OutSampleRate);
    ReadOrRepair(store, "InQuant", InQuant);
    ReadOrRepair(store, "OutQuant", OutQuant);
    ReadOrRepair(store, "RecordBuffSize", RecordBuffSize);
    ReadOrRepair(store, "PlayBuffSize", PlayBuffSize);
    ReadOrRepair(store, "ReadBuffSize", ReadBuffSize);
    ReadOrRepair(store, "RMSBuffNumber", RMSBuffNumber);
    ReadOrRepair(store, "WaveINDevID", WaveINDevID);
    ReadOrRepair(store, "WaveOUTDevID", WaveOUTDevID);
    store.endGroup();
}

void TSettings::WriteSettings(QSettings &store) const
{
    store.beginGroup(QLatin1String(OptionsGroup));
    store.setValue(QStringLiteral("TempDir"), TempDir);
    store.setValue(QStringLiteral("LPTNumber"), LPTNumber);
    store.setValue(QStringLiteral("MarkUnsensitivityTime"), MarkUnsensitivityTime);
    store.setValue(QStringLiteral("DocWindowState"), DocWindowState);
    store.setValue(QStringLiteral("DocumentSize"), DocumentSize);
    store.endGroup();

    store.beginGroup(QLatin1String(SignalGroup));
    store.setValue(QStringLiteral("InSampleRate"), InSampleRate);
    store.setValue(QStringLiteral("OutSampleRate"), OutSampleRate);
    store.setValue(QStringLiteral("InQuant"), InQuant);
    store.setValue(QStringLiteral("OutQuant"), OutQuant);
    store.setValue(QStringLiteral("RecordBuffSize"), RecordBuffSize);
    store.setValue(QStringLiteral("PlayBuffSize"), PlayBuffSize);
    store.setValue(QStringLiteral("ReadBuffSize"), ReadBuffSize);
    store.setValue(QStringLiteral("RMSBuffNumber"), RMSBuffNumber);
    store.setValue(QStringLiteral("WaveOUTDevID"), WaveOUTDevID);
    store.setValue(QStringLiteral("WaveINDevID"), WaveINDevID);
    store.endGroup();
    store.sync();
}

TSettings &Settings()
{
    static TSettings settings;
    return settings;
}

std::unique_ptr<QSettings> OpenSettingsStore()
{
#ifdef Q_OS_WIN
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("Selvane"), QStringLiteral("Orvix"));
#else
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                       QStringLiteral("Selvane"), QStringLiteral("Orvix"));
#endif
}
