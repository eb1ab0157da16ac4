#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// What a start from the command line asks the main window to look up.
struct LookupRequest {
    QString phrase;
    std::optional<int> depth;         // the depth list's index; unset keeps the window's choice
    std::optional<int> languageIndex; // the language list's index; unset keeps the window's choice

    bool operator==(const LookupRequest &) const = default;

    // One line of JSON, as it travels to a running instance.
    QByteArray toBytes() const;
    // Nothing for a line that is not a request this program would make.
    static std::optional<LookupRequest> fromBytes(const QByteArray &bytes);
};

namespace CommandLine {

enum ExitStatus { Success = 0, Failure = 1, UsageError = 2 };

struct Parsed {
    enum class Action { Start, Help, Version, Error };
    Action action = Action::Start;
    // The help or version text for stdout, or the message for stderr.
    QString text;
    // The phrase is to come from the selection, read once the GUI runs.
    bool fromSelection = false;
    LookupRequest request;

    // With neither a phrase nor --selection the window starts as it always did.
    bool hasRequest() const { return fromSelection || !request.phrase.isEmpty(); }
};

// Reads the arguments (the first is the program). Needs no display, so that
// --help and --version work anywhere.
Parsed parse(const QStringList &arguments);

// The text of the primary selection, or of the clipboard where the platform has
// no selection, on one line. Needs a QGuiApplication.
QString selectionPhrase();

// Told on stderr when the selection holds no text.
QString emptySelectionMessage();
// Told on stderr when the selection is longer than a window takes; otherwise nothing.
QString tooLongSelectionMessage(const QString &phrase);

} // namespace CommandLine
