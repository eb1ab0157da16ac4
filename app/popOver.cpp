#include "app/popOver.h"

#include "app/MeaningsPanel.h"
#include "widgets/Dialogs.h"
#include "widgets/HourglassCursor.h"
#include "common/AppError.h"
#include "thesaurus/TSpellCheck.h"
#include "thesaurus/WordTree.h"
#include "thesaurus/WordTreeFill.h"

#include <QGuiApplication>
#include <QScreen>
#include <QShortcut>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <exception>
#include <memory>
#include <utility>
#include <vector>

TForm2::TForm2(TSpellCheck *spellCheck, const DisplayFont *displayFont)
    : QWidget(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                           | Qt::WindowCloseButtonHint),
      tv1(new QTreeWidget), splMeanings(new QSplitter(Qt::Vertical, this)), pnlMeanings(new MeaningsPanel),
      m_spellCheck(spellCheck), m_displayFont(displayFont)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Word"));
    setAttribute(Qt::WA_DeleteOnClose);
    // Open word windows never keep the program running once the main window is closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(8);
    setFont(font);
    resize(444, 760);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    tv1->setObjectName(QStringLiteral("tv1"));
    tv1->setHeaderHidden(true);
    tv1->setIndentation(19);
    tv1->setUniformRowHeights(true);
    splMeanings->setObjectName(QStringLiteral("splMeanings"));
    splMeanings->setChildrenCollapsible(false);
    splMeanings->addWidget(tv1);
    splMeanings->addWidget(pnlMeanings);
    splMeanings->setStretchFactor(0, 3);
    splMeanings->setStretchFactor(1, 2);
    layout->addWidget(splMeanings);
    pnlMeanings->setLookup([this](const QString &word) {
        return m_spellCheck ? m_spellCheck->Meanings(word) : WordMeanings::Answer{word, {}, {}, {}};
    });

    // A tool window has no task bar entry and, under some window managers, no close
    // button in reach: the keys of a dialog close it too.
    for (const QKeySequence &keys : {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
        auto *shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, &QWidget::close);
    }
}

QTreeWidgetItem *TForm2::FindRootNode(const QString &text, QTreeWidget *tree)
{
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = tree->topLevelItem(i);
        if (item->text(0) == text)
            return item;
    }
    return nullptr;
}

void TForm2::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_filled)
        return;
    m_filled = true;
    if (QScreen *screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    FormShow();
}

void TForm2::FormShow()
{
    setWindowTitle(aWord);
    auto hourglass = std::make_unique<HourglassCursor>();
    const auto finish = [this, &hourglass](bool meanings) {
        // The thesaurus is this thread's again: the selected word's meanings follow
        // the selection from now on, starting with the root's.
        if (meanings) {
            connect(tv1, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *current) {
                if (current)
                    pnlMeanings->showWord(current->text(0));
            });
        }
        if (tv1->topLevelItemCount() > 0)
            tv1->setCurrentItem(tv1->topLevelItem(0));
        hourglass.reset();
        raise();
        activateWindow();
    };

    // The lookups run on a thread of their own while this one makes the items. The
    // thesaurus is not thread-safe: from here to fill->finish() only that thread
    // uses it, and no event is handled in between that could reach it.
    std::unique_ptr<WordTreeFill> fill;
    if (TSpellCheck *spellCheck = m_spellCheck) {
        // The typed word answers through its root, resolved here as the tree's first
        // lookup: whatever the language needs is opened on this thread, and the
        // fill's thread then only reads. The levels below the root stay exact.
        WordForms::Root root;
        std::exception_ptr rootError;
        try {
            root = spellCheck->ResolveWord(aWord);
            m_root = root.root;
        } catch (...) {
            rootError = std::current_exception(); // met by the fill at its first lookup
        }
        fill = std::make_unique<WordTreeFill>(aWord, [exact = SynonymExpansion::lookupThrough(*spellCheck),
                                                      rootSynonyms = std::move(root.synonyms), rootError,
                                                      atRoot = true](const QString &word, QStringList &synonyms) mutable {
            if (!std::exchange(atRoot, false))
                return exact(word, synonyms);
            if (rootError)
                std::rethrow_exception(rootError);
            synonyms = std::move(rootSynonyms);
        });
    }

    // The tree's font is a copy: later changes of the display font leave it alone.
    tv1->setFont(m_displayFont->toQFont());
    const QColor color = m_displayFont->qColor(tv1->palette());
    if (color.isValid()) {
        QPalette palette = tv1->palette();
        palette.setColor(QPalette::Text, color);
        tv1->setPalette(palette);
    }
    m_displayFont = nullptr;

    // Each synonym of the word is made with its subtree outside the tree, and the
    // root takes it whole once the next one begins: the shown tree never takes the
    // items one by one, and little is left to add when the lookups end.
    tv1->setUpdatesEnabled(false);
    QTreeWidgetItem *rootItem = nullptr;
    std::unique_ptr<QTreeWidgetItem> subtree;
    std::vector<QTreeWidgetItem *> items;
    QString error;
    if (fill) {
        QList<WordTree::Node> placed;
        while (fill->take(placed)) {
            for (const WordTree::Node &node : std::as_const(placed)) {
                QTreeWidgetItem *item = nullptr;
                if (node.parent < 0) {
                    item = rootItem = new QTreeWidgetItem(tv1, {node.text});
                } else if (node.level == 1) {
                    if (subtree)
                        rootItem->addChild(subtree.release());
                    subtree = std::make_unique<QTreeWidgetItem>(QStringList{node.text});
                    item = subtree.get();
                } else {
                    item = new QTreeWidgetItem(items[size_t(node.parent)], {node.text});
                }
                items.push_back(item);
            }
            placed.clear();
        }
        if (subtree)
            rootItem->addChild(subtree.release());
        try {
            fill->finish();
        } catch (const AppError &e) {
            error = e.message();
        }
        m_lookups = fill->tree().lookups;
    }

    if (items.size() <= 1 && error.isEmpty()) {
        // No synonyms: nothing to show. Closing is queued, as the window is still being shown.
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
        if (!rootItem)
            new QTreeWidgetItem(tv1, {aWord});
        tv1->setUpdatesEnabled(true);
        finish(false); // a window about to close looks nothing up
        return;
    }

    if (!m_root.isEmpty() && m_root != aWord)
        rootItem->setToolTip(0, tr("Synonyms of “%1”").arg(m_root));
    tv1->expandAll();
    tv1->setUpdatesEnabled(true);
    finish(true);

    // A failed lookup leaves the tree as far as it got.
    if (!error.isEmpty())
        Dialogs::showError(this, error);
}
