#include "TestWords.h"

#include "common/AppError.h"
#include "thesaurus/LanguageTable.h"
#include "thesaurus/MythesSource.h"
#include "thesaurus/ThesaurusCatalog.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

#include <sys/stat.h>
#include <unistd.h>

using TestWords::words;

namespace {

const QString DataDir = QStringLiteral(VERBARIUM_TEST_DATA);

// "a b | c" -> folder A holds a and b, folder B holds c
QStringList folders(const char *text)
{
    QStringList result;
    for (const QString &folder : QString::fromUtf8(text).split(QLatin1Char('|')))
        result.append(folder.trimmed());
    return result;
}

bool touch(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly);
}

// Folders A, B, ... under a temporary folder, each "name name!" a list of file
// base names: an .idx and a .dat for each, only the .idx for a name ending in '!'.
// A folder written "missing" is put on the path but never made.
QStringList makeFolders(const QTemporaryDir &root, const QStringList &folders)
{
    QStringList path;
    for (int i = 0; i < folders.size(); ++i) {
        const QString folder = root.filePath(QString(QLatin1Char('A' + i)));
        path.append(folder);
        if (folders[i] == u"missing")
            continue;
        QDir().mkpath(folder);
        for (QString name : folders[i].split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const bool idxOnly = name.endsWith(QLatin1Char('!'));
            if (idxOnly)
                name.chop(1);
            touch(folder + QLatin1Char('/') + name + QStringLiteral(".idx"));
            if (!idxOnly)
                touch(folder + QLatin1Char('/') + name + QStringLiteral(".dat"));
        }
    }
    return path;
}

// "A/th_en_US_v2" for a found pair, "" for none.
QString shortName(const QTemporaryDir &root, const ThesaurusCatalog::DataFiles &files)
{
    if (!files.isValid())
        return {};
    const QString relative = QDir(root.path()).relativeFilePath(files.idxPath);
    return relative.chopped(4);
}

ThesaurusCatalog::DataFiles findFor(const ThesaurusCatalog &catalog, std::int32_t identifier)
{
    const LanguageTable::LocaleInfo info = LanguageTable::localeForIdentifier(identifier);
    return catalog.find(info.locale, info.language, info.preferredLocale);
}

} // namespace

