// Times the program's windows on the installed thesaurus data, each beside a floor
// measured in the same run: the same content in bare Qt widgets, shown the same way.
//
//   verbarium-window-bench [--repeat N] [--first-starts M] [--starts-only]
//   verbarium-window-bench --first-start ours | --first-start floor WxH [X,Y,W,H]
//
// The second form is one first start in this process, printing its milliseconds: the
// first form runs it in a new process for each first start, and it is handy for profiling.
// The floor of a start is a bare window of the main window's size with one web view of
// the size and at the place of the main window's own (X,Y,W,H); a second floor adds bare
// copies of the main window's visible controls to it, to tell what they cost by themselves.
//
// Reads the installed thesaurus data (VERBARIUM_THESAURUS_PATH is ignored) and runs on
// the offscreen platform unless QT_QPA_PLATFORM says otherwise: with an X server,
// QT_QPA_PLATFORM=xcb (under xvfb-run, say) times the starts as a display shows them,
// the server's work and the web view's OpenGL included. The real windows are driven as
// a user drives them, through their named controls.
//
// "Painted" means the same thing for every row of the table: after the action the
// posted events are delivered (layouts, pending updates) until none is left, and then
// the window, or for Generate the results area, is rendered once with QWidget::grab(),
// a synchronous paint of every visible widget into an image. The clock stops when the
// image is there.

#include "app/CheckListBox.h"
#include "app/Main.h"
#include "app/MeaningsPanel.h"
#include "app/ResultColumn.h"
#include "app/WordListModel.h"
#include "app/CommonnessSource.h"
#include "app/WriterOptions.h"
#include "settings/TStyleManager.h"
#include "thesaurus/SynonymExpansion.h"
#include "thesaurus/TSpellCheck.h"
#include "thesaurus/WordTree.h"

#include <QAbstractEventDispatcher>
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPixmap>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWebEngineView>
#include <QWindow>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace {

const QString Phrase = QStringLiteral("run bright big");
const QString TreeWord = QStringLiteral("run");
constexpr int TierRole = Qt::UserRole; // where a result list keeps each word's tier

[[noreturn]] void fail(const QString &why)
{
    std::fprintf(stderr, "verbarium-window-bench: %s\n", qUtf8Printable(why));
    std::exit(1);
}

// Delivers posted events until none is left, without waiting for new ones.
// The web engine keeps sending events of its own, so the rounds are bounded.
void drain()
{
    QAbstractEventDispatcher *dispatcher = QCoreApplication::eventDispatcher();
    int rounds = 0;
    do {
        QCoreApplication::sendPostedEvents();
    } while (dispatcher->processEvents(QEventLoop::AllEvents) && ++rounds < 10);
}

