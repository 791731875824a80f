#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include <optional>
#include <vector>

// The calibration file that comes with a measurement microphone: the microphone's own
// response, one "frequency dB [phase]" row per point (blanks, tabs or commas between the
// fields, '.' decimals in any locale, phase ignored), frequencies strictly rising. Lines
// starting with '*', '"', ';' or '#' are comments; a first line such as
// "Sens Factor =-1.378dB, SERNO: 7001234" (quoted or not; any line before the first row is
// taken) gives the sensitivity, and is skipped even when its value cannot be read. UTF-8 text
// with or without a BOM, LF or CRLF line ends; at most MaxFileBytes bytes.
//
// A value type: copy it freely; every function may be called from any thread.
class TMicCalibration
{
    Q_DECLARE_TR_FUNCTIONS(TMicCalibration)

public:
    static constexpr qint64 MaxFileBytes = 1024 * 1024;
    struct TPoint
    {
        double FrequencyHz;
        double Db;
    };

    // Reads and parses the file; std::nullopt with the Polish message in *error, naming the file
    // (and the line where there is one).
    static std::optional<TMicCalibration> Load(const QString &path, QString *error = nullptr);
    // The same on text already read; fileName only names the file in messages.
    static std::optional<TMicCalibration> Parse(const QByteArray &text, const QString &fileName,
                                                QString *error = nullptr);
    // The microphone's response at hz, dB (to be subtracted from a measured response):
    // linear in log frequency between the file's points, the nearest end value outside them
    // (also for hz <= 0). NaN for a NaN hz; 0 dB for a default-constructed (empty) calibration.
    double CorrectionDb(double hz) const;
    // The file's "Sens Factor" in dB when its first line gives one (for information only).
    std::optional<double> SensFactorDb() const;
    QString Path() const; // as given to Load (empty after Parse)
    // At least two points, frequencies (Hz, > 0) strictly rising, every value finite.
    const std::vector<TPoint> &Points() const;

private:
    std::vector<TPoint> m_points;
    std::optional<double> m_sensFactorDb;
    QString m_path;
};
