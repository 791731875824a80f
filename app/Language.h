#pragma once

#include <QString>
#include <QStringList>

// The language the program speaks: Polish, its own texts, or English from the translation
// compiled into the program (translations/orvi_en.ts, as ":/i18n/orvi_en.qm"). Qt's own dialogs
// and buttons follow: Qt's Polish texts for Polish, Qt's own English for English. Texts the
// program writes into files are data and stay as they are. GUI (main) thread.
class TLanguage
{
public:
    static const QString Polish; // "pl"
    static const QString English; // "en"

    // The codes the program knows, Polish first.
    static QStringList Codes();
    // The language's own name as the options list it: "Polski", "English".
    static QString Name(const QString &code);
    // code when the program knows it, otherwise Polish.
    static QString Known(const QString &code);

    // Installs the translators of code into the running application and takes out those of
    // another language installed before. False when a translation it needs is missing (the
    // texts it would give stay Polish, or Qt's stay English).
    static bool Install(const QString &code);
    // The language installed last (Polish before any).
    static QString Current();

    // Takes "--lang CODE" out of args (the first occurrence; the option is the run's own
    // choice over the stored one). std::nullopt-like: empty with *error set when the value is
    // missing or unknown; otherwise the code, or stored when there is no --lang.
    static QString FromArguments(QStringList &args, const QString &stored, QString *error);
};
