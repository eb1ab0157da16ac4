#include "settings/Theme.h"

#include "common/AppError.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMetaEnum>

#include <algorithm>
#include <cmath>

namespace {

// Every theme must say these itself: each is text or the ground under text
// somewhere, and a colour derived by Qt could be unreadable on the theme's ground.
constexpr QPalette::ColorRole kRequiredRoles[] = {
    QPalette::Window,          QPalette::WindowText,  QPalette::Base,
    QPalette::AlternateBase,   QPalette::Text,        QPalette::Button,
    QPalette::ButtonText,      QPalette::BrightText,  QPalette::Highlight,
    QPalette::HighlightedText, QPalette::ToolTipBase, QPalette::ToolTipText,
    QPalette::PlaceholderText, QPalette::Link,        QPalette::LinkVisited,
};

constexpr QPalette::ColorRole kRequiredDisabledRoles[] = {
    QPalette::WindowText,
    QPalette::Text,
    QPalette::ButtonText,
};

[[noreturn]] void fail(const QString &themeName, const QString &what)
{
    throw AppError(themeName.isEmpty() ? QStringLiteral("Theme: %1").arg(what)
                                       : QStringLiteral("Theme '%1': %2").arg(themeName, what));
}

QString roleName(QPalette::ColorRole role)
{
    return QString::fromLatin1(QMetaEnum::fromType<QPalette::ColorRole>().valueToKey(role));
}

// Reads {"Role": "#rrggbb", ...} into one colour group (or all of them).
void readRoles(const QJsonObject &roles, QPalette &palette, QPalette::ColorGroup group, const QString &themeName)
{
    const QMetaEnum roleEnum = QMetaEnum::fromType<QPalette::ColorRole>();
    for (auto it = roles.begin(); it != roles.end(); ++it) {
        bool known = false;
        const int role = roleEnum.keyToValue(it.key().toLatin1().constData(), &known);
        if (!known || role == QPalette::NoRole || role >= QPalette::NColorRoles)
            fail(themeName, QStringLiteral("unknown palette role '%1'").arg(it.key()));
        const QColor colour = QColor::fromString(it.value().toString());
        if (!colour.isValid())
            fail(themeName, QStringLiteral("bad colour for %1").arg(it.key()));
        palette.setColor(group, QPalette::ColorRole(role), colour);
    }
}

double channel(int value)
{
    const double c = value / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(const QColor &colour)
{
    const QColor rgb = colour.toRgb();
    return 0.2126 * channel(rgb.red()) + 0.7152 * channel(rgb.green()) + 0.0722 * channel(rgb.blue());
}

// The tiers as a theme's file names them, in tier order.
constexpr const char16_t *kTierNames[] = {u"direct", u"second", u"third"};

// Reads {"direct": {"background": …, "text": …, "bold": …, "italic": …}, …} over the defaults.
void readTiers(const QJsonObject &tiers, TierLooks &looks, const QString &themeName)
{
    for (auto it = tiers.begin(); it != tiers.end(); ++it) {
        const auto *name = std::find_if(std::begin(kTierNames), std::end(kTierNames),
                                        [&](const char16_t *known) { return it.key() == QStringView(known); });
        if (name == std::end(kTierNames) || !it.value().isObject())
            fail(themeName, QStringLiteral("unknown tier '%1'").arg(it.key()));
        TierLook &look = looks[std::size_t(name - std::begin(kTierNames))];
        const QJsonObject fields = it.value().toObject();
        for (auto field = fields.begin(); field != fields.end(); ++field) {
            const QString key = field.key();
            if (key == u"background" || key == u"text") {
                const QColor colour = QColor::fromString(field.value().toString());
                if (!colour.isValid())
                    fail(themeName, QStringLiteral("bad colour for tier %1 %2").arg(it.key(), key));
                (key == u"text" ? look.text : look.background) = colour;
            } else if ((key == u"bold" || key == u"italic") && field.value().isBool()) {
                (key == u"bold" ? look.bold : look.italic) = field.value().toBool();
            } else {
                fail(themeName, QStringLiteral("bad field '%1' for tier %2").arg(key, it.key()));
            }
        }
    }
}

} // namespace

TierLooks Theme::defaultTierLooks()
{
    return {{
        {QColor(0xF9, 0xF9, 0xF9), QColor(0x00, 0x00, 0x00), true, false},
        {QColor(0xEF, 0xEF, 0xEF), QColor(0x00, 0x80, 0x00), false, true},
        {QColor(0xE5, 0xE5, 0xE5), QColor(0x00, 0x00, 0xFF), false, true},
    }};
}

Theme Theme::fromJson(const QByteArray &json)
{
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        fail(QString(), error.errorString());
    if (!doc.isObject())
        fail(QString(), QStringLiteral("not a JSON object"));
    const QJsonObject root = doc.object();

    Theme theme;
    theme.name = root.value(QStringLiteral("name")).toString().trimmed();
    if (theme.name.isEmpty())
        fail(QString(), QStringLiteral("no name"));

    const QJsonObject active = root.value(QStringLiteral("palette")).toObject();
    const QJsonObject disabled = root.value(QStringLiteral("disabled")).toObject();
    for (QPalette::ColorRole role : kRequiredRoles) {
        if (!active.contains(roleName(role)))
            fail(theme.name, QStringLiteral("palette lacks %1").arg(roleName(role)));
    }
    for (QPalette::ColorRole role : kRequiredDisabledRoles) {
        if (!disabled.contains(roleName(role)))
            fail(theme.name, QStringLiteral("disabled colours lack %1").arg(roleName(role)));
    }

    // Start from Qt's derivation so the bevel shades (Light, Mid, Dark, Shadow)
    // match the theme's button and window unless the data sets them.
    const QColor button = QColor::fromString(active.value(QStringLiteral("Button")).toString());
    const QColor window = QColor::fromString(active.value(QStringLiteral("Window")).toString());
    if (!button.isValid() || !window.isValid())
        fail(theme.name, QStringLiteral("bad Button or Window colour"));
    theme.palette = QPalette(button, window);
    readRoles(active, theme.palette, QPalette::All, theme.name);
    readRoles(disabled, theme.palette, QPalette::Disabled, theme.name);

    const QJsonValue tiers = root.value(QStringLiteral("tiers"));
    if (!tiers.isUndefined()) {
        if (!tiers.isObject())
            fail(theme.name, QStringLiteral("tiers is not an object"));
        readTiers(tiers.toObject(), theme.tiers, theme.name);
    }

    // An array of lines keeps the sheet readable in the file.
    const QJsonValue sheet = root.value(QStringLiteral("styleSheet"));
    if (sheet.isArray()) {
        QStringList lines;
        for (const QJsonValue &line : sheet.toArray())
            lines << line.toString();
        theme.styleSheet = lines.join(QLatin1Char('\n'));
    } else {
        theme.styleSheet = sheet.toString();
    }
    return theme;
}

Theme Theme::fromFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("Cannot read theme file '%1'").arg(path));
    Theme theme = fromJson(file.readAll());
    // Last, so that they win over a theme's rules of the same weight.
    theme.styleSheet +=
        QStringLiteral("\nQPushButton[%1=\"true\"] { padding: 2px 3px; }").arg(QLatin1StringView(CompactProperty));
    return theme;
}

double Theme::contrastRatio(const QColor &a, const QColor &b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}
