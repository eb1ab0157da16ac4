#include "app/Main.h"

#include "Version.h"
#include "app/CheckListBox.h"
#include "app/InfoPages.h"
#include "app/MainLayout.h"
#include "app/MeaningsPanel.h"
#include "app/MissLine.h"
#include "app/ResultColumn.h"
#include "app/ResultsArea.h"
#include "app/SelectionExport.h"
#include "app/WordListModel.h"
#include "app/WriterOptions.h"
#include "app/popOver.h"
#include "common/AppError.h"
#include "info/Connectivity.h"
#include "info/DictionaryAddress.h"
#include "info/LinkOpener.h"
#include "info/SiteAddress.h"
#include "settings/FontSettings.h"
#include "settings/SettingsFile.h"
#include "settings/TStyleManager.h"
#include "settings/TcyIniForm.h"
#include "thesaurus/Generate.h"
#include "thesaurus/LanguageTable.h"
#include "thesaurus/TSpellCheck.h"
#include "widgets/Dialogs.h"
#include "widgets/HourglassCursor.h"
#include "widgets/Logo.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScopeGuard>
#include <QStackedWidget>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace {

// Sizes are in pixels at 96 dpi; Qt scales them on denser screens.
constexpr int DesignClientWidth = 1126;
constexpr int DesignClientHeight = 756;
constexpr int MinimumOuterWidth = 1120;
constexpr int TopTabsHeight = 105;

// Replaces everything on the clipboard with one Unicode text.
void putOnClipboard(const QString &text)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        throw AppError(QStringLiteral("Cannot open clipboard: %1").arg(QObject::tr("there is no clipboard")));
    clipboard->setText(text);
    if (clipboard->text() != text)
        throw AppError(QStringLiteral("Cannot open clipboard: %1").arg(QObject::tr("the clipboard did not take the text")));
}

} // namespace

TForm1::TForm1(std::unique_ptr<ThesaurusSource> source, QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Form1"));
    // The start asks whether the machine is online; what that needs loads meanwhile.
    Connectivity::instance().prepare();
    MainLayout::substituteWindowsFonts();
    setWindowTitle(QStringLiteral("Verbarium Pro"));
    setWindowIcon(Logo::icon());
    setFont(MainLayout::tahoma(8));
    resize(DesignClientWidth, DesignClientHeight);
    keepOuterMinimumWidth();

    // The components of the window, the thesaurus first.
    SpellCheck1 = new TSpellCheck(this, std::move(source));
    SpellCheck1->setObjectName(QStringLiteral("SpellCheck1"));

    buildWindow();
    connect(pgc1, &QTabWidget::currentChanged, this, &TForm1::onTabChanged);
    connect(this, &TForm1::wordTreeRequested, this, &TForm1::openWordTree);
    MainLayout::describeControls(this);
    MainLayout::installShortcuts(this);

    // The placement store: registry mode, screen-centred start. The window is built:
    // it restores the placement now, before FormCreate.
    cyIniForm1 = new TcyIniForm(this);
    cyIniForm1->setObjectName(QStringLiteral("cyIniForm1"));
    cyIniForm1->setIniDirectory(TcyIniForm::idCommonAppData);
    cyIniForm1->setMode(TcyIniForm::mRegistry);
    TcyIniForm::setOwnerPosition(this, TcyIniForm::poScreenCenter);
    cyIniForm1->Loaded();
    FormCreate();

    // Every new widget posts itself a request to be polished, and a button answers it
    // by asking its parent's layout to be made again. Answered here, while nothing is
    // laid out yet, they cost no second layout after the window is first shown.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::PolishRequest);
}

const QList<ResultColumn *> &TForm1::columns() const
{
    return ScrollBox1->columns();
}

TForm1::~TForm1()
{
    // The window goes: the placement store saves, after the Settings file was
    // written at the close request.
    cyIniForm1->Notification(this, TcyIniForm::opRemove);
}

void TForm1::GetBuildInfo(unsigned short &major, unsigned short &minor, unsigned short &release, unsigned short &build)
{
    major = Version::Major;
    minor = Version::Minor;
    release = Version::Release;
    build = Version::Build;
}