// Waits until the window system has exposed the window. Polling keeps QTest's 10 ms
// sleeps out of the figures.
void waitExposed(QWidget *window)
{
    QElapsedTimer waited;
    waited.start();
    while (!window->windowHandle() || !window->windowHandle()->isExposed()) {
        if (waited.elapsed() > 10000)
            fail(QStringLiteral("a window was never exposed"));
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

// The end of every measurement: events delivered, then one full render.
void paint(QWidget *widget)
{
    drain();
    const QPixmap image = widget->grab();
    if (image.isNull())
        fail(QStringLiteral("a window could not be rendered"));
}

template <class T>
T *control(QWidget *window, const char *name)
{
    T *widget = window->findChild<T *>(QLatin1StringView(name));
    if (!widget)
        fail(QStringLiteral("no control named %1").arg(QLatin1StringView(name)));
    return widget;
}

double msSince(const QElapsedTimer &clock)
{
    return double(clock.nsecsElapsed()) / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// What a result list showed, to be filled into a bare list.
struct ListCopy {
    QStringList words;
    QList<int> tiers;
    QFont font;
    QSize size;
};

// The lists of the results area, left to right, as they are shown.
std::vector<ListCopy> copyResultLists(QWidget *resultsArea)
{
    QList<QAbstractItemView *> views = resultsArea->findChildren<QAbstractItemView *>();
    views.removeIf([](QAbstractItemView *view) { return !view->isVisible(); });
    std::sort(views.begin(), views.end(), [](QAbstractItemView *a, QAbstractItemView *b) {
        return a->mapToGlobal(QPoint()).x() < b->mapToGlobal(QPoint()).x();
    });
    std::vector<ListCopy> lists;
    for (QAbstractItemView *view : std::as_const(views)) {
        ListCopy copy;
        const QAbstractItemModel *model = view->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            const QModelIndex index = model->index(row, 0);
            copy.words.append(index.data(Qt::DisplayRole).toString());
            copy.tiers.append(index.data(TierRole).toInt());
        }
        copy.font = view->font();
        copy.size = view->size();
        lists.push_back(copy);
    }
    return lists;
}

// A node of a tree as it was shown: its text and the index of its parent (-1 for a root).
struct NodeCopy {
    QString text;
    int parent = -1;
};

std::vector<NodeCopy> copyTree(QTreeWidget *tree)
{
    std::vector<NodeCopy> nodes;
    std::function<void(QTreeWidgetItem *, int)> walk = [&](QTreeWidgetItem *item, int parent) {
        const int self = int(nodes.size());
        nodes.push_back({item->text(0), parent});
        for (int i = 0; i < item->childCount(); ++i)
            walk(item->child(i), self);
    };
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        walk(tree->topLevelItem(i), -1);
    return nodes;
}

// A word's meanings page in a bare QTextBrowser of a given size and font, shown:
// the floor of the word window's panel, which shows the same page.
std::unique_ptr<QTextBrowser> bareMeaningsPage(const QSize &size, const QFont &font)
{
    auto bare = std::make_unique<QTextBrowser>();
    bare->setFont(font);
    bare->resize(size);
    bare->show();
    return bare;
}

QTreeWidget *openedTree()
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->inherits("TForm2") && window->isVisible())
            return window->findChild<QTreeWidget *>();
    }
    return nullptr;
}

void closeTreeWindows()
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->inherits("TForm2"))
            delete window;
    }
}

struct Row {
    Row(const QString &what, const QString &floorWhat) : what(what), floorWhat(floorWhat) {}
    QString what;
    QString floorWhat;
    QString size;
    std::vector<double> ours;
    std::vector<double> floor;
    // The thesaurus lookups inside "ours", made again on their own; the floors make none.
    std::vector<double> lookups;

    // One run's figures; the first run of each row warms up and is not counted.
    void record(int run, double oursMs, double floorMs, std::optional<double> lookupsMs = {})
    {
        if (run == 0)
            return;
        ours.push_back(oursMs);
        floor.push_back(floorMs);
        if (lookupsMs)
            lookups.push_back(*lookupsMs);
    }
};

int doraz3Index(QWidget *form)
{
    const int index = control<QComboBox>(form, "cbb1")->findText(QStringLiteral("Doraz 3"));
    if (index < 0)
        fail(QStringLiteral("the depth list has no \"Doraz 3\""));
    return index;
}

// Types the phrase, chooses "Doraz 3" and presses Generate, as a user does.
void generate(QWidget *form)
{
    control<QLineEdit>(form, "edt1")->setText(Phrase);
    control<QComboBox>(form, "cbb1")->setCurrentIndex(doraz3Index(form));
    QTest::mouseClick(control<QPushButton>(form, "btn2"), Qt::LeftButton);
}

// The bare lists of the Generate floor, fresh ones each time as Generate makes fresh columns.
void fillBareLists(QWidget *window, const std::vector<ListCopy> &lists)
{
    // The result lists draw tier 0 bold and tiers 1 and 2 italic, each on its own colours.
    static const QColor back[] = {QColor(0xF9, 0xF9, 0xF9), QColor(0xEF, 0xEF, 0xEF), QColor(0xE5, 0xE5, 0xE5)};
    static const QColor text[] = {QColor(0x00, 0x00, 0x00), QColor(0x00, 0x80, 0x00), QColor(0x00, 0x00, 0xFF)};
    auto *layout = static_cast<QHBoxLayout *>(window->layout());
    for (const ListCopy &copy : lists) {
        auto *list = new QListWidget(window);
        list->setFont(copy.font);
        list->setFixedSize(copy.size);
        list->setUniformItemSizes(true);
        QFont fonts[3] = {copy.font, copy.font, copy.font};
        fonts[0].setBold(true);
        fonts[1].setItalic(true);
        fonts[2].setItalic(true);
        for (int row = 0; row < copy.words.size(); ++row) {
            const int tier = std::clamp(copy.tiers.at(row), 0, 2);
            auto *item = new QListWidgetItem(copy.words.at(row), list);
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Unchecked);
            item->setFont(fonts[tier]);
            item->setForeground(text[tier]);
            item->setBackground(back[tier]);
        }
        layout->addWidget(list);
    }
}

