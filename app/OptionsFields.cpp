#include "app/OptionsFields.h"

#include "app/Settings.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>

int TOptionsFields::BufferSize(int position)
{
    return MinBufferSize << std::clamp(position, 0, MaxBufferPosition);
}

int TOptionsFields::BufferPosition(int bytes)
{
    if (bytes <= 0)
        return 0;
    const double position = std::round(std::log2(double(bytes) / MinBufferSize));
    return int(std::clamp(position, 0.0, double(MaxBufferPosition)));
}

QString TOptionsFields::FormatBytes(int bytes, const QLocale &locale)
{
    // Every group of three digits is separated, as the ",0" format does; the locale's own
    // number format would leave 4-digit numbers whole in some languages (8192 in Polish).
    QString digits = QString::number(qAbs(qint64(bytes)));
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, locale.groupSeparator());
    return bytes < 0 ? locale.negativeSign() + digits : digits;
}

TOptionsFields::ERateButton TOptionsFields::RateButton(int hz)
{
    if (hz >= 46001)
        return Rate48000;
    if (hz >= 40001)
        return Rate44100;
    if (hz < 20001)
        return Rate11025;
    return Rate22050;
}

int TOptionsFields::RateOfButton(ERateButton button)
{
    switch (button) {
    case Rate48000:
        return 48000;
    case Rate44100:
        return 44100;
    case Rate22050:
        return 22050;
    case Rate11025:
        break;
    }
    return 11025;
}

int TOptionsFields::PointsPerTurn(int hz, int bits, int blockBytes)
{
    if (blockBytes <= 0)
        return 0;
    const int bytesPerSample = bits == 16 ? 2 : 1;
    return int((qint64(hz) * FullTurnSeconds / blockBytes) / bytesPerSample);
}

QString TOptionsFields::TempDirFromEdit(const QString &text)
{
    if (text.size() > 1 && (text.endsWith(QLatin1Char('\\')) || text.endsWith(QLatin1Char('/'))))
        return text.chopped(1);
    return text;
}

QString TOptionsFields::TempFolderNote(const QString &typed)
{
    if (!TSettings::IsSystemTempFolder(TempDirFromEdit(typed)))
        return {};
    return tr("Pliki w folderze tymczasowym systemu nie przetrwają ponownego "
              "uruchomienia komputera.");
}

QString TOptionsFields::FolderProblem(const QString &dir)
{
    const QFileInfo info(dir);
    if (!info.exists())
        return tr("Folder roboczy \"%1\" nie istnieje. Pomiar i wskaźnik "
                  "wysterowania nie zapiszą w nim nagrania, dopóki nie zostanie "
                  "utworzony.")
            .arg(dir);
    if (!info.isDir())
        return tr("\"%1\" nie jest folderem. Pomiar i wskaźnik wysterowania nie "
                  "zapiszą tam nagrania.")
            .arg(dir);
    if (!info.isWritable())
        return tr("Do folderu roboczego \"%1\" nie można zapisywać. Pomiar i "
                  "wskaźnik wysterowania nie zapiszą w nim nagrania.")
            .arg(dir);
    return {};
}
