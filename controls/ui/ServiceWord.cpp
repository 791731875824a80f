#include "controls/ui/ServiceWord.h"

#include <QApplication>

bool MatchServiceWord(QChar typed, const QString &word, int &position)
{
    if (position < 0 || position >= word.size() || typed != word.at(position)) {
        position = 0;
        return false;
    }
    ++position;
    if (position < word.size())
        return false;
    position = 0;
    if (qobject_cast<QApplication *>(QCoreApplication::instance()))
        QApplication::beep();
    return true;
}
