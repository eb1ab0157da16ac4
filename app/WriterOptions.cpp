#include "app/WriterOptions.h"

#include "app/CheckListBox.h"
#include "app/CommonnessSource.h"
#include "app/ResultColumn.h"
#include "app/ResultsArea.h"
#include "app/WordListModel.h"
#include "thesaurus/AntonymMarkers.h"
#include "thesaurus/LanguageTable.h"
#include "thesaurus/MythesSource.h"
#include "thesaurus/TSpellCheck.h"
#include "thesaurus/WordMeanings.h"

#include <QAbstractProxyModel>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringListModel>

WriterOptions::WriterOptions(QWidget *window, TSpellCheck *spellCheck, const MainLayout::ThesaurusTool &tool,
                             const MainLayout::SettingsTab &settings)
    : QObject(window), m_window(window), m_spellCheck(spellCheck), m_tool(tool), m_settings(settings),
      m_history(std::make_unique<PhraseHistory>()), m_commonness(new CommonnessSource(this)),
      m_completer(new QCompleter(this)), m_phrases(new QStringListModel(this))
{
    m_completer->setModel(m_phrases);
    m_completer->setCaseSensitivity(Qt::CaseInsensitive);
    m_completer->setFilterMode(Qt::MatchContains);
    m_completer->setCompletionMode(QCompleter::PopupCompletion);
    m_completer->setMaxVisibleItems(12);
    m_tool.edt1->setCompleter(m_completer);
    m_tool.edt1->installEventFilter(this);
    // The popup's own choice, by click or Return: the item at its row of the model
    // the popup shows, which is filtered.
    connect(m_completer, qOverload<const QModelIndex &>(&QCompleter::activated), this, [this](const QModelIndex &index) {
        // The popup shows a filtering proxy of the phrases; the source row is the history's.
        const auto *proxy = qobject_cast<const QAbstractProxyModel *>(m_completer->completionModel());
        const int row = proxy ? proxy->mapToSource(index).row() : -1;
        const auto &items = m_history->items();
        if (row >= 0 && row < items.size())
            Q_EMIT historyChosen(items[row]);
    });

    connect(m_settings.chkMostCommonFirst, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            startLoadingCommonness(LanguageTable::languageForListIndex(m_settings.cbb2->currentIndex()));
        else
            showNote(m_historyNote);
    });
    connect(m_settings.btnClearHistory, &QPushButton::clicked, this, [this] {
        m_saveTimer.stop();
        m_historyNote = m_history->clear();
        showNote(m_historyNote);
        fillCompleter();
    });
    m_saveTimer.setSingleShot(true);
    m_saveTimer.setInterval(1000);
    connect(&m_saveTimer, &QTimer::timeout, this, &WriterOptions::saveHistory);
    connect(m_commonness, &CommonnessSource::loaded, this, [this] {
        // The note tells of the language chosen now; the columns waiting are ordered.
        if (m_settings.chkMostCommonFirst->isChecked())
            startLoadingCommonness(LanguageTable::languageForListIndex(m_settings.cbb2->currentIndex()));
        orderPendingColumns();
    });
}

WriterOptions::~WriterOptions()
{
    // The window's controls may be gone already: the history is written, nothing shown.
    if (m_saveTimer.isActive())
        m_history->save();
}

void WriterOptions::saveHistory()
{
    if (!m_saveTimer.isActive())
        return;
    m_saveTimer.stop();
    const QString failure = m_history->save();
    // The save takes in what another window added to the file meanwhile, and the
    // popup's rows must stay the history's rows.
    fillCompleter();
    if (failure != m_historyNote) {
        m_historyNote = failure;
        showNote(m_historyNote);
    }
}

void WriterOptions::load(const SettingsFile::Values &stored)
{
    m_settings.chkMostCommonFirst->setChecked(stored.mostCommonFirst);
    m_settings.chkKeepHistory->setChecked(stored.keepHistory);
    m_historyNote = m_history->load();
    showNote(m_historyNote);
    fillCompleter();
}

void WriterOptions::store(SettingsFile::Values &values) const
{
    values.mostCommonFirst = m_settings.chkMostCommonFirst->isChecked();
    values.keepHistory = m_settings.chkKeepHistory->isChecked();
}