void TForm1::buildWindow()
{
    auto *root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);

    pgc1 = new QTabWidget(this);
    pgc1->setObjectName(QStringLiteral("pgc1"));
    pgc1->setFixedHeight(TopTabsHeight);
    m_info = new InfoPages(this, pgc1);

    const MainLayout::ThesaurusTool tool = MainLayout::thesaurusTool(pgc1, devicePixelRatioF());
    edt1 = tool.edt1;
    cbb1 = tool.cbb1;
    btn2 = tool.btn2;
    connect(tool.btn2, &QPushButton::clicked, this, &TForm1::btn2Click);
    connect(tool.btnButton2, &QPushButton::clicked, this, [this, b = tool.btnButton2] { btn1Click(b); });
    connect(tool.btn1, &QPushButton::clicked, this, [this, b = tool.btn1] { btn1Click(b); });
    connect(tool.btn3, &QPushButton::clicked, this, &TForm1::btn3Click);
    connect(tool.btn4, &QPushButton::clicked, this, &TForm1::btn4Click);
    connect(tool.btn5, &QPushButton::clicked, this, &TForm1::btn5Click);
    connect(tool.btn6, &QPushButton::clicked, this, &TForm1::btn6Click);
    connect(tool.btn7, &QPushButton::clicked, this, &TForm1::btn7Click);
    m_info->addSheets();

    const MainLayout::SettingsTab settings = MainLayout::settingsTab(pgc1);
    cbb2 = settings.cbb2;
    cbb3 = settings.cbb3;
    edt2 = settings.edt2;
    lblLanguageNote = settings.lblLanguageNote;
    m_options = new WriterOptions(this, SpellCheck1, tool, settings);
    connect(m_options, &WriterOptions::historyChosen, this, &TForm1::generateFromHistory);
    connect(cbb2, &QComboBox::currentIndexChanged, this, &TForm1::updateLanguageNote);
    connect(cbb3, &QComboBox::activated, this, &TForm1::cbb3Change);
    updateLanguageNote();
    root->addWidget(pgc1);

    auto *middle = new QHBoxLayout;
    middle->setContentsMargins(0, 0, 0, 0);
    middle->setSpacing(0);
    // The search panel joins the content stack empty and is filled there.
    auto *pnlSearchPanel = new QWidget;
    pnlSearchPanel->setObjectName(QStringLiteral("pnlSearchPanel"));
    middle->addWidget(m_info->buildContentStack(pnlSearchPanel), 1);
    fillSearchPanel(pnlSearchPanel);
    middle->addWidget(m_info->buildSidePanel());
    root->addLayout(middle, 1);
    // The side panel looks words up in the language of the last Generate, as the columns did.
    m_info->meaningsPanel()->setLookup([this](const QString &word) { return SpellCheck1->Meanings(word); });
    connect(m_info, &InfoPages::linkClicked, this, &TForm1::cxRichEdit1PropertiesURLClick);
    connect(m_info, &InfoPages::sidePanelPressed, this, &TForm1::pgc2MouseDown);
    connect(findChild<QPushButton *>(QStringLiteral("Button1")), &QPushButton::clicked, this, &TForm1::Button1Click);

    QFrame *footer = MainLayout::footer(this);
    connect(footer->findChild<QLabel *>(QStringLiteral("LinkLabel1")), &QLabel::linkActivated, this,
            &TForm1::LinkLabel1LinkClick);
    root->addWidget(footer);
}

void TForm1::fillSearchPanel(QWidget *pnlSearchPanel)
{
    auto *searchLayout = new QVBoxLayout(pnlSearchPanel);
    searchLayout->setContentsMargins(0, 0, 0, 0);
    pnlMissLine = new MissLine(pnlSearchPanel);
    searchLayout->addWidget(pnlMissLine);
    // Queued: the button that was clicked goes with the line at the next Generate.
    connect(pnlMissLine, &MissLine::suggestionChosen, this, &TForm1::useSuggestion, Qt::QueuedConnection);
    ScrollBox1 = new ResultsArea(aFont, pnlSearchPanel);
    connect(ScrollBox1, &ResultsArea::headingClicked, this, &TForm1::LabelClick);
    connect(ScrollBox1, &ResultsArea::menuRequested, this, &TForm1::OnMenuPopup);
    connect(ScrollBox1, &ResultsArea::wordDoubleClicked, this, &TForm1::ListDblClick);
    connect(ScrollBox1, &ResultsArea::dictionaryChosen, this, &TForm1::onWebBrowserDictionary);
    connect(ScrollBox1, &ResultsArea::wordTreeChosen, this, &TForm1::GoDoraz3);
    // A word's tooltip names the sense it stands under, looked up when the tooltip is
    // asked for, in the language of the last Generate (the one that made the columns).
    ScrollBox1->setMeaningsLookup([this](const QString &word) { return SpellCheck1->Meanings(word); });
    searchLayout->addWidget(ScrollBox1);
}

