#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QSettings;
struct TBroadbandOptions;

// The program-wide settings, named after their stored values. They start with the built-in
// defaults, are read once when the main window is created (ReadSettings) and written once
// when it closes (WriteSettings). GUI thread only; every part of the program reads the
// fields directly through Settings().
class TSettings
{
    Q_DECLARE_TR_FUNCTIONS(TSettings)

public:
    TSettings();

    // "Options"
    QString TempDir; // working folder, no trailing separator
    int LPTNumber = 1; // parallel port, 1-based
    int MarkUnsensitivityTime = 1000; // ms of dead time after an accepted marker pulse
    int DocWindowState = 2; // 0 normal, 1 minimised, 2 maximised
    int DocumentSize = 100; // zoom of new document windows, percent
    // The turntable's drive: 0 the parallel-port controller, 1 a Grbl board on a serial port.
    int TurntableDriver = 0;
    QString GrblPort; // its serial port ("ttyACM0" or a device path)
    int GrblTurnTime = 80; // s for a full turn at the measurement speed
    double GrblZeroOffset = 0.0; // machine X of the table's 0°, degrees
    QString Language = QStringLiteral("pl"); // the program's language (TLanguage), next start

    // "Signal"
    int InSampleRate = 44100; // Hz
    int OutSampleRate = 44100; // Hz
    int InQuant = 16; // bits per sample
    int OutQuant = 16; // bits per sample
    int RecordBuffSize = 8192; // bytes per recording buffer
    int PlayBuffSize = 8192; // bytes per playback buffer
    int ReadBuffSize = 512; // kept and stored only
    int RMSBuffNumber = 512; // bytes of input per measured point
    int WaveINDevID = 0; // input device number
    int WaveOUTDevID = 0; // output device number
    // The microphone's calibration file (empty: none) and the input's sensitivity, the RMS
    // level in dB FS of a 94 dB SPL tone (none: broadband responses stay in dB FS).
    QString MicCalFile;
    std::optional<double> MicSensitivity;
    // options with this calibration, for a broadband analysis made now.
    TBroadbandOptions Calibrated(TBroadbandOptions options) const;

    // The user's own working folder, the same for orvi and orvi-cli:
    // GenericDataLocation + "/Orvi" (~/.local/share/Orvi on Linux), native separators, no
    // trailing one.
    static QString PerUserFolder();
    // The stored language, read before the settings are (the first window needs it).
    static QString StoredLanguage(const QSettings &store);
    // The built-in default of TempDir: "C:\Windows\Temp" on Windows, PerUserFolder()
    // elsewhere.
    static QString DefaultTempDir();
    // True when path names the system's temporary folder (QDir::tempPath(), and "/tmp" on
    // Unix), whose files do not survive a restart. Separators and a trailing one do not
    // matter.
    static bool IsSystemTempFolder(const QString &path);
    // Creates the per-user folder, open to the user alone (mode 0700), when path names it
    // and it is missing; called wherever the program first needs its working folder. Any
    // other folder is the user's choice and is neither created nor changed. True when path
    // is a folder afterwards.
    static bool MakeWorkingFolder(const QString &path);

    // The working folder under which the kept recordings go ("Pomiary" below it): TempDir,
    // or the per-user folder while TempDir is the system's temporary folder.
    QString RecordingsFolder() const;

    // Reads every value; a missing or mistyped one is repaired by storing the current value.
    // A TempDir stored by an earlier version as its default (the system's temporary folder)
    // is replaced by DefaultTempDir() once; what the user chose later is kept.
    // A value outside its domain is used unchanged while the program can work with it (a
    // 32 kHz rate, a buffer that is not a power of two); one it cannot work with (a rate of
    // 0 Hz, an odd or gigabyte buffer, 12-bit samples, a negative dead time) takes its
    // default, which is stored at once. Returns the keys so reset ("Signal/PlayBuffSize"),
    // in reading order; empty when none was.
    QStringList ReadSettings(QSettings &store);
    // The one message that tells the user which keys ReadSettings reset (Polish, one key with
    // its default per line).
    static QString ResetMessage(const QStringList &keys);
    void WriteSettings(QSettings &store) const;

    // TempDir as ReadSettings would take it from the store, with the same replacement, but
    // without writing anything (orvi-cli reads only this setting and never writes the
    // store). DefaultTempDir() when nothing usable is stored.
    static QString StoredTempDir(const QSettings &store);

private:
    // The stored TempDir, or an empty text when it is missing or not a single text; *replaced
    // is true when an old default was swapped for DefaultTempDir().
    static QString TakeTempDir(const QSettings &store, bool *replaced);
    // Gives every value the program cannot work with its default, in the store too; the
    // keys reset.
    QStringList ResetUnworkable(QSettings &store);
    void ReadSensitivity(QSettings &store);
};

// The one instance the program uses.
TSettings &Settings();

// The settings store: the registry under HKEY_CURRENT_USER\Software\Selvane\Orvix on
// Windows, an INI file in the user's configuration folder ("Selvane/Orvix.ini") elsewhere.
// Values live in the groups "1.0/Options", "1.0/Signal" and "1.0/RecentFilesMRU".
std::unique_ptr<QSettings> OpenSettingsStore();
