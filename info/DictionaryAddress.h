#pragma once

#include <QString>

// The address of the site's dictionary page for a word.
namespace DictionaryAddress {

// The first two characters of a language list item, lower-cased by the ASCII rule:
// "German" -> "ge", "Greek," -> "gr", "" -> "".
QString languageCode(const QString &languageItemText);

// Base + "/dictionaries/lookup.php?word=" + word + "&lang=" + code, the word and
// the code percent-encoded as UTF-8 query values so that "&", "#" or a blank in a
// word reach the page as part of the word.
QString build(const QString &baseUrl, const QString &word, const QString &languageItemText);

} // namespace DictionaryAddress
