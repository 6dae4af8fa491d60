#pragma once
#include <QFont>
#include <QRect>
#include <QSize>

#include "app/DialogTemplate.h"

class QDialog;

// Dialog units scale with the dialog's font: a horizontal unit is a quarter of the
// font's average character width, a vertical unit an eighth of its height, so a
// layout designed in units keeps its proportions whatever the font renders at.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    int BaseWidth() const { return m_baseWidth; }
    int BaseHeight() const { return m_baseHeight; }
    QRect ToPixels(const QRect& units) const;
    QSize ToPixels(const QSize& units) const;

private:
    int m_baseWidth;
    int m_baseHeight;
};

// The template's font at its point size on the primary screen. The layouts were
// drawn for Windows' core fonts; their metric twins stand in for them.
QFont DialogFont(const QString& family, int points);

// Gives the dialog the template's title, font and fixed client size and creates its
// controls as children, each placed at its rectangle and named after its id (so
// findChild<QLineEdit*>("1000") reaches it), chained in the template's tab order.
// The first button with the "default" style becomes the dialog's default button.
void BuildDialog(QDialog& dialog, const DialogTemplate& layout);
