#include "LanguageStrings.h"

#include "DataPaths.h"
#include "DpiSwitchTexts.h"

#include <QLoggingCategory>
#include <QSettings>

Q_LOGGING_CATEGORY(skarnI18n, "skarn.i18n")

namespace LanguageStrings {

const QStringList frenchDpiTexts{
    QStringLiteral("passage DPI au premier étage"), QStringLiteral("DPI passe au deuxième étage"),
    QStringLiteral("DPI passe au troisième étage"), QStringLiteral("DPI passe au quatrième étage"),
    QStringLiteral("DPI passe au cinquième étage"), QStringLiteral("DPI passe au sixième étage"),
    QStringLiteral("DPI passe au septième étage"),  QStringLiteral("DPI passe au huitième étage"),
};

QString filePath(const QString& language)
{
    if (language.startsWith(QLatin1Char('.')) || language.contains(QLatin1Char('/')) ||
        language.contains(QLatin1Char('\\')))
        return {};
    return DataPath::languageFile(language);
}

QStringList load(const QString& section, const QString& language)
{
    const QString path = filePath(language);
    if (path.isEmpty()) {
        qCDebug(skarnI18n) << "language code" << language << "is not a name - no texts read";
        return {};
    }
    QSettings settings(path, QSettings::IniFormat);
    int total = settings.value(section + QStringLiteral("/total")).toInt();
    if (total > maxTotal) {
        qCDebug(skarnI18n) << path << section << "total" << total << "is cut to" << maxTotal;
        total = maxTotal;
    }
    QStringList texts;
    for (int i = 0; i < total; ++i) {
        const QVariant v = settings.value(section + QLatin1Char('/') + QString::number(i));
        // A text with a comma that was not quoted reads as a list; join it
        // back rather than lose it.
        texts.append(v.metaType().id() == QMetaType::QStringList ? v.toStringList().join(QStringLiteral(", "))
                                                                 : v.toString());
    }
    if (section == QLatin1String("other")) {
        const QStringList& source = language == QLatin1String("French") ? frenchDpiTexts : texts;
        // Stages the file does not name keep their text.
        for (int k = 0; k < 8 && k < source.size(); ++k)
            dpiSwitchTexts[std::size_t(k)] = source.at(k);
    }
    return texts;
}

} // namespace LanguageStrings
