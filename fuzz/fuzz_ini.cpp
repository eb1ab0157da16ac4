// The INI layer: any bytes as a profile, read by the rules, written to and
// written out again.

#include "settings/PrivateProfile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    PrivateProfile profile;
    profile.parse(input);
    // Names taken from the input as well as the program's own.
    const QString text = QString::fromUtf8(input.left(64));
    const QStringList sections{QStringLiteral("Font"), QStringLiteral("General"), text.section(u'\n', 0, 0)};
    const QStringList keys{QStringLiteral("FontName"), QStringLiteral("FontSize"), text.section(u'=', 0, 0)};
    for (const QString &section : sections) {
        profile.hasSection(section);
        for (const QString &key : keys) {
            profile.readString(section, key, QStringLiteral(" default "));
            profile.readInteger(section, key, 7);
            profile.readRaw(section, key);
        }
    }
    PrivateProfile::toInteger(text);
    profile.writeString(sections.last(), keys.last(), text);
    profile.writeInteger(QStringLiteral("Font"), QStringLiteral("FontSize"), 12);
    PrivateProfile again;
    again.parse(profile.toBytes());
    again.readString(sections.last(), keys.last(), QString());
    return 0;
}
