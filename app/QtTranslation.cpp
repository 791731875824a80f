#include "app/QtTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace {

const char *const TranslatorName = "OrviQtTranslation";

} // namespace

bool InstallQtTranslation()
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app)
        return false;
    if (app->findChild<QTranslator *>(QLatin1String(TranslatorName), Qt::FindDirectChildrenOnly))
        return true;
    auto *translator = new QTranslator(app);
    translator->setObjectName(QLatin1String(TranslatorName));
    if (!translator->load(QStringLiteral("qtbase_pl"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

void RemoveQtTranslation()
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app)
        return;
    if (auto *translator = app->findChild<QTranslator *>(QLatin1String(TranslatorName),
                                                         Qt::FindDirectChildrenOnly)) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
}
