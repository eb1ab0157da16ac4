#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

// The thesaurus languages, by the ordinal that the language list and the thesaurus
// component use. The identifier table below maps each to the Windows language
// identifier that the thesaurus is asked with.
enum TSpellCheckLanguage : std::uint8_t {
    wdLanguageNone, wdNoProofing, wdDanish, wdGerman, wdSwissGerman, wdEnglishAUS,
    wdEnglishUK, wdEnglishUS, wdEnglishCanadian, wdEnglishNewZealand, wdEnglishSouthAfrica,
    wdSpanish, wdFrench, wdFrenchCanadian, wdItalian, wdDutch, wdNorwegianBokmol,
    wdNorwegianNynorsk, wdBrazilianPortuguese, wdPortuguese, wdFinnish, wdSwedish,
    wdCatalan, wdGreek, wdTurkish, wdRussian, wdCzech, wdHungarian, wdPolish,
    wdSlovenian, wdBasque, wdMalaysian, wdJapanese, wdKorean, wdSimplifiedChinese,
    wdTraditionalChinese, wdSwissFrench, wdSesotho, wdTsonga, wdTswana, wdVenda,
    wdXhosa, wdZulu, wdAfrikaans, wdArabic, wdHebrew, wdSlovak, wdFarsi, wdRomanian,
    wdCroatian, wdUkrainian, wdByelorussian, wdEstonian, wdLatvian, wdMacedonian,
    wdSerbianLatin, wdSerbianCyrillic, wdIcelandic, wdBelgianFrench, wdBelgianDutch,
    wdBulgarian, wdMexicanSpanish, wdSpanishModernSort, wdSwissItalian,
};

namespace LanguageTable {

inline constexpr int Count = 64;

// Windows language identifier of every language, indexed by its ordinal.
extern const std::int32_t Identifiers[Count];

// The identifier sent for a language; ordinals past the table wrap like the byte they are.
std::int32_t identifier(TSpellCheckLanguage language);

// The locale whose thesaurus data answers for a language identifier ("en_US"),
// and the language to fall back on when there is no data for that exact locale.
// Both are empty for identifiers that name no language (0 and 1024) or are unknown.
struct LocaleInfo {
    QString locale;
    QString language;
    QString preferredLocale; // the same language's main locale, tried first when falling back
};
LocaleInfo localeForIdentifier(std::int32_t identifier);

// The language list of the Settings tab: 62 item texts, shown exactly as listed.
const QStringList &listItems();

// Item i of the list stands for ordinal i + 2; no selection (-1) gives 1. Taken
// modulo 256, like the byte the ordinal is kept in.
TSpellCheckLanguage languageForListIndex(int listIndex);

// The list index of an item named as listed or without the blanks and commas at
// its ends ("Russian " and "Russian" both match item 23, "Greek" matches "Greek,");
// letter case is ignored. -1 when no item matches.
int listIndexForName(const QString &name);

} // namespace LanguageTable
