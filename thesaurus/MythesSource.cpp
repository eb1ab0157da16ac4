#include "thesaurus/MythesSource.h"

#include "common/AppError.h"
#include "thesaurus/LanguageTable.h"

namespace {

class EntryInfo : public SynonymInfo
{
public:
    explicit EntryInfo(MythesFile::Entry entry) : m_entry(std::move(entry)) {}
    int meaningCount() override { return int(m_entry.meanings.size()); }
    QStringList synonymList(int meaning) override { return m_entry.meanings.value(meaning - 1).synonyms; }
    bool found() override { return m_entry.found; }

private:
    MythesFile::Entry m_entry;
};

} // namespace

MythesSource::MythesSource(const QStringList &searchPath) : m_searchPath(searchPath) {}

void MythesSource::start()
{
    m_catalog = std::make_unique<ThesaurusCatalog>(m_searchPath ? *m_searchPath : ThesaurusCatalog::defaultSearchPath());
    // An empty catalog is kept: it tells which files it had to pass over, and the
    // message names them too, since they may be why nothing was found.
    if (m_catalog->isEmpty()) {
        QString message =
            QStringLiteral("No thesaurus data was found in %1").arg(m_catalog->searchPath().join(QStringLiteral(", ")));
        for (const ThesaurusCatalog::Unreadable &file : m_catalog->unreadable())
            message += QStringLiteral(". Cannot read the thesaurus file \"%1\": %2").arg(file.path, file.reason);
        throw AppError(message);
    }
}

void MythesSource::quit()
{
    m_byLanguage.clear();
    m_open.clear();
    m_catalog.reset();
}

ThesaurusCatalog::DataFiles MythesSource::dataFor(std::int32_t languageId) const
{
    if (!m_catalog)
        return {};
    const LanguageTable::LocaleInfo info = LanguageTable::localeForIdentifier(languageId);
    return m_catalog->find(info.locale, info.language, info.preferredLocale);
}

MythesFile *MythesSource::fileFor(std::int32_t languageId)
{
    if (auto it = m_byLanguage.find(languageId); it != m_byLanguage.end())
        return it->second;
    const ThesaurusCatalog::DataFiles files = dataFor(languageId);
    MythesFile *file = nullptr;
    if (files.isValid()) {
        std::shared_ptr<MythesFile> &open = m_open[files.datPath];
        if (!open)
            open = std::make_shared<MythesFile>(files.idxPath, files.datPath); // may throw: tried again next time
        file = open.get();
    }
    m_byLanguage.emplace(languageId, file);
    return file;
}

ThesaurusEntry MythesSource::entry(const QString &word, std::int32_t languageId)
{
    MythesFile *file = fileFor(languageId);
    if (!file)
        return {};
    try {
        return file->lookup(word);
    } catch (const AppError &) {
        forgetIfChanged(file);
        throw;
    }
}

void MythesSource::forgetIfChanged(MythesFile *file)
{
    // An index changed under its map answers no more: the next lookup opens the
    // files again, as they are then.
    if (!file->indexChanged())
        return;
    std::erase_if(m_byLanguage, [file](const auto &byLanguage) { return byLanguage.second == file; });
    m_open.remove(file->datPath());
}

std::unique_ptr<SynonymInfo> MythesSource::synonymInfo(const QString &word, std::int32_t languageId)
{
    return std::make_unique<EntryInfo>(entry(word, languageId));
}

bool MythesSource::appendSynonyms(const QString &word, std::int32_t languageId, QStringList &synonyms)
{
    MythesFile *file = fileFor(languageId);
    try {
        return file && file->appendSynonyms(word, synonyms);
    } catch (const AppError &) {
        forgetIfChanged(file);
        throw;
    }
}