void TForm1::keepOuterMinimumWidth()
{
    // The minimum is the outer width; Qt's minimum is the client's. The frame is
    // known once the window manager has framed the window, and may change with it.
    const int frame = isWindow() ? frameGeometry().width() - geometry().width() : 0;
    const int minimum = MinimumOuterWidth - std::max(0, frame);
    if (minimumWidth() != minimum)
        setMinimumWidth(minimum);
}

void TForm1::FormCreate()
{
    HourglassCursor hourglass;
    Dialogs::guard(this, [this] { m_info->start(); });
}

void TForm1::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    keepOuterMinimumWidth();
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TForm1::FormShow()
{
    HourglassCursor hourglass;
    Dialogs::guard(this, [this] {
        unsigned short major = 0, minor = 0, release = 0, build = 0;
        GetBuildInfo(major, minor, release, build);
        setWindowTitle(QStringLiteral("Verbarium Pro v. %1.%2.%3.%4").arg(major).arg(minor).arg(release).arg(build));
        const SettingsFile::Values stored = SettingsFile::load(SettingsFile::path());
        aFont = FontSettings::toFont(stored, aFontStyleRest);
        edt2->setText(stored.delimiter);
        m_options->load(stored);
    });
}

void TForm1::closeEvent(QCloseEvent *event)
{
    // A failed write leaves FormCloseQuery with its error. The user may try again,
    // close without saving (an installed copy must never trap its window), or stay.
    for (;;) {
        try {
            FormCloseQuery();
            break;
        } catch (const AppError &error) {
            const Dialogs::FailedSaveChoice choice = Dialogs::askAfterFailedSave(this, error.message());
            if (choice == Dialogs::FailedSaveChoice::CloseWithoutSaving)
                break;
            if (choice == Dialogs::FailedSaveChoice::KeepOpen) {
                event->ignore();
                return;
            }
        }
    }
    QWidget::closeEvent(event);
}

void TForm1::FormCloseQuery()
{
    // Before the first show nothing was loaded: saving would put defaults over the user's values.
    if (!m_shown)
        return;
    SettingsFile::Values values = FontSettings::fromFont(aFont, m_dialogSharesAFont ? 0 : aFontStyleRest, edt2->text());
    m_options->store(values);
    m_options->saveHistory();
    SettingsFile::save(SettingsFile::path(), values);
}

