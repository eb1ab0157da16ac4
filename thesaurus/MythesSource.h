#pragma once

#include "thesaurus/MythesFile.h"
#include "thesaurus/SynonymInfo.h"
#include "thesaurus/ThesaurusCatalog.h"
#include "thesaurus/ThesaurusSource.h"

#include <QHash>

#include <memory>
#include <optional>
#include <unordered_map>

// The thesaurus over the MyThes data files. Each language's files are opened at
// its first lookup and kept open; a language without data finds nothing.
class MythesSource : public ThesaurusSource
{
public:
    MythesSource() = default;
    explicit MythesSource(const QStringList &searchPath);

    void start() override;
    std::unique_ptr<SynonymInfo> synonymInfo(const QString &word, std::int32_t languageId);
    bool appendSynonyms(const QString &word, std::int32_t languageId, QStringList &synonyms) override;
    void quit() override;

    // The whole entry of a word, antonyms included.
    ThesaurusEntry entry(const QString &word, std::int32_t languageId) override;

    // The files that answer for a language identifier; invalid when there are none.
    ThesaurusCatalog::DataFiles dataFor(std::int32_t languageId) const;

    // The files found at start, also when none could serve; none before start.
    const ThesaurusCatalog *catalog() const { return m_catalog.get(); }

    // Whether a language has data, without opening it.
    bool hasData(std::int32_t languageId) const override { return dataFor(languageId).isValid(); }

private:
    MythesFile *fileFor(std::int32_t languageId);
    void forgetIfChanged(MythesFile *file);

    std::optional<QStringList> m_searchPath;
    std::unique_ptr<ThesaurusCatalog> m_catalog;
    // By data file, so that languages sharing a file share one open copy.
    std::unordered_map<std::int32_t, MythesFile *> m_byLanguage;
    QHash<QString, std::shared_ptr<MythesFile>> m_open;
};
