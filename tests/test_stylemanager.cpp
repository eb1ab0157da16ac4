#include "common/AppError.h"
#include "settings/TStyleManager.h"
#include "settings/Theme.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStyle>
#include <QStyleOption>
#include <QTimer>
#include <QVBoxLayout>
#include <QtTest>

#include <optional>

namespace {

const QStringList kThemeNames = {
    QStringLiteral("Amakrits"),
    QStringLiteral("Amethyst Kamri"),
    QStringLiteral("Aqua Graphite"),
    QStringLiteral("Aqua Light Slate"),
    QStringLiteral("Auric"),
    QStringLiteral("Carbon"),
    QStringLiteral("Charcoal Dark Slate"),
    QStringLiteral("Cobalt XEMedia"),
    QStringLiteral("Cyan Dusk"),
    QStringLiteral("Cyan Night"),
    QStringLiteral("Emerald Light Slate"),
    QStringLiteral("Glossy"),
    QStringLiteral("Golden Graphite"),
    QStringLiteral("Iceberg Classico"),
    QStringLiteral("Lavender Classico"),
    QStringLiteral("Light"),
    QStringLiteral("Luna"),
    QStringLiteral("Metropolis UI Black"),
    QStringLiteral("Metropolis UI Blue"),
    QStringLiteral("Metropolis UI Dark"),
    QStringLiteral("Metropolis UI Green"),
    QStringLiteral("Obsidian"),
    QStringLiteral("Ruby Graphite"),
    QStringLiteral("Sapphire Kamri"),
    QStringLiteral("Silver"),
    QStringLiteral("Slate Classico"),
    QStringLiteral("Smokey Quartz Kamri"),
    QStringLiteral("TabletDark"),
    QStringLiteral("Turquoise Gray"),
};

QStringList themeFiles()
{
    return QDir(QStringLiteral(":/themes")).entryList({QStringLiteral("*.json")}, QDir::Files);
}

Theme loadTheme(const QString &file)
{
    return Theme::fromFile(QDir(QStringLiteral(":/themes")).filePath(file));
}

// A minimal valid theme; each error case below breaks one thing in it.
QByteArray themeJson(const QString &patch = QString())
{
    QString json = QStringLiteral(R"({
        "name": "Test",
        "palette": {
            "Window": "#ece9d8", "WindowText": "#000000", "Base": "#ffffff",
            "AlternateBase": "#f3f6fb", "Text": "#000000", "Button": "#f4f3ee",
            "ButtonText": "#000000", "BrightText": "#ffffff", "Highlight": "#316ac5",
            "HighlightedText": "#ffffff", "ToolTipBase": "#ffffe1", "ToolTipText": "#000000",
            "PlaceholderText": "#808080", "Link": "#316ac5", "LinkVisited": "#5835b2"
        },
        "disabled": { "WindowText": "#828077", "Text": "#8c8c8c", "ButtonText": "#868683" },
        "styleSheet": ["QPushButton { color: #000000; }", "QTabBar::tab { color: #000000; }"]
    })");
    if (!patch.isEmpty()) {
        const QStringList parts = patch.split(QStringLiteral(" => "));
        json.replace(parts.at(0), parts.at(1));
    }
    return json.toUtf8();
}

struct Rule {
    QString selector;
    std::optional<QColor> color;
    QList<QColor> backgrounds; // every stop of a gradient counts
};

QColor resolveColour(const QString &token, const QPalette &palette)
{
    if (token.startsWith(QLatin1Char('#')))
        return QColor::fromString(token);
    // palette(role), as the sheets may name a role of the theme's own palette
    static const QMetaEnum roles = QMetaEnum::fromType<QPalette::ColorRole>();
    for (int i = 0; i < roles.keyCount(); ++i) {
        if (QString::fromLatin1(roles.key(i)).compare(token, Qt::CaseInsensitive) == 0)
            return palette.color(QPalette::Active, QPalette::ColorRole(roles.value(i)));
    }
    return {};
}

