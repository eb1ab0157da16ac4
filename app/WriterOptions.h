#pragma once

#include "app/MainLayout.h"
#include "settings/PhraseHistory.h"
#include "settings/SettingsFile.h"
#include "thesaurus/Generate.h"

#include <QObject>
#include <QTimer>

#include <memory>

class CommonnessSource;
class QCompleter;
class QStringListModel;
class ResultsArea;
class TSpellCheck;

// The writer's options of the main window: the part of speech and broader terms
// of the thesaurus tool, "Most common first", and the phrase history that the
// phrase box offers as the writer types. Every option at its default leaves a
// Generate exactly as it is without them.
class WriterOptions : public QObject
{
    Q_OBJECT

public:
    WriterOptions(QWidget *window, TSpellCheck *spellCheck, const MainLayout::ThesaurusTool &tool,
                  const MainLayout::SettingsTab &settings);
    ~WriterOptions() override;

    // The stored options take effect; the history is read (a damaged one is set
    // aside, and the note says so).
    void load(const SettingsFile::Values &stored);
    // The options into the values to store.
    void store(SettingsFile::Values &values) const;

    // The options of a Generate in a language. Commonness not yet loaded leaves
    // the columns in the data's order; they are ordered when it arrives.
    SynonymExpansion::GenerateOptions generateOptions(TSpellCheckLanguage language);
    // A Generate has made these columns from the phrase: remembered when the
    // history is kept.
    void generated(const QString &phrase, const QString &language, const QString &depth, ResultsArea *results);
    // The language chosen for the next Generate: the part-of-speech choice is
    // enabled only where its data names parts of speech.
    void languageChanged(TSpellCheckLanguage language);

    // Writes the history now if a phrase waits to be written (the window closes).
    void saveHistory();

    const PhraseHistory &history() const { return *m_history; }
    CommonnessSource *commonness() const { return m_commonness; }

Q_SIGNALS:
    // A phrase of the history was chosen: the window restores its language and
    // depth and generates.
    void historyChosen(const PhraseHistory::Item &item);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The data file of a language, and whether WordNet's English is its language.
    QString dataFileOf(TSpellCheckLanguage language, QString *code = nullptr) const;
    void startLoadingCommonness(TSpellCheckLanguage language);
    void orderPendingColumns();
    void fillCompleter();
    void showNote(const QString &note);

    QWidget *m_window;
    TSpellCheck *m_spellCheck;
    MainLayout::ThesaurusTool m_tool;
    MainLayout::SettingsTab m_settings;
    std::unique_ptr<PhraseHistory> m_history;
    CommonnessSource *m_commonness;
    QCompleter *m_completer;
    QStringListModel *m_phrases;
    // The columns of the last Generate that wait for commonness to be ordered.
    ResultsArea *m_pendingResults = nullptr;
    bool m_awaitingRanks = false; // the Generate being made found no commonness yet
    QString m_pendingData;
    bool m_pendingEnglish = false;
    QString m_historyNote;
    // A Generate never waits for the disk: the history is written a moment after
    // the last one, and when the window closes.
    QTimer m_saveTimer;
};