class TestThesaurusCatalog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void localeFromBaseName_data()
    {
        QTest::addColumn<QString>("baseName");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("version");

        QTest::newRow("no version") << "th_da_DK"
                                    << "da_DK" << 0;
        QTest::newRow("no version, pt_BR") << "th_pt_BR"
                                           << "pt_BR" << 0;
        QTest::newRow("version 2") << "th_de_DE_v2"
                                   << "de_DE" << 2;
        QTest::newRow("version 3") << "th_ca_ES_v3"
                                   << "ca_ES" << 3;
        QTest::newRow("two digits") << "th_de_DE_v12"
                                    << "de_DE" << 12;
        QTest::newRow("bare language") << "thes_fr"
                                       << "fr" << 0;
        QTest::newRow("three-letter language") << "th_gug_PY_v2"
                                               << "gug_PY" << 2;
        QTest::newRow("script") << "th_sr_Latn_RS_v2"
                                << "sr_Latn_RS" << 2;
        QTest::newRow("hyphenation file") << "hyph_en_US"
                                          << "" << 0;
        QTest::newRow("spelling file") << "en_US"
                                       << "" << 0;
        QTest::newRow("index generator") << "th_gen_idx"
                                         << "" << 0;
        QTest::newRow("upper-case language") << "th_EN_US_v2"
                                             << "" << 0;
        QTest::newRow("bad version") << "th_en_US_vx"
                                     << "" << 0;
        QTest::newRow("nothing after th_") << "th_"
                                           << "" << 0;
        QTest::newRow("new edition") << "th_en_US_v2_new"
                                     << "en_US" << 2;
        QTest::newRow("new edition, no version") << "th_en_US_new"
                                                 << "en_US" << 0;
        QTest::newRow("script without region") << "th_sr_Latn_v2"
                                               << "sr_Latn" << 2;
        QTest::newRow("bare language, version") << "thes_fr_v3"
                                                << "fr" << 3;
        QTest::newRow("four-letter language") << "th_engl_US"
                                              << "" << 0;
        QTest::newRow("three-letter region") << "th_en_USA"
                                             << "" << 0;
        QTest::newRow("script of five letters") << "th_sr_Latnx_RS"
                                                << "" << 0;
        QTest::newRow("version without digits") << "th_en_US_v"
                                                << "" << 0;
        QTest::newRow("something after the version") << "th_en_US_v2.bak"
                                                     << "" << 0;
        QTest::newRow("one-letter language") << "th_e_US"
                                             << "" << 0;
        QTest::newRow("a line break at the end") << "th_en_US_v2\n"
                                                 << "" << 0;
    }
    void localeFromBaseName()
    {
        QFETCH(QString, baseName);
        QFETCH(QString, locale);
        QFETCH(int, version);

        int found = -1;
        QCOMPARE(ThesaurusCatalog::localeFromBaseName(baseName, &found), locale);
        if (!locale.isEmpty())
            QCOMPARE(found, version);
    }

    void find_data()
    {
        QTest::addColumn<QStringList>("folders");
        QTest::addColumn<int>("identifier");
        QTest::addColumn<QString>("expected");

        QTest::newRow("exact locale") << folders("th_en_US_v2 th_en_GB_v2") << 2057 << "A/th_en_GB_v2";
        QTest::newRow("en_GB falls back to en_US, not the first region")
            << folders("th_en_AU_v2 th_en_US_v2") << 2057 << "A/th_en_US_v2";
        QTest::newRow("it_CH falls back to it_IT") << folders("th_it_IT_v2 th_de_DE_v2") << 2064 << "A/th_it_IT_v2";
        QTest::newRow("no data for nl") << folders("th_en_US_v2 th_de_DE_v2") << 1043 << "";
        QTest::newRow("bare language file") << folders("thes_fr") << 3084 << "A/thes_fr";
        QTest::newRow("preferred locale before the bare language")
            << folders("thes_fr th_fr_FR_v2") << 3084 << "A/th_fr_FR_v2";
        QTest::newRow("bare language before another region") << folders("th_fr_BE_v2 thes_fr") << 3084 << "A/thes_fr";
        QTest::newRow("another region as the last resort") << folders("th_de_CH_v2") << 1031 << "A/th_de_CH_v2";
        QTest::newRow("the same other region every time")
            << folders("th_fr_CA_v2 th_fr_BE_v2 th_fr_LU_v2") << 4108 << "A/th_fr_BE_v2";
        QTest::newRow("Latin script is no stand-in for Cyrillic") << folders("th_sr_Latn_RS_v2") << 3098 << "";
        QTest::newRow("Cyrillic is no stand-in for Latin script") << folders("th_sr_RS_v2") << 2074 << "";
        QTest::newRow("another region in the same script") << folders("th_sr_Latn_ME_v2") << 2074 << "A/th_sr_Latn_ME_v2";
        QTest::newRow("no language, no data") << folders("th_en_US_v2") << 1024 << "";
        QTest::newRow("other files ignored") << folders("hyph_en_US en_US th_en_US_v2.bak") << 1033 << "";

        QTest::newRow("highest version in a folder") << folders("th_ca_ES_v2 th_ca_ES_v3") << 1027 << "A/th_ca_ES_v3";
        QTest::newRow("a version beats none") << folders("th_da_DK th_da_DK_v2") << 1030 << "A/th_da_DK_v2";
        QTest::newRow("versions compare as numbers") << folders("th_de_DE_v9 th_de_DE_v10") << 1031 << "A/th_de_DE_v10";
        QTest::newRow("an index without its data is skipped")
            << folders("th_ca_ES_v3! th_ca_ES_v2") << 1027 << "A/th_ca_ES_v2";

        QTest::newRow("earlier folder wins over a higher version")
            << folders("th_ca_ES_v2 | th_ca_ES_v3") << 1027 << "A/th_ca_ES_v2";
        QTest::newRow("later folder when the earlier has only an index")
            << folders("th_ca_ES_v3! | th_ca_ES_v2") << 1027 << "B/th_ca_ES_v2";
        QTest::newRow("exact locale in a later folder beats a stand-in")
            << folders("th_en_US_v2 | th_en_GB") << 2057 << "B/th_en_GB";
        QTest::newRow("missing folders are passed over") << folders("missing | th_en_US_v2") << 1033 << "B/th_en_US_v2";
    }
    void find()
    {
        QFETCH(QStringList, folders);
        QFETCH(int, identifier);
        QFETCH(QString, expected);

        QTemporaryDir root;
        QVERIFY(root.isValid());
        const ThesaurusCatalog catalog(makeFolders(root, folders));
        const ThesaurusCatalog::DataFiles files = findFor(catalog, identifier);
        QCOMPARE(shortName(root, files), expected);
        if (files.isValid()) {
            QCOMPARE(files.datPath, files.idxPath.chopped(4) + QStringLiteral(".dat"));
            QVERIFY(QFileInfo(files.idxPath).isAbsolute());
            QCOMPARE(files.locale, ThesaurusCatalog::localeFromBaseName(QFileInfo(files.idxPath).completeBaseName()));
        }
    }

    void localesOfTheFixtures()
    {
        const ThesaurusCatalog catalog({DataDir + QStringLiteral("/thesaurus"), DataDir + QStringLiteral("/encodings")});
        QVERIFY(!catalog.isEmpty());
        QCOMPARE(catalog.locales(), words("cs_CZ, de_DE, en_US, es_ES, fr_FR, it_IT, ru_RU, uk_UA"));

        QTemporaryDir empty;
        QVERIFY(ThesaurusCatalog({empty.path()}).isEmpty());
        QVERIFY(ThesaurusCatalog(QStringList{}).isEmpty());
    }

    void defaultSearchPath_data()
    {
        QTest::addColumn<QByteArray>("ownPath");
        QTest::addColumn<QByteArray>("dataHome");
        QTest::addColumn<QByteArray>("dataDirs");
        QTest::addColumn<QStringList>("expected");
        const QString home = QDir::homePath();
        const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/thesaurus");
        const QStringList system{QStringLiteral("/usr/local/share/mythes"), QStringLiteral("/usr/share/mythes")};

        // Unset XDG variables take their defaults, whose mythes folders are the system's.
        QTest::newRow("nothing set") << QByteArray() << QByteArray() << QByteArray()
                                     << QStringList{home + QStringLiteral("/.local/share/verbarium-pro/thesaurus")}
                                            + system + QStringList{beside};
        QTest::newRow("own path first")
            << QByteArray("/one:/two::/three") << QByteArray("/home/u/data") << QByteArray("/opt/a:/opt/b")
            << words("/one, /two, /three, /home/u/data/verbarium-pro/thesaurus, /opt/a/mythes, /opt/b/mythes")
                   + QStringList{beside} + system;
        // XDG asks that relative entries be ignored.
        QTest::newRow("relative entries ignored")
            << QByteArray() << QByteArray("data") << QByteArray("rel:/opt/a/")
            << QStringList{home + QStringLiteral("/.local/share/verbarium-pro/thesaurus"),
                           QStringLiteral("/opt/a/mythes"), beside}
                   + system;
        QTest::newRow("a folder named twice keeps its first place")
            << QByteArray("/usr/share/mythes") << QByteArray("/d") << QByteArray("/usr/share:/opt/a")
            << words("/usr/share/mythes, /d/verbarium-pro/thesaurus, /opt/a/mythes") + QStringList{beside, system.front()};
    }

    void defaultSearchPath()
    {
        QFETCH(QByteArray, ownPath);
        QFETCH(QByteArray, dataHome);
        QFETCH(QByteArray, dataDirs);
        QFETCH(QStringList, expected);
        const char *names[] = {"VERBARIUM_THESAURUS_PATH", "XDG_DATA_HOME", "XDG_DATA_DIRS"};
        QList<std::optional<QByteArray>> saved;
        for (const char *name : names)
            saved += qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt;
        const auto restore = qScopeGuard([&] {
            for (int i = 0; i < 3; ++i)
                saved[i] ? void(qputenv(names[i], *saved[i])) : void(qunsetenv(names[i]));
        });
        const QByteArray values[] = {ownPath, dataHome, dataDirs};
        for (int i = 0; i < 3; ++i)
            values[i].isNull() ? void(qunsetenv(names[i])) : void(qputenv(names[i], values[i]));

        QCOMPARE(ThesaurusCatalog::defaultSearchPath(), expected);

        // Hunspell dictionaries are looked for in the same places, in folders of their own.
        if (ownPath.isNull()) {
            QStringList hunspell;
            for (QString folder : expected)
                hunspell += folder.replace(QStringLiteral("/mythes"), QStringLiteral("/hunspell"))
                                .replace(QStringLiteral("/thesaurus"), QStringLiteral("/hunspell"));
            QCOMPARE(ThesaurusCatalog::defaultHunspellSearchPath(), hunspell);
        }
    }

    // Whatever stands under an index's name and cannot be read, or an index whose data
    // file is missing or leads nowhere, is passed over for the next version or folder,
    // and named with the cause ("%1" stands for the temporary folder).
    void passesOverUnreadableIndexes_data()
    {
        QTest::addColumn<QString>("standing"); // what th_ca_ES_v3.idx or .dat is
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("named");  // the file passed over, in A/
        QTest::addColumn<QString>("reason"); // empty: nothing passed over

        const QString idx = QStringLiteral("th_ca_ES_v3.idx");
        const QString dat = QStringLiteral("th_ca_ES_v3.dat");
        QTest::newRow("regular file") << "file"
                                      << "A/th_ca_ES_v3" << QString() << "";
        QTest::newRow("link to a regular file") << "link to file"
                                                << "A/th_ca_ES_v3" << QString() << "";
        QTest::newRow("FIFO") << "fifo"
                              << "A/th_ca_ES_v2" << idx << "it is not a regular file";
        QTest::newRow("folder") << "folder"
                                << "A/th_ca_ES_v2" << idx << "it is not a regular file";
        QTest::newRow("link to nothing") << "dangling link"
                                         << "A/th_ca_ES_v2" << idx
                                         << "it is a link to \"%1/nothing\", which does not exist";
        QTest::newRow("link to itself") << "link loop"
                                        << "A/th_ca_ES_v2" << idx << "its symbolic links go round in a loop";
        QTest::newRow("link to a folder") << "link to folder"
                                          << "A/th_ca_ES_v2" << idx << "it is not a regular file";
        QTest::newRow("no permission to read") << "unreadable"
                                               << "A/th_ca_ES_v2" << idx << "permission denied";
        QTest::newRow("data file missing")
            << "dat missing"
            << "A/th_ca_ES_v2" << dat << "it is missing, though its index th_ca_ES_v3.idx is there";
        QTest::newRow("data file a link to nothing")
            << "dat dangling"
            << "A/th_ca_ES_v2" << dat << "it is a link to \"%1/nothing\", which does not exist";
        QTest::newRow("data file a link to itself") << "dat loop"
                                                    << "A/th_ca_ES_v2" << dat << "its symbolic links go round in a loop";
    }
    void passesOverUnreadableIndexes()
    {
        QFETCH(QString, standing);
        QFETCH(QString, expected);
        QFETCH(QString, named);
        QFETCH(QString, reason);
        if (standing == u"unreadable" && ::geteuid() == 0)
            QSKIP("root reads every file");

        QTemporaryDir root;
        QVERIFY(root.isValid());
        const QStringList path = makeFolders(root, {QStringLiteral("th_ca_ES_v2 th_ca_ES_v3! other.txt!")});
        const QString idx = path[0] + QStringLiteral("/th_ca_ES_v3.idx");
        const QString target = root.filePath(QStringLiteral("target"));
        QVERIFY(touch(target));
        QVERIFY(QDir(root.path()).mkdir(QStringLiteral("folder")));
        const QString dat = path[0] + QStringLiteral("/th_ca_ES_v3.dat");
        if (standing == u"dat dangling")
            QVERIFY(QFile::link(root.filePath(QStringLiteral("nothing")), dat));
        else if (standing == u"dat loop")
            QVERIFY(QFile::link(dat, dat));
        else if (standing != u"dat missing")
            QVERIFY(touch(dat));
        if (!standing.startsWith(u"dat") && standing != u"file") {
            QVERIFY(QFile::remove(idx));
            if (standing == u"link to file")
                QVERIFY(QFile::link(target, idx));
            else if (standing == u"fifo")
                QCOMPARE(::mkfifo(QFile::encodeName(idx).constData(), 0600), 0);
            else if (standing == u"folder")
                QVERIFY(QDir().mkdir(idx));
            else if (standing == u"dangling link")
                QVERIFY(QFile::link(root.filePath(QStringLiteral("nothing")), idx));
            else if (standing == u"link loop")
                QVERIFY(QFile::link(idx, idx));
            else if (standing == u"link to folder")
                QVERIFY(QFile::link(root.filePath(QStringLiteral("folder")), idx));
            else if (standing == u"unreadable")
                QVERIFY(touch(idx) && QFile::setPermissions(idx, QFileDevice::WriteOwner));
        }

        const ThesaurusCatalog catalog(path);
        QCOMPARE(shortName(root, findFor(catalog, 1027)), expected);
        if (reason.isEmpty()) {
            QCOMPARE(catalog.unreadable().size(), 0);
        } else {
            QCOMPARE(catalog.unreadable().size(), 1);
            QCOMPARE(catalog.unreadable().at(0).path, path[0] + QLatin1Char('/') + named);
            QCOMPARE(catalog.unreadable().at(0).reason, reason.arg(root.path()));
        }
    }

    // A folder whose only pair cannot serve: the start names the file and the cause.
    void startNamesWhyNothingServes()
    {
        QTemporaryDir root;
        QVERIFY(root.isValid());
        QVERIFY(touch(root.filePath(QStringLiteral("th_en_US_v2.idx"))));
        MythesSource source({root.path()});
        try {
            source.start();
            QFAIL("start() found data without a data file");
        } catch (const AppError &error) {
            QCOMPARE(error.message(),
                     QStringLiteral("No thesaurus data was found in %1. Cannot read the thesaurus file \"%1/th_en_US_v2.dat\": "
                                    "it is missing, though its index th_en_US_v2.idx is there")
                         .arg(root.path()));
        }
    }

    void userDataIsFoundBeforeTheSystems()
    {
        // A pair dropped into the user's folder serves its locale ahead of the same locale elsewhere.
        QTemporaryDir home;
        const QString own = home.filePath(QStringLiteral("verbarium-pro/thesaurus"));
        QVERIFY(QDir().mkpath(own));
        for (const char *suffix : {".idx", ".dat"})
            QVERIFY(QFile::copy(DataDir + QStringLiteral("/thesaurus/th_en_US_v2") + QLatin1String(suffix),
                                own + QStringLiteral("/th_en_US_v2") + QLatin1String(suffix)));
        const QByteArray savedHome = qgetenv("XDG_DATA_HOME");
        const QByteArray savedOwn = qgetenv("VERBARIUM_THESAURUS_PATH");
        const auto restore = qScopeGuard([&] {
            qputenv("XDG_DATA_HOME", savedHome);
            qputenv("VERBARIUM_THESAURUS_PATH", savedOwn);
        });
        qputenv("XDG_DATA_HOME", home.path().toUtf8());
        qunsetenv("VERBARIUM_THESAURUS_PATH");
        const ThesaurusCatalog catalog;
        QCOMPARE(catalog.find(QStringLiteral("en_US"), QStringLiteral("en"), QStringLiteral("en_US")).idxPath,
                 own + QStringLiteral("/th_en_US_v2.idx"));
    }
};

