#include "settings/FontSettings.h"

DisplayFont FontSettings::toFont(const SettingsFile::Values &values, quint8 &otherStyleBits)
{
    DisplayFont font;
    // No face stored: the face a new font has, the system's default.
    font.family = values.faceName.isEmpty() ? QFont().family() : values.faceName;
    font.color = values.color;
    font.pointSize = values.size;
    font.bold = values.style & SettingsFile::fsBold;
    font.italic = values.style & SettingsFile::fsItalic;
    font.underline = values.style & SettingsFile::fsUnderline;
    font.strikeOut = values.style & SettingsFile::fsStrikeOut;
    otherStyleBits = values.style & 0xF0;
    return font;
}

SettingsFile::Values FontSettings::fromFont(const DisplayFont &font, quint8 otherStyleBits, const QString &delimiter)
{
    SettingsFile::Values values;
    values.faceName = font.family;
    values.color = font.color;
    values.size = font.pointSize;
    values.style = quint8((otherStyleBits & 0xF0) | (font.bold ? SettingsFile::fsBold : 0)
                          | (font.italic ? SettingsFile::fsItalic : 0) | (font.underline ? SettingsFile::fsUnderline : 0)
                          | (font.strikeOut ? SettingsFile::fsStrikeOut : 0));
    values.delimiter = delimiter;
    return values;
}
