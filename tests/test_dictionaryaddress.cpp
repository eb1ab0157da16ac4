#include "info/DictionaryAddress.h"
#include "thesaurus/LanguageTable.h"

#include <QSet>
#include <QTest>
#include <QUrl>
#include <QUrlQuery>

using namespace Qt::StringLiterals;

namespace {

const QString Base = u"http://dictionary.example"_s;

} // namespace

class TestDictionaryAddress : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void languageCode_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("code");
        // The site's codes are the names' first letters, not standard codes.
        QTest::newRow("German") << u"German"_s << u"ge"_s;
        QTest::newRow("English US") << u"English US"_s << u"en"_s;
        QTest::newRow("trailing comma") << u"Greek,"_s << u"gr"_s;
        QTest::newRow("trailing blank") << u"Russian "_s << u"ru"_s;
        QTest::newRow("Swiss German") << u"Swiss German"_s << u"sw"_s;
        QTest::newRow("Swedish") << u"Swedish"_s << u"sw"_s;
        QTest::newRow("SwissFrench") << u"SwissFrench"_s << u"sw"_s;
        QTest::newRow("Swiss Italian") << u"Swiss Italian"_s << u"sw"_s;
        QTest::newRow("Icelandic") << u"Icelandic"_s << u"ic"_s;
        QTest::newRow("Belgian French") << u"Belgian French"_s << u"be"_s;
        QTest::newRow("Belgian Dutch") << u"Belgian Dutch"_s << u"be"_s;
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("one character") << u"X"_s << u"x"_s;
        QTest::newRow("second character upper") << u"aB"_s << u"ab"_s;
        // Only A to Z change: no locale rules.
        QTest::newRow("non-ASCII capitals stay") << u"ÄÖsterreich"_s << u"ÄÖ"_s;
        QTest::newRow("dotted capital I stays") << u"\u0130stanbul"_s << u"\u0130s"_s;
        QTest::newRow("digits and signs") << u"1,x"_s << u"1,"_s;
    }

    void languageCode()
    {
        QFETCH(QString, item);
        QFETCH(QString, code);
        QCOMPARE(DictionaryAddress::languageCode(item), code);
    }

    void everyListItemHasItsCode()
    {
        const QHash<QString, QStringList> byCode = {
            {u"da"_s, {u"Danish"_s}},
            {u"ge"_s, {u"German"_s}},
            {u"sw"_s, {u"Swiss German"_s, u"Swedish"_s, u"SwissFrench"_s, u"Swiss Italian"_s}},
            {u"en"_s,
             {u"English AUS"_s, u"English UK"_s, u"English US"_s, u"English Canadian"_s, u"English NewZealand"_s,
              u"English SouthAfrica"_s}},
            {u"sp"_s, {u"Spanish"_s, u"Spanish Modern Sort"_s}},
            {u"fr"_s, {u"French"_s, u"FrenchCanadian"_s}},
            {u"it"_s, {u"Italian"_s}},
            {u"du"_s, {u"Dutch"_s}},
            {u"no"_s, {u"Norwegian Bokmol"_s, u"Norwegian Nynorsk"_s}},
            {u"br"_s, {u"Brazilian Portuguese"_s}},
            {u"po"_s, {u"Portuguese"_s, u"Polish,"_s}},
            {u"fi"_s, {u"Finnish"_s}},
            {u"ca"_s, {u"Catalan"_s}},
            {u"gr"_s, {u"Greek,"_s}},
            {u"tu"_s, {u"Turkish"_s}},
            {u"ru"_s, {u"Russian "_s}},
            {u"cz"_s, {u"Czech"_s}},
            {u"hu"_s, {u"Hungarian"_s}},
            {u"sl"_s, {u"Slovenian"_s, u"Slovak"_s}},
            {u"ba"_s, {u"Basque"_s}},
            {u"ma"_s, {u"Malaysian"_s, u"Macedonian"_s}},
            {u"ja"_s, {u"Japanese"_s}},
            {u"ko"_s, {u"Korean"_s}},
            {u"si"_s, {u"SimplifiedChinese"_s}},
            {u"tr"_s, {u"TraditionalChinese"_s}},
            {u"se"_s, {u"Sesotho"_s, u"Serbian Latin"_s, u"Serbian Cyrillic"_s}},
            {u"ts"_s, {u"Tsonga"_s, u"Tswana"_s}},
            {u"ve"_s, {u"Venda"_s}},
            {u"xh"_s, {u"Xhosa"_s}},
            {u"zu"_s, {u"Zulu"_s}},
            {u"af"_s, {u"Afrikaans"_s}},
            {u"ar"_s, {u"Arabic"_s}},
            {u"he"_s, {u"Hebrew"_s}},
            {u"fa"_s, {u"Farsi"_s}},
            {u"ro"_s, {u"Romanian"_s}},
            {u"cr"_s, {u"Croatian"_s}},
            {u"uk"_s, {u"Ukrainian"_s}},
            {u"by"_s, {u"Byelorussian"_s}},
            {u"es"_s, {u"Estonian"_s}},
            {u"la"_s, {u"Latvian"_s}},
            {u"ic"_s, {u"Icelandic"_s}},
            {u"be"_s, {u"Belgian French"_s, u"Belgian Dutch"_s}},
            {u"bu"_s, {u"Bulgarian"_s}},
            {u"me"_s, {u"Mexican Spanish"_s}},
        };
        QHash<QString, QString> expected;
        for (auto it = byCode.cbegin(); it != byCode.cend(); ++it) {
            for (const QString &name : it.value())
                expected.insert(name, it.key());
        }

        const QStringList &items = LanguageTable::listItems();
        QCOMPARE(items.size(), 62);
        QSet<QString> codes;
        for (const QString &item : items) {
            QVERIFY2(expected.contains(item), qPrintable(item));
            QCOMPARE(DictionaryAddress::languageCode(item), expected.value(item));
            codes.insert(DictionaryAddress::languageCode(item));
        }
        QCOMPARE(codes.size(), 44);
    }

    void address_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("query");
        QTest::newRow("plain") << u"bright"_s << u"English US"_s << u"word=bright&lang=en"_s;
        QTest::newRow("letter case kept") << u"Bright"_s << u"German"_s << u"word=Bright&lang=ge"_s;
        // The word and the code are query values: signs that end or split a value are escaped.
        QTest::newRow("blank") << u"ice cream"_s << u"English UK"_s << u"word=ice%20cream&lang=en"_s;
        QTest::newRow("ampersand") << u"rock&roll"_s << u"English UK"_s << u"word=rock%26roll&lang=en"_s;
        QTest::newRow("number sign") << u"C#"_s << u"English UK"_s << u"word=C%23&lang=en"_s;
        QTest::newRow("plus") << u"a+b"_s << u"English UK"_s << u"word=a%2Bb&lang=en"_s;
        QTest::newRow("equals") << u"x=y"_s << u"English UK"_s << u"word=x%3Dy&lang=en"_s;
        QTest::newRow("apostrophe") << u"o'clock"_s << u"English UK"_s << u"word=o%27clock&lang=en"_s;
        QTest::newRow("percent") << u"100%"_s << u"English UK"_s << u"word=100%25&lang=en"_s;
        QTest::newRow("unreserved signs stay")
            << u"well-known_a.b~c"_s << u"English UK"_s << u"word=well-known_a.b~c&lang=en"_s;
        QTest::newRow("non-ASCII as UTF-8") << u"Straße"_s << u"German"_s << u"word=Stra%C3%9Fe&lang=ge"_s;
        QTest::newRow("accented") << u"café"_s << u"French"_s << u"word=caf%C3%A9&lang=fr"_s;
        QTest::newRow("Cyrillic") << u"дом"_s << u"Russian "_s << u"word=%D0%B4%D0%BE%D0%BC&lang=ru"_s;
        QTest::newRow("empty word") << QString() << u"English US"_s << u"word=&lang=en"_s;
        QTest::newRow("no language selected") << u"bright"_s << QString() << u"word=bright&lang="_s;
        QTest::newRow("odd one-character item") << u"bright"_s << u"&"_s << u"word=bright&lang=%26"_s;
    }

    void address()
    {
        QFETCH(QString, word);
        QFETCH(QString, item);
        QFETCH(QString, query);
        const QString address = DictionaryAddress::build(Base, word, item);
        QCOMPARE(address, Base + u"/dictionaries/lookup.php?"_s + query);

        // Read back as the page reads it, the values are exactly the word and the code.
        const QUrl url(address, QUrl::StrictMode);
        QVERIFY2(url.isValid(), qPrintable(url.errorString()));
        QCOMPARE(url.path(), u"/dictionaries/lookup.php"_s);
        QVERIFY(!url.hasFragment());
        const QUrlQuery fields(url);
        QCOMPARE(fields.queryItems().size(), 2);
        QCOMPARE(fields.queryItemValue(u"word"_s, QUrl::FullyDecoded), word);
        QCOMPARE(fields.queryItemValue(u"lang"_s, QUrl::FullyDecoded), DictionaryAddress::languageCode(item));
    }
};

QTEST_GUILESS_MAIN(TestDictionaryAddress)
#include "test_dictionaryaddress.moc"
