#include "LanguageStrings.h"

#include "DataPaths.h"
#include "DpiSwitchTexts.h"

#include <QFileInfo>
#include <QLoggingCategory>
#include <QSettings>

#include <array>

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
    QStringList texts;
    std::array<bool, 8> named{};
    const qint64 size = QFileInfo(path).size();
    if (size > maxFileSize) {
        qCDebug(skarnI18n) << path << "holds" << size << "bytes, more than" << maxFileSize
                           << "- not read, the built-in texts stay";
    } else {
        QSettings settings(path, QSettings::IniFormat);
        int total = settings.value(section + QStringLiteral("/total")).toInt();
        if (total > maxTotal) {
            qCDebug(skarnI18n) << path << section << "total" << total << "is cut to" << maxTotal;
            total = maxTotal;
        }
        qsizetype present = 0;
        for (int i = 0; i < total; ++i) {
            const QVariant v = settings.value(section + QLatin1Char('/') + QString::number(i));
            // A text with a comma that was not quoted reads as a list; join it
            // back rather than lose it.
            QString text = v.metaType().id() == QMetaType::QStringList ? v.toStringList().join(QStringLiteral(", "))
                                                                       : v.toString();
            if (text.size() > maxTextLength) {
                qCDebug(skarnI18n) << path << section << "entry" << i << "holds" << text.size() << "characters - cut to"
                                   << maxTextLength;
                qsizetype end = maxTextLength;
                if (text.at(end - 1).isHighSurrogate())
                    --end;
                text.truncate(end);
            }
            texts.append(text);
            if (v.isValid())
                present = texts.size();
            if (v.isValid() && i < int(named.size()))
                named[std::size_t(i)] = true;
        }
        texts.resize(present);
    }
    if (section == QLatin1String("other")) {
        const bool french = language == QLatin1String("French");
        const QStringList& source = french ? frenchDpiTexts : texts;
        // Stages the file does not name keep their text.
        for (int k = 0; k < 8 && k < source.size(); ++k)
            if (french || named[std::size_t(k)])
                dpiSwitchTexts[std::size_t(k)] = source.at(k);
    }
    return texts;
}

} // namespace LanguageStrings
