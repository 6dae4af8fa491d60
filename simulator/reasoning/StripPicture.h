#pragma once
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

#include "reasoning/InferenceHistory.h"
#include "reasoning/PictureColours.h"

class QPainter;

// The strip "Derniers pas": the last passes from left to right, each a column of the
// eight situations' truths stacked in their colours (the winner in full colour, the
// others paler), the command's angle as a line across the columns, and a red mark over
// each pass that counted a collision. The window and the recordings draw the same.
class StripPicture {
public:
    explicit StripPicture(const InferenceHistory& history) : m_history(history) {}

    // The smallest size the strip is laid out for: two pixels a column.
    static QSize Size();

    // The column under an x coordinate at that size, -1 outside the columns drawn.
    int ColumnAt(int x, QSize size) const;

    // Paints the whole strip over (0, 0, size), in the painter's font: the title, the
    // columns, the legend, and the `selected` column framed (-1: none).
    void Paint(QPainter& painter, QSize size, const PictureColours& colours, const QString& title, int selected);

private:
    QRect ColumnsArea(QSize size) const;
    int ColumnLeft(QSize size, int column) const;
    // The situations' colours, the line and the mark, under the columns.
    void PaintLegend(QPainter& painter, QSize size) const;

    const InferenceHistory& m_history;
    QImage m_background;  // the ground and the legend, for the size and colours below
    PictureColours m_backgroundColours;
};
