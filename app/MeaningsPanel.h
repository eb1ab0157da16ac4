#pragma once

#include "thesaurus/WordMeanings.h"

#include <QStringList>
#include <QWidget>

#include <functional>

class QLabel;
class QPalette;
class QPushButton;
class QTextBrowser;
class QUrl;

// A word's meanings as a page to read and walk: grouped by part of speech, each
// meaning with its definition and examples, its words (each a link to its own
// meanings), its antonyms and its broader terms on lines of their own. The words
// shown form a trail that Back and Forward (Alt+Left, Alt+Right) walk, as in a
// browser. Colours come from the palette, so every style themes it.
class MeaningsPanel : public QWidget
{
    Q_OBJECT

public:
    // Answers a word's meanings; may throw AppError, which the panel shows as its text.
    using Lookup = std::function<WordMeanings::Answer(const QString &word)>;

    explicit MeaningsPanel(QWidget *parent = nullptr);

    void setLookup(Lookup lookup) { m_lookup = std::move(lookup); }

    // Shows the word's meanings as the next step of the trail; the steps that
    // Back had left behind go. The word shown already stays as it is.
    void showWord(const QString &word);
    void back();
    void forward();

    // The word shown, or empty before the first.
    QString currentWord() const;
    const QStringList &trail() const { return m_trail; }
    QTextBrowser *text() const { return m_text; }

    // The page for an answer, in the colours of a palette; an error's text in place
    // of the answer when there is one.
    static QString toHtml(const WordMeanings::Answer &answer, const QString &error, const QPalette &palette);
    // The word a link of the page leads to; empty for any other address.
    static QString wordOfLink(const QUrl &link);

Q_SIGNALS:
    // A word's meanings were shown, from outside, a link or the trail.
    void wordShown(const QString &word);

protected:
    void changeEvent(QEvent *event) override;

private:
    // Looks the current word of the trail up and shows it.
    void showCurrent();
    void render();
    void updateButtons();

    Lookup m_lookup;
    QStringList m_trail;
    int m_at = -1;
    WordMeanings::Answer m_answer;
    QString m_error;
    QPushButton *m_back;
    QPushButton *m_forward;
    QTextBrowser *m_text;
};
