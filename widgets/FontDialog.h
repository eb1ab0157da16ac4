#pragma once

#include "widgets/DisplayFont.h"

#include <QDialog>

class QComboBox;
class QFontDialog;

// The font dialog of the "Font" button: Qt's face, style, size and effects, and a
// colour list (sixteen colours and "Custom…", which opens the colour dialog), which
// Qt's own font dialog lacks.
class FontDialog : public QDialog
{
    Q_OBJECT

public:
    explicit FontDialog(const DisplayFont &initial, QWidget *parent = nullptr);

    // The font as chosen so far, its colour in the stored encoding.
    DisplayFont selectedFont() const;

    // The sixteen colours of the list, in its order.
    struct NamedColour {
        const char *name;
        QRgb rgb;
    };
    static const NamedColour Colours[16];

private:
    void colourActivated(int index);
    void addOwnColour(const QString &text, std::int32_t color);

    QFontDialog *m_fonts;
    QComboBox *m_colours;
    int m_previousColour = 0;
};