QList<QColor> coloursIn(const QString &value, const QPalette &palette)
{
    static const QRegularExpression colourToken(QStringLiteral(R"((#[0-9a-fA-F]{3,8})\b|palette\((\w+)\))"));
    QList<QColor> colours;
    for (const auto &m : colourToken.globalMatch(value)) {
        const QString token = m.captured(1).isEmpty() ? m.captured(2) : m.captured(1);
        colours << resolveColour(token, palette);
    }
    return colours;
}

QList<Rule> parseSheet(const QString &sheet, const QPalette &palette)
{
    static const QRegularExpression ruleRe(QStringLiteral(R"(([^{}]+)\{([^}]*)\})"));
    QList<Rule> rules;
    for (const auto &m : ruleRe.globalMatch(sheet)) {
        Rule rule;
        rule.selector = m.captured(1).trimmed();
        for (const QString &decl : m.captured(2).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const qsizetype colon = decl.indexOf(QLatin1Char(':'));
            if (colon < 0)
                continue;
            const QString property = decl.left(colon).trimmed();
            const QString value = decl.mid(colon + 1).trimmed();
            if (property == u"color") {
                const QList<QColor> c = coloursIn(value, palette);
                rule.color = c.isEmpty() ? QColor() : c.first();
            } else if (property == u"background" || property == u"background-color") {
                rule.backgrounds << coloursIn(value, palette);
            }
        }
        rules << rule;
    }
    return rules;
}

} // namespace

class TestStyleManager : public QObject
{
    Q_OBJECT

private:
    QString m_nativeStyle;
    QPalette m_nativePalette;

private Q_SLOTS:
    void initTestCase()
    {
        // A native look that differs from our Fusion, so a restore that only
        // happened to match would be caught.
        QVERIFY(QApplication::setStyle(QStringLiteral("Windows")));
        m_nativeStyle = QApplication::style()->name();
        m_nativePalette = QApplication::palette();
        QCOMPARE(TStyleManager::ActiveStyleName(), QStringLiteral("Windows"));
    }

    // The first test to touch the themes. A look asked for by name before the list
    // of names is read comes from its own file alone: it is the very look that the
    // list holds, and the list is whole afterwards.
    void lookByNameBeforeTheList()
    {
        QVERIFY(TStyleManager::TrySetStyle(QStringLiteral("aqua LIGHT slate"), false));
        QCOMPARE(TStyleManager::ActiveStyleName(), QStringLiteral("Aqua Light Slate"));
        const Theme theme = loadTheme(QStringLiteral("aqualightslate.json"));
        QCOMPARE(qApp->styleSheet(), theme.styleSheet);
        QCOMPARE(QApplication::palette().color(QPalette::Window), theme.palette.color(QPalette::Window));
        QCOMPARE(TStyleManager::tierLook(1), theme.tiers[1]);

        const QStringList names = TStyleManager::StyleNames();
        QCOMPARE(names.size(), kThemeNames.size() + 1);
        QCOMPARE(names.count(QStringLiteral("Aqua Light Slate")), 1);
        TStyleManager::SetStyle(QStringLiteral("Windows"));
        QCOMPARE(QApplication::style()->name(), m_nativeStyle);
    }

    void styleNames()
    {
        const QStringList names = TStyleManager::StyleNames();
        QCOMPARE(names.size(), 30);
        QCOMPARE(names.first(), QStringLiteral("Windows"));

        QStringList sorted = names;
        sorted.sort(Qt::CaseInsensitive);
        QCOMPARE(sorted.first(), QStringLiteral("Amakrits"));
        QCOMPARE(sorted.last(), QStringLiteral("Windows"));

        QStringList folded;
        for (const QString &n : names)
            folded << n.toLower();
        folded.removeDuplicates();
        QCOMPARE(folded.size(), names.size());

        QStringList expected = kThemeNames;
        expected.prepend(QStringLiteral("Windows"));
        expected.sort();
        sorted.sort();
        QCOMPARE(sorted, expected);
    }

