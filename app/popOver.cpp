#include "app/popOver.h"

#include "widgets/Dialogs.h"
#include "widgets/HourglassCursor.h"
#include "common/AppError.h"
#include "thesaurus/TSpellCheck.h"
#include "thesaurus/WordTree.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <memory>
#include <vector>

TForm2::TForm2(TSpellCheck *spellCheck, const DisplayFont *displayFont)
    : QWidget(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                           | Qt::WindowCloseButtonHint),
      tv1(new QTreeWidget(this)), m_spellCheck(spellCheck), m_displayFont(displayFont)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Word"));
    setAttribute(Qt::WA_DeleteOnClose);
    // Open word windows never keep the program running once the main window is closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(8);
    setFont(font);
    resize(444, 619);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    tv1->setObjectName(QStringLiteral("tv1"));
    tv1->setHeaderHidden(true);
    tv1->setIndentation(19);
    tv1->setUniformRowHeights(true);
    layout->addWidget(tv1);
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
    const auto finish = [this, &hourglass] {
        if (tv1->topLevelItemCount() > 0)
            tv1->setCurrentItem(tv1->topLevelItem(0));
        hourglass.reset();
        raise();
        activateWindow();
    };

    // The tree's font is a copy: later changes of the display font leave it alone.
    tv1->setFont(m_displayFont->toQFont());
    const QColor color = m_displayFont->qColor(tv1->palette());
    if (color.isValid()) {
        QPalette palette = tv1->palette();
        palette.setColor(QPalette::Text, color);
        tv1->setPalette(palette);
    }

    WordTree tree;
    QString error;
    try {
        if (m_spellCheck) {
            // The typed word answers through its root, resolved as the tree's first
            // lookup; the levels below it stay exact.
            const SynonymExpansion::Lookup exact = SynonymExpansion::lookupThrough(*m_spellCheck);
            bool atRoot = true;
            tree.fill(aWord, [&](const QString &word, QStringList &synonyms) {
                if (!std::exchange(atRoot, false) || word != aWord)
                    return exact(word, synonyms);
                WordForms::Root root = m_spellCheck->ResolveWord(aWord);
                m_root = root.root;
                synonyms = std::move(root.synonyms);
            });
        }
    } catch (const AppError &e) {
        error = e.message();
    }
    m_displayFont = nullptr;
    m_lookups = tree.lookups;

    if (tree.nodes.size() <= 1 && error.isEmpty()) {
        // No synonyms: nothing to show. Closing is queued, as the window is still being shown.
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
        new QTreeWidgetItem(tv1, {aWord});
        finish();
        return;
    }

    tv1->setUpdatesEnabled(false);
    std::vector<QTreeWidgetItem *> items;
    items.reserve(size_t(tree.nodes.size()));
    for (const WordTree::Node &node : std::as_const(tree.nodes)) {
        QTreeWidgetItem *item = nullptr;
        if (node.parent < 0) {
            item = new QTreeWidgetItem(tv1, {node.text});
            if (!m_root.isEmpty() && m_root != aWord)
                item->setToolTip(0, tr("Synonyms of “%1”").arg(m_root));
        } else if (node.level == 1) {
            item = new QTreeWidgetItem(FindRootNode(aWord, tv1), {node.text});
        } else {
            item = new QTreeWidgetItem(items[size_t(node.parent)], {node.text});
        }
        items.push_back(item);
    }
    tv1->expandAll();
    tv1->setUpdatesEnabled(true);
    finish();

    // A failed lookup leaves the tree as far as it got.
    if (!error.isEmpty())
        Dialogs::showError(this, error);
}
