#pragma once

#include <QByteArray>
#include <QColor>
#include <QPalette>
#include <QString>

// One of our own looks, as read from its data file: what the application gets
// when the theme is applied (Fusion + this palette + this style sheet).
class Theme
{
public:
    QString name;
    QPalette palette;
    QString styleSheet;

    // Throws AppError naming the fault when the data is not a complete theme.
    static Theme fromJson(const QByteArray &json);
    static Theme fromFile(const QString &path);

    // WCAG 2 contrast ratio of two opaque colours: 1 (same) up to 21 (black on white).
    static double contrastRatio(const QColor &a, const QColor &b);
};
