#include "thesaurus/LanguageTable.h"

namespace LanguageTable {

const std::int32_t Identifiers[Count] = {
    0,    1024, 1030, 1031, 2055, 3081, 2057, 1033, 4105, 5129, 7177, 1034, 1036, 3084, 1040, 1043,
    1044, 2068, 1046, 2070, 1035, 1053, 1027, 1032, 1055, 1049, 1029, 1038, 1045, 1060, 1069, 1086,
    1041, 1042, 2052, 1028, 4108, 1072, 1073, 1074, 1075, 1076, 1077, 1078, 1025, 1037, 1051, 1065,
    1048, 1050, 1058, 1059, 1061, 1062, 1071, 2074, 3098, 1039, 2060, 2067, 1026, 2058, 3082, 2064,
};

std::int32_t identifier(TSpellCheckLanguage language)
{
    return Identifiers[static_cast<std::uint8_t>(language) % Count];
}

namespace {

struct LocaleRow {
    std::int32_t identifier;
    const char *locale;
    const char *language;
};

// Language identifier -> locale of the LibreOffice thesaurus files. The language
// column decides which other files may stand in for a missing locale; Serbian in
// Latin script is kept apart from the Cyrillic data.
constexpr LocaleRow LocaleRows[] = {
    {1030, "da_DK", "da"}, {1031, "de_DE", "de"}, {2055, "de_CH", "de"}, {3081, "en_AU", "en"},
    {2057, "en_GB", "en"}, {1033, "en_US", "en"}, {4105, "en_CA", "en"}, {5129, "en_NZ", "en"},
    {7177, "en_ZA", "en"}, {1034, "es_ES", "es"}, {1036, "fr_FR", "fr"}, {3084, "fr_CA", "fr"},
    {1040, "it_IT", "it"}, {1043, "nl_NL", "nl"}, {1044, "nb_NO", "nb"}, {2068, "nn_NO", "nn"},
    {1046, "pt_BR", "pt"}, {2070, "pt_PT", "pt"}, {1035, "fi_FI", "fi"}, {1053, "sv_SE", "sv"},
    {1027, "ca_ES", "ca"}, {1032, "el_GR", "el"}, {1055, "tr_TR", "tr"}, {1049, "ru_RU", "ru"},
    {1029, "cs_CZ", "cs"}, {1038, "hu_HU", "hu"}, {1045, "pl_PL", "pl"}, {1060, "sl_SI", "sl"},
    {1069, "eu_ES", "eu"}, {1086, "ms_MY", "ms"}, {1041, "ja_JP", "ja"}, {1042, "ko_KR", "ko"},
    {2052, "zh_CN", "zh"}, {1028, "zh_TW", "zh"}, {4108, "fr_CH", "fr"}, {1072, "st_ZA", "st"},
    {1073, "ts_ZA", "ts"}, {1074, "tn_ZA", "tn"}, {1075, "ve_ZA", "ve"}, {1076, "xh_ZA", "xh"},
    {1077, "zu_ZA", "zu"}, {1078, "af_ZA", "af"}, {1025, "ar_SA", "ar"}, {1037, "he_IL", "he"},
    {1051, "sk_SK", "sk"}, {1065, "fa_IR", "fa"}, {1048, "ro_RO", "ro"}, {1050, "hr_HR", "hr"},
    {1058, "uk_UA", "uk"}, {1059, "be_BY", "be"}, {1061, "et_EE", "et"}, {1062, "lv_LV", "lv"},
    {1071, "mk_MK", "mk"}, {2074, "sr_Latn_RS", "sr_Latn"}, {3098, "sr_RS", "sr"},
    {1039, "is_IS", "is"}, {2060, "fr_BE", "fr"}, {2067, "nl_BE", "nl"}, {1026, "bg_BG", "bg"},
    {2058, "es_MX", "es"}, {3082, "es_ES", "es"}, {2064, "it_CH", "it"},
};

// Where a language has data for several regions, the one a stand-in should come from.
constexpr std::pair<const char *, const char *> PreferredLocales[] = {
    {"en", "en_US"}, {"de", "de_DE"}, {"fr", "fr_FR"}, {"es", "es_ES"}, {"it", "it_IT"},
    {"pt", "pt_PT"}, {"nl", "nl_NL"}, {"sv", "sv_SE"}, {"ar", "ar_SA"}, {"ca", "ca_ES"},
};

} // namespace

LocaleInfo localeForIdentifier(std::int32_t identifier)
{
    for (const LocaleRow &row : LocaleRows) {
        if (row.identifier != identifier)
            continue;
        LocaleInfo info{QString::fromLatin1(row.locale), QString::fromLatin1(row.language), {}};
        for (const auto &[language, locale] : PreferredLocales) {
            if (info.language == QLatin1StringView(language))
                info.preferredLocale = QString::fromLatin1(locale);
        }
        return info;
    }
    return {};
}

const QStringList &listItems()
{
    static const QStringList items = {
        QStringLiteral("Danish"), QStringLiteral("German"), QStringLiteral("Swiss German"),
        QStringLiteral("English AUS"), QStringLiteral("English UK"), QStringLiteral("English US"),
        QStringLiteral("English Canadian"), QStringLiteral("English NewZealand"),
        QStringLiteral("English SouthAfrica"), QStringLiteral("Spanish"), QStringLiteral("French"),
        QStringLiteral("FrenchCanadian"), QStringLiteral("Italian"), QStringLiteral("Dutch"),
        QStringLiteral("Norwegian Bokmol"), QStringLiteral("Norwegian Nynorsk"),
        QStringLiteral("Brazilian Portuguese"), QStringLiteral("Portuguese"), QStringLiteral("Finnish"),
        QStringLiteral("Swedish"), QStringLiteral("Catalan"), QStringLiteral("Greek,"),
        QStringLiteral("Turkish"), QStringLiteral("Russian "), QStringLiteral("Czech"),
        QStringLiteral("Hungarian"), QStringLiteral("Polish,"), QStringLiteral("Slovenian"),
        QStringLiteral("Basque"), QStringLiteral("Malaysian"), QStringLiteral("Japanese"),
        QStringLiteral("Korean"), QStringLiteral("SimplifiedChinese"), QStringLiteral("TraditionalChinese"),
        QStringLiteral("SwissFrench"), QStringLiteral("Sesotho"), QStringLiteral("Tsonga"),
        QStringLiteral("Tswana"), QStringLiteral("Venda"), QStringLiteral("Xhosa"), QStringLiteral("Zulu"),
        QStringLiteral("Afrikaans"), QStringLiteral("Arabic"), QStringLiteral("Hebrew"),
        QStringLiteral("Slovak"), QStringLiteral("Farsi"), QStringLiteral("Romanian"),
        QStringLiteral("Croatian"), QStringLiteral("Ukrainian"), QStringLiteral("Byelorussian"),
        QStringLiteral("Estonian"), QStringLiteral("Latvian"), QStringLiteral("Macedonian"),
        QStringLiteral("Serbian Latin"), QStringLiteral("Serbian Cyrillic"), QStringLiteral("Icelandic"),
        QStringLiteral("Belgian French"), QStringLiteral("Belgian Dutch"), QStringLiteral("Bulgarian"),
        QStringLiteral("Mexican Spanish"), QStringLiteral("Spanish Modern Sort"),
        QStringLiteral("Swiss Italian"),
    };
    return items;
}

TSpellCheckLanguage languageForListIndex(int listIndex)
{
    return static_cast<TSpellCheckLanguage>(static_cast<std::uint8_t>(listIndex + 2));
}

namespace {
// "Greek," and "Russian " as people type them: without the blanks and commas at the ends.
QString bare(const QString &name)
{
    qsizetype begin = 0, end = name.size();
    const auto loose = [](QChar c) { return c.isSpace() || c == QLatin1Char(','); };
    while (begin < end && loose(name[begin]))
        ++begin;
    while (end > begin && loose(name[end - 1]))
        --end;
    return name.mid(begin, end - begin);
}
} // namespace

int listIndexForName(const QString &name)
{
    const QString wanted = bare(name);
    const QStringList &items = listItems();
    for (int i = 0; i < items.size(); ++i) {
        if (items[i].compare(name, Qt::CaseInsensitive) == 0 || bare(items[i]).compare(wanted, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

} // namespace LanguageTable
