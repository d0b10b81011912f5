#pragma once

#include <QString>
#include <QStringList>

// The texts of one section of a language file "./modules/i18n/<lang>.ini":
// entries 0..total-1, an absent entry as an empty text. Loading the section
// "other" also sets the eight DPI tray texts (from the file, or the built-in
// French texts when the language is "French"). A language code is a name,
// not a path: one that contains "/" or "\" or starts with "." reads nothing
// (an empty list, the tray texts unchanged, a debug line). GUI thread only.
namespace LanguageStrings {

// More texts than any page has: a larger total comes from a broken file and
// is cut to this, with a debug line.
constexpr int maxTotal = 4096;

// The language's file; empty for a code that is refused.
QString filePath(const QString& language);
QStringList load(const QString& section, const QString& language);

// The French texts for DPI stages 1..8.
extern const QStringList frenchDpiTexts;

} // namespace LanguageStrings
