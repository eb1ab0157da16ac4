// The main window driven like a user drives it: typing, clicks on real controls,
// the real clipboard and real files. Only the thesaurus and the modal dialogs are
// answered by the test.

#include "../ScriptedSource.h"
#include "../TestFiles.h"
#include "GuiTestDoubles.h"
#include "MainWindowHarness.h"
#include "Version.h"
#include "app/CheckListBox.h"
#include "widgets/Dialogs.h"
#include "widgets/FontDialog.h"
#include "widgets/DisplayFont.h"
#include "app/Main.h"
#include "app/ResultColumn.h"
#include "app/TierDelegate.h"
#include "app/WordListModel.h"
#include "settings/TStyleManager.h"
#include "settings/Theme.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFrame>
#include <QMessageBox>
#include <QPointer>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QHash>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolTip>
#include <QtTest>

#include <functional>
#include <limits>
#include <memory>

using Kind = Dialogs::MessageKind;
using GuiTestDoubles::Message;
using TestFiles::readAllOrMarker;
using TestFiles::writeAll;
using namespace MainWindowHarness;

namespace {

QString numberedWords(const QString &prefix, int count)
{
    QStringList words;
    for (int i = 0; i < count; ++i)
        words.append(prefix + QString::number(i).rightJustified(4, QLatin1Char('0')));
    return words.join(QStringLiteral(", "));
}

const QStringList kLanguageItems = {
    QStringLiteral("Danish"),
    QStringLiteral("German"),
    QStringLiteral("Swiss German"),
    QStringLiteral("English AUS"),
    QStringLiteral("English UK"),
    QStringLiteral("English US"),
    QStringLiteral("English Canadian"),
    QStringLiteral("English NewZealand"),
    QStringLiteral("English SouthAfrica"),
    QStringLiteral("Spanish"),
    QStringLiteral("French"),
    QStringLiteral("FrenchCanadian"),
    QStringLiteral("Italian"),
    QStringLiteral("Dutch"),
    QStringLiteral("Norwegian Bokmol"),
    QStringLiteral("Norwegian Nynorsk"),
    QStringLiteral("Brazilian Portuguese"),
    QStringLiteral("Portuguese"),
    QStringLiteral("Finnish"),
    QStringLiteral("Swedish"),
    QStringLiteral("Catalan"),
    QStringLiteral("Greek,"),
    QStringLiteral("Turkish"),
    QStringLiteral("Russian "),
    QStringLiteral("Czech"),
    QStringLiteral("Hungarian"),
    QStringLiteral("Polish,"),
    QStringLiteral("Slovenian"),
    QStringLiteral("Basque"),
    QStringLiteral("Malaysian"),
    QStringLiteral("Japanese"),
    QStringLiteral("Korean"),
    QStringLiteral("SimplifiedChinese"),
    QStringLiteral("TraditionalChinese"),
    QStringLiteral("SwissFrench"),
    QStringLiteral("Sesotho"),
    QStringLiteral("Tsonga"),
    QStringLiteral("Tswana"),
    QStringLiteral("Venda"),
    QStringLiteral("Xhosa"),
    QStringLiteral("Zulu"),
    QStringLiteral("Afrikaans"),
    QStringLiteral("Arabic"),
    QStringLiteral("Hebrew"),
    QStringLiteral("Slovak"),
    QStringLiteral("Farsi"),
    QStringLiteral("Romanian"),
    QStringLiteral("Croatian"),
    QStringLiteral("Ukrainian"),
    QStringLiteral("Byelorussian"),
    QStringLiteral("Estonian"),
    QStringLiteral("Latvian"),
    QStringLiteral("Macedonian"),
    QStringLiteral("Serbian Latin"),
    QStringLiteral("Serbian Cyrillic"),
    QStringLiteral("Icelandic"),
    QStringLiteral("Belgian French"),
    QStringLiteral("Belgian Dutch"),
    QStringLiteral("Bulgarian"),
    QStringLiteral("Mexican Spanish"),
    QStringLiteral("Spanish Modern Sort"),
    QStringLiteral("Swiss Italian"),
};

// Three columns for the export cases: a, b and c.
// The colour a region is mostly painted in.
QColor groundOf(const QImage &image, const QRect &region)
{
    QHash<QRgb, int> counts;
    for (int y = region.top(); y <= region.bottom(); ++y) {
        for (int x = region.left(); x <= region.right(); ++x)
            ++counts[image.pixel(x, y)];
    }
    QRgb most = 0;
    int count = -1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > count) {
            most = it.key();
            count = it.value();
        }
    }
    return QColor(most);
}

// The strongest contrast of any pixel of a region with the region's ground: for a
// text, that of the cores of its strokes.
double inkContrast(const QImage &image, const QRect &region)
{
    const QColor ground = groundOf(image, region);
    double best = 1.0;
    for (int y = region.top(); y <= region.bottom(); ++y) {
        for (int x = region.left(); x <= region.right(); ++x)
            best = std::max(best, Theme::contrastRatio(QColor(image.pixel(x, y)), ground));
    }
    return best;
}

// The texts and icons of the shown tabs (Thesaurus Tool, Settings) that stand out
// too little, each told with the case.
QStringList illegible(const Harness &h, const QString &context)
{
    QStringList faults;
    for (int tab : {0, 4}) {
        h.showTab(tab);
        const QImage image = h.form->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const qreal ratio = image.devicePixelRatio();
        const auto onImage = [&](QWidget *widget, const QRect &rect) {
            const QRect r(widget->mapTo(h.form.get(), rect.topLeft()) * ratio, rect.size() * ratio);
            return r.intersected(image.rect());
        };
        const auto check = [&](QWidget *widget, const QString &what, const QRect &rect, double minimum) {
            const QRect region = onImage(widget, rect);
            if (region.width() < 2 || region.height() < 2)
                return;
            const double contrast = inkContrast(image, region);
            if (contrast < minimum)
                faults.append(QStringLiteral("%1: %2 \"%3\" at %4:1 on %5")
                                  .arg(context, nameOf(widget), what)
                                  .arg(contrast, 0, 'f', 2)
                                  .arg(groundOf(image, region).name()));
        };
        for (QWidget *widget : h.form->findChildren<QWidget *>()) {
            // A disabled control's dim text is how it says that it is inactive: it is
            // not held to the bar (as contrast guidelines exempt it).
            if (!widget->isVisible() || !widget->isEnabled() || widget->window() != h.form.get()
                || widget->inherits("CheckListBox") || widget->visibleRegion().boundingRect() != widget->rect())
                continue;
            bool inWebPage = false;
            for (QWidget *up = widget->parentWidget(); up && !inWebPage; up = up->parentWidget())
                inWebPage = up->inherits("QWebEngineView");
            if (inWebPage || widget->inherits("QWebEngineView"))
                continue;
            if (auto *label = qobject_cast<QLabel *>(widget)) {
                if (!label->text().trimmed().isEmpty())
                    check(label, label->text(), label->contentsRect(), 4.5);
            } else if (auto *button = qobject_cast<QPushButton *>(widget)) {
                QStyleOptionButton option;
                option.initFrom(button);
                option.text = button->text();
                const QRect contents = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
                if (!button->text().isEmpty())
                    check(button, button->text(), contents, 4.5);
                if (!button->icon().isNull()) {
                    // The icon as the button draws it, on the button's ground.
                    const QColor ground = groundOf(image, onImage(button, contents));
                    const QImage icon = button->icon()
                                            .pixmap(button->iconSize(), ratio,
                                                    button->isEnabled() ? QIcon::Normal : QIcon::Disabled)
                                            .toImage()
                                            .convertToFormat(QImage::Format_ARGB32);
                    double best = 1.0;
                    for (int y = 0; y < icon.height(); ++y) {
                        for (int x = 0; x < icon.width(); ++x) {
                            const QColor pixel = icon.pixelColor(x, y);
                            if (pixel.alpha() > 200)
                                best = std::max(best, Theme::contrastRatio(pixel, ground));
                        }
                    }
                    if (best < 3.0)
                        faults.append(QStringLiteral("%1: %2's icon at %3:1 on %4")
                                          .arg(context, button->objectName())
                                          .arg(best, 0, 'f', 2)
                                          .arg(ground.name()));
                }
            } else if (auto *edit = qobject_cast<QLineEdit *>(widget)) {
                if (!edit->text().isEmpty())
                    check(edit, edit->text(), edit->contentsRect().adjusted(2, 2, -2, -2), 4.5);
            } else if (auto *box = qobject_cast<QComboBox *>(widget)) {
                if (!box->isEditable() && !box->currentText().isEmpty()) {
                    QStyleOptionComboBox option;
                    option.initFrom(box);
                    const QRect field = box->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                                     QStyle::SC_ComboBoxEditField, box);
                    check(box, box->currentText(), field, 4.5);
                }
            } else if (auto *bar = qobject_cast<QTabBar *>(widget)) {
                for (int i = 0; i < bar->count(); ++i)
                    check(bar, bar->tabText(i), bar->tabRect(i).adjusted(3, 3, -3, -3), 4.5);
            }
        }
    }
    return faults;
}

const QString kExportScript = QStringLiteral("a: a1, a2, a3; b: b1, b2; c: c1, c2, c3, c4");

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

    QList<Message> messages;
    std::shared_ptr<QStringList> openedLinks;

