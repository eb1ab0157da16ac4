#pragma once

#include "widgets/DisplayFont.h"
#include "settings/SettingsFile.h"

// Between the Settings file's values and the window's display font.
class FontSettings
{
public:
    // The stored attributes given to a new display font. The style bits above the
    // four that a font has go to otherStyleBits, so that a save can write them back.
    static DisplayFont toFont(const SettingsFile::Values &values, quint8 &otherStyleBits);
    static SettingsFile::Values fromFont(const DisplayFont &font, quint8 otherStyleBits, const QString &delimiter);
};
