#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <iterator>

// The thesaurus languages, by the ordinal that the language list and the thesaurus
// component use. Each has one row in LanguageTable::Rows below.
enum TSpellCheckLanguage : std::uint8_t {
    wdLanguageNone,
    wdNoProofing,
    wdDanish,
    wdGerman,
    wdSwissGerman,
    wdEnglishAUS,
    wdEnglishUK,
    wdEnglishUS,
    wdEnglishCanadian,
    wdEnglishNewZealand,
    wdEnglishSouthAfrica,
    wdSpanish,
    wdFrench,
    wdFrenchCanadian,
    wdItalian,
    wdDutch,
    wdNorwegianBokmol,
    wdNorwegianNynorsk,
    wdBrazilianPortuguese,
    wdPortuguese,
    wdFinnish,
    wdSwedish,
    wdCatalan,
    wdGreek,
    wdTurkish,
    wdRussian,
    wdCzech,
    wdHungarian,
    wdPolish,
    wdSlovenian,
    wdBasque,
    wdMalaysian,
    wdJapanese,
    wdKorean,
    wdSimplifiedChinese,
    wdTraditionalChinese,
    wdSwissFrench,
    wdSesotho,
    wdTsonga,
    wdTswana,
    wdVenda,
    wdXhosa,
    wdZulu,
    wdAfrikaans,
    wdArabic,
    wdHebrew,
    wdSlovak,
    wdFarsi,
    wdRomanian,
    wdCroatian,
    wdUkrainian,
    wdByelorussian,
    wdEstonian,
    wdLatvian,
    wdMacedonian,
    wdSerbianLatin,
    wdSerbianCyrillic,
    wdIcelandic,
    wdBelgianFrench,
    wdBelgianDutch,
    wdBulgarian,
    wdMexicanSpanish,
    wdSpanishModernSort,
    wdSwissItalian,
};