void printTable(const std::vector<Row> &rows, int repeat, int firstStarts)
{
    std::printf(
        "| Window | Content | Ours (ms) | Floor (ms) | Ratio | Of ours, lookups (ms) | Ratio without them | Floor |\n");
    std::printf("|---|---|---:|---:|---:|---:|---:|---|\n");
    for (const Row &row : rows) {
        const double ours = median(row.ours);
        const double floor = median(row.floor);
        QString lookups = QStringLiteral("-");
        QString without = QStringLiteral("-");
        if (!row.lookups.empty()) {
            const double spent = median(row.lookups);
            lookups = QString::number(spent, 'f', 1);
            without = QString::number((ours - spent) / floor, 'f', 2);
        }
        std::printf("| %s | %s | %.1f | %.1f | %.2f | %s | %s | %s |\n", qUtf8Printable(row.what),
                    qUtf8Printable(row.size), ours, floor, ours / floor, qUtf8Printable(lookups),
                    qUtf8Printable(without), qUtf8Printable(row.floorWhat));
    }
    std::printf("\nMedians of %d runs each, ours, floor and lookups taken in turn, after one run of each that is not "
                "counted; the first starts: medians of %d, ours and floor in turn. Qt platform: %s.\n",
                repeat, firstStarts, qUtf8Printable(QGuiApplication::platformName()));
}

// Where a start's time went: building the window, show(), until exposed, the events, the render.
using StartPhases = std::array<std::vector<double>, 5>;

// What the floor of a start copies from the main window: its size, and where its
// web view stands (empty when the window showed none).
struct StartShape {
    QSize window;
    QRect webView;
};

StartShape shapeOf(QWidget *window)
{
    StartShape shape{window->size(), QRect()};
    for (QWebEngineView *view : window->findChildren<QWebEngineView *>()) {
        if (view->isVisible())
            shape.webView = QRect(view->mapTo(window, QPoint(0, 0)), view->size());
    }
    return shape;
}

// One visible control of the main window, as a bare copy of it needs it.
struct ControlCopy {
    enum Kind { Label, Button, LineEdit, ComboBox, TabBar } kind = Label;
    QRect geometry; // in the window
    QFont font;
    QString text;
    QPixmap pixmap;    // a label's picture
    QIcon icon;        // a button's
    QStringList items; // a drop-down's, or a tab bar's captions
    QTabBar::Shape shape = QTabBar::RoundedNorth;
};

// The visible labels, buttons, line edits, drop-downs and tab bars of a window, where
// they stand in it. Frames, panels and layouts are left out: what they cost is ours.
std::vector<ControlCopy> copyControls(QWidget *window)
{
    std::vector<ControlCopy> copies;
    for (QWidget *widget : window->findChildren<QWidget *>()) {
        if (!widget->isVisible())
            continue;
        ControlCopy copy;
        copy.geometry = QRect(widget->mapTo(window, QPoint(0, 0)), widget->size());
        copy.font = widget->font();
        if (auto *label = qobject_cast<QLabel *>(widget)) {
            copy.kind = ControlCopy::Label;
            copy.text = label->text();
            copy.pixmap = label->pixmap();
        } else if (auto *button = qobject_cast<QPushButton *>(widget)) {
            copy.kind = ControlCopy::Button;
            copy.text = button->text();
            copy.icon = button->icon();
        } else if (auto *box = qobject_cast<QComboBox *>(widget)) {
            copy.kind = ControlCopy::ComboBox;
            for (int i = 0; i < box->count(); ++i)
                copy.items.append(box->itemText(i));
        } else if (auto *edit = qobject_cast<QLineEdit *>(widget)) {
            if (qobject_cast<QComboBox *>(edit->parentWidget()))
                continue; // the drop-down's own
            copy.kind = ControlCopy::LineEdit;
            copy.text = edit->placeholderText();
        } else if (auto *tabs = qobject_cast<QTabBar *>(widget)) {
            copy.kind = ControlCopy::TabBar;
            copy.shape = tabs->shape();
            for (int i = 0; i < tabs->count(); ++i)
                copy.items.append(tabs->tabText(i));
        } else {
            continue;
        }
        copies.push_back(copy);
    }
    return copies;
}

