#include "thesaurus/AntonymMarkers.h"

#include <QFileInfo>

namespace AntonymMarkers {

namespace {

struct LanguageMarkers {
    const char *language;
    const char16_t *markers[2];
};

// Found by tools/survey-notes.py over the LibreOffice thesaurus data; a note holds
// a marker when it contains it, letter case aside.
constexpr LanguageMarkers Table[] = {
    {"ca", {u"ant\u00F2nim"}}, // "(antònim)"
    // The Spanish data writes "(Antónimo)" with its "ó" as three bytes that its
    // Latin-1 encoding reads as "ï¿½"; both spellings mark an antonym.
    {"es", {u"ant\u00F3nimo", u"ant\u00EF\u00BF\u00BDnimo"}},
    {"is", {u"andheiti"}},     // "(andheiti)"; "(samheiti)" is a synonym
    {"pl", {u"antonim"}},      // "(antonim)"
    {"sl", {u"protipomenka"}}, // "(protipomenka)"
};

} // namespace

QStringList forLanguage(QStringView language)
{
    QStringList markers;
    for (const LanguageMarkers &row : Table) {
        if (language.compare(QLatin1StringView(row.language), Qt::CaseInsensitive) != 0)
            continue;
        for (const char16_t *marker : row.markers) {
            if (marker)
                markers.append(QString::fromUtf16(marker));
        }
    }
    return markers;
}

QString languageOfDataFile(const QString &path)
{
    QString name = QFileInfo(path).fileName();
    if (name.startsWith(QLatin1StringView("th_")))
        name.remove(0, 3);
    else if (name.startsWith(QLatin1StringView("thes_")))
        name.remove(0, 5);
    else
        return {};
    qsizetype end = 0;
    while (end < name.size() && name.at(end).isLetter() && name.at(end).unicode() < 0x80)
        ++end;
    return name.first(end).toLower();
}

} // namespace AntonymMarkers
