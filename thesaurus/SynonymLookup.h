#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace SynonymExpansion {

// Fills the list with the synonyms of a word; throws AppError when the thesaurus
// fails. The expansion asks through it, and word forms wrap it: a type of its own,
// so that neither needs the other's header.
using Lookup = std::function<void(const QString &word, QStringList &synonyms)>;

} // namespace SynonymExpansion