private Q_SLOTS:
    void initTestCase()
    {
        // Offline: the side panel stays narrow and no page loads.
        GuiTestDoubles::installStubConnectivity();
        openedLinks = GuiTestDoubles::installRecordingLinkOpener();
    }

    void init()
    {
        openedLinks->clear();
        messages.clear();
        GuiTestDoubles::recordMessagesInto(messages);
    }

    void cleanup()
    {
        Dialogs::setMessageRecorder({});
        QVERIFY2(!QGuiApplication::overrideCursor(), "the hourglass was left on");
    }

    void cleanupTestCase() { TStyleManager::SetStyle(QStringLiteral("Windows")); }

    // ---- Start-up ----

    // Every widget asks, by a posted event, to be polished, and a button then asks for
    // its parent's layout again: answered after the show, with a style sheet on, that
    // lays the window out a second time. The window answers them while it is built.
    void nothingLeftToPolishOnceShown()
    {
        struct PolishRequests : QObject {
            QList<QWidget *> built; // the widgets there before the show
            QStringList receivers;
            bool eventFilter(QObject *watched, QEvent *event) override
            {
                if (event->type() == QEvent::PolishRequest && built.contains(watched))
                    receivers.append(QString::fromLatin1(watched->metaObject()->className()) + u' '
                                     + watched->objectName());
                return false;
            }
        } requests;
        TForm1 form(std::make_unique<CursorWatchingSource>());
        requests.built = form.findChildren<QWidget *>();
        qApp->installEventFilter(&requests);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTest::qWait(20);
        qApp->removeEventFilter(&requests);
        QCOMPARE(requests.receivers, QStringList());
    }

    void startupState()
    {
        Harness h{QString()};
        QCOMPARE(h.find<QTabWidget>("pgc1")->currentIndex(), 0);
        QCOMPARE(h.find<QStackedWidget>("ContentStack")->currentWidget()->objectName(), u"pnlSearchPanel");
        QVERIFY(h.form->columns().isEmpty());
        QCOMPARE(h.find<QComboBox>("cbb1")->currentText(), u"Quick Match");
        QCOMPARE(h.find<QLineEdit>("edt2")->text(), u".");
        QCOMPARE(h.form->aFont, DisplayFont());
        QVERIFY(h.form->SelectedWord.isEmpty());
        QVERIFY(messages.isEmpty());
    }

    void titleCarriesTheBuildVersion()
    {
        TForm1 form(std::make_unique<ScriptedSource>());
        QCOMPARE(form.windowTitle(), u"Verbarium Pro");
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));

        unsigned short major = 0, minor = 0, release = 0, build = 0;
        TForm1::GetBuildInfo(major, minor, release, build);
        QCOMPARE(form.windowTitle(),
                 QStringLiteral("Verbarium Pro v. %1.%2.%3.%4").arg(major).arg(minor).arg(release).arg(build));
        QCOMPARE(form.windowTitle(), QStringLiteral("Verbarium Pro v. ") + QString::fromLatin1(Version::Text));
        static const QRegularExpression format(QStringLiteral(R"(^Verbarium Pro v\. (0|[1-9]\d*)(\.(0|[1-9]\d*)){3}$)"));
        QVERIFY2(format.match(form.windowTitle()).hasMatch(), qPrintable(form.windowTitle()));
        // What the platform window carries: the caption alone, nothing appended.
        QCOMPARE(form.windowHandle()->title(), form.windowTitle());
    }

    // The logo and the font button's letters are drawn when a size is asked for:
    // every size comes at that size with something on it, in each mode, at each density.
    void drawnPicturesAtEverySize()
    {
        Harness h{QString()};
        const auto drawn = [](const QPixmap &pixmap) {
            const QImage image = pixmap.toImage();
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    if (qAlpha(image.pixel(x, y)) > 0)
                        return true;
                }
            }
            return false;
        };
        const std::pair<const char *, QIcon> icons[] = {{"window", h.form->windowIcon()},
                                                        {"btn4", h.find<QPushButton>("btn4")->icon()}};
        for (const auto &[what, icon] : icons) {
            QVERIFY2(!icon.isNull() && !icon.availableSizes().isEmpty(), what);
            QList<QSize> sizes = icon.availableSizes();
            sizes.append(QSize(40, 40)); // between the offered sizes
            for (const QSize &size : std::as_const(sizes)) {
                for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled}) {
                    const QPixmap pixmap = icon.pixmap(size, 1.0, mode);
                    QVERIFY2(pixmap.size() == size && drawn(pixmap), what);
                }
            }
            QVERIFY2(icon.pixmap(QSize(32, 32), 1.0, QIcon::Disabled).toImage()
                         != icon.pixmap(QSize(32, 32), 1.0, QIcon::Normal).toImage(),
                     what);
            QCOMPARE(icon.pixmap(QSize(16, 16), 2.0).size(), QSize(32, 32));
        }
        const QPixmap logo = h.find<QLabel>("img1")->pixmap();
        QCOMPARE(logo.deviceIndependentSize(), QSizeF(64, 64));
        QVERIFY(drawn(logo));
    }

    // The minimum is the outer width, the window's frame included.
    void windowKeepsItsMinimumWidth()
    {
        Harness h{QString()};
        const int frame = h.form->frameGeometry().width() - h.form->width();
        QVERIFY2(frame > 0, "the test platform gives the window no frame: nothing would be shown");
        h.form->resize(900, 700);
        settle();
        QCOMPARE(h.form->frameGeometry().width(), 1120);
        QCOMPARE(h.form->width(), 1120 - frame);
        QCOMPARE(h.form->height(), 700);
        h.form->resize(1300, 700);
        settle();
        QCOMPARE(h.form->width(), 1300);
    }

    // ---- Generate ----

    void generateRefusalsAndLimits_data()
    {
        QTest::addColumn<QString>("phrase");
        QTest::addColumn<int>("depth");
        QTest::addColumn<QString>("message"); // empty: the phrase runs
        QTest::addColumn<QStringList>("headings");

        const QStringList previous = {QStringLiteral("  w1")};
        const QString ten = QStringLiteral("w1 w2 w3 w4 w5 w6 w7 w8 w9 w10");
        QStringList tenHeadings;
        for (int i = 1; i <= 10; ++i)
            tenHeadings.append(QStringLiteral("  w%1").arg(i));
        const QString limit10 = QStringLiteral("Max 10 words at a time !");
        const QString limitDoraz = QStringLiteral("Only 3 words at a time when requesting an Doraz 3 result!");

        QTest::newRow("empty phrase keeps the columns")
            << QString() << 0 << QStringLiteral("Write a phrase, first!") << previous;
        QTest::newRow("empty phrase at Doraz 3") << QString() << 2 << QStringLiteral("Write a phrase, first!") << previous;
        // A refused phrase leaves the columns and their ticks as they were.
        QTest::newRow("ten words and a trailing space") << ten + u' ' << 0 << limit10 << previous;
        QTest::newRow("eleven pieces at Doraz 3: the ten-word check first") << ten + u' ' << 2 << limit10 << previous;
        QTest::newRow("four words at Doraz 3") << QStringLiteral("w1 w2 w3 w4") << 2 << limitDoraz << previous;
        QTest::newRow("three spaces are four pieces") << QStringLiteral("   ") << 2 << limitDoraz << previous;
        QTest::newRow("exactly ten pieces run") << ten << 0 << QString() << tenHeadings;
        QTest::newRow("four words at Verbarium run")
            << QStringLiteral("w1 w2 w3 w4") << 1 << QString() << tenHeadings.mid(0, 4);
        QTest::newRow("four words with no depth chosen run")
            << QStringLiteral("w1 w2 w3 w4") << -1 << QString() << tenHeadings.mid(0, 4);
        QTest::newRow("three words at Doraz 3 run")
            << QStringLiteral("w1 w2 w3") << 2 << QString() << tenHeadings.mid(0, 3);
    }

    void generateRefusalsAndLimits()
    {
        QFETCH(QString, phrase);
        QFETCH(int, depth);
        QFETCH(QString, message);
        QFETCH(QStringList, headings);

        QString script;
        for (int i = 1; i <= 10; ++i)
            script += QStringLiteral("w%1: s%1;").arg(i);
        Harness h(script);
        h.generate(QStringLiteral("w1"));
        QCOMPARE(h.headings(), QStringList{QStringLiteral("  w1")});
        const QPointer<ResultColumn> before = h.column(0);
        QVERIFY(tick(before->list(), 0));
        const qsizetype lookupsBefore = h.log->calls.size();

        h.generate(phrase, depth);

        if (message.isEmpty()) {
            QVERIFY(messages.isEmpty());
        } else {
            QCOMPARE(messages, (QList<Message>{{Kind::Plain, message}}));
            QCOMPARE(h.log->calls.size(), lookupsBefore); // refused before any lookup
            QCOMPARE(h.column(0), before.data());
            QCOMPARE(before->list()->words()->checkedWords(), QStringList{QStringLiteral("s1")});
        }
        QCOMPARE(h.headings(), headings);
        QVERIFY(h.find<QScrollArea>("ScrollBox1")->isVisible());
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void columnsStandInPhraseOrderWithoutGaps()
    {
        Harness h(QStringLiteral("alpha: a1, a2 | a3; gamma: g1; delta: d1, d2"));
        h.generate(QStringLiteral("alpha beta gamma  delta"));

        QVERIFY(messages.isEmpty());
        // One lookup per piece at Quick Match, the empty piece too.
        QCOMPARE(h.log->words(), (QStringList{QStringLiteral("alpha"), QStringLiteral("beta"), QStringLiteral("gamma"),
                                              QString(), QStringLiteral("delta")}));
        QCOMPARE(h.headings(),
                 (QStringList{QStringLiteral("  alpha"), QStringLiteral("  gamma"), QStringLiteral("  delta")}));
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(h.column(i)->x(), 140 * i);
            QCOMPARE(h.column(i)->width(), 140);
            QVERIFY(h.column(i)->isVisible());
        }
        QCOMPARE(h.column(0)->list()->words()->checkedWords(), QStringList());
        QCOMPARE(h.column(0)->list()->model()->rowCount(), 3);

        // A new Generate replaces every column.
        h.generate(QStringLiteral("delta"));
        QCOMPARE(h.headings(), QStringList{QStringLiteral("  delta")});
        QCOMPARE(h.column(0)->x(), 0);
    }

    void columnHoldsTheTiersOfItsWords_data()
    {
        QTest::addColumn<int>("depth");
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<QList<int>>("tiers");
        QTest::addColumn<int>("lookups");

        const QStringList all = {QStringLiteral("a"), QStringLiteral("a1"), QStringLiteral("a2"), QStringLiteral("b"),
                                 QStringLiteral("b1")};
        QTest::newRow("Quick Match") << 0 << QStringList{QStringLiteral("a"), QStringLiteral("b")} << QList<int>{0, 0}
                                     << 1;
        QTest::newRow("no depth chosen acts as Quick Match")
            << -1 << QStringList{QStringLiteral("a"), QStringLiteral("b")} << QList<int>{0, 0} << 1;
        QTest::newRow("Verbarium") << 1 << QStringList{QStringLiteral("a"), QStringLiteral("a1"), QStringLiteral("b")}
                                   << QList<int>{0, 1, 1} << 2;
        QTest::newRow("Doraz 3") << 2 << all << QList<int>{0, 1, 2, 1, 2} << 4;
    }

    void columnHoldsTheTiersOfItsWords()
    {
        QFETCH(int, depth);
        QFETCH(QStringList, words);
        QFETCH(QList<int>, tiers);
        QFETCH(int, lookups);

        // b reached through a first stands there as tier 1 and is not taken again.
        Harness h(QStringLiteral("root: a, b; a: a1, b; a1: a2; b: b1"));
        h.generate(QStringLiteral("root"), depth);

        QCOMPARE(h.log->calls.size(), lookups);
        QAbstractItemModel *model = h.column(0)->list()->model();
        QCOMPARE(model->rowCount(), words.size());
        for (int row = 0; row < model->rowCount(); ++row) {
            const QModelIndex index = model->index(row, 0);
            QCOMPARE(index.data(Qt::DisplayRole).toString(), words[row]);
            QCOMPARE(index.data(WordListModel::TierRole).toInt(), tiers[row]);
            QCOMPARE(index.data(Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Unchecked);
        }
    }

    void rowsAreDrawnInTheirTiersColours()
    {
        Harness h(QStringLiteral("root: a; a: a1; a1: a2"));
        h.generate(QStringLiteral("root"), 2);
        CheckListBox *list = h.column(0)->list();
        QCOMPARE(list->words()->rowCount(), 3);

        // The selected row keeps its tier's look.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, onWord(list, 1));
        settle();
        QCOMPARE(list->currentIndex().row(), 1);

        const QImage image = list->viewport()->grab().toImage();
        const qreal ratio = image.devicePixelRatio();
        struct Expected {
            QRgb background;
            std::function<bool(QColor)> ink;
        };
        const Expected expected[] = {
            {qRgb(0xF9, 0xF9, 0xF9), [](QColor c) { return qMax(c.red(), qMax(c.green(), c.blue())) < 70; }},
            {qRgb(0xEF, 0xEF, 0xEF), [](QColor c) { return c.green() - qMax(c.red(), c.blue()) > 60; }},
            {qRgb(0xE5, 0xE5, 0xE5), [](QColor c) { return c.blue() - qMax(c.red(), c.green()) > 100; }},
        };
        for (int row = 0; row < 3; ++row) {
            const QRect rect = list->visualRect(list->model()->index(row, 0));
            const QPoint blank(rect.right() - 3, rect.center().y());
            QCOMPARE(QColor(image.pixel(blank * ratio)), QColor(expected[row].background));
            int textLeft = rect.left();
            while (textLeft < rect.right()
                   && image.pixel(QPoint(textLeft, rect.center().y()) * ratio) != expected[row].background)
                ++textLeft; // right of the check box
            bool inked = false;
            for (int x = textLeft; x < rect.right() && !inked; ++x) {
                for (int y = rect.top(); y <= rect.bottom() && !inked; ++y)
                    inked = expected[row].ink(QColor(image.pixel(QPoint(x, y) * ratio)));
            }
            QVERIFY2(inked, qPrintable(QStringLiteral("row %1 drawn without its tier's text colour").arg(row)));
        }
    }

    void languageSentFollowsTheLanguageList_data()
    {
        QTest::addColumn<QString>("typed"); // empty: the start-up choice
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("identifier");

        QTest::newRow("English US at start") << QString() << 5 << 1033;
        QTest::newRow("Icelandic") << QStringLiteral("Ice") << 55 << 1039;
        QTest::newRow("Belgian Dutch") << QStringLiteral("Belgian D") << 57 << 2067;
        QTest::newRow("Swiss Italian, the last item") << QStringLiteral("Swiss I") << 61 << 2064;
        QTest::newRow("Danish, the first item") << QStringLiteral("dan") << 0 << 1030;
        QTest::newRow("text that begins no item: no proofing") << QStringLiteral("xyz") << -1 << 1024;
    }

    void languageSentFollowsTheLanguageList()
    {
        QFETCH(QString, typed);
        QFETCH(int, index);
        QFETCH(int, identifier);

        Harness h(QStringLiteral("one: o1; o1: x; two: t1"));
        auto *cbb2 = h.find<QComboBox>("cbb2");
        if (!typed.isEmpty()) {
            h.showTab(4);
            Harness::retype(cbb2->lineEdit(), typed);
        }
        QCOMPARE(cbb2->currentIndex(), index);

        h.generate(QStringLiteral("one two"), 1);
        QCOMPARE(h.log->calls.size(), 4);
        for (const ScriptedSource::Call &call : std::as_const(h.log->calls))
            QCOMPARE(call.languageId, identifier);
    }

    void languageChangeWaitsForTheNextGenerate()
    {
        Harness h(QStringLiteral("one: o1"));
        h.generate(QStringLiteral("one"));
        h.showTab(4);
        Harness::retype(h.find<QComboBox>("cbb2")->lineEdit(), QStringLiteral("Ice"));
        QCOMPARE(h.headings(), QStringList{QStringLiteral("  one")});
        QCOMPARE(h.log->calls.size(), 1);
        h.generate(QStringLiteral("one"));
        QCOMPARE(h.log->calls.last().languageId, 1039);
    }

    void lookupErrorKeepsTheColumnsBefore_data()
    {
        QTest::addColumn<int>("depth");
        QTest::addColumn<int>("throwAtCall");
        QTest::addColumn<QString>("throwAtWord");
        QTest::addColumn<QString>("error");

        QTest::newRow("the typed word's lookup fails")
            << 0 << 1 << QString() << QStringLiteral("scripted failure at call 1.");
        QTest::newRow("a deeper lookup of the column fails")
            << 1 << -1 << QStringLiteral("t1") << QStringLiteral("scripted failure at meaning 1.");
    }

    void lookupErrorKeepsTheColumnsBefore()
    {
        QFETCH(int, depth);
        QFETCH(int, throwAtCall);
        QFETCH(QString, throwAtWord);
        QFETCH(QString, error);

        Harness h(QStringLiteral("one: o1; two: t1, t2; t1: x; three: h1"), [&](ScriptedSource &source) {
            source.throwAtCall = throwAtCall;
            source.throwAtWord = throwAtWord;
            source.throwAtMeaning = throwAtWord.isEmpty() ? -1 : 1;
        });
        h.generate(QStringLiteral("one two three"), depth);

        QCOMPARE(messages, (QList<Message>{{Kind::Error, error}}));
        QCOMPARE(h.headings(), QStringList{QStringLiteral("  one")});
        QVERIFY(!h.log->words().contains(QStringLiteral("three")));
        QVERIFY(h.find<QScrollArea>("ScrollBox1")->isVisible());
        QVERIFY(!QGuiApplication::overrideCursor());
        QVERIFY(!h.cursorShapes->isEmpty());
        for (int shape : std::as_const(*h.cursorShapes))
            QCOMPARE(shape, int(Qt::WaitCursor));
    }

    void inactiveThesaurusEndsEmptyAndSilent()
    {
        Harness h(QStringLiteral("one: o1"), [](ScriptedSource &source) { source.failStart = true; });
        h.generate(QStringLiteral("one two"));
        QVERIFY(h.form->columns().isEmpty());
        QVERIFY(messages.isEmpty());
        QVERIFY(h.log->calls.isEmpty());
    }

    void aThousandWordsFillOneColumn()
    {
        Harness h(QStringLiteral("many: ") + numberedWords(QStringLiteral("w"), 1000));
        h.generate(QStringLiteral("many"));
        CheckListBox *list = h.column(0)->list();
        QCOMPARE(list->words()->rowCount(), 1000);
        QCOMPARE(list->words()->text(0), u"w0000");
        QCOMPARE(list->words()->text(999), u"w0999");
        const QModelIndex last = list->model()->index(999, 0);
        list->scrollTo(last);
        settle();
        QVERIFY(list->viewport()->rect().contains(list->visualRect(last).center()));
        QCOMPARE(list->indexAt(list->visualRect(last).center()), last);
    }

    // ---- Expanding and collapsing ----

    void headingClickExpandsAndCollapses_data()
    {
        // Half the client width, a half pixel going to the even neighbour.
        QTest::addColumn<int>("windowWidth");
        QTest::addColumn<int>("expandedWidth");
        QTest::newRow("1125") << 1125 << 562;
        QTest::newRow("1127") << 1127 << 564;
    }

    void headingClickExpandsAndCollapses()
    {
        QFETCH(int, windowWidth);
        QFETCH(int, expandedWidth);
        Harness h(QStringLiteral("alpha: a1; gamma: ") + numberedWords(QStringLiteral("g"), 100)
                  + QStringLiteral("; delta: d1"));
        h.form->resize(windowWidth, h.form->height());
        h.generate(QStringLiteral("alpha gamma delta"));
        auto *scroll = h.find<QScrollArea>("ScrollBox1");
        ResultColumn *alpha = h.column(0), *gamma = h.column(1), *delta = h.column(2);
        CheckListBox *list = gamma->list();
        const int last = list->model()->rowCount() - 1;

        // The second column widens where it stands; the others keep their places.
        QTest::mouseClick(gamma->heading(), Qt::LeftButton);
        settle();
        QCOMPARE(gamma->Expanded, 1);
        QCOMPARE(alpha->x(), 0);
        QCOMPARE(gamma->x(), 140);
        QCOMPARE(gamma->width(), expandedWidth);
        QCOMPARE(delta->x(), 140 + expandedWidth);
        QCOMPARE(scroll->horizontalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
        QCOMPARE(list->columns(), 3);
        const int third = list->viewport()->width() / 3;
        QCOMPARE(list->visualRect(list->model()->index(0, 0)).width(), third);
        QVERIFY(list->visualRect(list->model()->index(last, 0)).x() >= third); // flowed on to the right
        QCOMPARE(h.form->columns(), (QList<ResultColumn *>{alpha, gamma, delta}));

        // Narrowed again, it is still the second.
        QTest::mouseClick(gamma->heading(), Qt::LeftButton);
        settle();
        QCOMPARE(gamma->Expanded, 0);
        QCOMPARE(alpha->x(), 0);
        QCOMPARE(gamma->x(), 140);
        QCOMPARE(gamma->width(), 140);
        QCOMPARE(delta->x(), 280);
        QCOMPARE(scroll->horizontalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
        QCOMPARE(list->columns(), 1);
        QCOMPARE(list->visualRect(list->model()->index(last, 0)).x(), 0);
    }

    // Columns side by side, each starting where the one before it ends, in the
    // order of the phrase: none covers another, none has moved.
    static void verifyColumnsInOrder(const Harness &h)
    {
        int left = 0;
        for (int i = 0; i < h.form->columns().size(); ++i) {
            const QRect place = h.column(i)->geometry();
            QVERIFY2(place.x() == left,
                     qPrintable(QStringLiteral("column %1 at %2, expected at %3").arg(i).arg(place.x()).arg(left)));
            left = place.right() + 1;
        }
    }

    // The widened column shows whole: the area scrolls to it, and back to every
    // other column with its bar.
    static void verifyShownWhole(QScrollArea *scroll, ResultColumn *column)
    {
        const int left = column->x() - scroll->horizontalScrollBar()->value();
        QVERIFY2(left >= 0 && left + column->width() <= scroll->viewport()->width(),
                 qPrintable(QStringLiteral("column shown from %1 to %2 of %3")
                                .arg(left)
                                .arg(left + column->width())
                                .arg(scroll->viewport()->width())));
    }

    void twoWidenedColumnsStandSideBySide()
    {
        Harness h(QStringLiteral("alpha: a1; gamma: g1"));
        h.generate(QStringLiteral("alpha gamma"));
        auto *scroll = h.find<QScrollArea>("ScrollBox1");
        const int wide = h.form->width() / 2; // 1126 is even

        QTest::mouseClick(h.column(0)->heading(), Qt::LeftButton);
        QTest::mouseClick(h.column(1)->heading(), Qt::LeftButton);
        settle();
        QCOMPARE(h.column(0)->width(), wide);
        QCOMPARE(h.column(1)->width(), wide);
        verifyColumnsInOrder(h);
        // Together wider than the area: the bar reaches both, the last widened is shown.
        QVERIFY(scroll->horizontalScrollBar()->isVisible());
        QVERIFY(scroll->horizontalScrollBar()->maximum() >= 2 * wide - scroll->viewport()->width());
        verifyShownWhole(scroll, h.column(1));

        QTest::mouseClick(h.column(1)->heading(), Qt::LeftButton);
        settle();
        QCOMPARE(h.column(0)->width(), wide);
        QCOMPARE(h.column(0)->Expanded, 1);
        QCOMPARE(h.column(1)->width(), 140);
        verifyColumnsInOrder(h);
    }

    void widenedColumnInAScrolledAreaKeepsItsPlace_data()
    {
        QTest::addColumn<int>("scrolledTo");
        QTest::addColumn<int>("widened");
        QTest::newRow("at the visible left edge") << 280 << 2;
        QTest::newRow("in the middle of the view") << 280 << 5;
        QTest::newRow("half hidden at the right") << 0 << 7;
        QTest::newRow("hidden at the left") << 300 << 1;
        QTest::newRow("the last") << 0 << 9;
    }

    void widenedColumnInAScrolledAreaKeepsItsPlace()
    {
        QFETCH(int, scrolledTo);
        QFETCH(int, widened);
        QString script;
        QString phrase;
        for (int i = 0; i < 10; ++i) {
            script += QStringLiteral("c%1: x%1;").arg(i);
            phrase += QStringLiteral("c%1 ").arg(i);
        }
        Harness h(script);
        h.generate(phrase.trimmed());
        h.setDelimiter(QStringLiteral(","));
        auto *scroll = h.find<QScrollArea>("ScrollBox1");
        QScrollBar *bar = scroll->horizontalScrollBar();
        QVERIFY(bar->maximum() >= scrolledTo);
        bar->setValue(scrolledTo);
        settle();

        ResultColumn *column = h.column(widened);
        QTest::mouseClick(column->heading(), Qt::LeftButton);
        settle();
        QCOMPARE(column->Expanded, 1);
        QCOMPARE(column->x(), 140 * widened);
        verifyColumnsInOrder(h);
        verifyShownWhole(scroll, column);

        QTest::mouseClick(column->heading(), Qt::LeftButton);
        settle();
        QCOMPARE(column->x(), 140 * widened);
        verifyColumnsInOrder(h);

        // Copy merges in the same order as the columns stand.
        for (int i = 0; i < 10; ++i)
            QVERIFY(tick(h.column(i)->list(), 0));
        h.click("btn1");
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("x0,x1,x2,x3,x4,x5,x6,x7,x8,x9,\r\n"));
    }

    // ---- Popup menu and double click ----

    void popupMenuTakesTheWordUnderThePointer()
    {
        Harness h(QStringLiteral("alpha: a1, a2, a3"));
        h.generate(QStringLiteral("alpha"));
        CheckListBox *list = h.column(0)->list();
        QMenu *menu = h.column(0)->popupMenu();
        QSignalSpy trees(h.form.get(), &TForm1::wordTreeRequested);
        QSignalSpy dictionaries(h.form.get(), &TForm1::dictionaryRequested);

        rightClick(list, onWord(list, 1));
        QCOMPARE(h.form->SelectedWord, u"a2");
        QVERIFY(menu->isVisible());
        QCOMPARE(menu->actions().size(), 2);
        QAction *doraz3 = menu->findChild<QAction *>(QStringLiteral("miDoraz3"));
        QCOMPARE(doraz3->text(), u"Doraz 3");
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(doraz3).center());
        settle();
        QCOMPARE(trees.size(), 1);
        QCOMPARE(trees.at(0).at(0).toString(), u"a2");

        // A served site's dictionary page opens in the browser (where no site can
        // answer, the word's meanings show instead: test_meaningspanel).
        GuiTestDoubles::keepPagesOnThisMachine();
        const auto builtInSite = qScopeGuard([] { SiteAddress::setBaseUrlForTesting({}); });
        rightClick(list, onWord(list, 0));
        QCOMPARE(h.form->SelectedWord, u"a1");
        QAction *dictionary = menu->findChild<QAction *>(QStringLiteral("miDictionary"));
        QCOMPARE(dictionary->text(), u"Browse to online dictionary");
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(dictionary).center());
        settle();
        QCOMPARE(dictionaries.size(), 1);
        QCOMPARE(dictionaries.at(0).at(0).toString(), u"a1");
        QCOMPARE(openedLinks->size(), 1);
        QVERIFY2(openedLinks->first().contains(QStringLiteral("a1")), qPrintable(openedLinks->first()));
        QVERIFY(!menu->isVisible());

        // Below the last row: no menu, the word taken before stays.
        const QRect lastRow = list->visualRect(list->model()->index(2, 0));
        rightClick(list, {lastRow.center().x(), lastRow.bottom() + 10});
        QVERIFY(!menu->isVisible());
        QCOMPARE(h.form->SelectedWord, u"a1");
        QCOMPARE(trees.size(), 1);
    }

    void doubleClickAsksForTheWordTree()
    {
        Harness h(QStringLiteral("alpha: a1, a2, a3"));
        h.generate(QStringLiteral("alpha"));
        CheckListBox *list = h.column(0)->list();
        QSignalSpy trees(h.form.get(), &TForm1::wordTreeRequested);

        const QPoint word = onWord(list, 2);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, word);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, word);
        settle();
        QCOMPARE(trees.size(), 1);
        QCOMPARE(trees.at(0).at(0).toString(), u"a3");
        QVERIFY(!list->words()->isChecked(2));

        const QRect lastRow = list->visualRect(list->model()->index(2, 0));
        const QPoint below(lastRow.center().x(), lastRow.bottom() + 10);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, below);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, below);
        settle();
        QCOMPARE(trees.size(), 1);
    }

    // ---- Fonts ----

    void fontButtonsChangeEveryColumnAndTheDisplayFont()
    {
        Harness h(QStringLiteral("alpha: a1; beta: b1"));
        h.generate(QStringLiteral("alpha beta"));
        const int size = h.form->aFont.pointSize;
        const int rowHeight = h.column(0)->list()->rowHeight();

        for (int i = 0; i < 3; ++i)
            h.click("btn6");
        QCOMPARE(h.form->aFont.pointSize, size + 3);
        for (ResultColumn *column : h.form->columns()) {
            QCOMPARE(column->displayFont().pointSize, size + 3);
            QCOMPARE(column->heading()->font().pointSize(), size + 3);
            QCOMPARE(column->list()->font().pointSize(), size + 3);
            // The rows grow with the font.
            QVERIFY(column->list()->rowHeight() > rowHeight);
            QCOMPARE(column->list()->rowHeight(), ResultColumn::rowHeightFor(column->displayFont()));
            QCOMPARE(column->list()->visualRect(column->list()->model()->index(0, 0)).height(),
                     column->list()->rowHeight());
        }

        // Down to 0 and below: unbounded, and still drawn.
        for (int i = 0; i < size + 5; ++i)
            h.click("btn5");
        QCOMPARE(h.form->aFont.pointSize, -2);
        QCOMPARE(h.column(1)->displayFont().pointSize, -2);
        QVERIFY(!h.form->grab().isNull());
        h.click("btn6");
        QCOMPARE(h.form->aFont.pointSize, -1);

        // A size at the end of the range (a stored one) stays there: it never wraps
        // around to the other end.
        const DisplayFont font = h.form->aFont;
        for (const int end : {std::numeric_limits<int>::max(), std::numeric_limits<int>::min()}) {
            DisplayFont chosen = DisplayFont::dialogDesignFont();
            chosen.pointSize = end;
            Dialogs::setNextFont(chosen);
            h.click("btn4");
            h.click(end > 0 ? "btn6" : "btn5");
            QCOMPARE(h.form->aFont.pointSize, end);
            QCOMPARE(h.column(0)->displayFont().pointSize, end);
        }
        // The Settings file the window writes at its close is read by the tests after this one.
        Dialogs::setNextFont(font);
        h.click("btn4");
    }

    // The ink of a row's word: every pixel right of the check box that is not the
    // row's ground.
    static QRect wordInk(CheckListBox *list, int row, const QImage &image)
    {
        const QModelIndex index = list->model()->index(row, 0);
        const QRect rect = list->visualRect(index);
        const QRect box = checkBoxRect(list, row);
        const qreal ratio = image.devicePixelRatio();
        const QRgb ground =
            TierDelegate::look(SynonymExpansion::Tier(index.data(WordListModel::TierRole).toInt())).background.rgb();
        QRect ink;
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            for (int x = box.right() + 2; x <= rect.right(); ++x) {
                if (image.pixel(QPoint(x, y) * ratio) != ground)
                    ink |= QRect(x, y, 1, 1);
            }
        }
        return ink;
    }

    // The ink of a word drawn whole, in the font and colour of its tier, on its ground.
    static QRect inkDrawnWhole(const QString &word, const QFont &font, SynonymExpansion::Tier tier)
    {
        const QFontMetrics metrics(font);
        const TierDelegate::TierLook look = TierDelegate::look(tier);
        QImage image(metrics.horizontalAdvance(word) + 20, metrics.height() * 3, QImage::Format_RGB32);
        image.fill(look.background);
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(look.text);
        painter.drawText(10, metrics.height() + metrics.ascent(), word);
        painter.end();
        QRect ink;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixel(x, y) != look.background.rgb())
                    ink |= QRect(x, y, 1, 1);
            }
        }
        return ink;
    }

    // Rows are as tall as the font asks: descenders and ascenders stay whole in
    // every tier, at the start font, after the font buttons and after the Font dialog.
    void rowsHoldTheirWordsWhole_data()
    {
        QTest::addColumn<QString>("family"); // empty: the start font
        QTest::addColumn<int>("points");
        QTest::addColumn<int>("largerClicks");
        QTest::newRow("start font") << QString() << 0 << 0;
        QTest::newRow("four points larger") << QString() << 0 << 4;
        QTest::newRow("DejaVu Serif 14") << QStringLiteral("DejaVu Serif") << 14 << 0;
        QTest::newRow("DejaVu Serif 20 then larger") << QStringLiteral("DejaVu Serif") << 20 << 2;
    }

    void rowsHoldTheirWordsWhole()
    {
        QFETCH(QString, family);
        QFETCH(int, points);
        QFETCH(int, largerClicks);
        Harness h(QStringLiteral("root: agleam; agleam: gypsy; gypsy: jiggly"));
        h.generate(QStringLiteral("root"), 2);
        if (!family.isEmpty()) {
            DisplayFont chosen = DisplayFont::dialogDesignFont();
            chosen.family = family;
            chosen.pointSize = points;
            Dialogs::setNextFont(chosen);
            h.click("btn4");
        }
        for (int i = 0; i < largerClicks; ++i)
            h.click("btn6");
        settle();
        CheckListBox *list = h.column(0)->list();
        QCOMPARE(list->words()->rowCount(), 3);
        const QImage image = list->viewport()->grab().toImage();
        for (int row = 0; row < 3; ++row) {
            const QModelIndex index = list->model()->index(row, 0);
            const auto tier = SynonymExpansion::Tier(index.data(WordListModel::TierRole).toInt());
            const QRect rect = list->visualRect(index);
            const QRect ink = wordInk(list, row, image);
            const QRect whole = inkDrawnWhole(index.data().toString(), TierDelegate::tierFont(list->font(), tier), tier);
            const QString where = QStringLiteral("row %1 \"%2\" (row %3 px, ink %4..%5, whole %6 px)")
                                      .arg(row)
                                      .arg(index.data().toString())
                                      .arg(rect.height())
                                      .arg(ink.top() - rect.top())
                                      .arg(ink.bottom() - rect.top())
                                      .arg(whole.height());
            QVERIFY2(ink.height() == whole.height(), qPrintable(where));
            QVERIFY2(ink.top() > rect.top() && ink.bottom() < rect.bottom(), qPrintable(where));
        }
    }

    // A word wider than its column ends in "…" within the row, and its tooltip
    // begins with the whole word; a word that fits is drawn whole.
    void longWordsEndInAnEllipsisAndShowWholeInTheirTooltip()
    {
        const QString longWord = QStringLiteral("gnawing animals of the meadow");
        Harness h(QStringLiteral("root: innerbetrieblicherweise, ") + longWord + QStringLiteral(", short"));
        h.generate(QStringLiteral("root"));
        CheckListBox *list = h.column(0)->list();
        QCOMPARE(list->words()->rowCount(), 3);
        const QImage image = list->viewport()->grab().toImage();
        const QFont bold = TierDelegate::tierFont(list->font(), SynonymExpansion::DirectSynonym);
        const QFontMetrics metrics(bold);
        for (int row = 0; row < 3; ++row) {
            const QModelIndex index = list->model()->index(row, 0);
            const QString word = index.data().toString();
            QVERIFY(index.data(Qt::ToolTipRole).toString().startsWith(word));
            const QRect rect = list->visualRect(index);
            const QRect ink = wordInk(list, row, image);
            const bool fits = metrics.horizontalAdvance(word) + 2 < rect.right() - ink.left();
            QCOMPARE(fits, word == u"short");
            // Never cut at the row's edge: the ink ends before it.
            QVERIFY2(ink.right() < rect.right() - 1, qPrintable(word));
            if (fits) {
                QCOMPARE(ink.width(), inkDrawnWhole(word, bold, SynonymExpansion::DirectSynonym).width());
                continue;
            }
            // The last ink is the "…": low dots on the baseline, no letter's height.
            const int dotsWidth = metrics.horizontalAdvance(QStringLiteral("…"));
            QRect dots;
            for (int x = ink.right() - dotsWidth + 2; x <= ink.right(); ++x) {
                for (int y = rect.top(); y <= rect.bottom(); ++y) {
                    if (image.pixel(QPoint(x, y) * image.devicePixelRatio())
                        != TierDelegate::look(SynonymExpansion::DirectSynonym).background.rgb())
                        dots |= QRect(x, y, 1, 1);
                }
            }
            QVERIFY2(dots.height() <= metrics.xHeight() / 2,
                     qPrintable(QStringLiteral("%1: the last %2 px are %3 px high, x-height %4")
                                    .arg(word)
                                    .arg(dotsWidth)
                                    .arg(dots.height())
                                    .arg(metrics.xHeight())));
        }

        // The view shows the tooltip over the word.
        const QPoint over = onWord(list, 1);
        QHelpEvent help(QEvent::ToolTip, over, list->viewport()->mapToGlobal(over));
        QApplication::sendEvent(list->viewport(), &help);
        QTRY_VERIFY(QToolTip::isVisible());
        QVERIFY2(QToolTip::text().startsWith(longWord), qPrintable(QToolTip::text()));
        QToolTip::hideText();
    }

    void fontDialogStartsFromItsDesignFontThenFromTheDisplayFont()
    {
        Harness h(QStringLiteral("alpha: a1; beta: b1"));
        h.generate(QStringLiteral("alpha beta"));
        h.click("btn6"); // the columns and aFont now differ from the dialog's design font

        Dialogs::setNextFont(std::nullopt);
        h.click("btn4");
        QCOMPARE(Dialogs::lastFontDialogInitial(), DisplayFont::dialogDesignFont());
        QCOMPARE(Dialogs::lastFontDialogInitial().family, u"Tahoma");
        QCOMPARE(Dialogs::lastFontDialogInitial().pointSize, 8);
        QCOMPARE(h.form->aFont.pointSize, 11); // cancelled: nothing changed

        DisplayFont chosen;
        chosen.family = QStringLiteral("DejaVu Serif");
        chosen.pointSize = 14;
        chosen.italic = true;
        chosen.color = TColor::fromRgb(200, 0, 0);
        Dialogs::setNextFont(chosen);
        h.click("btn4");
        QCOMPARE(Dialogs::lastFontDialogInitial(), DisplayFont::dialogDesignFont()); // a cancel is no choice
        QCOMPARE(h.form->aFont, chosen);
        for (ResultColumn *column : h.form->columns()) {
            QCOMPARE(column->displayFont(), chosen);
            QCOMPARE(column->heading()->font().family(), u"DejaVu Serif");
            QVERIFY(column->heading()->font().italic());
            QCOMPARE(column->heading()->palette().color(QPalette::WindowText), QColor(200, 0, 0));
        }

        h.click("btn6");
        Dialogs::setNextFont(std::nullopt);
        h.click("btn4");
        DisplayFont grown = chosen;
        grown.pointSize = 15;
        QCOMPARE(Dialogs::lastFontDialogInitial(), grown);
        QCOMPARE(h.form->aFont, grown);

        // Rows are measured in the current font, in the columns shown and in new ones.
        const int shownRowHeight = h.column(0)->list()->rowHeight();
        h.generate(QStringLiteral("alpha"));
        CheckListBox *list = h.column(0)->list();
        QCOMPARE(h.column(0)->displayFont(), grown);
        QFont expected(QStringLiteral("DejaVu Serif"));
        expected.setPointSize(15);
        expected.setItalic(true);
        const int measured = QFontMetrics(expected).size(Qt::TextSingleLine, QStringLiteral("test")).height() + 3;
        QCOMPARE(shownRowHeight, measured);
        QCOMPARE(list->rowHeight(), measured);
        QCOMPARE(list->visualRect(list->model()->index(0, 0)).height(), measured);
    }

    // The font dialog has the colour list: sixteen colours and "Custom…".
    void fontDialogOffersTheColours()
    {
        Harness h{QString()}; // the window puts its stand-ins for missing faces in place
        FontDialog design(DisplayFont::dialogDesignFont());
        auto *colours = design.findChild<QComboBox *>(QStringLiteral("colour"));
        QVERIFY(colours);
        const QStringList names = {
            QStringLiteral("Black"),  QStringLiteral("Maroon"),  QStringLiteral("Green"), QStringLiteral("Olive"),
            QStringLiteral("Navy"),   QStringLiteral("Purple"),  QStringLiteral("Teal"),  QStringLiteral("Gray"),
            QStringLiteral("Silver"), QStringLiteral("Red"),     QStringLiteral("Lime"),  QStringLiteral("Yellow"),
            QStringLiteral("Blue"),   QStringLiteral("Fuchsia"), QStringLiteral("Aqua"),  QStringLiteral("White")};
        for (int i = 0; i < names.size(); ++i)
            QCOMPARE(colours->itemText(i), names[i]);
        QCOMPARE(colours->itemText(colours->count() - 1), u"Custom…");

        // The design font: Tahoma's stand-in under its own name, 8 points, the
        // window text colour kept as the system colour it is.
        const DisplayFont start = design.selectedFont();
        QCOMPARE(start.family, QFontInfo(QFont(QStringLiteral("Tahoma"))).family());
        QVERIFY2(QFontDatabase::families().contains(start.family), qPrintable(start.family));
        QCOMPARE(start.pointSize, 8);
        QCOMPARE(start.color, TColor::clWindowText);
        QCOMPARE(colours->currentText(), u"Automatic");

        // A listed colour starts selected; another choice gives its own value.
        DisplayFont maroon = DisplayFont::dialogDesignFont();
        maroon.color = TColor::fromRgb(0x80, 0, 0);
        FontDialog dialog(maroon);
        colours = dialog.findChild<QComboBox *>(QStringLiteral("colour"));
        QCOMPARE(colours->currentText(), u"Maroon");
        QCOMPARE(colours->count(), 17);
        colours->setCurrentIndex(names.indexOf(u"Blue"));
        QCOMPARE(dialog.selectedFont().color, TColor::fromRgb(0, 0, 0xFF));

        // "Custom…" asks the colour dialog, which starts from the colour chosen so far.
        const int custom = colours->count() - 1;
        const auto chooseCustom = [&](const QColor &answer) {
            withModalDialog(
                [&](QWidget *modal) {
                    auto *picker = qobject_cast<QColorDialog *>(modal);
                    const auto closed = qScopeGuard(
                        [modal] { QMetaObject::invokeMethod(modal, "reject", Qt::QueuedConnection); });
                    QVERIFY(picker);
                    QCOMPARE(picker->currentColor(), QColor(0, 0, 0xFF));
                    if (answer.isValid()) {
                        picker->setCurrentColor(answer);
                        picker->accept();
                    } else {
                        picker->reject();
                    }
                },
                [&] {
                    colours->setCurrentIndex(custom);
                    Q_EMIT colours->activated(custom);
                });
        };
        chooseCustom(QColor()); // cancelled: Blue stays
        QCOMPARE(colours->currentText(), u"Blue");
        QCOMPARE(dialog.selectedFont().color, TColor::fromRgb(0, 0, 0xFF));
        chooseCustom(QColor(1, 2, 3));
        QCOMPARE(colours->currentText(), u"Custom");
        QCOMPARE(dialog.selectedFont().color, TColor::fromRgb(1, 2, 3));
    }

    // The colour chosen in the dialog reaches the display font and the columns.
    void fontDialogColourReachesTheColumns()
    {
        Harness h(QStringLiteral("alpha: a1"));
        h.generate(QStringLiteral("alpha"));
        withModalDialog(
            [](QWidget *modal) {
                auto *dialog = qobject_cast<FontDialog *>(modal);
                const auto closed = qScopeGuard(
                    [modal] { QMetaObject::invokeMethod(modal, "reject", Qt::QueuedConnection); });
                QVERIFY(dialog);
                auto *colours = dialog->findChild<QComboBox *>(QStringLiteral("colour"));
                colours->setCurrentIndex(colours->findText(QStringLiteral("Red")));
                dialog->accept();
            },
            [&] { h.click("btn4"); });
        QCOMPARE(h.form->aFont.color, TColor::fromRgb(0xFF, 0, 0));
        QCOMPARE(h.column(0)->heading()->palette().color(QPalette::WindowText), QColor(0xFF, 0, 0));
    }

    // ---- Export ----

    void copyMergesTheTickedWordsRowByRow()
    {
        Harness h(kExportScript);
        h.generate(QStringLiteral("a b c"));
        h.setDelimiter(QStringLiteral(", "));
        for (const auto &[column, row] : {std::pair{0, 0}, {0, 1}, {1, 0}, {2, 0}, {2, 1}, {2, 2}})
            QVERIFY(tick(h.column(column)->list(), row));
        // An untick in between leaves no hole.
        QVERIFY(tick(h.column(1)->list(), 1));
        QVERIFY(!tick(h.column(1)->list(), 1));

        h.click("btn1");
        QVERIFY(messages.isEmpty());
        QCOMPARE(QGuiApplication::clipboard()->text(), u"a1, b1, c1, \r\na2, c2, \r\nc3, \r\n");

        // A widened column keeps its place, on screen and in the lines.
        QTest::mouseClick(h.column(2)->heading(), Qt::LeftButton);
        settle();
        QCOMPARE(h.column(2)->x(), 280);
        h.click("btn1");
        QCOMPARE(QGuiApplication::clipboard()->text(), u"a1, b1, c1, \r\na2, c2, \r\nc3, \r\n");

        // A new delimiter counts at once, an empty one too.
        h.setDelimiter(QString());
        h.click("btn1");
        QCOMPARE(QGuiApplication::clipboard()->text(), u"a1b1c1\r\na2c2\r\nc3\r\n");
    }

    // With nothing ticked, Copy and Save change nothing and say so above the columns.
    void nothingTickedLeavesTheClipboardAndFilesAndSaysSo()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        Harness h(kExportScript);
        h.generate(QStringLiteral("a b"));
        QGuiApplication::clipboard()->setText(QStringLiteral("the writer's own text"));
        auto *note = h.find<QLabel>("lblExportNote");
        const QString said = QStringLiteral("No word is ticked: nothing was copied or saved.");

        h.click("btn1");
        QCOMPARE(QGuiApplication::clipboard()->text(), u"the writer's own text");
        QVERIFY(note->isVisible());
        QCOMPARE(note->text(), said);

        // Save opens no dialog and writes nothing, also over a file of notes.
        const QString path = dir.filePath(QStringLiteral("keep.txt"));
        writeAll(path, "notes");
        note->clear();
        bool dialogOpened = false;
        QObject context;
        QTimer::singleShot(50, &context, [&] {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                dialogOpened = true;
                modal->close();
            }
        });
        h.click("btnButton2");
        QVERIFY(!dialogOpened);
        QCOMPARE(readAllOrMarker(path), QByteArray("notes"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("keep.txt")});
        QCOMPARE(note->text(), said);
        QVERIFY(messages.isEmpty());

        // A tick later, Copy copies and the note goes; so does it at the next Generate.
        QVERIFY(tick(h.column(1)->list(), 0));
        h.click("btn1");
        QCOMPARE(QGuiApplication::clipboard()->text(), u"b1.\r\n");
        QVERIFY(!note->isVisible());
        QVERIFY(!h.find<QFrame>("pnlMissLine")->isVisible());
        h.generate(QStringLiteral("a"));
        h.click("btn1");
        QVERIFY(note->isVisible());
        h.generate(QStringLiteral("a"));
        QVERIFY(!note->isVisible());
    }

    void clearClipboardLeavesOnlyAnEmptyText()
    {
        Harness h(kExportScript);
        auto *mime = new QMimeData;
        QImage picture(4, 4, QImage::Format_RGB32);
        picture.fill(Qt::red);
        mime->setImageData(picture);
        mime->setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/some file.txt"))});
        mime->setText(QStringLiteral("before"));
        mime->setData(QStringLiteral("application/x-verbarium-test"), "payload");
        QGuiApplication::clipboard()->setMimeData(mime);
        QVERIFY(QGuiApplication::clipboard()->mimeData()->hasImage());

        h.click("btn3");
        const QMimeData *now = QGuiApplication::clipboard()->mimeData();
        QVERIFY(now);
        QVERIFY(now->hasText());
        QCOMPARE(now->text(), QString());
        QVERIFY(!now->hasImage());
        QVERIFY(!now->hasUrls());
        QVERIFY(!now->hasFormat(QStringLiteral("application/x-verbarium-test")));
        QVERIFY(messages.isEmpty());
    }

    void saveWritesTheTextAndReplacesAnExistingFile()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("words.txt"));
        writeAll(path, "an older and much longer content\r\n");

        Harness h(kExportScript);
        h.generate(QStringLiteral("a b"));
        h.setDelimiter(QStringLiteral(", "));
        QVERIFY(tick(h.column(0)->list(), 0));
        QVERIFY(tick(h.column(0)->list(), 2));
        QVERIFY(tick(h.column(1)->list(), 1));
        QGuiApplication::clipboard()->setText(QStringLiteral("untouched"));

        Dialogs::setNextFileName(path);
        h.click("btnButton2");
        QVERIFY(messages.isEmpty());
        QCOMPARE(readAllOrMarker(path), QByteArray("a1, b2, \r\na3, \r\n"));
        QCOMPARE(QGuiApplication::clipboard()->text(), u"untouched");
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("words.txt")});

        // Cancelling the dialog changes nothing.
        QVERIFY(tick(h.column(1)->list(), 0));
        Dialogs::setNextFileName(std::nullopt);
        h.click("btnButton2");
        QCOMPARE(readAllOrMarker(path), QByteArray("a1, b2, \r\na3, \r\n"));
        QVERIFY(messages.isEmpty());
    }

    void saveDialogIsTheRealOneAndProposesTheLastName()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString first = dir.filePath(QStringLiteral("first.txt"));
        Harness h(kExportScript);
        h.generate(QStringLiteral("a"));
        QVERIFY(tick(h.column(0)->list(), 0));
        Dialogs::setNextFileName(first);
        h.click("btnButton2");
        QCOMPARE(readAllOrMarker(first), QByteArray("a1.\r\n"));

        // The real dialog: its settings, the proposed name, and a typed name without extension.
        QString title;
        QStringList proposed;
        QStringList filters;
        QString suffix;
        bool asksBeforeOverwrite = true;
        withModalDialog(
            [&](QWidget *modal) {
                auto *dialog = qobject_cast<QFileDialog *>(modal);
                if (!dialog) {
                    modal->close();
                    return;
                }
                title = dialog->windowTitle();
                proposed = dialog->selectedFiles();
                filters = dialog->nameFilters();
                suffix = dialog->defaultSuffix();
                asksBeforeOverwrite = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
                dialog->selectFile(dir.filePath(QStringLiteral("second")));
                static_cast<QDialog *>(dialog)->accept();
            },
            [&] { h.click("btnButton2"); });
        QCOMPARE(title, u"Save selected words");
        QCOMPARE(proposed, QStringList{first});
        QCOMPARE(filters, QStringList{QStringLiteral("Text Files (*.txt)")});
        QCOMPARE(suffix, u"txt");
        QVERIFY(asksBeforeOverwrite); // the platform's question before a file is replaced
        QCOMPARE(readAllOrMarker(dir.filePath(QStringLiteral("second.txt"))), QByteArray("a1.\r\n"));

        // Cancelled in the real dialog: nothing written, the last name still proposed.
        withModalDialog(
            [&](QWidget *modal) {
                if (auto *dialog = qobject_cast<QFileDialog *>(modal))
                    proposed = dialog->selectedFiles();
                modal->close();
            },
            [&] { h.click("btnButton2"); });
        QCOMPARE(proposed, QStringList{dir.filePath(QStringLiteral("second.txt"))});
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
                 (QStringList{QStringLiteral("first.txt"), QStringLiteral("second.txt")}));
        QVERIFY(messages.isEmpty());
    }

    // A box with a short message still shows its whole title, bold as title bars have it.
    void messageBoxesAreWideEnoughForTheirTitle()
    {
        Harness h(kExportScript);
        const QString testName = QApplication::applicationName();
        QApplication::setApplicationName(QStringLiteral("Verbarium Pro"));
        const auto restore = qScopeGuard([&] { QApplication::setApplicationName(testName); });
        QFont titleFont = QApplication::font();
        titleFont.setBold(true);
        const int title = QFontMetrics(titleFont).horizontalAdvance(QApplication::applicationDisplayName());
        for (const auto kind : {Kind::Plain, Kind::Error}) {
            const std::unique_ptr<QMessageBox> box = Dialogs::makeMessageBox(h.form.get(), kind,
                                                                             QStringLiteral("Max 10 words at a time !"));
            box->show();
            QVERIFY(QTest::qWaitForWindowExposed(box.get()));
            QCOMPARE(box->windowTitle(), QApplication::applicationDisplayName());
            // The title, and the window manager's icon and three buttons beside it.
            QVERIFY2(box->width() >= title + 4 * 24,
                     qPrintable(QStringLiteral("%1 wide for a title of %2").arg(box->width()).arg(title)));
            box->close();
        }
    }

    void saveToAPlaceThatCannotHoldAFileShowsTheError_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::newRow("folder that does not exist") << QStringLiteral("missing/words.txt");
        QTest::newRow("inside a file") << QStringLiteral("good.txt/words.txt");
        QTest::newRow("a folder itself") << QStringLiteral("folder");
    }

    void saveToAPlaceThatCannotHoldAFileShowsTheError()
    {
        QFETCH(QString, relative);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
        const QString good = dir.filePath(QStringLiteral("good.txt"));

        Harness h(kExportScript);
        h.generate(QStringLiteral("a"));
        QVERIFY(tick(h.column(0)->list(), 1));
        Dialogs::setNextFileName(good);
        h.click("btnButton2");
        const QByteArray goodBytes = readAllOrMarker(good);
        QCOMPARE(goodBytes, QByteArray("a2.\r\n"));

        const QString bad = dir.filePath(relative);
        Dialogs::setNextFileName(bad);
        h.click("btnButton2");
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].kind, Kind::Error);
        const QString prefix = QStringLiteral("Cannot create file \"%1\". ").arg(bad);
        QVERIFY2(messages[0].text.startsWith(prefix), qPrintable(messages[0].text));
        QVERIFY2(messages[0].text.size() > prefix.size() + 1, qPrintable(messages[0].text)); // a reason follows
        QVERIFY(messages[0].text.endsWith(u'.'));
        QVERIFY(!messages[0].text.endsWith(QStringLiteral("..")));
        QCOMPARE(readAllOrMarker(good), goodBytes);
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 (QStringList{QStringLiteral("folder"), QStringLiteral("good.txt")}));
        QVERIFY(QDir(dir.filePath(QStringLiteral("folder"))).isEmpty());
    }

    // ---- Settings tab ----

    void languageListAndItsTyping()
    {
        Harness h{QString()};
        h.showTab(4);
        auto *cbb2 = h.find<QComboBox>("cbb2");
        QStringList items;
        for (int i = 0; i < cbb2->count(); ++i)
            items.append(cbb2->itemText(i));
        QCOMPARE(items, kLanguageItems);
        QCOMPARE(cbb2->currentIndex(), 5);
        QCOMPARE(cbb2->currentText(), u"English US");

        Harness::retype(cbb2->lineEdit(), QStringLiteral("Ice"));
        QCOMPARE(cbb2->currentIndex(), 55);
        QCOMPARE(cbb2->itemText(cbb2->currentIndex()), u"Icelandic");
        Harness::retype(cbb2->lineEdit(), QStringLiteral("xyz"));
        QCOMPARE(cbb2->currentIndex(), -1);
    }

    // The editable lists make their drop-down list when it is first opened: it
    // lists every item, a click in it chooses, and it scrolls as an editable
    // list's does.
    void dropDownListsChooseByClick_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<QString>("style");
        QTest::newRow("depth, native") << 0 << QStringLiteral("cbb1") << 2 << QStringLiteral("Windows");
        QTest::newRow("depth, a theme") << 0 << QStringLiteral("cbb1") << 1 << QStringLiteral("Luna");
        QTest::newRow("language, native") << 4 << QStringLiteral("cbb2") << 7 << QStringLiteral("Windows");
        QTest::newRow("language, a theme") << 4 << QStringLiteral("cbb2") << 8 << QStringLiteral("Luna");
    }

    void dropDownListsChooseByClick()
    {
        QFETCH(int, tab);
        QFETCH(QString, box);
        QFETCH(int, chosen);
        QFETCH(QString, style);
        TStyleManager::SetStyle(style);
        const auto restore = qScopeGuard([] { TStyleManager::SetStyle(QStringLiteral("Windows")); });
        Harness h{QString()};
        h.showTab(tab);
        auto *list = h.find<QComboBox>(qPrintable(box));
        QVERIFY(list->isEditable());
        QSignalSpy activated(list, &QComboBox::activated);

        // What an editable list's drop-down is when the list is made editable at once.
        QComboBox reference;
        reference.setEditable(true);
        reference.addItems({QStringLiteral("a"), QStringLiteral("b")});

        list->showPopup();
        QAbstractItemView *view = list->view();
        QTRY_VERIFY(view->isVisible());
        QCOMPARE(view->model()->rowCount(), list->count());
        QCOMPARE(view->verticalScrollBarPolicy(), reference.view()->verticalScrollBarPolicy());
        QCOMPARE(view->itemDelegate()->metaObject()->className(),
                 reference.view()->itemDelegate()->metaObject()->className());
        const QModelIndex item = view->model()->index(chosen, list->modelColumn());
        view->scrollTo(item);
        const QPoint at = view->visualRect(item).center();
        QTest::mouseMove(view->viewport(), at);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
        settle();
        QTRY_VERIFY(!view->isVisible());
        QCOMPARE(list->currentIndex(), chosen);
        QCOMPARE(list->lineEdit()->text(), list->itemText(chosen));
        QCOMPARE(activated.count(), 1);
        QVERIFY(messages.isEmpty());
    }

    void styleListAppliesTheChosenStyle()
    {
        Harness h{QString()};
        h.showTab(4);
        auto *cbb3 = h.find<QComboBox>("cbb3");
        QStringList names;
        for (int i = 0; i < cbb3->count(); ++i)
            names.append(cbb3->itemText(i));
        QCOMPARE(names.size(), 30);
        QCOMPARE(names.first(), u"Amakrits");
        QCOMPARE(names.last(), u"Windows");
        QStringList sorted = names;
        std::sort(sorted.begin(), sorted.end(),
                  [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
        QCOMPARE(names, sorted);
        QVERIFY(names.contains(QStringLiteral("Luna")));
        QCOMPARE(cbb3->currentIndex(), -1);
        QVERIFY(cbb3->currentText().isEmpty());

        cbb3->setFocus();
        QTest::keyClicks(cbb3, QStringLiteral("Carb"));
        settle();
        QCOMPARE(cbb3->currentText(), u"Carbon");
        QCOMPARE(TStyleManager::ActiveStyleName(), u"Carbon");
        QVERIFY(messages.isEmpty());
    }

    // ---- Every style ----

    // Each check box's outline stands out from its row at 3:1 or more (the
    // non-text contrast of WCAG 2.1), in every style and tier, ticked or not.
    void checkBoxesStandOutInEveryStyle()
    {
        Harness h(QStringLiteral("root: a, b; a: a1; a1: a2; b: b1; b1: b2"));
        h.generate(QStringLiteral("root"), 2);
        CheckListBox *list = h.column(0)->list();
        QCOMPARE(list->words()->rowCount(), 6);
        QVERIFY(tick(list, 1));
        QVERIFY(tick(list, 2));
        QVERIFY(tick(list, 3));
        const auto restore = qScopeGuard([] { TStyleManager::SetStyle(QStringLiteral("Windows")); });
        for (const QString &style : TStyleManager::StyleNames()) {
            TStyleManager::SetStyle(style);
            settle();
            const QImage image = list->viewport()->grab().toImage();
            const qreal ratio = image.devicePixelRatio();
            const auto colour = [&](int x, int y) { return QColor(image.pixel(QPoint(x, y) * ratio)); };
            for (int row = 0; row < list->words()->rowCount(); ++row) {
                const QRect rect = list->visualRect(list->model()->index(row, 0));
                const QRect box = checkBoxRect(list, row);
                // The row's ground: its blank right end, right of the short word.
                const QColor ground = colour(rect.right() - 2, rect.center().y());
                // Each side of the box, at its middle, within a pixel of the edge.
                const QPoint middles[][2] = {{{box.left(), box.center().y()}, {1, 0}},
                                             {{box.right(), box.center().y()}, {-1, 0}},
                                             {{box.center().x(), box.top()}, {0, 1}},
                                             {{box.center().x(), box.bottom()}, {0, -1}}};
                for (const auto &[at, inward] : middles) {
                    const double contrast = std::max(
                        Theme::contrastRatio(colour(at.x(), at.y()), ground),
                        Theme::contrastRatio(colour(at.x() + inward.x(), at.y() + inward.y()), ground));
                    QVERIFY2(contrast >= 3.0, qPrintable(QStringLiteral("%1, row %2 (%3): outline contrast %4:1")
                                                             .arg(style)
                                                             .arg(row)
                                                             .arg(list->words()->isChecked(row) ? u"ticked" : u"unticked")
                                                             .arg(contrast, 0, 'f', 2)));
                }
            }
        }
    }

    // The current word of a focused list wears the style's focus frame in every
    // style, whether the list was reached with Tab or with a click; the arrow keys
    // take the frame along, Space ticks the word inside it.
    void currentWordWearsTheFocusFrameInEveryStyle_data()
    {
        QTest::addColumn<bool>("byClick");
        QTest::newRow("Tab into the list") << false;
        QTest::newRow("click into the list") << true;
    }

    void currentWordWearsTheFocusFrameInEveryStyle()
    {
        QFETCH(bool, byClick);
        Harness h(QStringLiteral("root: a, b; a: a1; b: b1"));
        h.generate(QStringLiteral("root"), 1);
        QApplication::setActiveWindow(h.form.get());
        QVERIFY(QTest::qWaitForWindowActive(h.form.get()));
        CheckListBox *list = h.column(0)->list();
        QCOMPARE(list->words()->rowCount(), 4);
        if (byClick) {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, onWord(list, 0));
        } else {
            h.column(0)->heading()->setFocus(Qt::TabFocusReason);
            QTest::keyClick(h.column(0)->heading(), Qt::Key_Tab);
        }
        QTRY_VERIFY(list->hasFocus());
        QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_Space);
        const int current = list->currentIndex().row();
        QCOMPARE(current, 1);
        QVERIFY(list->words()->isChecked(1));
        QVERIFY(!list->words()->isChecked(0));

        const auto restore = qScopeGuard([] { TStyleManager::SetStyle(QStringLiteral("Windows")); });
        QStringList faults;
        for (const QString &style : TStyleManager::StyleNames()) {
            TStyleManager::SetStyle(style);
            settle();
            const QImage image = list->viewport()->grab().toImage();
            const qreal ratio = image.devicePixelRatio();
            for (int row = 0; row < list->words()->rowCount(); ++row) {
                const QModelIndex index = list->model()->index(row, 0);
                const QRect rect = list->visualRect(index);
                const QColor ground =
                    TierDelegate::look(SynonymExpansion::Tier(index.data(WordListModel::TierRole).toInt())).background;
                // The style's frame, as the style draws it on the row's ground.
                QImage frame(rect.size(), QImage::Format_RGB32);
                frame.fill(ground);
                {
                    QPainter painter(&frame);
                    QStyleOptionFocusRect option;
                    option.initFrom(list);
                    option.rect = QRect(QPoint(0, 0), rect.size());
                    option.state |= QStyle::State_HasFocus | QStyle::State_KeyboardFocusChange | QStyle::State_Item;
                    option.backgroundColor = ground;
                    list->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, list);
                }
                // Each side of the row, one pixel deep: the frame where the style
                // puts its ink, on the current row only.
                int inked = 0;
                int framed = 0;
                int sidesInked = 0;
                for (const QLine &side :
                     {QLine(0, 0, rect.width() - 1, 0), QLine(0, rect.height() - 1, rect.width() - 1, rect.height() - 1),
                      QLine(0, 0, 0, rect.height() - 1), QLine(rect.width() - 1, 0, rect.width() - 1, rect.height() - 1)}) {
                    bool sideInked = false;
                    const int steps = std::max(std::abs(side.dx()), std::abs(side.dy()));
                    for (int i = 0; i <= steps; ++i) {
                        const QPoint p(side.x1() + (side.dx() ? i : 0), side.y1() + (side.dy() ? i : 0));
                        const QColor styleInk = frame.pixelColor(p);
                        if (styleInk == ground)
                            continue;
                        sideInked = true;
                        ++inked;
                        // Within a step of rounding, at the antialiased corners.
                        const QColor shown = QColor(image.pixel((rect.topLeft() + p) * ratio));
                        if (std::abs(shown.red() - styleInk.red()) <= 2 && std::abs(shown.green() - styleInk.green()) <= 2
                            && std::abs(shown.blue() - styleInk.blue()) <= 2)
                            ++framed;
                    }
                    sidesInked += sideInked;
                }
                if (sidesInked != 4)
                    faults.append(QStringLiteral("%1: the style's frame has %2 sides").arg(style).arg(sidesInked));
                if (row == current && framed != inked)
                    faults.append(
                        QStringLiteral("%1: the current row shows %2 of the frame's %3 pixels").arg(style).arg(framed).arg(inked));
                if (row != current && framed != 0)
                    faults.append(QStringLiteral("%1: row %2 is framed but not current").arg(style).arg(row));
            }
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));

        // Out of focus, no row is framed.
        h.find<QLineEdit>("edt1")->setFocus();
        QTRY_VERIFY(!list->hasFocus());
        const QImage unfocused = list->viewport()->grab().toImage();
        const QRect rect = list->visualRect(list->model()->index(current, 0));
        QCOMPARE(QColor(unfocused.pixel(QPoint(rect.center().x(), rect.top()) * unfocused.devicePixelRatio())),
                 TierDelegate::look(SynonymExpansion::SecondLevel).background);
    }

    // Every text of the window stands out from its ground at 4.5:1 or more, and
    // every icon at 3:1, in every style, before and after a font is chosen in the
    // Font dialog and as the style changes afterwards. The words of the result rows
    // keep the tiers' own colours and are left out.
    void everyTextIsLegibleInEveryStyle()
    {
        Harness h(QStringLiteral("alpha: a1; beta: b1"));
        h.generate(QStringLiteral("alpha beta"));
        const auto restore = qScopeGuard([] { TStyleManager::SetStyle(QStringLiteral("Windows")); });
        QStringList faults;
        for (const QString &style : TStyleManager::StyleNames()) {
            TStyleManager::SetStyle(style);
            faults << illegible(h, style + QStringLiteral(", start font"));
        }
        // The dialog's own start: its design font in another face, "Automatic" colour.
        DisplayFont chosen = DisplayFont::dialogDesignFont();
        chosen.family = QStringLiteral("DejaVu Serif");
        chosen.pointSize = 14;
        for (const QString &style : TStyleManager::StyleNames()) {
            TStyleManager::SetStyle(style);
            faults << illegible(h, style + QStringLiteral(", font of the style before"));
            // The chosen font outlives the change of style.
            if (style != TStyleManager::StyleNames().first()) {
                for (QWidget *shown :
                     {static_cast<QWidget *>(h.column(0)->heading()), static_cast<QWidget *>(h.column(0)->list())}) {
                    if (shown->font().family() != chosen.family || shown->font().pointSize() != chosen.pointSize)
                        faults << QStringLiteral("%1: %2 in %3 %4")
                                      .arg(style, shown->objectName(), shown->font().family())
                                      .arg(shown->font().pointSize());
                }
            }
            h.showTab(0);
            Dialogs::setNextFont(chosen);
            h.click("btn4");
            faults << illegible(h, style + QStringLiteral(", font chosen"));
        }
        faults.removeDuplicates();
        for (const QString &fault : std::as_const(faults))
            qWarning().noquote() << fault;
        QVERIFY2(faults.isEmpty(), qPrintable(QStringLiteral("%1 texts or icons stand out too little").arg(faults.size())));
    }

    // Every caption, item and button text of the main window fits its control, in
    // every style at the default font.
    void nothingIsClippedInAnyStyle()
    {
        Harness h(QStringLiteral("alpha: a1"));
        h.generate(QStringLiteral("alpha"));
        const auto restore = qScopeGuard([] { TStyleManager::SetStyle(QStringLiteral("Windows")); });
        QStringList clipped;
        const auto check = [&](const QString &style, QWidget *widget, const QString &text, int needed, int room) {
            if (needed > room)
                clipped.append(
                    QStringLiteral("%1: %2 \"%3\" needs %4, has %5").arg(style, nameOf(widget), text).arg(needed).arg(room));
        };
        for (const QString &style : TStyleManager::StyleNames()) {
            TStyleManager::SetStyle(style);
            for (int tab : {0, 4}) {
                h.showTab(tab);
                for (QWidget *widget : h.form->findChildren<QWidget *>()) {
                    if (!widget->isVisible() || widget->inherits("ResultColumn") || widget->window() != h.form.get())
                        continue;
                    const QFontMetrics metrics(widget->font());
                    if (auto *button = qobject_cast<QPushButton *>(widget)) {
                        QStyleOptionButton option;
                        option.initFrom(button);
                        option.text = button->text();
                        option.icon = button->icon();
                        option.iconSize = button->iconSize();
                        const QRect room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
                        const QSize text = metrics.size(Qt::TextShowMnemonic, button->text());
                        const int icon = button->icon().isNull() ? 0 : button->iconSize().width() + 4;
                        check(style, button, button->text(), text.width() + icon, room.width());
                        check(style, button, button->text(), text.height(), room.height());
                    } else if (auto *label = qobject_cast<QLabel *>(widget)) {
                        if (label->text().isEmpty() || label->wordWrap() || label->textFormat() == Qt::RichText
                            || label->text().startsWith(u'<'))
                            continue;
                        const int margins = 2 * label->margin() + std::max(0, label->indent());
                        check(style, label, label->text(), metrics.size(0, label->text()).width() + margins,
                              label->contentsRect().width());
                    } else if (auto *box = qobject_cast<QComboBox *>(widget)) {
                        QStyleOptionComboBox option;
                        option.initFrom(box);
                        option.editable = box->isEditable();
                        option.frame = box->hasFrame();
                        int room = box->style()
                                       ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, box)
                                       .width();
                        if (box->isEditable()) {
                            const QMargins margins = box->lineEdit()->textMargins();
                            room = box->lineEdit()->contentsRect().width() - margins.left() - margins.right() - 4;
                        }
                        for (int i = 0; i < box->count(); ++i)
                            check(style, box, box->itemText(i),
                                  QFontMetrics(box->font()).horizontalAdvance(box->itemText(i)), room);
                        if (box->objectName() == u"cbb1")
                            check(style, box, QStringLiteral("(its size hint)"), box->sizeHint().width(), box->width());
                    } else if (auto *bar = qobject_cast<QTabBar *>(widget)) {
                        // Tabs take the room their texts ask for while the bar has it; the
                        // last tab must end within the bar.
                        const bool vertical = bar->shape() == QTabBar::RoundedWest || bar->shape() == QTabBar::RoundedEast;
                        const QRect last = bar->tabRect(bar->count() - 1);
                        check(style, bar, bar->tabText(bar->count() - 1),
                              vertical ? last.bottom() + 1 : last.right() + 1, vertical ? bar->height() : bar->width());
                        for (int i = 0; i < bar->count(); ++i) {
                            const int text = QFontMetrics(bar->font()).horizontalAdvance(bar->tabText(i));
                            check(style, bar, bar->tabText(i), text,
                                  vertical ? bar->tabRect(i).height() : bar->tabRect(i).width());
                        }
                    }
                }
            }
        }
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(u'\n')));
    }

    // ---- Keys and screen readers ----

    void keysReachTheButtons()
    {
        Harness h(QStringLiteral("alpha: a1, a2; beta: b1"));
        QApplication::setActiveWindow(h.form.get());
        QVERIFY(QTest::qWaitForWindowActive(h.form.get()));
        auto *edt1 = h.find<QLineEdit>("edt1");
        Harness::retype(edt1, QStringLiteral("alpha beta"));

        // Enter in the phrase box starts nothing; Ctrl+Enter is Generate.
        QTest::keyClick(edt1, Qt::Key_Return);
        settle();
        QVERIFY(h.form->columns().isEmpty());
        QTest::keyClick(edt1, Qt::Key_Return, Qt::ControlModifier);
        settle();
        QCOMPARE(h.headings(), QStringList({QStringLiteral("  alpha"), QStringLiteral("  beta")}));

        // Ctrl+plus and Ctrl+minus are the font buttons.
        const int size = h.form->aFont.pointSize;
        QTest::keyClick(edt1, Qt::Key_Plus, Qt::ControlModifier);
        QCOMPARE(h.form->aFont.pointSize, size + 1);
        QCOMPARE(h.column(1)->displayFont().pointSize, size + 1);
        QTest::keyClick(edt1, Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(h.form->aFont.pointSize, size);

        // Ctrl+Shift+C copies as Copy does, Ctrl+S saves as Save does.
        QVERIFY(tick(h.column(0)->list(), 1));
        QVERIFY(tick(h.column(1)->list(), 0));
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(edt1, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        const QString copied = QGuiApplication::clipboard()->text();
        QVERIFY2(copied.contains(u"a2") && copied.contains(u"b1"), qPrintable(copied));
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("words.txt"));
        Dialogs::setNextFileName(file);
        QTest::keyClick(edt1, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(QFileInfo::exists(file));

        // F1 is the Help button.
        QTest::keyClick(edt1, Qt::Key_F1);
        QCOMPARE(h.find<QTabWidget>("pgc1")->currentIndex(), 1);
        QCOMPARE(h.find<QStackedWidget>("ContentStack")->currentWidget()->objectName(), u"pnlReadMePanel");

        // Ctrl+Q closes the window.
        h.showTab(0);
        QTest::keyClick(edt1, Qt::Key_Q, Qt::ControlModifier);
        settle();
        QVERIFY(!h.form->isVisible());
        QVERIFY(messages.isEmpty());
    }

    void headingsAndWordsByKeyboard()
    {
        Harness h(QStringLiteral("alpha: a1, a2, a3"));
        h.generate(QStringLiteral("alpha"));
        ResultColumn *column = h.column(0);
        QLabel *heading = column->heading();
        QVERIFY(heading->focusPolicy() & Qt::TabFocus);

        // Space and Enter on a focused heading widen and narrow its column.
        heading->setFocus();
        QTest::keyClick(heading, Qt::Key_Space);
        QCOMPARE(column->Expanded, 1);
        QCOMPARE(column->list()->columns(), 3);
        QTest::keyClick(heading, Qt::Key_Return);
        QCOMPARE(column->Expanded, 0);
        QTest::keyClick(heading, Qt::Key_Enter);
        QCOMPARE(column->Expanded, 1);

        // The menu key opens the current word's menu, wherever the pointer is.
        CheckListBox *list = column->list();
        list->setFocus();
        list->setCurrentIndex(list->model()->index(2, 0));
        const QPoint at(1, list->height() - 2);
        QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, at, list->mapToGlobal(at));
        QApplication::sendEvent(list, &menuKey);
        settle();
        QCOMPARE(h.form->SelectedWord, u"a3");
        QTRY_VERIFY(column->popupMenu()->isVisible());
        column->popupMenu()->hide();

        // Enter on a focused word opens its word tree.
        list->setFocus();
        list->setCurrentIndex(list->model()->index(1, 0));
        QSignalSpy trees(h.form.get(), &TForm1::wordTreeRequested);
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(trees.size(), 1);
        QCOMPARE(trees.at(0).at(0).toString(), u"a2");
        QTest::keyClick(list, Qt::Key_Space); // Space still ticks
        QVERIFY(list->words()->isChecked(1));
        QCOMPARE(trees.size(), 1);
    }

    void screenReadersHearNamesAndTiers()
    {
        Harness h(QStringLiteral("root: a; a: a1; a1: a2"));
        h.generate(QStringLiteral("root"), 2);

        // Labels are the buddies of their fields, whose names they give.
        const std::pair<const char *, const char *> buddies[] = {
            {"lbl1", "edt1"}, {"lbl2", "cbb1"}, {"lbl10", "cbb2"}, {"lbl9", "cbb3"}, {"lbl11", "edt2"}};
        for (const auto &[label, field] : buddies)
            QCOMPARE(h.find<QLabel>(label)->buddy(), h.find<QWidget>(field));
        QCOMPARE(QAccessible::queryAccessibleInterface(h.find<QLineEdit>("edt1"))->text(QAccessible::Name),
                 u"Please type text here");
        QCOMPARE(QAccessible::queryAccessibleInterface(h.find<QPushButton>("btn6"))->text(QAccessible::Name),
                 u"Larger font");

        // Every control that takes focus has a name, on every tab.
        QStringList unnamed;
        for (int tab = 0; tab < 5; ++tab) {
            h.showTab(tab);
            for (QWidget *widget : h.form->findChildren<QWidget *>()) {
                if (!widget->isVisible() || !(widget->focusPolicy() & Qt::TabFocus))
                    continue;
                // A web page's content speaks for itself, through the web engine.
                bool inWebPage = false;
                for (QWidget *up = widget->parentWidget(); up && !inWebPage; up = up->parentWidget())
                    inWebPage = up->inherits("QWebEngineView");
                if (inWebPage)
                    continue;
                QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
                const QString name = accessible ? accessible->text(QAccessible::Name) : QString();
                if (name.trimmed().isEmpty() || name.contains(u'\n'))
                    unnamed.append(QStringLiteral("%1 (%2) on tab %3: \"%4\"")
                                       .arg(widget->objectName(), QString::fromLatin1(widget->metaObject()->className()))
                                       .arg(tab)
                                       .arg(name));
            }
        }
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(u'\n')));

        // Each word tells its tier.
        h.showTab(0);
        CheckListBox *list = h.column(0)->list();
        QAccessibleInterface *words = QAccessible::queryAccessibleInterface(list);
        QCOMPARE(words->text(QAccessible::Name), u"Synonyms of root");
        const QString expected[][2] = {{QStringLiteral("a"), QStringLiteral("first level")},
                                       {QStringLiteral("a1"), QStringLiteral("second level")},
                                       {QStringLiteral("a2"), QStringLiteral("third level")}};
        QAccessibleTableInterface *table = words->tableInterface();
        QVERIFY(table);
        for (int row = 0; row < 3; ++row) {
            QAccessibleInterface *cell = table->cellAt(row, 0);
            QVERIFY(cell);
            QCOMPARE(cell->text(QAccessible::Name), expected[row][0]);
            QCOMPARE(cell->text(QAccessible::Description), expected[row][1]);
        }
        QCOMPARE(QAccessible::queryAccessibleInterface(h.column(0)->heading())->text(QAccessible::Name), u"root");
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