class TestMythesSource : public QObject
{
    Q_OBJECT

private:
    static bool copyPair(const QString &from, const QString &toFolder)
    {
        QDir().mkpath(toFolder);
        for (const QString &suffix : {QStringLiteral(".idx"), QStringLiteral(".dat")}) {
            const QString target = toFolder + QStringLiteral("/th_en_US_v2") + suffix;
            QFile::remove(target);
            if (!QFile::copy(from + QStringLiteral("/th_en_US_v2") + suffix, target))
                return false;
        }
        return true;
    }

private Q_SLOTS:
    void startWithoutDataThrows()
    {
        QTemporaryDir empty;
        MythesSource source({empty.path(), empty.filePath(QStringLiteral("missing"))});
        QVERIFY(!source.hasData(1033));
        try {
            source.start();
            QFAIL("start() found data in an empty folder");
        } catch (const AppError &error) {
            QVERIFY2(error.message().contains(empty.path()), qPrintable(error.message()));
        }
        QVERIFY(!source.hasData(1033));
    }

    void answersByLanguage_data()
    {
        QTest::addColumn<int>("identifier");
        QTest::addColumn<bool>("found");

        QTest::newRow("English US") << 1033 << true;
        QTest::newRow("English UK from the US data") << 2057 << true;
        QTest::newRow("English AUS from the US data") << 3081 << true;
        QTest::newRow("Dutch, no data") << 1043 << false;
        QTest::newRow("no proofing") << 1024 << false;
        QTest::newRow("language none") << 0 << false;
        QTest::newRow("unknown identifier") << 12345 << false;
    }
    void answersByLanguage()
    {
        QFETCH(int, identifier);
        QFETCH(bool, found);

        MythesSource source({DataDir + QStringLiteral("/thesaurus")});
        source.start();
        QCOMPARE(source.hasData(identifier), found);
        const std::unique_ptr<SynonymInfo> info = source.synonymInfo(QStringLiteral("bright"), identifier);
        QCOMPARE(info->found(), found);
        if (!found) {
            QCOMPARE(info->meaningCount(), 0);
            return;
        }
        QCOMPARE(info->meaningCount(), 4);
        QCOMPARE(info->synonymList(1), words("brilliant, shining, vivid, smart"));
        QCOMPARE(info->synonymList(2), words("smart, clever, brilliant"));
        QCOMPARE(info->synonymList(3), QStringList{}); // antonyms only
        QCOMPARE(info->synonymList(4), words("brightly"));
        QCOMPARE(source.entry(QStringLiteral("bright"), identifier).meanings.at(2).antonyms, words("dull, dark"));
    }