// A bare copy of one control, in the parent at the control's place.
void addBareCopy(QWidget *parent, const ControlCopy &copy)
{
    QWidget *widget = nullptr;
    switch (copy.kind) {
    case ControlCopy::Label: {
        auto *label = new QLabel(copy.text, parent);
        if (!copy.pixmap.isNull())
            label->setPixmap(copy.pixmap);
        widget = label;
        break;
    }
    case ControlCopy::Button: {
        auto *button = new QPushButton(copy.icon, copy.text, parent);
        button->setAutoDefault(false);
        widget = button;
        break;
    }
    case ControlCopy::LineEdit: {
        auto *edit = new QLineEdit(parent);
        edit->setPlaceholderText(copy.text);
        widget = edit;
        break;
    }
    case ControlCopy::ComboBox: {
        auto *box = new QComboBox(parent);
        box->setEditable(true);
        box->addItems(copy.items);
        widget = box;
        break;
    }
    case ControlCopy::TabBar: {
        auto *tabs = new QTabBar(parent);
        tabs->setShape(copy.shape);
        for (const QString &caption : copy.items)
            tabs->addTab(caption);
        widget = tabs;
        break;
    }
    }
    widget->setFont(copy.font);
    widget->setGeometry(copy.geometry);
}

// Builds and shows the main window until painted; the window goes again afterwards.
double startMainWindow(StartShape *shape, StartPhases *phases = nullptr, std::vector<ControlCopy> *controls = nullptr)
{
    QElapsedTimer clock;
    clock.start();
    double mark[5];
    auto form = std::make_unique<TForm1>();
    mark[0] = msSince(clock);
    form->show();
    mark[1] = msSince(clock);
    waitExposed(form.get());
    mark[2] = msSince(clock);
    drain();
    mark[3] = msSince(clock);
    paint(form.get());
    const double ms = msSince(clock);
    mark[4] = ms;
    if (phases) {
        for (size_t i = 0; i < 5; ++i)
            (*phases)[i].push_back(mark[i] - (i > 0 ? mark[i - 1] : 0));
    }
    *shape = shapeOf(form.get());
    if (controls)
        *controls = copyControls(form.get());
    form->close();
    form.reset();
    drain();
    return ms;
}

// The floors of a start: a bare window of the main window's size with one web view
// where the main window shows its own (without one to copy, it fills the window),
// and, when they are given, bare copies of the main window's visible controls at
// their places, under the same application style.
double startBareWindow(const StartShape &shape, const std::vector<ControlCopy> &controls = {})
{
    QElapsedTimer clock;
    clock.start();
    auto bare = std::make_unique<QWidget>();
    for (const ControlCopy &copy : controls)
        addBareCopy(bare.get(), copy);
    auto *view = new QWebEngineView(bare.get());
    if (shape.webView.isValid()) {
        view->setGeometry(shape.webView);
    } else {
        auto *layout = new QVBoxLayout(bare.get());
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(view);
    }
    bare->resize(shape.window);
    bare->show();
    waitExposed(bare.get());
    paint(bare.get());
    const double ms = msSince(clock);
    bare.reset();
    drain();
    return ms;
}

