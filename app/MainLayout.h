#pragma once

#include <QCoreApplication>
#include <QFont>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QWidget;

// Builds the fixed parts of the main window: the thesaurus tool, the settings tab
// and the footer, with their names, captions, tips and the keyboard's ways to them.
// The window wires the controls to its handlers.
class MainLayout
{
    Q_DECLARE_TR_FUNCTIONS(TForm1)

public:
    struct ThesaurusTool {
        QWidget *page = nullptr;
        QLineEdit *edt1 = nullptr;
        QComboBox *cbb1 = nullptr;
        QPushButton *btn2 = nullptr;
        QPushButton *btnButton2 = nullptr;
        QPushButton *btn1 = nullptr;
        QPushButton *btn3 = nullptr;
        QPushButton *btn4 = nullptr;
        QPushButton *btn7 = nullptr;
        QPushButton *btn6 = nullptr;
        QPushButton *btn5 = nullptr;
        // The writer's filters of the first level: a part of speech, broader terms.
        QComboBox *cbbPartOfSpeech = nullptr;
        QCheckBox *chkBroaderTerms = nullptr;
    };
    struct SettingsTab {
        QWidget *page = nullptr;
        QComboBox *cbb2 = nullptr;
        QLabel *lblLanguageNote = nullptr;
        QComboBox *cbb3 = nullptr;
        QLineEdit *edt2 = nullptr;
        QCheckBox *chkMostCommonFirst = nullptr;
        QCheckBox *chkKeepHistory = nullptr;
        QPushButton *btnClearHistory = nullptr;
        // What an option could not do: no word lists, a history that failed.
        QLabel *lblOptionsNote = nullptr;
    };
    // The part-of-speech list's items, in order, as the filter names them ("" for All).
    static const QStringList &partOfSpeechChoices();

    // The window's sizes are made for Tahoma, Calibri and Arial; where those faces
    // are missing, their closest metric-compatible kin stand in.
    static void substituteWindowsFonts();
    static QFont tahoma(qreal points, bool bold = false);

    // Makes a drop-down editable as QComboBox::setEditable(true) does, its list
    // made only when it is first needed.
    static void makeEditable(QComboBox *box);

    // Each builds its page and adds it to the tabs.
    static ThesaurusTool thesaurusTool(QTabWidget *tabs, qreal devicePixelRatio);
    static SettingsTab settingsTab(QTabWidget *tabs);
    static QFrame *footer(QWidget *parent);

    // Names for screen readers, labels tied to their fields.
    static void describeControls(QWidget *window);
    // Each key clicks its button, so that it does exactly what the button does.
    static void installShortcuts(QWidget *window);
};