    void unknownWordIsNotFound()
    {
        MythesSource source({DataDir + QStringLiteral("/thesaurus")});
        source.start();
        const std::unique_ptr<SynonymInfo> info = source.synonymInfo(QStringLiteral("zyzzyva"), 1033);
        QVERIFY(!info->found());
        QCOMPARE(info->meaningCount(), 0);
    }

    // The files are read at a language's first lookup, not at start, and a failed
    // open is tried again at the next lookup.
    void damagedDataFailsAtTheLookup()
    {
        QTemporaryDir root;
        QVERIFY(copyPair(DataDir + QStringLiteral("/damaged/unknown-encoding"), root.path()));
        MythesSource source({root.path()});
        source.start();
        QVERIFY(source.hasData(1033));
        QVERIFY(!source.synonymInfo(QStringLiteral("bright"), 1043)->found());
        for (int attempt = 0; attempt < 2; ++attempt) {
            try {
                source.synonymInfo(QStringLiteral("bright"), 1033);
                QFAIL("damaged data was read");
            } catch (const AppError &error) {
                QVERIFY2(error.message().contains(root.filePath(QStringLiteral("th_en_US_v2.dat"))),
                         qPrintable(error.message()));
            }
        }
        QVERIFY(copyPair(DataDir + QStringLiteral("/thesaurus"), root.path()));
        QVERIFY(source.synonymInfo(QStringLiteral("bright"), 1033)->found());
    }

    // Once open, a language's data stays open, and languages served by the same
    // files share it.
    void dataStaysOpen()
    {
        QTemporaryDir root;
        QVERIFY(copyPair(DataDir + QStringLiteral("/thesaurus"), root.path()));
        MythesSource source({root.path()});
        source.start();
        QVERIFY(source.synonymInfo(QStringLiteral("bright"), 1033)->found());
        QVERIFY(QFile::remove(root.filePath(QStringLiteral("th_en_US_v2.idx"))));
        QVERIFY(QFile::remove(root.filePath(QStringLiteral("th_en_US_v2.dat"))));
        QVERIFY(source.synonymInfo(QStringLiteral("morning"), 1033)->found());
        QVERIFY(source.synonymInfo(QStringLiteral("morning"), 2057)->found());
    }
};

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    int status = 0;
    {
        TestThesaurusCatalog test;
        status |= QTest::qExec(&test, argc, argv);
    }
    {
        TestMythesSource test;
        status |= QTest::qExec(&test, argc, argv);
    }
    return status;
}

#include "test_thesauruscatalog.moc"
