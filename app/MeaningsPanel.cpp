#include "app/MeaningsPanel.h"

#include "common/AppError.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPalette>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include <utility>

namespace {

// A long walk keeps its latest steps: words are small, but a trail has no end.
constexpr qsizetype MaxTrail = 200;

const QString LinkScheme = QStringLiteral("word");

QString escaped(const QString &text)
{
    return text.toHtmlEscaped();
}

QString link(const QString &word)
{
    return QStringLiteral("<a href=\"%1:%2\">%3</a>")
        .arg(LinkScheme, QString::fromLatin1(QUrl::toPercentEncoding(word)), escaped(word));
}

QString links(const QStringList &words)
{
    QStringList parts;
    for (const QString &word : words)
        parts.append(link(word));
    return parts.join(QStringLiteral(", "));
}

// The words of a meaning that stand for it plainly, each with the data's own note
// when it has one that names no relation ("a & b (ugs.)").
QString plainWords(const WordMeanings::Meaning &meaning)
{
    QStringList parts;
    for (const WordMeanings::Word &word : meaning.words) {
        if (word.relation == WordMeanings::Similar || word.relation == WordMeanings::Related
            || word.relation == WordMeanings::Generic)
            continue;
        QString part = link(word.text);
        if (!word.relation.isEmpty())
            part += QStringLiteral(" <small>(%1)</small>").arg(escaped(word.relation));
        parts.append(part);
    }
    return parts.join(QStringLiteral(", "));
}

QStringList wordsOfRelation(const WordMeanings::Meaning &meaning, const QString &relation)
{
    QStringList words;
    for (const WordMeanings::Word &word : meaning.words) {
        if (word.relation == relation)
            words.append(word.text);
    }
    return words;
}

QString groupHeading(const QString &partOfSpeech)
{
    if (partOfSpeech == u"noun")
        return MeaningsPanel::tr("Noun");
    if (partOfSpeech == u"verb")
        return MeaningsPanel::tr("Verb");
    if (partOfSpeech == u"adj")
        return MeaningsPanel::tr("Adjective");
    if (partOfSpeech == u"adv")
        return MeaningsPanel::tr("Adverb");
    return MeaningsPanel::tr("Other meanings");
}

// One meaning: its number and first line, then its other lines indented below it.
QString meaningHtml(int number, const WordMeanings::Meaning &meaning, bool showLabel)
{
    QStringList lines;
    if (!meaning.definition.isEmpty())
        lines.append(escaped(meaning.definition));
    for (const QString &example : meaning.examples)
        lines.append(QStringLiteral("<i>“%1”</i>").arg(escaped(example)));
    if (const QString words = plainWords(meaning); !words.isEmpty())
        lines.append(words);
    // The relations each on a line of their own, so that the plain words read first.
    const std::pair<QString, QString> related[] = {
        {MeaningsPanel::tr("Similar: %1"), WordMeanings::Similar},
        {MeaningsPanel::tr("Related: %1"), WordMeanings::Related},
    };
    for (const auto &[line, relation] : related) {
        if (const QStringList words = wordsOfRelation(meaning, relation); !words.isEmpty())
            lines.append(line.arg(links(words)));
    }
    if (!meaning.antonyms.isEmpty())
        lines.append(MeaningsPanel::tr("Antonyms: %1").arg(links(meaning.antonyms)));
    if (const QStringList broader = meaning.broaderTerms(); !broader.isEmpty())
        lines.append(MeaningsPanel::tr("Broader terms: %1").arg(links(broader)));
    if (lines.isEmpty())
        lines.append(QString());

    QString first = QStringLiteral("<b>%1.</b> ").arg(number);
    if (showLabel)
        first += escaped(meaning.label) + QLatin1Char(' ');
    QString html = QStringLiteral("<p style=\"margin-top:6px; margin-bottom:0px\">%1%2</p>").arg(first, lines.first());
    for (qsizetype i = 1; i < lines.size(); ++i)
        html += QStringLiteral("<p style=\"margin-top:2px; margin-bottom:0px; margin-left:18px\">%1</p>").arg(lines.at(i));
    return html;
}

} // namespace

MeaningsPanel::MeaningsPanel(QWidget *parent)
    : QWidget(parent), m_back(new QPushButton(tr("Back"), this)), m_forward(new QPushButton(tr("Forward"), this)),
      m_text(new QTextBrowser(this))
{
    setObjectName(QStringLiteral("pnlMeanings"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);

    auto *bar = new QHBoxLayout;
    bar->setContentsMargins(4, 2, 4, 0);
    const auto setUp = [this](QPushButton *button, const char *name, const QKeySequence &keys, const QString &tip,
                              void (MeaningsPanel::*step)()) {
        button->setObjectName(QLatin1StringView(name));
        button->setAutoDefault(false);
        button->setToolTip(QStringLiteral("%1 (%2)").arg(tip, keys.toString(QKeySequence::NativeText)));
        button->setAccessibleName(tip);
        button->setCursor(Qt::PointingHandCursor);
        connect(button, &QPushButton::clicked, this, step);
        // The keys step at once, anywhere in the window, where a button's own
        // shortcut would first animate a press.
        auto *shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, step);
    };
    setUp(m_back, "btnBack", QKeySequence(Qt::ALT | Qt::Key_Left), tr("Back to the word shown before"),
          &MeaningsPanel::back);
    setUp(m_forward, "btnForward", QKeySequence(Qt::ALT | Qt::Key_Right), tr("Forward to the next word shown"),
          &MeaningsPanel::forward);
    bar->addWidget(m_back);
    bar->addWidget(m_forward);
    bar->addStretch(1);
    layout->addLayout(bar);

    m_text->setObjectName(QStringLiteral("txtMeanings"));
    m_text->setOpenLinks(false);
    m_text->setOpenExternalLinks(false);
    m_text->setAccessibleName(tr("Meanings"));
    connect(m_text, &QTextBrowser::anchorClicked, this, [this](const QUrl &address) {
        const QString word = wordOfLink(address);
        if (!word.isEmpty())
            showWord(word);
    });
    layout->addWidget(m_text, 1);
    updateButtons();
}

