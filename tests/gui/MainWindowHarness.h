#pragma once

// The main window as the widget suites drive it: built over a scripted thesaurus,
// shown offscreen, its controls found by objectName and used through QTest as a
// user would (typing, clicks on real controls).

#include "../ScriptedSource.h"
#include "app/CheckListBox.h"
#include "app/Main.h"
#include "app/ResultColumn.h"
#include "app/WordListModel.h"

#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

namespace MainWindowHarness {

// A scripted thesaurus that also notes the cursor shown during each lookup.
class CursorWatchingSource : public ScriptedSource
{
public:
    std::shared_ptr<QList<int>> shapes = std::make_shared<QList<int>>();

    std::unique_ptr<SynonymInfo> synonymInfo(const QString &word, std::int32_t languageId) override
    {
        const QCursor *cursor = QGuiApplication::overrideCursor();
        shapes->append(cursor ? int(cursor->shape()) : -1);
        return ScriptedSource::synonymInfo(word, languageId);
    }
};

inline void settle()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

// One shown main window over a scripted thesaurus.
class Harness
{
public:
    // `tweak` adjusts the scripted thesaurus, `beforeShow` the window before it is first shown.
    explicit Harness(const QString &script, const std::function<void(ScriptedSource &)> &tweak = {},
                     const std::function<void(TForm1 &)> &beforeShow = {})
    {
        // Each window starts without a phrase history: phrases of an earlier test
        // would be offered (a popup) as this one types.
        QFile::remove(PhraseHistory::defaultPath());
        auto source = std::make_unique<CursorWatchingSource>();
        source->script(script);
        if (tweak)
            tweak(*source);
        log = source->log;
        cursorShapes = source->shapes;
        form = std::make_unique<TForm1>(std::move(source));
        if (beforeShow)
            beforeShow(*form);
        form->show();
        if (!QTest::qWaitForWindowExposed(form.get()))
            qFatal("the main window was never exposed");
        settle();
    }

    template <class T>
    T *find(const char *name) const
    {
        T *widget = form->findChild<T *>(QLatin1StringView(name));
        if (!widget)
            qFatal("no control named %s", name);
        return widget;
    }

    void click(const char *buttonName) const
    {
        QTest::mouseClick(find<QPushButton>(buttonName), Qt::LeftButton);
        settle();
    }

    void showTab(int index) const
    {
        QTabBar *bar = find<QTabWidget>("pgc1")->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
        settle();
    }

    static void retype(QLineEdit *edit, const QString &text)
    {
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }

    // -1 types a text that begins no item, leaving the depth unselected.
    void chooseDepth(int index) const
    {
        auto *cbb1 = find<QComboBox>("cbb1");
        retype(cbb1->lineEdit(), index < 0 ? QStringLiteral("xyz") : cbb1->itemText(index));
    }

    void generate(const QString &phrase, int depth = 0) const
    {
        showTab(0);
        retype(find<QLineEdit>("edt1"), phrase);
        chooseDepth(depth);
        click("btn2");
    }

    void setDelimiter(const QString &delimiter) const
    {
        showTab(4);
        retype(find<QLineEdit>("edt2"), delimiter);
        showTab(0);
    }

    QStringList headings() const
    {
        QStringList result;
        for (ResultColumn *column : form->columns())
            result.append(column->heading()->text());
        return result;
    }

    ResultColumn *column(int i) const { return form->columns().at(i); }

    // The word windows opened meanwhile, which keep pointers into the main window.
    QList<QWidget *> wordWindows() const
    {
        QList<QWidget *> windows;
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (window->inherits("TForm2"))
                windows.append(window);
        }
        return windows;
    }

    ~Harness() { qDeleteAll(wordWindows()); }

    std::unique_ptr<TForm1> form;
    std::shared_ptr<ScriptedSource::Log> log;
    std::shared_ptr<QList<int>> cursorShapes;
};

// A control as a failure names it: its objectName, or its class where it has none.
inline QString nameOf(const QWidget *widget)
{
    return widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className()) : widget->objectName();
}

// Clicks the check box of a row where the style draws it.
// Where the style places the check box of a row, in the list's viewport.
inline QRect checkBoxRect(CheckListBox *list, int row)
{
    const QModelIndex index = list->model()->index(row, 0);
    QStyleOptionViewItem option;
    option.initFrom(list);
    option.rect = list->visualRect(index);
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    option.text = index.data().toString();
    option.font = list->font();
    option.widget = list;
    return list->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, list);
}

inline bool tick(CheckListBox *list, int row)
{
    list->scrollTo(list->model()->index(row, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, checkBoxRect(list, row).center());
    return list->words()->isChecked(row);
}

// A point on the word of a row, clear of its check box.
inline QPoint onWord(CheckListBox *list, int row)
{
    const QRect rect = list->visualRect(list->model()->index(row, 0));
    return {rect.left() + rect.width() * 2 / 3, rect.center().y()};
}

inline void rightClick(CheckListBox *list, const QPoint &at)
{
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, list->viewport()->mapToGlobal(at));
    QApplication::sendEvent(list->viewport(), &event);
    settle();
}

// Runs a step that opens a real modal dialog; the handler gets the dialog, must close it.
inline void withModalDialog(const std::function<void(QWidget *)> &handler, const std::function<void()> &opener)
{
    bool handled = false;
    QObject context; // pending polls die with it
    std::function<void()> poll;
    int attempts = 0;
    poll = [&] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            handled = true;
            handler(modal);
            return;
        }
        if (++attempts < 200)
            QTimer::singleShot(10, &context, poll);
    };
    QTimer::singleShot(0, &context, poll);
    opener();
    QVERIFY2(handled, "no modal dialog opened");
}

} // namespace MainWindowHarness
