#include "app/Settings.h"

#include "analysis/BroadbandOptions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QVariant>

#include <cmath>

namespace {

const char *const OptionsGroup = "1.0/Options";
const char *const SignalGroup = "1.0/Signal";
const char *const TempDirKey = "1.0/Options/TempDir";
// Present once a version that knows the per-user folder has read or written TempDir: from
// then on a system temporary folder stored there was chosen by the user.
const char *const TempDirCheckedKey = "1.0/Options/TempDirChecked";

// A path as one text to compare: '/' separators, no trailing one, no "." or "..".
QString Cleaned(const QString &path)
{
    return QDir::cleanPath(QDir::fromNativeSeparators(path));
}

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

void ReadOrRepair(QSettings &store, const char *name, QString &setting)
{
    const QString key = QLatin1String(name);
    const QVariant value = store.value(key);
    if (value.typeId() == QMetaType::QString)
        setting = value.toString();
    else
        store.setValue(key, setting);
}

void ReadOrRepair(QSettings &store, const char *name, double &setting)
{
    const QString key = QLatin1String(name);
    bool ok = false;
    const double value = store.value(key).toString().toDouble(&ok);
    if (ok && std::isfinite(value))
        setting = value;
    else
        store.setValue(key, setting);
}

// The values the program cannot work with at all; every other value is used as stored.
constexpr int MaxSampleRate = 384000; // Hz
constexpr int MaxBufferBytes = 1 << 20; // a 1 MiB buffer is far beyond any sound card's
constexpr int MaxDeadTimeMs = 60000; // longer than a marker interval at any turn speed

bool WorkingRate(int hz)
{
    return hz > 0 && hz <= MaxSampleRate;
}

bool WorkingQuant(int bits)
{
    return bits == 8 || bits == 16;
}

// Whole 16-bit samples, at least one of them.
bool WorkingBuffer(int bytes)
{
    return bytes >= 2 && bytes <= MaxBufferBytes && bytes % 2 == 0;
}

bool WorkingDeadTime(int ms)
{
    return ms >= 0 && ms <= MaxDeadTimeMs;
}

bool WorkingWindowState(int state)
{
    return state >= 0 && state <= 2;
}

bool WorkingDriver(int driver)
{
    return driver == 0 || driver == 1;
}

bool WorkingTurnTime(int seconds)
{
    return seconds >= 1 && seconds <= 3600;
}

bool WorkingZoom(int percent)
{
    return percent >= 10 && percent <= 1000;
}

struct TDomain
{
    const char *Key; // below "1.0/"
    int TSettings::*Field;
    bool (*Works)(int);
};

const TDomain Domains[] = {
    { "Options/MarkUnsensitivityTime", &TSettings::MarkUnsensitivityTime, WorkingDeadTime },
    { "Options/DocWindowState", &TSettings::DocWindowState, WorkingWindowState },
    { "Options/DocumentSize", &TSettings::DocumentSize, WorkingZoom },
    { "Options/TurntableDriver", &TSettings::TurntableDriver, WorkingDriver },
    { "Options/GrblTurnTime", &TSettings::GrblTurnTime, WorkingTurnTime },
    { "Signal/InSampleRate", &TSettings::InSampleRate, WorkingRate },
    { "Signal/OutSampleRate", &TSettings::OutSampleRate, WorkingRate },
    { "Signal/InQuant", &TSettings::InQuant, WorkingQuant },
    { "Signal/OutQuant", &TSettings::OutQuant, WorkingQuant },
    { "Signal/RecordBuffSize", &TSettings::RecordBuffSize, WorkingBuffer },
    { "Signal/PlayBuffSize", &TSettings::PlayBuffSize, WorkingBuffer },
    { "Signal/RMSBuffNumber", &TSettings::RMSBuffNumber, WorkingBuffer },
};

} // namespace

TSettings::TSettings()
    : TempDir(DefaultTempDir())
{ }

QString TSettings::PerUserFolder()
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return QDir::toNativeSeparators(Cleaned(data + QStringLiteral("/Orvi")));
}

QString TSettings::DefaultTempDir()
{
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\Windows\\Temp");
#else
    return PerUserFolder();
#endif
}

bool TSettings::IsSystemTempFolder(const QString &path)
{
    if (path.trimmed().isEmpty())
        return false;
    const QString folder = Cleaned(path);
#ifdef Q_OS_WIN
    return folder.compare(Cleaned(QDir::tempPath()), Qt::CaseInsensitive) == 0;
#else
    if (folder == Cleaned(QDir::tempPath()) || folder == QLatin1String("/tmp"))
        return true;
    // The same folder under another name (a link to it).
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(QDir::tempPath()).canonicalFilePath();
#endif
}

bool TSettings::MakeWorkingFolder(const QString &path)
{
    const QString folder = Cleaned(path);
    if (QFileInfo(folder).isDir())
        return true;
    if (folder != Cleaned(PerUserFolder()) || !QDir().mkpath(folder))
        return false;
    // Recordings and documents are the user's own business.
    QFile::setPermissions(folder,
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadUser
                              | QFile::WriteUser | QFile::ExeUser);
    return true;
}

QString TSettings::RecordingsFolder() const
{
    return IsSystemTempFolder(TempDir) ? PerUserFolder() : TempDir;
}

