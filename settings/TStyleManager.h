#pragma once

#include "settings/Theme.h"

#include <QString>
#include <QStringList>

// The application's visual styles: "Windows" (the platform's own look) and the
// themes built in as resources under :/themes. A style is always applied to the
// whole application at once, never to single widgets.
class TStyleManager
{
public:
    // "Windows" first, then the built-in themes in the order they were loaded.
    static QStringList StyleNames();
    // Name matched without regard to case. Unknown name: throws AppError
    // "Style '<name>' not found" and leaves the current look in place.
    static void SetStyle(const QString &name);
    // For start-up: false (and, if showError, a modal error box) for an unknown name.
    static bool TrySetStyle(const QString &name, bool showError = true);
    // Display name of the style last applied; "Windows" before any.
    static QString ActiveStyleName();
    // How the result lists draw a tier's words (0 direct, 1 second, 2 third level)
    // in the style last applied; the defaults in "Windows".
    static TierLook tierLook(int tier);
};