    void themeFile_data()
    {
        QTest::addColumn<QString>("file");
        const QStringList files = themeFiles();
        QCOMPARE(files.size(), kThemeNames.size());
        for (const QString &file : files)
            QTest::newRow(qPrintable(file)) << file;
    }

    void themeFile()
    {
        QFETCH(QString, file);
        const Theme theme = loadTheme(file);
        QVERIFY2(kThemeNames.contains(theme.name), qPrintable(theme.name));
        QCOMPARE(QFileInfo(file).completeBaseName(), theme.name.toLower().remove(QLatin1Char(' ')));
        QVERIFY(!theme.styleSheet.isEmpty());
        // Result-list tiers are coloured by the program; a sheet must not fight it.
        QVERIFY(!theme.styleSheet.contains(QStringLiteral("QListView")));
        QVERIFY(!theme.styleSheet.contains(QStringLiteral("QListWidget")));
    }

    void contrast_data()
    {
        QTest::addColumn<QString>("file");
        for (const QString &file : themeFiles())
            QTest::newRow(qPrintable(file)) << file;
    }

    void contrast()
    {
        QFETCH(QString, file);
        const Theme theme = loadTheme(file);
        const QPalette &p = theme.palette;
        using R = QPalette::ColorRole;
        struct Pair {
            R text;
            R ground;
            double minimum;
        };
        const Pair pairs[] = {
            {R::WindowText, R::Window, 4.5},
            {R::Text, R::Base, 4.5},
            {R::Text, R::AlternateBase, 4.5},
            {R::ButtonText, R::Button, 4.5},
            {R::HighlightedText, R::Highlight, 4.5},
            {R::ToolTipText, R::ToolTipBase, 4.5},
            // links show both in text views and in labels on the window
            {R::Link, R::Base, 4.5},
            {R::LinkVisited, R::Base, 4.5},
            {R::Link, R::Window, 4.5},
            {R::LinkVisited, R::Window, 4.5},
            {R::PlaceholderText, R::Base, 3.0},
        };
        for (const Pair &pair : pairs) {
            for (auto group : {QPalette::Active, QPalette::Inactive}) {
                const double ratio = Theme::contrastRatio(p.color(group, pair.text), p.color(group, pair.ground));
                QVERIFY2(ratio >= pair.minimum,
                         qPrintable(QStringLiteral("%1 on %2: %3")
                                        .arg(QString::fromLatin1(QMetaEnum::fromType<R>().valueToKey(pair.text)),
                                             QString::fromLatin1(QMetaEnum::fromType<R>().valueToKey(pair.ground)))
                                        .arg(ratio, 0, 'f', 2)));
            }
        }

        // Disabled text must look weaker than enabled text, yet still be seen.
        const Pair disabled[] = {{R::WindowText, R::Window, 0}, {R::Text, R::Base, 0}, {R::ButtonText, R::Button, 0}};
        for (const Pair &pair : disabled) {
            const QColor off = p.color(QPalette::Disabled, pair.text);
            const QColor ground = p.color(QPalette::Disabled, pair.ground);
            QVERIFY(off != p.color(QPalette::Active, pair.text));
            QVERIFY(Theme::contrastRatio(off, ground) >= 2.0);
            QVERIFY(Theme::contrastRatio(off, ground) < Theme::contrastRatio(p.color(QPalette::Active, pair.text), ground));
        }

        // Every text/ground pair the style sheet sets; text colour without a ground
        // is drawn on the window.
        static const QRegularExpression noText(QStringLiteral(R"(^(QScrollBar|QTabWidget::pane|QSplitter))"));
        for (const Rule &rule : parseSheet(theme.styleSheet, p)) {
            if (rule.selector.contains(QStringLiteral(":disabled")))
                continue;
            if (!rule.color) {
                QVERIFY2(rule.backgrounds.isEmpty() || noText.match(rule.selector).hasMatch(),
                         qPrintable(rule.selector + QStringLiteral(": ground without text colour")));
                continue;
            }
            QVERIFY2(rule.color->isValid(), qPrintable(rule.selector));
            const QList<QColor> grounds = rule.backgrounds.isEmpty() ? QList<QColor>{p.color(QPalette::Window)}
                                                                     : rule.backgrounds;
            for (const QColor &ground : grounds) {
                QVERIFY2(ground.isValid(), qPrintable(rule.selector));
                const double ratio = Theme::contrastRatio(*rule.color, ground);
                QVERIFY2(ratio >= 4.5, qPrintable(QStringLiteral("%1: %2 on %3: %4")
                                                      .arg(rule.selector, rule.color->name(), ground.name())
                                                      .arg(ratio, 0, 'f', 2)));
            }
        }
    }