// Runs this program again for one first start and reads the milliseconds it prints.
double startInNewProcess(const QStringList &arguments)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), arguments);
    if (!child.waitForFinished(120000) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        fail(QStringLiteral("the first start in a new process failed (%1)").arg(arguments.join(QLatin1Char(' '))));
    bool ok = false;
    const double ms = QString::fromLatin1(child.readAllStandardOutput()).trimmed().toDouble(&ok);
    if (!ok)
        fail(QStringLiteral("the first start in a new process printed no time"));
    return ms;
}

// A start's shape as the command line carries it: "WxH" and, when there is a web view, "X,Y,W,H".
QStringList shapeArguments(const StartShape &shape)
{
    QStringList arguments{QStringLiteral("%1x%2").arg(shape.window.width()).arg(shape.window.height())};
    if (shape.webView.isValid()) {
        const QRect &r = shape.webView;
        arguments.append(QStringLiteral("%1,%2,%3,%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()));
    }
    return arguments;
}

StartShape shapeFromArguments(const QStringList &arguments)
{
    const QStringList wh = arguments.value(0).split(QLatin1Char('x'));
    const QStringList r = arguments.value(1).split(QLatin1Char(','));
    StartShape shape{QSize(wh.value(0).toInt(), wh.value(1).toInt()), QRect()};
    if (r.size() == 4)
        shape.webView = QRect(r.at(0).toInt(), r.at(1).toInt(), r.at(2).toInt(), r.at(3).toInt());
    return shape;
}

// The child's part of startInNewProcess: "ours", or "floor" with the shape of shapeArguments.
int firstStart(const QStringList &arguments)
{
    double ms = 0;
    if (arguments.value(0) == QStringLiteral("ours")) {
        StartShape shape;
        ms = startMainWindow(&shape);
    } else if (arguments.value(0) == QStringLiteral("floor")) {
        ms = startBareWindow(shapeFromArguments(arguments.mid(1)));
    } else {
        return 2;
    }
    std::printf("%.3f\n", ms);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The figures are for the data installed on the machine, not for a folder of test fixtures.
    qunsetenv("VERBARIUM_THESAURUS_PATH");
    // The windows save their placement and settings when they close: never into the user's files.
    QTemporaryDir aside;
    qputenv("VERBARIUM_REGISTRY_FILE", aside.filePath(QStringLiteral("registry.ini")).toLocal8Bit());
    qputenv("VERBARIUM_SETTINGS_FILE", aside.filePath(QStringLiteral("settings.ini")).toLocal8Bit());
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);

    // As the program starts: the style first, for the floors too, as they run in the same application.
    TStyleManager::TrySetStyle(QStringLiteral("Luna"));

    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.value(1) == QStringLiteral("--first-start"))
        return firstStart(arguments.mid(2));

    int repeat = 31;
    int firstStarts = 9;
    bool startsOnly = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        bool ok = false;
        if (arguments.at(i) == QStringLiteral("--starts-only"))
            ok = startsOnly = true;
        else if (arguments.at(i) == QStringLiteral("--repeat") && i + 1 < arguments.size())
            repeat = arguments.at(++i).toInt(&ok);
        else if (arguments.at(i) == QStringLiteral("--first-starts") && i + 1 < arguments.size())
            firstStarts = arguments.at(++i).toInt(&ok);
        if (!ok || repeat < 1 || firstStarts < 1) {
            std::fprintf(stderr, "usage: verbarium-window-bench [--repeat N] [--first-starts M] [--starts-only]\n"
                                 "  N >= 1 runs of each in this process (default 31),\n"
                                 "  M >= 1 first starts, each in a new process (default 9),\n"
                                 "  --starts-only: only the main window's start\n");
            return 2;
        }
    }

    std::vector<Row> rows;
    const int runs = repeat + 1; // the first of each is not counted

    // The start of the main window, against a bare window with one web view, and
    // against that window with bare copies of the main window's controls.
    Row start(QStringLiteral("Main window start"),
              QStringLiteral("bare window, one `QWebEngineView` of the same size and place"));
    Row controlsStart(QStringLiteral("Main window start, against its controls bare"),
                      QStringLiteral("the same, with bare copies of the window's visible labels, buttons, "
                                     "boxes and tab bars at their places"));
    StartShape shape;
    std::vector<ControlCopy> controls;
    StartPhases phases;
    for (int run = 0; run < runs; ++run) {
        StartPhases once;
        const double ours = startMainWindow(&shape, &once, &controls);
        const double floor = startBareWindow(shape);
        const double controlsFloor = startBareWindow(shape, controls);
        if (run > 0) {
            start.ours.push_back(ours);
            start.floor.push_back(floor);
            controlsStart.ours.push_back(ours);
            controlsStart.floor.push_back(controlsFloor);
            for (size_t i = 0; i < phases.size(); ++i)
                phases[i].push_back(once[i].front());
        }
    }
    start.size = QStringLiteral("%1 × %2 px").arg(shape.window.width()).arg(shape.window.height());
    if (shape.webView.isValid())
        start.size += QStringLiteral(", web view %1 × %2").arg(shape.webView.width()).arg(shape.webView.height());
    controlsStart.size = QStringLiteral("%1 controls").arg(controls.size());

    // The same in a new process each time, as a user meets it: the web engine starts there too.
    Row firstStart(QStringLiteral("Main window, first in a new process"),
                   QStringLiteral("the same bare window, first in a new process"));
    firstStart.size = start.size;
    for (int run = 0; run < firstStarts; ++run) {
        firstStart.ours.push_back(startInNewProcess({QStringLiteral("--first-start"), QStringLiteral("ours")}));
        firstStart.floor.push_back(startInNewProcess(
            QStringList{QStringLiteral("--first-start"), QStringLiteral("floor")} + shapeArguments(shape)));
    }
    const auto printPhases = [&phases] {
        std::printf("Main window start, medians of its parts (ms): building TForm1 %.1f, show() %.1f, until exposed "
                    "%.1f, events %.1f, render %.1f.\n",
                    median(phases[0]), median(phases[1]), median(phases[2]), median(phases[3]), median(phases[4]));
    };
    if (startsOnly) {
        printTable({start, controlsStart, firstStart}, repeat, firstStarts);
        printPhases();
        return 0;
    }

    TForm1 form;
    form.show();
    waitExposed(&form);
    drain();
    QWidget *resultsArea = form.findChild<QWidget *>(QStringLiteral("ScrollBox1"));
    if (!resultsArea)
        resultsArea = &form;

    // Generate until the results are painted, against the same rows in bare lists.
    Row gen(QStringLiteral("Generate \"%1\" at \"Doraz 3\"").arg(Phrase),
            QStringLiteral("the same rows in bare `QListWidget`s"));
    for (int run = 0; run < runs; ++run) {
        if (run == 0) {
            // A message box instead of columns would wait for a click forever.
            QTimer::singleShot(0, &form, [] {
                if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
                    fail(QStringLiteral("Generate answered \"%1\"").arg(box->text()));
            });
        }
        QElapsedTimer clock;
        clock.start();
        generate(&form);
        paint(resultsArea);
        const double ours = msSince(clock);
        const std::vector<ListCopy> lists = copyResultLists(resultsArea);
        if (lists.empty())
            fail(QStringLiteral("Generate of \"%1\" showed no column: is the en_US thesaurus installed?").arg(Phrase));

        QWidget bare;
        auto *layout = new QHBoxLayout(&bare);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addStretch();
        bare.resize(resultsArea->size());
        bare.show();
        waitExposed(&bare);
        drain();
        clock.restart();
        fillBareLists(&bare, lists);
        paint(&bare);
        const double floor = msSince(clock);

        // The expansion alone, through the window's own thesaurus: what Generate asks of the data.
        const auto lookup = SynonymExpansion::lookupThrough(*form.SpellCheck1);
        clock.restart();
        for (const QString &word : Phrase.split(QLatin1Char(' ')))
            SynonymExpansion::ExpandWord(word, doraz3Index(&form), lookup);
        const double lookups = msSince(clock);

        gen.record(run, ours, floor, lookups);
        if (run == 0) {
            QStringList counts;
            for (const ListCopy &copy : lists)
                counts.append(QString::number(copy.words.size()));
            gen.size = QStringLiteral("%1 columns, %2 rows").arg(lists.size()).arg(counts.join(QStringLiteral(" + ")));
        }
    }

    // The same Generate with "Most common first" on, against it off, in turn; the
    // ranks (SCOWL's lists) are loaded first, as the window loads them off its thread.
    Row common(QStringLiteral("Generate \"%1\" at \"Doraz 3\", most common first").arg(Phrase),
               QStringLiteral("the same Generate in the data's order"));
    auto *mostCommon = control<QCheckBox>(&form, "chkMostCommonFirst");
    auto *writer = form.findChild<WriterOptions *>();
    mostCommon->setChecked(true);
    for (QElapsedTimer waited; !waited.isValid() || (writer->commonness()->isLoading() && waited.elapsed() < 30000);) {
        if (!waited.isValid())
            waited.start();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    if (!writer->commonness()->find(QString(), true))
        std::fprintf(stderr, "window bench: no SCOWL word lists (package scowl): the ordered Generate is not ordered\n");
    for (int run = 0; run < runs; ++run) {
        mostCommon->setChecked(true);
        QElapsedTimer clock;
        clock.start();
        generate(&form);
        paint(resultsArea);
        const double ours = msSince(clock);
        mostCommon->setChecked(false);
        drain();
        clock.restart();
        generate(&form);
        paint(resultsArea);
        const double floor = msSince(clock);
        common.record(run, ours, floor);
    }
    common.size = gen.size;

    // The word tree until painted, against the same nodes in a bare tree.
    Row tree(QStringLiteral("Word tree of \"%1\"").arg(TreeWord),
             QStringLiteral("the same nodes in a bare `QTreeWidget`, expanded, and the root's meanings page in a "
                            "bare `QTextBrowser`"));
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer clock;
        clock.start();
        Q_EMIT form.wordTreeRequested(TreeWord);
        QPointer<QTreeWidget> tv1 = openedTree();
        if (!tv1)
            fail(QStringLiteral("no word window opened for \"%1\"").arg(TreeWord));
        QWidget *window = tv1->window();
        waitExposed(window);
        paint(window);
        const double ours = msSince(clock);
        // A word without synonyms closes its window at once.
        if (!tv1)
            fail(QStringLiteral("the word tree of \"%1\" is empty: is the en_US thesaurus installed?").arg(TreeWord));
        const std::vector<NodeCopy> nodes = copyTree(tv1);
        const QFont font = tv1->font();
        const QSize treeSize = tv1->size();
        // Below the tree, the window shows the selected word's meanings.
        auto *treePanel = window->findChild<MeaningsPanel *>(QStringLiteral("pnlMeanings"));
        if (!treePanel || treePanel->currentWord() != TreeWord)
            fail(QStringLiteral("the word window shows no meanings of \"%1\"").arg(TreeWord));
        const QSize pageSize = treePanel->text()->size();
        const QFont pageFont = treePanel->text()->font();
        const QPalette pagePalette = treePanel->palette();
        closeTreeWindows();
        drain();
        if (nodes.size() <= 1)
            fail(QStringLiteral("the word tree of \"%1\" is empty: is the en_US thesaurus installed?").arg(TreeWord));

        const WordMeanings::Answer answer = form.SpellCheck1->Meanings(TreeWord);
        clock.restart();
        auto bare = std::make_unique<QTreeWidget>();
        bare->setHeaderHidden(true);
        bare->setUniformRowHeights(true);
        bare->setFont(font);
        bare->resize(treeSize);
        std::vector<QTreeWidgetItem *> items;
        items.reserve(nodes.size());
        for (const NodeCopy &node : nodes) {
            items.push_back(node.parent < 0 ? new QTreeWidgetItem(bare.get(), {node.text})
                                            : new QTreeWidgetItem(items[size_t(node.parent)], {node.text}));
        }
        bare->expandAll();
        bare->show();
        const std::unique_ptr<QTextBrowser> barePage = bareMeaningsPage(pageSize, pageFont);
        barePage->setHtml(MeaningsPanel::toHtml(answer, {}, pagePalette));
        waitExposed(bare.get());
        waitExposed(barePage.get());
        paint(bare.get());
        paint(barePage.get());
        const double floor = msSince(clock);
        bare.reset();
        drain();

        // The tree's fill and the root's meanings alone, through the window's own thesaurus.
        const auto lookup = SynonymExpansion::lookupThrough(*form.SpellCheck1);
        clock.restart();
        WordTree().fill(TreeWord, lookup);
        form.SpellCheck1->Meanings(TreeWord);
        const double lookups = msSince(clock);

        tree.record(run, ours, floor, lookups);
        tree.size = QStringLiteral("%1 nodes").arg(nodes.size());
    }
    // A click on a word of a column until the side panel shows its meanings painted,
    // against the same click on a bare list of the same words whose handler sets the
    // same page, made beforehand, into a bare QTextBrowser of the panel's size and font.
    generate(&form);
    paint(resultsArea);
    ResultColumn *column = form.columns().value(1);
    auto *panel = form.findChild<MeaningsPanel *>(QStringLiteral("pnlMeanings"));
    if (!column || !column->list() || !panel)
        fail(QStringLiteral("no column of \"%1\" or no meanings panel").arg(Phrase));
    CheckListBox *list = column->list();
    const int clickable = std::min(16, list->model()->rowCount());
    if (clickable < 3)
        fail(QStringLiteral("the column of \"%1\" has too few words to click in turn").arg(column->typedWord()));
    Row meanings(QStringLiteral("A click on a word of \"%1\" to its meanings").arg(column->typedWord()),
                 QStringLiteral("the same click on a bare `QListWidget` of the same words, whose handler sets the "
                                "same page into a bare `QTextBrowser`"));
    QWidget bareWindow;
    auto *bareLayout = new QHBoxLayout(&bareWindow);
    auto *bareList = new QListWidget;
    for (int row = 0; row < list->model()->rowCount(); ++row)
        bareList->addItem(list->words()->text(row));
    bareList->setFont(list->font());
    bareList->setFixedSize(list->size());
    auto *barePage = new QTextBrowser;
    barePage->setFont(panel->text()->font());
    barePage->setFixedSize(panel->text()->size());
    bareLayout->addWidget(bareList);
    bareLayout->addWidget(barePage);
    QString bareHtml;
    QObject::connect(bareList, &QListWidget::currentRowChanged, barePage, [&] { barePage->setHtml(bareHtml); });
    bareWindow.show();
    waitExposed(&bareWindow);
    int pageLines = 0;
    for (int run = 0; run < runs; ++run) {
        // A different word each time: a click on the word shown changes nothing.
        const int row = (run % (clickable - 1)) + 1;
        const QString word = list->words()->text(row);
        drain();
        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(row, 0)).center());
        // The page is what a click changes, as the floor's is: the panel's Back and
        // Forward buttons stay as they were and are not painted again on screen.
        paint(panel->text());
        const double ours = msSince(clock);
        if (panel->currentWord() != word || !panel->text()->isVisible())
            fail(QStringLiteral("a click on \"%1\" did not show its meanings").arg(word));
        pageLines = std::max(pageLines, panel->text()->document()->lineCount());

        bareHtml = MeaningsPanel::toHtml(form.SpellCheck1->Meanings(word), {}, panel->palette());
        drain();
        clock.restart();
        QTest::mouseClick(bareList->viewport(), Qt::LeftButton, {}, bareList->visualItemRect(bareList->item(row)).center());
        paint(barePage);
        const double floor = msSince(clock);
        if (bareList->currentRow() != row)
            fail(QStringLiteral("the bare list missed its click"));

        // The meanings alone (thesaurus entry, WordNet's senses), warm, through the window's thesaurus.
        clock.restart();
        form.SpellCheck1->Meanings(word);
        const double lookups = msSince(clock);

        meanings.record(run, ours, floor, lookups);
    }
    meanings.size = QStringLiteral("%1 words in turn, up to %2 lines").arg(clickable - 1).arg(pageLines);
    form.close();

    rows.push_back(gen);
    rows.push_back(common);
    rows.push_back(tree);
    rows.push_back(meanings);
    rows.push_back(start);
    rows.push_back(controlsStart);
    rows.push_back(firstStart);
    printTable(rows, repeat, firstStarts);
    printPhases();
    return 0;
}