QString WriterOptions::dataFileOf(TSpellCheckLanguage language, QString *code) const
{
    const auto *mythes = dynamic_cast<const MythesSource *>(m_spellCheck->source());
    const QString path = mythes && m_spellCheck->Active() ? mythes->dataFor(LanguageTable::identifier(language)).datPath
                                                          : QString();
    if (code)
        *code = AntonymMarkers::languageOfDataFile(path);
    return path;
}

void WriterOptions::startLoadingCommonness(TSpellCheckLanguage language)
{
    QString code;
    const QString data = dataFileOf(language, &code);
    m_commonness->find(data, code == u"en");
    showNote(m_commonness->note(data, code == u"en"));
}

SynonymExpansion::GenerateOptions WriterOptions::generateOptions(TSpellCheckLanguage language)
{
    SynonymExpansion::GenerateOptions options;
    if (m_tool.cbbPartOfSpeech->isEnabled()) {
        const QString part = MainLayout::partOfSpeechChoices().value(m_tool.cbbPartOfSpeech->currentIndex());
        if (!part.isEmpty())
            options.partsOfSpeech = {part};
    }
    options.broaderTerms = m_tool.chkBroaderTerms->isChecked();
    m_awaitingRanks = false;
    m_pendingResults = nullptr;
    if (m_settings.chkMostCommonFirst->isChecked()) {
        QString code;
        const QString data = dataFileOf(language, &code);
        const bool english = code == u"en";
        if (const Commonness *ranks = m_commonness->find(data, english)) {
            options.rank = [ranks](const QString &word) { return ranks->rank(word); };
        } else if (m_commonness->note(data, english).isEmpty()) {
            // Still loading: the columns come in the data's order, ordered on arrival.
            m_pendingData = data;
            m_pendingEnglish = english;
            m_awaitingRanks = true;
        }
        showNote(m_commonness->note(data, english));
    }
    return options;
}

void WriterOptions::generated(const QString &phrase, const QString &language, const QString &depth, ResultsArea *results)
{
    m_pendingResults = m_awaitingRanks ? results : nullptr;
    if (!m_settings.chkKeepHistory->isChecked() || phrase.trimmed().isEmpty())
        return;
    m_history->add({phrase, language, depth});
    m_saveTimer.start();
    fillCompleter();
}

void WriterOptions::orderPendingColumns()
{
    ResultsArea *results = m_pendingResults;
    if (!results || !m_settings.chkMostCommonFirst->isChecked())
        return;
    const Commonness *ranks = m_commonness->find(m_pendingData, m_pendingEnglish);
    if (!ranks)
        return;
    m_pendingResults = nullptr;
    m_awaitingRanks = false;
    const auto rank = [ranks](const QString &word) { return ranks->rank(word); };
    for (ResultColumn *column : results->columns()) {
        if (column->list())
            column->list()->words()->orderByRank(rank);
    }
}

void WriterOptions::languageChanged(TSpellCheckLanguage language)
{
    QString code;
    const QString data = dataFileOf(language, &code);
    const bool named = !data.isEmpty() && WordMeanings::hasPartsOfSpeech(code);
    m_tool.cbbPartOfSpeech->setEnabled(named);
    m_tool.cbbPartOfSpeech->setToolTip(
        named            ? tr("First-level words only from meanings of this part of speech")
        : data.isEmpty() ? tr("No thesaurus data is installed for this language: there are no parts of speech to choose")
                         : tr("This language's thesaurus does not name parts of speech: every meaning gives words"));
    if (m_settings.chkMostCommonFirst->isChecked())
        startLoadingCommonness(language);
}

void WriterOptions::fillCompleter()
{
    QStringList phrases;
    for (const PhraseHistory::Item &item : m_history->items())
        phrases.append(item.phrase);
    if (phrases != m_phrases->stringList())
        m_phrases->setStringList(phrases);
}

void WriterOptions::showNote(const QString &note)
{
    // A history that failed and word lists that are missing may both have something to say.
    QStringList lines;
    if (!note.isEmpty())
        lines.append(note);
    if (!m_historyNote.isEmpty() && note != m_historyNote)
        lines.append(m_historyNote);
    m_settings.lblOptionsNote->setText(lines.join(QLatin1Char('\n')));
}

bool WriterOptions::eventFilter(QObject *watched, QEvent *event)
{
    // Down in an empty phrase box opens the whole history.
    if (watched == m_tool.edt1 && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Down && key->modifiers() == Qt::NoModifier && m_tool.edt1->text().isEmpty()
            && m_phrases->rowCount() > 0) {
            m_completer->setCompletionPrefix(QString());
            m_completer->complete();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
