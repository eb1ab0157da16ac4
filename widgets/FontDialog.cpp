#include "widgets/FontDialog.h"

#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QFormLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>

namespace {

constexpr int ColourRole = Qt::UserRole;     // the stored colour encoding of an item
constexpr int CustomRole = Qt::UserRole + 1; // the "Custom…" item

QIcon swatch(const QColor &colour)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QColor(0x59, 0x59, 0x59));
    painter.setBrush(colour.isValid() ? colour : QColor(Qt::transparent));
    painter.drawRect(0, 0, 15, 15);
    return QIcon(pixmap);
}

} // namespace

const FontDialog::NamedColour FontDialog::Colours[16] = {
    {QT_TRANSLATE_NOOP("FontDialog", "Black"), 0x000000},  {QT_TRANSLATE_NOOP("FontDialog", "Maroon"), 0x800000},
    {QT_TRANSLATE_NOOP("FontDialog", "Green"), 0x008000},  {QT_TRANSLATE_NOOP("FontDialog", "Olive"), 0x808000},
    {QT_TRANSLATE_NOOP("FontDialog", "Navy"), 0x000080},   {QT_TRANSLATE_NOOP("FontDialog", "Purple"), 0x800080},
    {QT_TRANSLATE_NOOP("FontDialog", "Teal"), 0x008080},   {QT_TRANSLATE_NOOP("FontDialog", "Gray"), 0x808080},
    {QT_TRANSLATE_NOOP("FontDialog", "Silver"), 0xC0C0C0}, {QT_TRANSLATE_NOOP("FontDialog", "Red"), 0xFF0000},
    {QT_TRANSLATE_NOOP("FontDialog", "Lime"), 0x00FF00},   {QT_TRANSLATE_NOOP("FontDialog", "Yellow"), 0xFFFF00},
    {QT_TRANSLATE_NOOP("FontDialog", "Blue"), 0x0000FF},   {QT_TRANSLATE_NOOP("FontDialog", "Fuchsia"), 0xFF00FF},
    {QT_TRANSLATE_NOOP("FontDialog", "Aqua"), 0x00FFFF},   {QT_TRANSLATE_NOOP("FontDialog", "White"), 0xFFFFFF},
};

FontDialog::FontDialog(const DisplayFont &initial, QWidget *parent)
    : QDialog(parent), m_fonts(new QFontDialog(this)), m_colours(new QComboBox(this))
{
    setObjectName(QStringLiteral("FontDialog"));
    setWindowTitle(tr("Font"));

    // Qt's font dialog, embedded without its buttons: this dialog has its own.
    m_fonts->setObjectName(QStringLiteral("fonts"));
    m_fonts->setWindowFlags(Qt::Widget);
    m_fonts->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    // A face this system lacks (Tahoma) is shown as the face that stands in for it,
    // under that face's own name, not as the dialog's fallback "Sans Serif".
    QFont start = initial.toQFont();
    start.setFamily(QFontInfo(start).family());
    m_fonts->setCurrentFont(start);

    m_colours->setObjectName(QStringLiteral("colour"));
    m_colours->setAccessibleName(tr("Colour"));
    for (const NamedColour &named : Colours) {
        const QColor colour = QColor::fromRgb(named.rgb);
        m_colours->addItem(swatch(colour), tr(named.name),
                           QVariant::fromValue(TColor::fromRgb(colour.red(), colour.green(), colour.blue())));
    }
    m_colours->addItem(tr("Custom…"));
    m_colours->setItemData(m_colours->count() - 1, true, CustomRole);

    const int listed = m_colours->findData(QVariant::fromValue(initial.color), ColourRole);
    if (listed >= 0) {
        m_colours->setCurrentIndex(listed);
    } else {
        // The theme's text colour or a colour of the user's own: kept as it is until
        // another one is chosen.
        const bool automatic = initial.color == TColor::clDefault || TColor::isSystem(initial.color);
        addOwnColour(automatic ? tr("Automatic") : tr("Custom"), initial.color);
    }
    m_previousColour = m_colours->currentIndex();
    connect(m_colours, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0 && !m_colours->itemData(index, CustomRole).toBool())
            m_previousColour = index; // the colour "Custom…" starts from and goes back to
    });
    connect(m_colours, &QComboBox::activated, this, &FontDialog::colourActivated);

    auto *colourLabel = new QLabel(tr("&Colour:"), this);
    colourLabel->setBuddy(m_colours);
    auto *colourRow = new QFormLayout;
    colourRow->addRow(colourLabel, m_colours);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_fonts);
    layout->addLayout(colourRow);
    layout->addWidget(buttons);
}

void FontDialog::addOwnColour(const QString &text, std::int32_t color)
{
    // One own colour at most, just before "Custom…".
    const int custom = m_colours->count() - 1;
    if (custom > int(std::size(Colours)))
        m_colours->removeItem(custom - 1);
    const int at = m_colours->count() - 1;
    DisplayFont probe;
    probe.color = color;
    m_colours->insertItem(at, swatch(probe.qColor(palette())), text, QVariant::fromValue(color));
    m_colours->setCurrentIndex(at);
}

void FontDialog::colourActivated(int index)
{
    if (!m_colours->itemData(index, CustomRole).toBool())
        return;
    DisplayFont current;
    current.color = m_colours->itemData(m_previousColour, ColourRole).value<std::int32_t>();
    const QColor chosen = QColorDialog::getColor(current.qColor(palette()), this, tr("Custom colour"));
    if (!chosen.isValid()) {
        m_colours->setCurrentIndex(m_previousColour); // cancelled: the colour stays
        return;
    }
    const std::int32_t color = TColor::fromRgb(chosen.red(), chosen.green(), chosen.blue());
    const int listed = m_colours->findData(QVariant::fromValue(color), ColourRole);
    if (listed >= 0 && listed < int(std::size(Colours)))
        m_colours->setCurrentIndex(listed);
    else
        addOwnColour(tr("Custom"), color);
}

DisplayFont FontDialog::selectedFont() const
{
    const std::int32_t color = m_colours->currentData(ColourRole).value<std::int32_t>();
    return DisplayFont::fromQFont(m_fonts->currentFont(), color);
}