QString TSettings::TakeTempDir(const QSettings &store, bool *replaced)
{
    *replaced = false;
    const QVariant stored = store.value(QLatin1String(TempDirKey));
    if (!IsText(stored) || stored.toString().isEmpty())
        return {};
#ifndef Q_OS_WIN
    // Every earlier version stored the system's temporary folder as its default at the first
    // start; the Windows default has not changed.
    if (!store.contains(QLatin1String(TempDirCheckedKey))
        && IsSystemTempFolder(stored.toString())) {
        *replaced = true;
        return DefaultTempDir();
    }
#endif
    return stored.toString();
}

QString TSettings::StoredTempDir(const QSettings &store)
{
    bool replaced = false;
    const QString stored = TakeTempDir(store, &replaced);
    return stored.isEmpty() ? DefaultTempDir() : stored;
}

QString TSettings::StoredLanguage(const QSettings &store)
{
    return store.value(QLatin1String(OptionsGroup) + QStringLiteral("/Language")).toString();
}

QStringList TSettings::ReadSettings(QSettings &store)
{
    bool replaced = false;
    const QString tempDir = TakeTempDir(store, &replaced);
    if (!tempDir.isEmpty())
        TempDir = tempDir;
    if (tempDir.isEmpty() || replaced)
        store.setValue(QLatin1String(TempDirKey), TempDir);
    if (!store.contains(QLatin1String(TempDirCheckedKey)))
        store.setValue(QLatin1String(TempDirCheckedKey), 1);

    store.beginGroup(QLatin1String(OptionsGroup));
    ReadOrRepair(store, "LPTNumber", LPTNumber);
    ReadOrRepair(store, "MarkUnsensitivityTime", MarkUnsensitivityTime);
    ReadOrRepair(store, "DocWindowState", DocWindowState);
    ReadOrRepair(store, "DocumentSize", DocumentSize);
    ReadOrRepair(store, "TurntableDriver", TurntableDriver);
    ReadOrRepair(store, "GrblPort", GrblPort);
    ReadOrRepair(store, "GrblTurnTime", GrblTurnTime);
    ReadOrRepair(store, "GrblZeroOffset", GrblZeroOffset);
    ReadOrRepair(store, "Language", Language);
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
    ReadOrRepair(store, "MicCalFile", MicCalFile);
    ReadSensitivity(store);
    store.endGroup();
    return ResetUnworkable(store);
}

TBroadbandOptions TSettings::Calibrated(TBroadbandOptions options) const
{
    options.MicCalFile = MicCalFile;
    options.SensitivityDbfs = MicSensitivity;
    return options;
}

void TSettings::ReadSensitivity(QSettings &store)
{
    const QString text = store.value(QStringLiteral("MicSensitivity")).toString();
    bool ok = false;
    const double dbfs = text.toDouble(&ok);
    if (ok && dbfs >= TBroadbandOptions::LowestSensitivityDbfs
        && dbfs <= TBroadbandOptions::HighestSensitivityDbfs)
        MicSensitivity = dbfs;
    else
        MicSensitivity.reset(); // none, or not a sensitivity at all
}

QStringList TSettings::ResetUnworkable(QSettings &store)
{
    const TSettings defaults;
    QStringList reset;
    for (const TDomain &domain : Domains) {
        int &value = this->*domain.Field;
        if (domain.Works(value))
            continue;
        value = defaults.*domain.Field;
        store.setValue(QStringLiteral("1.0/") + QLatin1String(domain.Key), value);
        reset << QLatin1String(domain.Key);
    }
    return reset;
}

QString TSettings::ResetMessage(const QStringList &keys)
{
    const TSettings defaults;
    QStringList lines;
    for (const TDomain &domain : Domains) {
        if (keys.contains(QLatin1String(domain.Key)))
            lines << QStringLiteral("%1 = %2")
                         .arg(QLatin1String(domain.Key))
                         .arg(defaults.*domain.Field);
    }
    return tr("Ustawienia miały wartości, z którymi program nie może działać. "
              "Przywrócono wartości domyślne:\n")
        + lines.join(u'\n');
}

void TSettings::WriteSettings(QSettings &store) const
{
    store.setValue(QLatin1String(TempDirCheckedKey), 1);
    store.beginGroup(QLatin1String(OptionsGroup));
    store.setValue(QStringLiteral("TempDir"), TempDir);
    store.setValue(QStringLiteral("LPTNumber"), LPTNumber);
    store.setValue(QStringLiteral("MarkUnsensitivityTime"), MarkUnsensitivityTime);
    store.setValue(QStringLiteral("DocWindowState"), DocWindowState);
    store.setValue(QStringLiteral("DocumentSize"), DocumentSize);
    store.setValue(QStringLiteral("TurntableDriver"), TurntableDriver);
    store.setValue(QStringLiteral("GrblPort"), GrblPort);
    store.setValue(QStringLiteral("GrblTurnTime"), GrblTurnTime);
    store.setValue(QStringLiteral("GrblZeroOffset"), GrblZeroOffset);
    store.setValue(QStringLiteral("Language"), Language);
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
    store.setValue(QStringLiteral("MicCalFile"), MicCalFile);
    // Empty for none: a number would be taken as a calibration.
    store.setValue(QStringLiteral("MicSensitivity"),
                   MicSensitivity ? QString::number(*MicSensitivity, 'g', 17) : QString());
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
