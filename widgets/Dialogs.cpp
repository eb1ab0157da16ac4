#include "widgets/Dialogs.h"

#include "widgets/FontDialog.h"
#include "common/AppError.h"

#include <QApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>
#include <QStyle>
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

// Room for the title bar: its text in a bold face, with the window manager's
// icon and buttons beside it, so that a short message does not cut the title.
void makeRoomForTitle(QMessageBox &box)
{
    QFont titleFont = box.font();
    titleFont.setBold(true);
    const int titleWidth = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle());
    const int decorations = 4 * box.style()->pixelMetric(QStyle::PM_TitleBarHeight);
    auto *grid = qobject_cast<QGridLayout *>(box.layout());
    if (!grid)
        return;
    // QMessageBox sizes itself from its layout: a spacer is what widens it.
    grid->addItem(new QSpacerItem(titleWidth + decorations, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
}
} // namespace

std::unique_ptr<QMessageBox> makeMessageBox(QWidget *parent, MessageKind kind, const QString &text)
{
    auto box = std::make_unique<QMessageBox>(kind == MessageKind::Error ? QMessageBox::Critical : QMessageBox::NoIcon,
                                             QApplication::applicationDisplayName(), text, QMessageBox::Ok, parent);
    makeRoomForTitle(*box);
    return box;
}

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
    makeMessageBox(parent, MessageKind::Plain, text)->exec();
}

void showError(QWidget *parent, const QString &text)
{
    const QString shown = withPeriod(text);
    if (recorder)
        return recorder(MessageKind::Error, shown);
    makeMessageBox(parent, MessageKind::Error, shown)->exec();
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
    makeRoomForTitle(box);
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

std::unique_ptr<QFileDialog> makeSaveDialog(QWidget *parent, const SaveOptions &options)
{
    auto dialog = std::make_unique<QFileDialog>(parent, options.title, QString(), options.filter);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    // Words are saved over a file of notes only when the user says so.
    dialog->setOption(QFileDialog::DontConfirmOverwrite, false);
    dialog->setDefaultSuffix(options.defaultSuffix);
    if (!options.proposedName.isEmpty())
        dialog->selectFile(options.proposedName);
    return dialog;
}

std::optional<QString> getSaveFileName(QWidget *parent, const SaveOptions &options)
{
    if (nextFileName)
        return std::exchange(nextFileName, std::nullopt).value();
    const std::unique_ptr<QFileDialog> dialog = makeSaveDialog(parent, options);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return std::nullopt;
    return dialog->selectedFiles().constFirst();
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