void TForm1::fillStyleList()
{
    HourglassCursor hourglass;
    cbb3->clear();
    QStringList names = TStyleManager::StyleNames();
    std::sort(names.begin(), names.end(),
              [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    cbb3->addItems(names);
    cbb3->setCurrentIndex(-1);
}

void TForm1::cbb3Change()
{
    if (cbb3->currentIndex() < 0)
        return;
    HourglassCursor hourglass;
    Dialogs::guard(this, [this] { TStyleManager::SetStyle(cbb3->currentText()); });
}

void TForm1::updateLanguageNote()
{
    const int index = cbb2->currentIndex();
    QString note;
    if (index < 0) {
        note = tr("No language of the list is chosen: nothing will be found.");
    } else {
        const auto id = LanguageTable::identifier(LanguageTable::languageForListIndex(index));
        if (!SpellCheck1->Active())
            note = tr("No thesaurus data is installed.");
        else if (!SpellCheck1->source()->hasData(id))
            note = tr("No thesaurus data is installed for this language.");
    }
    lblLanguageNote->setText(note);
    cbb2->setToolTip(note.isEmpty() ? tr("The language of the next Generate") : note);
    m_options->languageChanged(LanguageTable::languageForListIndex(index));
}

void TForm1::generateFromHistory(const PhraseHistory::Item &item)
{
    pgc1->setCurrentIndex(0);
    const int language = LanguageTable::listIndexForName(item.language);
    if (language >= 0)
        cbb2->setCurrentIndex(language);
    const int depth = cbb1->findText(item.depth);
    if (depth >= 0)
        cbb1->setCurrentIndex(depth);
    edt1->setText(item.phrase);
    btn2Click();
}

void TForm1::lookUp(const LookupRequest &request)
{
    // A box that is open runs its own event loop, and a request that comes meanwhile
    // would replace the columns under the handler that opened it (a double click
    // whose word tree failed): the request waits for the box to close.
    if (QApplication::activeModalWidget()) {
        m_heldRequest = request;
        if (!m_heldRequestTimer) {
            m_heldRequestTimer = new QTimer(this);
            m_heldRequestTimer->setInterval(100);
            connect(m_heldRequestTimer, &QTimer::timeout, this, &TForm1::takeHeldRequest);
        }
        m_heldRequestTimer->start();
        return;
    }
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
    pgc1->setCurrentIndex(0);
    edt1->setText(request.phrase);
    if (request.depth)
        cbb1->setCurrentIndex(*request.depth);
    if (request.languageIndex)
        cbb2->setCurrentIndex(*request.languageIndex);
    btn2Click();
}

void TForm1::takeHeldRequest()
{
    if (QApplication::activeModalWidget())
        return;
    m_heldRequestTimer->stop();
    if (!m_heldRequest)
        return;
    const LookupRequest request = *std::exchange(m_heldRequest, std::nullopt);
    lookUp(request);
}

void TForm1::btn2Click()
{
    HourglassCursor hourglass;
    const auto restore = qScopeGuard([this] {
        ScrollBox1->setVisible(true);
        btn2->repaint();
    });
    Dialogs::guard(this, [this] {
        const QString phrase = edt1->text();
        if (phrase.isEmpty()) {
            Dialogs::showMessage(this, SynonymExpansion::emptyPhraseMessage());
            return;
        }
        // A phrase that is refused is refused while the columns and their ticks are still there.
        const auto split = SynonymExpansion::SplitPhrase(phrase, cbb1->currentIndex());
        if (const auto *refusal = std::get_if<SynonymExpansion::Refusal>(&split)) {
            WordsInPhrase = refusal->pieceCount;
            Dialogs::showMessage(this, refusal->message);
            return;
        }
        ScrollBox1->clear();
        pnlMissLine->clear();
        ScrollBox1->setVisible(false);
        const TSpellCheckLanguage language = LanguageTable::languageForListIndex(cbb2->currentIndex());
        auto outcome = SynonymExpansion::Generate(*SpellCheck1, language, phrase, cbb1->currentIndex(),
                                                  m_options->generateOptions(language));
        if (const auto *refusal = std::get_if<SynonymExpansion::Refusal>(&outcome)) {
            WordsInPhrase = refusal->pieceCount;
            Dialogs::showMessage(this, refusal->message);
            return;
        }
        const auto &generated = std::get<SynonymExpansion::Generated>(outcome);
        WordsInPhrase = generated.pieceCount;
        m_generatedPhrase = phrase;
        ScrollBox1->append(generated.columns);
        m_options->generated(phrase, cbb2->currentText(), cbb1->currentText(), ScrollBox1);
        showMeaningsOfClickedWords();
        pnlMissLine->setMisses(generated.misses, generated.notes);
        // Whatever was found before a failing lookup is shown with the error.
        if (generated.failure)
            throw *generated.failure;
    });
}

void TForm1::showMeaningsOfClickedWords()
{
    // A click on a word, or the keys moving a list's current word, shows that
    // word's meanings in the side panel; a click on the current word shows it again.
    for (ResultColumn *column : ScrollBox1->columns()) {
        CheckListBox *list = column->list();
        if (!list)
            continue;
        const auto show = [this, list](const QModelIndex &index) {
            if (index.isValid())
                m_info->showMeanings(list->words()->text(index.row()));
        };
        connect(list->selectionModel(), &QItemSelectionModel::currentChanged, this, show);
        connect(list, &QAbstractItemView::clicked, this, show);
    }
}

void TForm1::useSuggestion(int piece, const QString &newPiece)
{
    // The piece is a place in the phrase that was generated, not in whatever the
    // box holds now: typed over since, the box would lose a word of the new phrase.
    QStringList pieces = m_generatedPhrase.split(QLatin1Char(' '), Qt::KeepEmptyParts);
    if (piece < 0 || piece >= pieces.size())
        return;
    pieces[piece] = newPiece;
    edt1->setText(pieces.join(QLatin1Char(' ')));
    btn2Click();
}

void TForm1::LabelClick(ResultColumn *column)
{
    ScrollBox1->toggleExpanded(column, width());
}

void TForm1::OnMenuPopup(ResultColumn *column, const QPoint &viewportPos)
{
    const int row = column->list()->itemAt(viewportPos);
    if (row < 0)
        return; // nothing under the pointer: no word to act on
    SelectedWord = column->list()->words()->text(row);
    column->popupMenu()->popup(column->list()->viewport()->mapToGlobal(viewportPos));
}

void TForm1::GoDoraz3()
{
    Q_EMIT wordTreeRequested(SelectedWord);
}

void TForm1::onWebBrowserDictionary()
{
    // No site can answer under this copy's base address: the word's meanings,
    // which need none, stand in for a page that would never come.
    if (!SiteAddress::pagesCanLoad()) {
        m_info->showMeanings(SelectedWord);
        return;
    }
    const int index = cbb2->currentIndex();
    const QString item = index >= 0 ? cbb2->itemText(index) : QString();
    const QString address = DictionaryAddress::build(SiteAddress::baseUrl(), SelectedWord, item);
    Q_EMIT dictionaryRequested(SelectedWord);
    LinkOpener::instance().openLink(address);
}

void TForm1::openWordTree(const QString &word)
{
    auto *form2 = new TForm2(SpellCheck1, &aFont);
    form2->aWord = word;
    form2->show();
    form2->raise();
}

void TForm1::onTabChanged(int index)
{
    // A sheet's own show handler runs first, then the change handler, which runs
    // only for the user's changes of tab.
    switch (index) {
    case 1: ts2Show(); break;
    case 2: ts3Show(); break;
    case 3: ts4Show(); break;
    case 4:
        // The list of looks is read from every theme's file: it is made when the
        // Settings page is first shown, not for the window's first frame.
        if (cbb3->count() == 0)
            Dialogs::guard(this, [this] { fillStyleList(); });
        break;
    default: break;
    }
    if (!m_changingTabFromCode)
        pgc1Change();
}

void TForm1::pgc1Change()
{
    m_info->showPanelOfCurrentTab();
}

void TForm1::ts2Show()
{
    m_info->showSheetPage("wb2", SiteAddress::HelpPage);
}
void TForm1::ts3Show()
{
    m_info->showSheetPage("wb3", SiteAddress::AboutPage);
}
void TForm1::ts4Show()
{
    m_info->showSheetPage("wb4", SiteAddress::ContactPage);
}

void TForm1::btn7Click()
{
    m_changingTabFromCode = true;
    pgc1->setCurrentIndex(1);
    m_changingTabFromCode = false;
    m_info->showReadMe();
}

void TForm1::Button1Click()
{
    m_info->collapseSidePanel();
}

void TForm1::pgc2MouseDown(Qt::MouseButton button)
{
    if (button == Qt::LeftButton && m_info->isSidePanelCollapsed())
        m_info->expandSidePanel();
}

void TForm1::FormResize()
{
    m_info->fitSidePanel();
}

void TForm1::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    keepOuterMinimumWidth();
    FormResize();
}

void TForm1::cxRichEdit1PropertiesURLClick(const QString &address)
{
    LinkOpener::instance().openLink(address);
}

void TForm1::LinkLabel1LinkClick(const QString &link)
{
    LinkOpener::instance().openLink(link);
}

void TForm1::ListDblClick(ResultColumn *column, int row)
{
    if (row < 0)
        return;
    const QString word = column->list()->words()->text(row);
    if (!word.isEmpty())
        Q_EMIT wordTreeRequested(word);
}

void TForm1::btn6Click()
{
    ScrollBox1->changePointSize(+1);
}

void TForm1::btn5Click()
{
    ScrollBox1->changePointSize(-1);
}

void TForm1::btn4Click()
{
    const DisplayFont initial = m_dialogSharesAFont ? aFont : DisplayFont::dialogDesignFont();
    const std::optional<DisplayFont> chosen = Dialogs::getFont(this, initial);
    if (!chosen)
        return;
    ScrollBox1->setDisplayFont(*chosen);
    m_dialogSharesAFont = true;
}

void TForm1::btn1Click(QPushButton *sender)
{
    const bool save = sender && sender->objectName() == u"btnButton2";
    const QList<QStringList> ticked = ScrollBox1->tickedWords();
    // Nothing ticked: the clipboard keeps what it holds and no empty file is written.
    if (std::all_of(ticked.cbegin(), ticked.cend(), [](const QStringList &words) { return words.isEmpty(); })) {
        pnlMissLine->setExportNote(tr("No word is ticked: nothing was copied or saved."));
        return;
    }
    pnlMissLine->setExportNote({});
    QString fileName;
    if (save) {
        const std::optional<QString> chosen = Dialogs::getSaveFileName(
            this, {tr("Save selected words"), tr("Text Files (*.txt)"), QStringLiteral("txt"), m_lastSaveName});
        if (!chosen)
            return;
        fileName = *chosen;
        m_lastSaveName = fileName;
    }
    HourglassCursor hourglass;
    Dialogs::guard(this, [&] {
        const QString text = SelectionExport::outputText(SelectionExport::mergeRows(ticked, edt2->text()));
        if (save)
            SelectionExport::writeTextFile(fileName, text);
        else
            putOnClipboard(text);
    });
}

void TForm1::btn3Click()
{
    Dialogs::guard(this, [] { putOnClipboard(QString()); });
}
