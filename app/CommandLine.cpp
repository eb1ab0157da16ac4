#include "app/CommandLine.h"

#include "Version.h"
#include "thesaurus/Depth.h"
#include "thesaurus/LanguageTable.h"
#include "thesaurus/SynonymExpansion.h"

#include <QClipboard>
#include <QCommandLineParser>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

const QString ProgramName = QStringLiteral("verbarium-pro");
// Longer than any phrase a user selects; a request above it is not ours.
constexpr qsizetype MaxPhraseLength = 64 * 1024;

CommandLine::Parsed usageError(const QString &message)
{
    CommandLine::Parsed parsed;
    parsed.action = CommandLine::Parsed::Action::Error;
    parsed.text = QStringLiteral("%1: %2\nTry '%1 --help' for more information.").arg(ProgramName, message);
    return parsed;
}

} // namespace

QByteArray LookupRequest::toBytes() const
{
    QJsonObject object{{QStringLiteral("phrase"), phrase}};
    if (depth)
        object.insert(QStringLiteral("depth"), *depth);
    if (languageIndex)
        object.insert(QStringLiteral("language"), *languageIndex);
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

std::optional<LookupRequest> LookupRequest::fromBytes(const QByteArray &bytes)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes.trimmed(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();
    LookupRequest request;
    const QJsonValue phrase = object.value(QStringLiteral("phrase"));
    if (!phrase.isString() || phrase.toString().trimmed().isEmpty() || phrase.toString().size() > MaxPhraseLength)
        return std::nullopt;
    request.phrase = phrase.toString();
    const auto index = [&object](const QString &key, int count, std::optional<int> &into) {
        const QJsonValue value = object.value(key);
        if (value.isUndefined())
            return true;
        const int number = value.toInt(-1);
        if (!value.isDouble() || number < 0 || number >= count || value.toDouble() != number)
            return false;
        into = number;
        return true;
    };
    if (!index(QStringLiteral("depth"), int(Depths::All.size()), request.depth)
        || !index(QStringLiteral("language"), int(LanguageTable::listItems().size()), request.languageIndex))
        return std::nullopt;
    return request;
}

namespace CommandLine {

Parsed parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Verbarium Pro, a thesaurus for writers.\n"
                                                    "With a phrase or --selection the window shows the phrase's synonyms; a window\n"
                                                    "that is already open takes the request and comes to the front."));
    const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Show this help and exit."));
    const QCommandLineOption versionOption({QStringLiteral("v"), QStringLiteral("version")},
                                           QStringLiteral("Show the version and exit."));
    const QCommandLineOption depthOption(QStringLiteral("depth"),
                                         QStringLiteral("Thesaurus depth: %1.").arg(Depths::numberedNames()),
                                         QStringLiteral("0|1|2"));
    const QCommandLineOption languageOption(
        QStringLiteral("language"),
        QStringLiteral("Thesaurus language as named in the language list, e.g. \"English US\"."), QStringLiteral("NAME"));
    const QCommandLineOption selectionOption(
        QStringLiteral("selection"),
        QStringLiteral("Look up the selected text (the primary selection, or the clipboard where there is none)."));
    parser.addOptions({helpOption, versionOption, depthOption, languageOption, selectionOption});
    parser.addPositionalArgument(QStringLiteral("PHRASE"), QStringLiteral("The words to look up."),
                                 QStringLiteral("[PHRASE...]"));

    if (!parser.parse(arguments))
        return usageError(parser.errorText());
    Parsed parsed;
    if (parser.isSet(helpOption)) {
        parsed.action = Parsed::Action::Help;
        parsed.text = parser.helpText();
        return parsed;
    }
    if (parser.isSet(versionOption)) {
        parsed.action = Parsed::Action::Version;
        parsed.text = ProgramName + QLatin1Char(' ') + QString::fromLatin1(Version::Text) + QLatin1Char('\n');
        return parsed;
    }
    if (parser.isSet(depthOption)) {
        const QString value = parser.value(depthOption).trimmed();
        const std::optional<int> depth = Depths::parseNumber(value);
        if (!depth)
            return usageError(QStringLiteral("The depth must be %1, not \"%2\".").arg(Depths::numbers(), value));
        parsed.request.depth = *depth;
    }
    if (parser.isSet(languageOption)) {
        const int index = LanguageTable::listIndexForName(parser.value(languageOption));
        if (index < 0)
            return usageError(
                QStringLiteral("Unknown language \"%1\". Known languages: %2")
                    .arg(parser.value(languageOption), LanguageTable::listItems().join(QStringLiteral("; "))));
        parsed.request.languageIndex = index;
    }
    const QStringList words = parser.positionalArguments();
    parsed.fromSelection = parser.isSet(selectionOption);
    if (parsed.fromSelection && !words.isEmpty())
        return usageError(QStringLiteral("Give either a phrase or --selection, not both."));
    if (!words.isEmpty()) {
        parsed.request.phrase = words.join(QLatin1Char(' ')).simplified();
        if (parsed.request.phrase.isEmpty())
            return usageError(SynonymExpansion::emptyPhraseMessage());
        if (parsed.request.phrase.size() > MaxPhraseLength)
            return usageError(QStringLiteral("The phrase is too long: %1 characters, at most %2.")
                                  .arg(parsed.request.phrase.size())
                                  .arg(MaxPhraseLength));
    } else if (!parsed.fromSelection && (parsed.request.depth || parsed.request.languageIndex)) {
        return usageError(QStringLiteral("--depth and --language need a phrase or --selection."));
    }
    return parsed;
}

QString selectionPhrase()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    const QClipboard::Mode mode = clipboard->supportsSelection() ? QClipboard::Selection : QClipboard::Clipboard;
    // A selection over several lines is still one phrase.
    return clipboard->text(mode).simplified();
}

QString emptySelectionMessage()
{
    return QStringLiteral("%1: The selection is empty: select a word first, then start %1 --selection again.").arg(ProgramName);
}

QString tooLongSelectionMessage(const QString &phrase)
{
    if (phrase.size() <= MaxPhraseLength)
        return {};
    return QStringLiteral("%1: The selection is too long: %2 characters, at most %3. Select a word or a phrase, "
                          "then start %1 --selection again.")
        .arg(ProgramName)
        .arg(phrase.size())
        .arg(MaxPhraseLength);
}

} // namespace CommandLine
