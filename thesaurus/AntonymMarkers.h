#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// The notes that mark a thesaurus field as an antonym. Every data file is searched
// for the English "antonym" (English, Slovak and others write it so); some
// languages' data marks antonyms in their own words, listed here per language.
// tools/survey-notes.py lists the notes of the installed data to check them against.
namespace AntonymMarkers {

// The markers of a language besides "antonym", by its language code ("is", "pl").
QStringList forLanguage(QStringView language);

// The language code of a data file by its name: "th_is_IS_v2.dat" and
// "th_is_IS.dat" give "is", "thes_fr.dat" gives "fr"; empty for other names.
QString languageOfDataFile(const QString &path);

} // namespace AntonymMarkers