namespace LanguageTable {

inline constexpr int Count = 64;

// One language: the Windows language identifier the thesaurus is asked with, the
// locale of its thesaurus data and its language code, whether that locale is the
// one to fall back on for the language's other regions, and its text in the
// language list of the Settings tab. The first two ordinals name no language and
// have neither locale nor list text.
struct Row {
    TSpellCheckLanguage ordinal;
    std::int32_t identifier;
    const char *locale;
    const char *language;
    bool preferredForLanguage;
    const char *listText; // shown exactly as written, blanks and commas included
};

inline constexpr Row Rows[] = {
    {wdLanguageNone, 0, nullptr, nullptr, false, nullptr},
    {wdNoProofing, 1024, nullptr, nullptr, false, nullptr},
    {wdDanish, 1030, "da_DK", "da", false, "Danish"},
    {wdGerman, 1031, "de_DE", "de", true, "German"},
    {wdSwissGerman, 2055, "de_CH", "de", false, "Swiss German"},
    {wdEnglishAUS, 3081, "en_AU", "en", false, "English AUS"},
    {wdEnglishUK, 2057, "en_GB", "en", false, "English UK"},
    {wdEnglishUS, 1033, "en_US", "en", true, "English US"},
    {wdEnglishCanadian, 4105, "en_CA", "en", false, "English Canadian"},
    {wdEnglishNewZealand, 5129, "en_NZ", "en", false, "English NewZealand"},
    {wdEnglishSouthAfrica, 7177, "en_ZA", "en", false, "English SouthAfrica"},
    {wdSpanish, 1034, "es_ES", "es", true, "Spanish"},
    {wdFrench, 1036, "fr_FR", "fr", true, "French"},
    {wdFrenchCanadian, 3084, "fr_CA", "fr", false, "FrenchCanadian"},
    {wdItalian, 1040, "it_IT", "it", true, "Italian"},
    {wdDutch, 1043, "nl_NL", "nl", true, "Dutch"},
    {wdNorwegianBokmol, 1044, "nb_NO", "nb", false, "Norwegian Bokmol"},
    {wdNorwegianNynorsk, 2068, "nn_NO", "nn", false, "Norwegian Nynorsk"},
    {wdBrazilianPortuguese, 1046, "pt_BR", "pt", false, "Brazilian Portuguese"},
    {wdPortuguese, 2070, "pt_PT", "pt", true, "Portuguese"},
    {wdFinnish, 1035, "fi_FI", "fi", false, "Finnish"},
    {wdSwedish, 1053, "sv_SE", "sv", true, "Swedish"},
    {wdCatalan, 1027, "ca_ES", "ca", true, "Catalan"},
    {wdGreek, 1032, "el_GR", "el", false, "Greek,"},
    {wdTurkish, 1055, "tr_TR", "tr", false, "Turkish"},
    {wdRussian, 1049, "ru_RU", "ru", false, "Russian "},
    {wdCzech, 1029, "cs_CZ", "cs", false, "Czech"},
    {wdHungarian, 1038, "hu_HU", "hu", false, "Hungarian"},
    {wdPolish, 1045, "pl_PL", "pl", false, "Polish,"},
    {wdSlovenian, 1060, "sl_SI", "sl", false, "Slovenian"},
    {wdBasque, 1069, "eu_ES", "eu", false, "Basque"},
    {wdMalaysian, 1086, "ms_MY", "ms", false, "Malaysian"},
    {wdJapanese, 1041, "ja_JP", "ja", false, "Japanese"},
    {wdKorean, 1042, "ko_KR", "ko", false, "Korean"},
    {wdSimplifiedChinese, 2052, "zh_CN", "zh", false, "SimplifiedChinese"},
    {wdTraditionalChinese, 1028, "zh_TW", "zh", false, "TraditionalChinese"},
    {wdSwissFrench, 4108, "fr_CH", "fr", false, "SwissFrench"},
    {wdSesotho, 1072, "st_ZA", "st", false, "Sesotho"},
    {wdTsonga, 1073, "ts_ZA", "ts", false, "Tsonga"},
    {wdTswana, 1074, "tn_ZA", "tn", false, "Tswana"},
    {wdVenda, 1075, "ve_ZA", "ve", false, "Venda"},
    {wdXhosa, 1076, "xh_ZA", "xh", false, "Xhosa"},
    {wdZulu, 1077, "zu_ZA", "zu", false, "Zulu"},
    {wdAfrikaans, 1078, "af_ZA", "af", false, "Afrikaans"},
    {wdArabic, 1025, "ar_SA", "ar", true, "Arabic"},
    {wdHebrew, 1037, "he_IL", "he", false, "Hebrew"},
    {wdSlovak, 1051, "sk_SK", "sk", false, "Slovak"},
    {wdFarsi, 1065, "fa_IR", "fa", false, "Farsi"},
    {wdRomanian, 1048, "ro_RO", "ro", false, "Romanian"},
    {wdCroatian, 1050, "hr_HR", "hr", false, "Croatian"},
    {wdUkrainian, 1058, "uk_UA", "uk", false, "Ukrainian"},
    {wdByelorussian, 1059, "be_BY", "be", false, "Byelorussian"},
    {wdEstonian, 1061, "et_EE", "et", false, "Estonian"},
    {wdLatvian, 1062, "lv_LV", "lv", false, "Latvian"},
    {wdMacedonian, 1071, "mk_MK", "mk", false, "Macedonian"},
    {wdSerbianLatin, 2074, "sr_Latn_RS", "sr_Latn", false, "Serbian Latin"},
    {wdSerbianCyrillic, 3098, "sr_RS", "sr", false, "Serbian Cyrillic"},
    {wdIcelandic, 1039, "is_IS", "is", false, "Icelandic"},
    {wdBelgianFrench, 2060, "fr_BE", "fr", false, "Belgian French"},
    {wdBelgianDutch, 2067, "nl_BE", "nl", false, "Belgian Dutch"},
    {wdBulgarian, 1026, "bg_BG", "bg", false, "Bulgarian"},
    {wdMexicanSpanish, 2058, "es_MX", "es", false, "Mexican Spanish"},
    {wdSpanishModernSort, 3082, "es_ES", "es", true, "Spanish Modern Sort"},
    {wdSwissItalian, 2064, "it_CH", "it", false, "Swiss Italian"},
};

static_assert(std::size(Rows) == Count && wdSwissItalian + 1 == Count, "one row for every language");
static_assert(
    [] {
        for (int i = 0; i < Count; ++i) {
            if (Rows[i].ordinal != i || (i >= 2) != (Rows[i].listText != nullptr)
                || (i >= 2) != (Rows[i].locale != nullptr))
                return false;
        }
        return true;
    }(),
    "rows in ordinal order; every listed language has a locale");

// Windows language identifier of every language, indexed by its ordinal.
inline constexpr std::array<std::int32_t, Count> Identifiers = [] {
    std::array<std::int32_t, Count> identifiers{};
    for (int i = 0; i < Count; ++i)
        identifiers[i] = Rows[i].identifier;
    return identifiers;
}();

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
