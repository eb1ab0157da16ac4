#include "app/MissLine.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace {
// The stretch and the export note stay at the end of the line; misses go before them.
constexpr int FixedItems = 2;
} // namespace

MissLine::MissLine(QWidget *parent) : QFrame(parent), m_layout(new QHBoxLayout(this)), m_exportNote(new QLabel(this))
{
    setObjectName(QStringLiteral("pnlMissLine"));
    setFrameStyle(QFrame::StyledPanel | QFrame::Plain);
    m_layout->setContentsMargins(6, 2, 6, 2);
    m_layout->setSpacing(4);
    m_layout->addStretch(1);
    m_exportNote->setObjectName(QStringLiteral("lblExportNote"));
    m_exportNote->setTextFormat(Qt::PlainText);
    m_exportNote->hide();
    m_layout->addWidget(m_exportNote);
    hide();
}

void MissLine::setExportNote(const QString &note)
{
    m_exportNote->setText(note);
    m_exportNote->setVisible(!note.isEmpty());
    updateVisibility();
}

void MissLine::updateVisibility()
{
    setVisible(m_layout->count() > FixedItems || m_exportNote->isVisibleTo(this));
}

void MissLine::clear()
{
    m_exportNote->clear();
    m_exportNote->hide();
    // A button may be the one whose click is being handled: its end is queued.
    while (m_layout->count() > FixedItems) {
        QLayoutItem *item = m_layout->takeAt(0);
        if (QWidget *widget = item->widget()) {
            widget->hide();
            widget->deleteLater();
        }
        delete item;
    }
    updateVisibility();
}

void MissLine::setMisses(const QList<Miss> &misses, const QStringList &notes)
{
    clear();
    int at = 0;
    const auto add = [this, &at](QWidget *widget) { m_layout->insertWidget(at++, widget); };
    const auto text = [this](const QString &name, const QString &content) {
        auto *label = new QLabel(content, this);
        label->setObjectName(name);
        label->setTextFormat(Qt::PlainText);
        return label;
    };

    // The buttons are new: they join the focus chain where the line stands, so
    // that Tab reaches them after the controls above the columns.
    QWidget *before = previousInFocusChain();
    while (before != this && !(before->focusPolicy() & Qt::TabFocus))
        before = before->previousInFocusChain();
    for (qsizetype i = 0; i < misses.size(); ++i) {
        const Miss &miss = misses[i];
        const QString word = miss.root.typed;
        QString said = tr("No synonyms for “%1”").arg(word);
        if (!miss.root.suggestions.isEmpty())
            said += tr("; did you mean:");
        else if (i + 1 < misses.size())
            said += QLatin1Char(';');
        else
            said += QLatin1Char('.');
        add(text(QStringLiteral("lblMiss"), said));
        for (const QString &suggestion : miss.root.suggestions) {
            auto *button = new QPushButton(suggestion, this);
            button->setObjectName(QStringLiteral("btnSuggestion"));
            button->setFlat(true);
            button->setCursor(Qt::PointingHandCursor);
            button->setFocusPolicy(Qt::StrongFocus);
            button->setToolTip(tr("Look up “%1” in place of “%2”").arg(suggestion, word));
            button->setAccessibleName(tr("Suggestion %1 for %2").arg(suggestion, word));
            const int piece = miss.piece;
            const QString newPiece = miss.root.withCore(suggestion);
            connect(button, &QPushButton::clicked, this,
                    [this, piece, newPiece] { Q_EMIT suggestionChosen(piece, newPiece); });
            add(button);
            if (before != this)
                QWidget::setTabOrder(before, button);
            before = button;
        }
    }
    for (const QString &note : notes)
        add(text(QStringLiteral("lblDictionaryNote"), note));
    updateVisibility();
}
