#pragma once

#include "app/CommandLine.h"
#include "settings/PhraseHistory.h"
#include "widgets/DisplayFont.h"
#include "thesaurus/ThesaurusSource.h"

#include <QList>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <optional>

class InfoPages;
class MissLine;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class ResultColumn;
class ResultsArea;
class TSpellCheck;
class TcyIniForm;
class WriterOptions;

// The main window: the thesaurus tool, the information tabs, the Results area with
// its columns, the Info side panel and the footer. The window holds the named
// controls and their handlers; the Results area and the information pages do the
// work of their parts.
class TForm1 : public QWidget
{
    Q_OBJECT

public:
    // Without a source the thesaurus reads the installed MyThes data.
    explicit TForm1(std::unique_ptr<ThesaurusSource> source = {}, QWidget *parent = nullptr);
    ~TForm1() override;

    // The running build's version: major, minor, release, build.
    static void GetBuildInfo(unsigned short &major, unsigned short &minor, unsigned short &release, unsigned short &build);

    TSpellCheck *SpellCheck1 = nullptr;
    TcyIniForm *cyIniForm1 = nullptr;
    DisplayFont aFont;
    int WordsInPhrase = 0;
    QString SelectedWord;

    // A lookup asked from outside (the command line, a later start): comes to the
    // front on the thesaurus tab, fills the phrase, depth and language, and generates.
    // While a box of the program is open, the latest such request waits for it to close.
    void lookUp(const LookupRequest &request);

    // The result columns in the order they were created.
    const QList<ResultColumn *> &columns() const;

Q_SIGNALS:
    // A word tree window is asked for; the window opens one for each request.
    void wordTreeRequested(const QString &word);
    // The dictionary page of a word is about to be opened in the browser.
    void dictionaryRequested(const QString &word);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private Q_SLOTS:
    // Handlers of the controls.
    void btn2Click();
    void btn1Click(QPushButton *sender);
    void btn3Click();
    void btn4Click();
    void btn5Click();
    void btn6Click();
    void cbb3Change();
    void LabelClick(ResultColumn *column);
    void OnMenuPopup(ResultColumn *column, const QPoint &viewportPos);
    void GoDoraz3();
    void onWebBrowserDictionary();
    void ListDblClick(ResultColumn *column, int row);
    void pgc1Change();
    void ts2Show();
    void ts3Show();
    void ts4Show();
    void btn7Click();
    void Button1Click();
    void pgc2MouseDown(Qt::MouseButton button);
    void FormResize();
    void cxRichEdit1PropertiesURLClick(const QString &address);
    void LinkLabel1LinkClick(const QString &link);

private:
    void buildWindow();
    // Keeps the window's outer width, frame included, at its minimum.
    void keepOuterMinimumWidth();
    void onTabChanged(int index);
    void openWordTree(const QString &word);
    void fillSearchPanel(QWidget *pnlSearchPanel);

    void FormCreate();
    void FormShow();
    void FormCloseQuery();
    void fillStyleList();
    void updateLanguageNote();
    void useSuggestion(int piece, const QString &newPiece);
    // A phrase chosen from the history: its language and depth come back, and it is generated.
    void generateFromHistory(const PhraseHistory::Item &item);
    void showMeaningsOfClickedWords();
    // Takes the request that waited for a box to close, once none is open.
    void takeHeldRequest();

    QTabWidget *pgc1 = nullptr;
    QLineEdit *edt1 = nullptr;
    QComboBox *cbb1 = nullptr;
    QComboBox *cbb2 = nullptr;
    QComboBox *cbb3 = nullptr;
    QLineEdit *edt2 = nullptr;
    QLabel *lblLanguageNote = nullptr;
    QPushButton *btn2 = nullptr;
    ResultsArea *ScrollBox1 = nullptr;
    // The words of the last Generate that found nothing, with their suggestions.
    MissLine *pnlMissLine = nullptr;
    // The phrase of the last Generate, the one the suggestions mend.
    QString m_generatedPhrase;
    InfoPages *m_info = nullptr;
    // Part of speech, broader terms, most common first and the phrase history.
    WriterOptions *m_options = nullptr;

    bool m_shown = false;
    bool m_changingTabFromCode = false;
    // The font dialog starts from its design font until the first confirmed
    // choice; from then on it starts from aFont.
    bool m_dialogSharesAFont = false;
    // The Settings file's style bits beyond the four a font has, written back
    // until the font dialog gives aFont a style of its own.
    quint8 aFontStyleRest = 0;
    QString m_lastSaveName;
    // The outside request that came while a box was open, and the timer that looks
    // for the box to be closed.
    std::optional<LookupRequest> m_heldRequest;
    QTimer *m_heldRequestTimer = nullptr;
};
