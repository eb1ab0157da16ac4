#include "settings/TStyleManager.h"

#include "common/AppError.h"
#include "settings/Theme.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPalette>
#include <QStyle>
#include <QtDebug>

#include <algorithm>
#include <optional>
#include <vector>

namespace {

const QString kNativeName = QStringLiteral("Windows");

struct StyleState {
    // The look the application had before we first touched it, so "Windows"
    // can give it back. A style object is owned and deleted by QApplication
    // when replaced, so we keep its name and recreate it.
    QString nativeStyle;
    QPalette nativePalette;
    QString active = kNativeName;
    TierLooks tiers = Theme::defaultTierLooks();

    StyleState()
    {
        if (QStyle *style = QApplication::style())
            nativeStyle = style->name();
        nativePalette = QApplication::palette();
    }

    // Every theme, read at the first call: the list of names needs all the files.
    const std::vector<Theme> &themes()
    {
        if (!m_loaded) {
            m_loaded = true;
            loadThemes();
        }
        return m_themes;
    }

    // The theme of a name, or none.
    const Theme *find(const QString &name)
    {
        // Before the list is read, a theme asked for by name is read from its own
        // file alone: the files are named after their themes (lower case, without
        // blanks), so the start's look costs one file, not all of them.
        if (!m_loaded) {
            if (!m_single || m_single->name.compare(name, Qt::CaseInsensitive) != 0)
                m_single = readNamed(name);
            if (m_single)
                return &*m_single;
        }
        for (const Theme &theme : themes()) {
            if (theme.name.compare(name, Qt::CaseInsensitive) == 0)
                return &theme;
        }
        return nullptr;
    }

private:
    // The theme in the file named after `name`, if that file holds it.
    static std::optional<Theme> readNamed(const QString &name)
    {
        const QString file = name.toLower().remove(QLatin1Char(' ')) + QStringLiteral(".json");
        if (file.contains(QLatin1Char('/')) || !QFile::exists(QStringLiteral(":/themes/") + file))
            return std::nullopt;
        try {
            Theme theme = Theme::fromFile(QStringLiteral(":/themes/") + file);
            if (theme.name.compare(name, Qt::CaseInsensitive) == 0
                && theme.name.compare(kNativeName, Qt::CaseInsensitive) != 0)
                return theme;
        } catch (const AppError &) {
            // Read again with the others, where its fault is told.
        }
        return std::nullopt;
    }

    void loadThemes()
    {
        const QDir dir(QStringLiteral(":/themes"));
        const QStringList files = dir.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name);
        for (const QString &file : files) {
            try {
                Theme theme = Theme::fromFile(dir.filePath(file));
                // A theme may not hide the native look or another theme.
                if (theme.name.compare(kNativeName, Qt::CaseInsensitive) == 0 || loadedNamed(theme.name)) {
                    qWarning().noquote() << "Theme" << file << "repeats the name" << theme.name;
                    continue;
                }
                m_themes.push_back(std::move(theme));
            } catch (const AppError &e) {
                // A broken file costs only its own theme, not the start-up.
                qWarning().noquote() << file << e.message();
            }
        }
    }

    bool loadedNamed(const QString &name) const
    {
        return std::any_of(m_themes.cbegin(), m_themes.cend(),
                           [&name](const Theme &theme) { return theme.name.compare(name, Qt::CaseInsensitive) == 0; });
    }

    std::vector<Theme> m_themes;
    bool m_loaded = false;
    std::optional<Theme> m_single;
};

StyleState &state()
{
    static StyleState instance;
    return instance;
}

} // namespace

QStringList TStyleManager::StyleNames()
{
    QStringList names{kNativeName};
    for (const Theme &theme : state().themes())
        names << theme.name;
    return names;
}

void TStyleManager::SetStyle(const QString &name)
{
    StyleState &s = state();
    const QString wanted = name.trimmed();
    if (wanted.compare(kNativeName, Qt::CaseInsensitive) == 0) {
        // Clear the sheet first: with a sheet in place a new style gets wrapped in it.
        qApp->setStyleSheet(QString());
        QApplication::setStyle(s.nativeStyle);
        QApplication::setPalette(s.nativePalette);
        s.active = kNativeName;
        s.tiers = Theme::defaultTierLooks();
        return;
    }

    const Theme *theme = s.find(wanted);
    if (!theme)
        throw AppError(QStringLiteral("Style '%1' not found").arg(name));
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setPalette(theme->palette);
    qApp->setStyleSheet(theme->styleSheet);
    s.active = theme->name;
    s.tiers = theme->tiers;
}

bool TStyleManager::TrySetStyle(const QString &name, bool showError)
{
    try {
        SetStyle(name);
        return true;
    } catch (const AppError &e) {
        if (showError) {
            QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(), e.message(),
                            QMessageBox::NoButton);
            box.addButton(QMessageBox::tr("Close"), QMessageBox::RejectRole);
            box.exec();
        }
        return false;
    }
}

QString TStyleManager::ActiveStyleName()
{
    return state().active;
}

TierLook TStyleManager::tierLook(int tier)
{
    const TierLooks &looks = state().tiers;
    return looks[std::size_t(std::clamp(tier, 0, int(looks.size()) - 1))];
}
