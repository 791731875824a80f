#pragma once

#include <QString>

#include <memory>

class QSettings;

// The program-wide settings, named after their stored values. They start with the built-in
// defaults, are read once when the main window is created (ReadSettings) and written once
// when it closes (WriteSettings). GUI thread only; every part of the program reads the
// fields directly through Settings().
class TSettings
{
public:
    TSettings();

    // "Options"
    QString TempDir; // working folder, no trailing separator
    int LPTNumber = 1; // parallel port, 1-based
    int MarkUnsensitivityTime = 1000; // ms of dead time after an accepted marker pulse
    int DocWindowState = 2; // 0 normal, 1 minimised, 2 maximised
    int DocumentSize = 100; // zoom of new document windows, percent

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

    // The built-in default of TempDir on this platform.
    static QString DefaultTempDir();

    // Reads every value; a missing or mistyped one is repaired by storing the current value.
    void ReadSettings(QSettings &store);
    void WriteSettings(QSettings &store) const;
};

// The one instance the program uses.
TSettings &Settings();

// The settings store: the registry under HKEY_CURRENT_USER\Software\Selvane\Orvix on
// Windows, an INI file in the user's configuration folder ("Selvane/Orvix.conf") elsewhere.
// Values live in the groups "1.0/Options", "1.0/Signal" and "1.0/RecentFilesMRU".
std::unique_ptr<QSettings> OpenSettingsStore();
