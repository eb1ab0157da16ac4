#pragma once

#include "widgets/DisplayFont.h"

#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QFileDialog;
class QMessageBox;
class QWidget;

// Thin wrappers over the modal dialogs, so that tests can answer them.
namespace Dialogs {

enum class MessageKind { Plain, Error };
// The box that showMessage (Plain) or showError (Error) shows: wide enough for its title.
std::unique_ptr<QMessageBox> makeMessageBox(QWidget *parent, MessageKind kind, const QString &text);

// A plain message: no icon, one OK button.
void showMessage(QWidget *parent, const QString &text);

// The error box: the error's text, with a period appended when it has none.
void showError(QWidget *parent, const QString &text);

// Runs a handler's body and shows any error that leaves it in the error box:
// errors never cross Qt's signal machinery.
void guard(QWidget *parent, const std::function<void()> &body);

// What the user does after the Settings file could not be written at close.
enum class FailedSaveChoice { Retry, CloseWithoutSaving, KeepOpen };
// The error box of a failed save, with Retry and Close without saving; Escape keeps the window open.
FailedSaveChoice askAfterFailedSave(QWidget *parent, const QString &text);

struct SaveOptions {
    QString title;
    QString filter;
    QString defaultSuffix;
    QString proposedName;
};
// The save dialog as getSaveFileName shows it. Choosing an existing file asks
// first whether to replace it (the platform's own question).
std::unique_ptr<QFileDialog> makeSaveDialog(QWidget *parent, const SaveOptions &options);
// The chosen file, or nothing when the user cancels.
std::optional<QString> getSaveFileName(QWidget *parent, const SaveOptions &options);

// The chosen font, or nothing when the user cancels.
std::optional<DisplayFont> getFont(QWidget *parent, const DisplayFont &initial);

// Test hooks: the next dialog answers with the preset (nullopt = cancel) without
// showing; messages are handed to the recorder instead of being shown.
void setNextFileName(std::optional<QString> answer);
void setNextFont(std::optional<DisplayFont> answer);
// The next boxes of a failed save answer with these, in order; a recorded box
// without an answer left keeps the window open.
void setNextFailedSaveChoices(QList<FailedSaveChoice> answers);
void setMessageRecorder(std::function<void(MessageKind, const QString &)> recorder);
// What the last getFont was asked to start from.
DisplayFont lastFontDialogInitial();

} // namespace Dialogs
