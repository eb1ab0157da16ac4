#include "info/SiteAddress.h"

#include <QTest>
#include <QUrl>

using namespace Qt::StringLiterals;

class TestSiteAddress : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { SiteAddress::setBaseUrlForTesting({}); }

    void reservedNeverResolving_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("reserved");
        // The names reserved never to resolve, and names under them.
        QTest::newRow("example") << u"https://example/FAQ/index.html"_s << true;
        QTest::newRow("under example") << u"https://foo.example/FAQ/index.html"_s << true;
        QTest::newRow("the default base") << u"https://verbarium-pro.example"_s << true;
        QTest::newRow("invalid") << u"http://invalid"_s << true;
        QTest::newRow("under invalid") << u"http://a.b.invalid/page"_s << true;
        QTest::newRow("under test") << u"http://x.test:8080/"_s << true;
        QTest::newRow("example.com") << u"https://example.com"_s << true;
        QTest::newRow("example.net") << u"https://example.net/x"_s << true;
        QTest::newRow("example.org") << u"https://example.org"_s << true;
        QTest::newRow("www.example.com") << u"https://www.example.com/FAQ/"_s << true;
        QTest::newRow("capitals") << u"https://WWW.Example.ORG"_s << true;
        QTest::newRow("root's dot") << u"https://foo.example./"_s << true;
        // Names that only look like them, and this machine.
        QTest::newRow("example.org.uk") << u"https://example.org.uk"_s << false;
        QTest::newRow("notexample.com") << u"https://notexample.com"_s << false;
        QTest::newRow("example as a label") << u"https://example.de"_s << false;
        QTest::newRow("contest") << u"https://contest"_s << false;
        QTest::newRow("test as a label") << u"https://test.de"_s << false;
        QTest::newRow("localhost") << u"http://localhost:8080/FAQ/index.html"_s << false;
        QTest::newRow("loopback address") << u"http://127.0.0.1:9"_s << false;
        QTest::newRow("no host") << u"file:///etc/hostname"_s << false;
        QTest::newRow("empty") << QString() << false;
    }

    void reservedNeverResolving()
    {
        QFETCH(QString, address);
        QFETCH(bool, reserved);
        QCOMPARE(SiteAddress::isReservedNeverResolving(QUrl(address)), reserved);
    }

    // Whether pages can load follows the base address, the one set for tests too.
    void pagesCanLoad()
    {
        SiteAddress::setBaseUrlForTesting(u"https://www.example.com"_s);
        QVERIFY(!SiteAddress::pagesCanLoad());
        SiteAddress::setBaseUrlForTesting(u"http://127.0.0.1:9"_s);
        QVERIFY(SiteAddress::pagesCanLoad());
    }
};

QTEST_GUILESS_MAIN(TestSiteAddress)
#include "test_siteaddress.moc"