    void contrastRatio_data()
    {
        QTest::addColumn<QColor>("a");
        QTest::addColumn<QColor>("b");
        QTest::addColumn<double>("ratio");
        QTest::newRow("black on white") << QColor(Qt::black) << QColor(Qt::white) << 21.0;
        QTest::newRow("white on black") << QColor(Qt::white) << QColor(Qt::black) << 21.0;
        QTest::newRow("same colour") << QColor(0x336699) << QColor(0x336699) << 1.0;
        // the well-known near miss: #777 on white is just under 4.5
        QTest::newRow("grey 77 on white") << QColor(0x777777) << QColor(Qt::white) << 4.48;
        QTest::newRow("pure red on white") << QColor(Qt::red) << QColor(Qt::white) << 4.0;
    }

    void contrastRatio()
    {
        QFETCH(QColor, a);
        QFETCH(QColor, b);
        QFETCH(double, ratio);
        QVERIFY2(qAbs(Theme::contrastRatio(a, b) - ratio) < 0.01, qPrintable(QString::number(Theme::contrastRatio(a, b))));
    }

    void badThemeData_data()
    {
        QTest::addColumn<QString>("patch");
        QTest::addColumn<QString>("message");
        QTest::newRow("not JSON") << QStringLiteral("\"name\": => \"name\" ") << QString();
        QTest::newRow("no name") << QStringLiteral("\"Test\" => \"  \"") << QStringLiteral("no name");
        QTest::newRow("role missing") << QStringLiteral("\"HighlightedText\" => \"Shadow\"")
                                      << QStringLiteral("palette lacks HighlightedText");
        QTest::newRow("unknown role") << QStringLiteral(
            "\"BrightText\": \"#ffffff\", => \"BrightText\": \"#ffffff\", \"Glow\": \"#fff\",")
                                      << QStringLiteral("unknown palette role 'Glow'");
        QTest::newRow("bad colour") << QStringLiteral("\"Highlight\": \"#316ac5\" => \"Highlight\": \"blurple\"")
                                    << QStringLiteral("bad colour for Highlight");
        QTest::newRow("disabled text missing")
            << QStringLiteral("\"Text\": \"#8c8c8c\", => ") << QStringLiteral("disabled colours lack Text");
        const QString tiers = QStringLiteral("\"styleSheet\": => \"tiers\": %1, \"styleSheet\":");
        QTest::newRow("tiers not an object")
            << tiers.arg(QStringLiteral("[]")) << QStringLiteral("tiers is not an object");
        QTest::newRow("unknown tier") << tiers.arg(QStringLiteral(R"({"fourth": {"text": "#000000"}})"))
                                      << QStringLiteral("unknown tier 'fourth'");
        QTest::newRow("bad tier colour") << tiers.arg(QStringLiteral(R"({"second": {"text": "greenish"}})"))
                                         << QStringLiteral("bad colour for tier second text");
        QTest::newRow("unknown tier field") << tiers.arg(QStringLiteral(R"({"third": {"underline": true}})"))
                                            << QStringLiteral("bad field 'underline' for tier third");
        QTest::newRow("tier face not a flag") << tiers.arg(QStringLiteral(R"({"direct": {"bold": "yes"}})"))
                                              << QStringLiteral("bad field 'bold' for tier direct");
    }

    void badThemeData()
    {
        QFETCH(QString, patch);
        QFETCH(QString, message);
        const QByteArray json = themeJson(patch);
        QVERIFY(json != themeJson()); // the patch must have applied
        try {
            Theme::fromJson(json);
            QFAIL("no error");
        } catch (const AppError &e) {
            QVERIFY2(e.message().contains(message), qPrintable(e.message()));
        }
    }

    void goodThemeData()
    {
        const Theme theme = Theme::fromJson(themeJson());
        QCOMPARE(theme.name, QStringLiteral("Test"));
        QCOMPARE(theme.palette.color(QPalette::Active, QPalette::Highlight), QColor(0x316ac5));
        QCOMPARE(theme.palette.color(QPalette::Inactive, QPalette::Highlight), QColor(0x316ac5));
        QCOMPARE(theme.palette.color(QPalette::Disabled, QPalette::Text), QColor(0x8c8c8c));
        QCOMPARE(theme.palette.color(QPalette::Active, QPalette::Text), QColor(Qt::black));
        QCOMPARE(theme.styleSheet, QStringLiteral("QPushButton { color: #000000; }\nQTabBar::tab { color: #000000; }"));
    }

    // The tiers' looks are the theme's roles: a file sets any of them, the rest keep
    // their defaults, and the result lists draw in the style's looks.
    void tierLooksAreThemeRoles()
    {
        const TierLooks defaults = Theme::defaultTierLooks();
        QCOMPARE(defaults[1], (TierLook{QColor(0xEFEFEF), QColor(0x008000), false, true}));
        QCOMPARE(Theme::fromJson(themeJson()).tiers, defaults);

        const Theme theme = Theme::fromJson(themeJson(QStringLiteral(
            R"("styleSheet": => "tiers": {"second": {"text": "#006400"}, "third": {"background": "#dde4ee", "italic": false}}, "styleSheet":)")));
        QCOMPARE(theme.tiers[0], defaults[0]);
        QCOMPARE(theme.tiers[1], (TierLook{QColor(0xEFEFEF), QColor(0x006400), false, true}));
        QCOMPARE(theme.tiers[2], (TierLook{QColor(0xDDE4EE), QColor(0x0000FF), false, false}));

        const auto restore = qScopeGuard([] { TStyleManager::SetStyle(QStringLiteral("Windows")); });
        for (const QString &style : TStyleManager::StyleNames()) {
            TStyleManager::SetStyle(style);
            for (int tier = 0; tier < 3; ++tier)
                QCOMPARE(TStyleManager::tierLook(tier), defaults[std::size_t(tier)]); // no built-in theme sets them
        }
    }

    void unknownNameLeavesLookAlone()
    {
        TStyleManager::SetStyle(QStringLiteral("Luna"));
        const QPalette palette = QApplication::palette();
        const QString sheet = qApp->styleSheet();

        try {
            TStyleManager::SetStyle(QStringLiteral("Nope"));
            QFAIL("no error");
        } catch (const AppError &e) {
            QCOMPARE(e.message(), QStringLiteral("Style 'Nope' not found"));
        }
        QVERIFY(!TStyleManager::TrySetStyle(QStringLiteral("Nope"), false));

        QCOMPARE(TStyleManager::ActiveStyleName(), QStringLiteral("Luna"));
        QCOMPARE(QApplication::palette(), palette);
        QCOMPARE(qApp->styleSheet(), sheet);
    }

    void unknownNameShowsErrorBox()
    {
        QString text;
        QStringList buttons;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QTimer::singleShot(0, qApp, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            text = box->text();
            icon = box->icon();
            for (QAbstractButton *b : box->buttons())
                buttons << b->text();
            box->buttons().first()->click();
        });
        QVERIFY(!TStyleManager::TrySetStyle(QStringLiteral("Nope")));
        QCOMPARE(text, QStringLiteral("Style 'Nope' not found"));
        QCOMPARE(icon, QMessageBox::Critical);
        QCOMPARE(buttons, QStringList{QStringLiteral("Close")});
    }

    void nameIgnoresCase_data()
    {
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("shown");
        QTest::newRow("lower") << QStringLiteral("luna") << QStringLiteral("Luna");
        QTest::newRow("upper, blanks") << QStringLiteral("METROPOLIS UI BLUE") << QStringLiteral("Metropolis UI Blue");
        QTest::newRow("mixed") << QStringLiteral("tabletdark") << QStringLiteral("TabletDark");
    }

    void nameIgnoresCase()
    {
        QFETCH(QString, given);
        QFETCH(QString, shown);
        QVERIFY(TStyleManager::TrySetStyle(given, false));
        QCOMPARE(TStyleManager::ActiveStyleName(), shown);
        const Theme theme = loadTheme(shown.toLower().remove(QLatin1Char(' ')) + QStringLiteral(".json"));
        QCOMPARE(QApplication::palette().color(QPalette::Window), theme.palette.color(QPalette::Window));
        QCOMPARE(qApp->styleSheet(), theme.styleSheet);
    }

    void windowsRestoresNativeLook_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("as listed") << QStringLiteral("Windows");
        QTest::newRow("lower case") << QStringLiteral("windows");
    }

    void windowsRestoresNativeLook()
    {
        QFETCH(QString, name);
        TStyleManager::SetStyle(QStringLiteral("Carbon"));
        QVERIFY(QApplication::palette() != m_nativePalette);

        TStyleManager::SetStyle(name);
        QCOMPARE(TStyleManager::ActiveStyleName(), QStringLiteral("Windows"));
        QCOMPARE(QApplication::style()->name(), m_nativeStyle);
        QCOMPARE(QApplication::palette(), m_nativePalette);
        QVERIFY(qApp->styleSheet().isEmpty());
    }

    void themeReachesEveryWindow()
    {
        QWidget first;
        auto *button = new QPushButton(QStringLiteral("OK"), &first);
        new QVBoxLayout(&first);
        first.layout()->addWidget(button);
        QDialog second;
        first.show();
        second.show();

        for (const QString &name : {QStringLiteral("Obsidian"), QStringLiteral("Auric")}) {
            TStyleManager::SetStyle(name);
            const Theme theme = loadTheme(name.toLower() + QStringLiteral(".json"));
            const QColor window = theme.palette.color(QPalette::Window);
            QCOMPARE(QApplication::palette().color(QPalette::Window), window);
            for (QWidget *w : QApplication::topLevelWidgets())
                QCOMPARE(w->palette().color(QPalette::Window), window);
            QCOMPARE(button->palette().color(QPalette::Highlight), theme.palette.color(QPalette::Highlight));
            QVERIFY(button->style()->inherits("QStyleSheetStyle"));
            // Applied to the application, not to the widgets there were: a new window gets it too.
            QWidget later;
            QCOMPARE(later.palette().color(QPalette::Window), window);
        }
    }

    // A compact button keeps a tight padding in every theme, drawn exactly as a
    // button whose own style sheet says so, whatever the theme's rules for buttons
    // and their states; in the native look it is a plain button.
    void compactButtonsInEveryStyle_data()
    {
        QTest::addColumn<QString>("style");
        for (const QString &name : TStyleManager::StyleNames())
            QTest::newRow(qPrintable(name)) << name;
    }

    void compactButtonsInEveryStyle()
    {
        QFETCH(QString, style);
        TStyleManager::SetStyle(style);
        const auto restore = qScopeGuard([] { TStyleManager::SetStyle(QStringLiteral("Windows")); });
        const bool native = style == u"Windows";

        QWidget window;
        auto *reference = new QWidget(&window);
        reference->setStyleSheet(QStringLiteral("QPushButton { padding: 2px 3px; }"));
        const auto make = [](QWidget *parent, bool compact, const QString &text, const QSize &size, bool icon) {
            auto *b = new QPushButton(text, parent);
            if (compact)
                b->setProperty(Theme::CompactProperty, true);
            // Sized as the window sizes its buttons, after they are made.
            b->setGeometry(QRect(QPoint(), size));
            b->setFocusPolicy(Qt::NoFocus);
            QFont font(QStringLiteral("Tahoma"));
            font.setPointSizeF(8);
            b->setFont(font);
            if (icon)
                b->setIcon(b->style()->standardIcon(QStyle::SP_DialogSaveButton));
            return b;
        };
        const auto room = [](QPushButton *b) {
            QStyleOptionButton option;
            option.initFrom(b);
            option.text = b->text();
            return b->style()->subElementRect(QStyle::SE_PushButtonContents, &option, b);
        };
        struct Case {
            QString text;
            QSize size;
            bool icon;
        };
        const Case cases[] = {{QStringLiteral("Clear\nclipboard"), {64, 42}, false},
                              {QStringLiteral("Copy"), {64, 42}, true},
                              {QStringLiteral("+"), {21, 25}, false}};
        for (const Case &c : cases) {
            QPushButton *compact = make(&window, true, c.text, c.size, c.icon);
            QPushButton *plain = make(&window, false, c.text, c.size, c.icon);
            QPushButton *padded = make(reference, false, c.text, c.size, c.icon);
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            const QImage drawn = compact->grab().toImage();
            if (native) {
                QVERIFY(!compact->style()->inherits("QStyleSheetStyle"));
                QCOMPARE(room(compact), room(plain));
                QCOMPARE(drawn, plain->grab().toImage());
            } else {
                // The same room for the caption within the frame; a theme's minimum height
                // may make a button taller than it was made, as it may a padded one.
                QCOMPARE(room(compact).topLeft(), room(padded).topLeft());
                QCOMPARE(room(compact).width(), room(padded).width());
                QCOMPARE(compact->height() - room(compact).height(), padded->height() - room(padded).height());
                QVERIFY2(room(compact).width() > room(plain).width(), qPrintable(c.text));
                if (compact->size() == padded->size()) {
                    QVERIFY2(drawn == padded->grab().toImage(), qPrintable(c.text));
                    // The rule holds in the states the themes style apart.
                    compact->setDown(true);
                    padded->setDown(true);
                    QVERIFY2(compact->grab().toImage() == padded->grab().toImage(), qPrintable(c.text));
                }
            }
        }
    }

    void themesDiffer()
    {
        const QStringList files = themeFiles();
        QList<Theme> themes;
        for (const QString &file : files)
            themes << loadTheme(file);
        auto key = [](const Theme &t) {
            return QList<QColor>{t.palette.color(QPalette::Window), t.palette.color(QPalette::Highlight),
                                 t.palette.color(QPalette::Button)};
        };
        for (qsizetype i = 0; i < themes.size(); ++i) {
            for (qsizetype j = i + 1; j < themes.size(); ++j) {
                QVERIFY2(key(themes[i]) != key(themes[j]),
                         qPrintable(themes[i].name + QStringLiteral(" ~ ") + themes[j].name));
                QVERIFY(themes[i].styleSheet != themes[j].styleSheet);
            }
        }
    }
};

QTEST_MAIN(TestStyleManager)
#include "test_stylemanager.moc"
