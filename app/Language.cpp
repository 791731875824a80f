#include "app/Language.h"

#include "app/QtTranslation.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

const QString TLanguage::Polish = QStringLiteral("pl");
const QString TLanguage::English = QStringLiteral("en");

namespace {

const char *const ProgramTranslatorName = "OrviProgramTranslation";

QString g_current = TLanguage::Polish;

void RemoveProgramTranslator(QCoreApplication &app)
{
    if (auto *old = app.findChild<QTranslator *>(QLatin1String(ProgramTranslatorName),
                                                 Qt::FindDirectChildrenOnly)) {
        QCoreApplication::removeTranslator(old);
        delete old;
    }
}

} // namespace

QStringList TLanguage::Codes()
{
    return { Polish, English };
}

QString TLanguage::Name(const QString &code)
{
    return code == English ? QStringLiteral("English") : QStringLiteral("Polski");
}

QString TLanguage::Known(const QString &code)
{
    return Codes().contains(code) ? code : Polish;
}

bool TLanguage::Install(const QString &code)
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app)
        return false;
    const QString language = Known(code);
    RemoveProgramTranslator(*app);
    g_current = language;
    // Polish keeps the number formats it always had; English writes them as English does.
    if (language == Polish)
        return InstallQtTranslation();
    RemoveQtTranslation(); // Qt speaks English by itself
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    auto *translator = new QTranslator(app);
    translator->setObjectName(QLatin1String(ProgramTranslatorName));
    if (!translator->load(QStringLiteral(":/i18n/orvi_%1.qm").arg(language))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

QString TLanguage::Current()
{
    return g_current;
}

QString TLanguage::FromArguments(QStringList &args, const QString &stored, QString *error)
{
    const qsizetype at = args.indexOf(QStringLiteral("--lang"));
    if (at < 0)
        return Known(stored);
    if (at + 1 >= args.size() || !Codes().contains(args.at(at + 1))) {
        if (error)
            *error
                = QStringLiteral("--lang needs one of: %1").arg(Codes().join(QStringLiteral(", ")));
        return {};
    }
    const QString code = args.at(at + 1);
    args.remove(at, 2);
    return code;
}