QString MeaningsPanel::currentWord() const
{
    return m_at >= 0 ? m_trail.at(m_at) : QString();
}

void MeaningsPanel::showWord(const QString &word)
{
    if (word.isEmpty())
        return;
    if (word != currentWord()) {
        m_trail.resize(m_at + 1);
        m_trail.append(word);
        if (m_trail.size() > MaxTrail)
            m_trail.remove(0, m_trail.size() - MaxTrail);
        m_at = int(m_trail.size()) - 1;
        showCurrent();
    }
    Q_EMIT wordShown(word);
}

void MeaningsPanel::back()
{
    if (m_at <= 0)
        return;
    --m_at;
    showCurrent();
    Q_EMIT wordShown(currentWord());
}

void MeaningsPanel::forward()
{
    if (m_at + 1 >= m_trail.size())
        return;
    ++m_at;
    showCurrent();
    Q_EMIT wordShown(currentWord());
}

void MeaningsPanel::showCurrent()
{
    const QString word = currentWord();
    m_error.clear();
    m_answer = WordMeanings::Answer{word, {}, {}, {}};
    if (m_lookup) {
        try {
            m_answer = m_lookup(word);
        } catch (const AppError &error) {
            // The thesaurus failed for this word: said in the panel, where the
            // meanings would be, and the next word is looked up as ever.
            m_error = error.message();
        }
    }
    render();
    updateButtons();
    m_text->setAccessibleName(tr("Meanings of %1").arg(word));
}

void MeaningsPanel::render()
{
    if (m_at < 0)
        return;
    m_text->setHtml(toHtml(m_answer, m_error, palette()));
}

void MeaningsPanel::updateButtons()
{
    m_back->setEnabled(m_at > 0);
    m_forward->setEnabled(m_at >= 0 && m_at + 1 < m_trail.size());
}

void MeaningsPanel::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // Links take the style's link colour when the page is made: a new style makes it again.
    if (event->type() == QEvent::PaletteChange)
        render();
}

QString MeaningsPanel::wordOfLink(const QUrl &link)
{
    if (link.scheme() != LinkScheme)
        return {};
    return link.path(QUrl::FullyDecoded);
}

QString MeaningsPanel::toHtml(const WordMeanings::Answer &answer, const QString &error, const QPalette &palette)
{
    const QString linkColour = palette.color(QPalette::Link).name();
    QString html = QStringLiteral("<html><head><style>a { color: %1; }</style></head><body>").arg(linkColour);
    html += QStringLiteral("<h2 style=\"margin-bottom:2px\">%1</h2>").arg(escaped(answer.word));
    if (!error.isEmpty())
        return html + QStringLiteral("<p>%1</p></body></html>").arg(escaped(error));
    if (!answer.found() || answer.meanings.isEmpty())
        return html
               + QStringLiteral("<p>%1</p></body></html>").arg(tr("No meanings found for “%1”.").arg(escaped(answer.word)));
    if (answer.root != answer.word)
        html += QStringLiteral("<p>%1</p>").arg(tr("Meanings of %1.").arg(link(answer.root)));
    for (const QString &note : answer.notes)
        html += QStringLiteral("<p><small>%1</small></p>").arg(escaped(note));

    // Grouped by part of speech, in a fixed order; meanings that name none (or
    // several) last, each with the data's own label.
    QStringList groups = WordMeanings::partsOfSpeech();
    groups.append(QString());
    bool anyNamed = false;
    for (const WordMeanings::Meaning &meaning : answer.meanings)
        anyNamed = anyNamed || !meaning.partOfSpeech.isEmpty();
    for (const QString &group : std::as_const(groups)) {
        QString items;
        int number = 0;
        for (const WordMeanings::Meaning &meaning : answer.meanings) {
            if (meaning.partOfSpeech != group)
                continue;
            const bool showLabel = group.isEmpty() && !meaning.label.isEmpty() && meaning.label != u"-";
            items += meaningHtml(++number, meaning, showLabel);
        }
        if (number == 0)
            continue;
        // Data that names no part of speech at all needs no heading over its one group.
        if (anyNamed)
            html += QStringLiteral("<h3 style=\"margin-top:10px; margin-bottom:0px\">%1</h3>").arg(groupHeading(group));
        html += items;
    }
    return html + QStringLiteral("</body></html>");
}
