#pragma once

#include "common/AppError.h"
#include "thesaurus/SynonymInfo.h"
#include "thesaurus/ThesaurusSource.h"

#include <QHash>
#include <QList>
#include <QRegularExpression>
#include <QSet>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <utility>

// A thesaurus that answers from a script and writes down how it was used. The log
// is shared so that it can still be read after the owner has destroyed the source.
class ScriptedSource : public ThesaurusSource
{
public:
    struct Call {
        QString word;
        std::int32_t languageId = 0;
        bool operator==(const Call &) const = default;
    };
    struct Log {
        QList<Call> calls;
        int starts = 0;
        int quits = 0;
        QStringList words() const
        {
            QStringList result;
            for (const Call &call : calls)
                result.append(call.word);
            return result;
        }
    };

    std::shared_ptr<Log> log = std::make_shared<Log>();
    QHash<QString, QList<QStringList>> meanings; // unscripted words: not found, no meanings
    QSet<QString> foundFalse;                    // scripted words that still answer found() == false
    QSet<std::int32_t> withoutData;              // languages hasData() denies
    bool failStart = false;
    int throwAtCall = -1; // 0-based number of the synonymInfo call that throws
    QString throwAtWord;  // with throwAtMeaning: synonymList(throwAtMeaning) of this word throws
    int throwAtMeaning = -1;

    // "bright: brilliant, shining | smart; smart: clever" — entries separated by ';' or
    // line breaks, meanings by '|', synonyms by ','. An empty meaning stays a meaning.
    static std::unique_ptr<ScriptedSource> fromText(const QString &text)
    {
        auto source = std::make_unique<ScriptedSource>();
        source->script(text);
        return source;
    }

    void script(const QString &text)
    {
        static const QRegularExpression entrySeparator(QStringLiteral("[;\n]"));
        for (const QString &entry : text.split(entrySeparator, Qt::SkipEmptyParts)) {
            const qsizetype colon = entry.indexOf(QLatin1Char(':'));
            if (colon < 0)
                continue;
            QList<QStringList> list;
            for (const QString &meaning : entry.mid(colon + 1).split(QLatin1Char('|'))) {
                QStringList synonyms;
                for (const QString &synonym : meaning.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
                    if (!synonym.trimmed().isEmpty())
                        synonyms.append(synonym.trimmed());
                }
                list.append(synonyms);
            }
            meanings.insert(entry.left(colon).trimmed(), list);
        }
    }

    void start() override
    {
        ++log->starts;
        if (failStart)
            throw AppError(QStringLiteral("scripted start failure"));
    }

    void quit() override { ++log->quits; }

    bool hasData(std::int32_t languageId) const override { return !withoutData.contains(languageId); }

    // Every meaning in turn, so that a failure at one meaning keeps the ones before it.
    bool appendSynonyms(const QString &word, std::int32_t languageId, QStringList &synonyms) override
    {
        const std::unique_ptr<SynonymInfo> info = synonymInfo(word, languageId);
        const int count = info->meaningCount();
        for (int i = 1; i <= count; ++i)
            synonyms += info->synonymList(i);
        return info->found();
    }

    // Tests that watch each lookup override this one.
    virtual std::unique_ptr<SynonymInfo> synonymInfo(const QString &word, std::int32_t languageId)
    {
        const qsizetype call = log->calls.size();
        log->calls.append({word, languageId});
        if (call == throwAtCall)
            throw AppError(QStringLiteral("scripted failure at call %1").arg(call));
        const bool scripted = meanings.contains(word);
        return std::make_unique<Info>(meanings.value(word), scripted && !foundFalse.contains(word),
                                      word == throwAtWord ? throwAtMeaning : -1);
    }

private:
    class Info : public SynonymInfo
    {
    public:
        Info(QList<QStringList> meanings, bool found, int throwAt)
            : m_meanings(std::move(meanings)), m_found(found), m_throwAt(throwAt)
        {
        }
        int meaningCount() override { return int(m_meanings.size()); }
        QStringList synonymList(int meaning) override
        {
            if (meaning == m_throwAt)
                throw AppError(QStringLiteral("scripted failure at meaning %1").arg(meaning));
            return m_meanings.value(meaning - 1);
        }
        bool found() override { return m_found; }

    private:
        QList<QStringList> m_meanings;
        bool m_found;
        int m_throwAt;
    };
};
