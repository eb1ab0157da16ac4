#include "thesaurus/LanguageTable.h"

#include <QSet>
#include <QTest>

class TestLanguageTable : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // One row follows a list item all the way to the thesaurus data it asks for.
    void listItemToLocale_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("listIndex");
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("identifier");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("languageCode");
        QTest::addColumn<QString>("preferred");

        QTest::newRow("first item") << "Danish" << 0 << int(wdDanish) << 1030 << "da_DK"
                                    << "da"
                                    << "";
        QTest::newRow("English UK") << "English UK" << 4 << int(wdEnglishUK) << 2057 << "en_GB"
                                    << "en"
                                    << "en_US";
        QTest::newRow("English US") << "English US" << 5 << int(wdEnglishUS) << 1033 << "en_US"
                                    << "en"
                                    << "en_US";
        QTest::newRow("Spanish") << "Spanish" << 9 << int(wdSpanish) << 1034 << "es_ES"
                                 << "es"
                                 << "es_ES";
        QTest::newRow("FrenchCanadian") << "FrenchCanadian" << 11 << int(wdFrenchCanadian) << 3084 << "fr_CA"
                                        << "fr"
                                        << "fr_FR";
        QTest::newRow("Dutch") << "Dutch" << 13 << int(wdDutch) << 1043 << "nl_NL"
                               << "nl"
                               << "nl_NL";
        QTest::newRow("Norwegian Bokmol") << "Norwegian Bokmol" << 14 << int(wdNorwegianBokmol) << 1044 << "nb_NO"
                                          << "nb"
                                          << "";
        QTest::newRow("Brazilian Portuguese")
            << "Brazilian Portuguese" << 16 << int(wdBrazilianPortuguese) << 1046 << "pt_BR"
            << "pt"
            << "pt_PT";
        QTest::newRow("Greek with its comma") << "Greek," << 21 << int(wdGreek) << 1032 << "el_GR"
                                              << "el"
                                              << "";
        QTest::newRow("Russian with its blank") << "Russian " << 23 << int(wdRussian) << 1049 << "ru_RU"
                                                << "ru"
                                                << "";
        QTest::newRow("Polish with its comma") << "Polish," << 26 << int(wdPolish) << 1045 << "pl_PL"
                                               << "pl"
                                               << "";
        QTest::newRow("SwissFrench") << "SwissFrench" << 34 << int(wdSwissFrench) << 4108 << "fr_CH"
                                     << "fr"
                                     << "fr_FR";
        QTest::newRow("Serbian Latin") << "Serbian Latin" << 53 << int(wdSerbianLatin) << 2074 << "sr_Latn_RS"
                                       << "sr_Latn"
                                       << "";
        QTest::newRow("Serbian Cyrillic") << "Serbian Cyrillic" << 54 << int(wdSerbianCyrillic) << 3098 << "sr_RS"
                                          << "sr"
                                          << "";
        QTest::newRow("Belgian Dutch") << "Belgian Dutch" << 57 << int(wdBelgianDutch) << 2067 << "nl_BE"
                                       << "nl"
                                       << "nl_NL";
        QTest::newRow("Spanish Modern Sort") << "Spanish Modern Sort" << 60 << int(wdSpanishModernSort) << 3082 << "es_ES"
                                             << "es"
                                             << "es_ES";
        QTest::newRow("last item") << "Swiss Italian" << 61 << int(wdSwissItalian) << 2064 << "it_CH"
                                   << "it"
                                   << "it_IT";
    }
    void listItemToLocale()
    {
        QFETCH(QString, item);
        QFETCH(int, listIndex);
        QFETCH(int, language);
        QFETCH(int, identifier);
        QFETCH(QString, locale);
        QFETCH(QString, languageCode);
        QFETCH(QString, preferred);

        QCOMPARE(LanguageTable::listItems().at(listIndex), item);
        QCOMPARE(LanguageTable::listIndexForName(item), listIndex);
        QCOMPARE(int(LanguageTable::languageForListIndex(listIndex)), language);
        QCOMPARE(LanguageTable::identifier(TSpellCheckLanguage(language)), identifier);
        const LanguageTable::LocaleInfo info = LanguageTable::localeForIdentifier(identifier);
        QCOMPARE(info.locale, locale);
        QCOMPARE(info.language, languageCode);
        QCOMPARE(info.preferredLocale, preferred);
    }

    void wholeTables()
    {
        QCOMPARE(LanguageTable::listItems().size(), 62);
        QCOMPARE(LanguageTable::Identifiers[wdLanguageNone], 0);
        QCOMPARE(LanguageTable::Identifiers[wdNoProofing], 1024);
        QSet<std::int32_t> seen;
        for (int ordinal = 0; ordinal < LanguageTable::Count; ++ordinal) {
            const std::int32_t id = LanguageTable::Identifiers[ordinal];
            QVERIFY2(!seen.contains(id), qPrintable(QStringLiteral("identifier %1 listed twice").arg(id)));
            seen.insert(id);
            // Every language of the list can be asked for data.
            if (ordinal >= 2)
                QVERIFY2(!LanguageTable::localeForIdentifier(id).locale.isEmpty(),
                         qPrintable(QStringLiteral("no locale for identifier %1").arg(id)));
        }
        for (int i = 0; i < LanguageTable::listItems().size(); ++i)
            QCOMPARE(LanguageTable::listIndexForName(LanguageTable::listItems().at(i)), i);
    }

    void identifierWrapsLikeAByte_data()
    {
        QTest::addColumn<int>("ordinal");
        QTest::addColumn<int>("identifier");

        QTest::newRow("0") << 0 << 0;
        QTest::newRow("1") << 1 << 1024;
        QTest::newRow("63") << 63 << 2064;
        QTest::newRow("64 wraps to 0") << 64 << 0;
        QTest::newRow("65 wraps to 1") << 65 << 1024;
        QTest::newRow("71 wraps to English US") << 71 << 1033;
        QTest::newRow("255") << 255 << 2064;
    }
    void identifierWrapsLikeAByte()
    {
        QFETCH(int, ordinal);
        QFETCH(int, identifier);
        QCOMPARE(LanguageTable::identifier(TSpellCheckLanguage(ordinal)), identifier);
    }

    void languageForListIndex_data()
    {
        QTest::addColumn<int>("listIndex");
        QTest::addColumn<int>("ordinal");

        QTest::newRow("no selection") << -1 << 1;
        QTest::newRow("first") << 0 << 2;
        QTest::newRow("last") << 61 << 63;
        QTest::newRow("past the list") << 62 << 64;
        QTest::newRow("253") << 253 << 255;
        QTest::newRow("254 wraps to 0") << 254 << 0;
        QTest::newRow("-2 wraps to 0") << -2 << 0;
        QTest::newRow("-3 wraps to 255") << -3 << 255;
    }
    void languageForListIndex()
    {
        QFETCH(int, listIndex);
        QFETCH(int, ordinal);
        QCOMPARE(int(LanguageTable::languageForListIndex(listIndex)), ordinal);
    }

    void listIndexForName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("listIndex");

        QTest::newRow("as listed") << "Russian " << 23;
        QTest::newRow("trimmed") << "Russian" << 23;
        QTest::newRow("other case") << "rUSSIAN" << 23;
        QTest::newRow("padded") << "  english us\t" << 5;
        QTest::newRow("punctuation as listed, other case") << "greek," << 21;
        QTest::newRow("inner spaces count") << "EnglishUS" << -1;
        QTest::newRow("no prefix match") << "English" << -1;
        QTest::newRow("empty") << "" << -1;
        QTest::newRow("unknown") << "Klingon" << -1;
    }
    void listIndexForName()
    {
        QFETCH(QString, name);
        QFETCH(int, listIndex);
        QCOMPARE(LanguageTable::listIndexForName(name), listIndex);
    }

    void noLocaleForNonLanguages_data()
    {
        QTest::addColumn<int>("identifier");
        QTest::newRow("language none") << 0;
        QTest::newRow("no proofing") << 1024;
        QTest::newRow("unknown") << 9999;
        QTest::newRow("negative") << -1033;
    }
    void noLocaleForNonLanguages()
    {
        QFETCH(int, identifier);
        const LanguageTable::LocaleInfo info = LanguageTable::localeForIdentifier(identifier);
        QVERIFY(info.locale.isEmpty());
        QVERIFY(info.language.isEmpty());
        QVERIFY(info.preferredLocale.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestLanguageTable)
#include "test_languagetable.moc"
