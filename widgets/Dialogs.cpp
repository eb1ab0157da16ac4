#include "widgets/Dialogs.h"

#include "widgets/FontDialog.h"
#include "common/AppError.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include <utility>

namespace Dialogs {

namespace {
std::optional<std::optional<QString>> nextFileName;
std::optional<std::optional<DisplayFont>> nextFont;
std::function<void(MessageKind, const QString &)> recorder;
DisplayFont lastInitial;
QList<FailedSaveChoice> nextFailedSaveChoices;

QString withPeriod(const QString &text)
{
    return text.endsWith(QLatin1Char('.')) ? text : text + QLatin1Char('.');
}
} // namespace

void setNextFileName(std::optional<QString> answer)
{
    nextFileName = std::move(answer);
}
void setNextFont(std::optional<DisplayFont> answer)
{
    nextFont = std::move(answer);
}
void setNextFailedSaveChoices(QList<FailedSaveChoice> answers)
{
    nextFailedSaveChoices = std::move(answers);
}
void setMessageRecorder(std::function<void(MessageKind, const QString &)> r)
{
    recorder = std::move(r);
}
DisplayFont lastFontDialogInitial()
{
    return lastInitial;
}

void showMessage(QWidget *parent, const QString &text)
{
    if (recorder)
        return recorder(MessageKind::Plain, text);
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), text, QMessageBox::Ok, parent);
    box.exec();
}

void showError(QWidget *parent, const QString &text)
{
    const QString shown = withPeriod(text);
    if (recorder)
        return recorder(MessageKind::Error, shown);
    QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(), shown, QMessageBox::Ok, parent);
    box.exec();
}

FailedSaveChoice askAfterFailedSave(QWidget *parent, const QString &text)
{
    const QString shown = withPeriod(text);
    if (recorder || !nextFailedSaveChoices.isEmpty()) {
        if (recorder)
            recorder(MessageKind::Error, shown);
        return nextFailedSaveChoices.isEmpty() ? FailedSaveChoice::KeepOpen : nextFailedSaveChoices.takeFirst();
    }
    QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(), shown, QMessageBox::NoButton, parent);
    QPushButton *retry = box.addButton(QMessageBox::Retry);
    QPushButton *discard = box.addButton(QApplication::translate("Dialogs", "Close without saving"),
                                         QMessageBox::DestructiveRole);
    QPushButton *cancel = box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(retry);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == retry)
        return FailedSaveChoice::Retry;
    if (box.clickedButton() == discard)
        return FailedSaveChoice::CloseWithoutSaving;
    return FailedSaveChoice::KeepOpen;
}

void guard(QWidget *parent, const std::function<void()> &body)
{
    try {
        body();
    } catch (const AppError &error) {
        showError(parent, error.message());
    } catch (const std::exception &error) {
        showError(parent, QString::fromLocal8Bit(error.what()));
    }
}

std::optional<QString> getSaveFileName(QWidget *parent, const SaveOptions &options)
{
    if (nextFileName)
        return std::exchange(nextFileName, std::nullopt).value();
    QFileDialog dialog(parent, options.title, QString(), options.filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDefaultSuffix(options.defaultSuffix);
    if (!options.proposedName.isEmpty())
        dialog.selectFile(options.proposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::optional<DisplayFont> getFont(QWidget *parent, const DisplayFont &initial)
{
    lastInitial = initial;
    if (nextFont)
        return std::exchange(nextFont, std::nullopt).value();
    FontDialog dialog(initial, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedFont();
}

} // namespace Dialogs
