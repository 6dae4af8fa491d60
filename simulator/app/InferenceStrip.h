#pragma once
#include <functional>

#include <QPixmap>
#include <QWidget>

#include "app/InferenceHistory.h"

class QPainter;

// The strip "Derniers pas": the last passes from left to right, each a column of the
// eight situations' truths stacked in their colours (the winner in full colour, the
// others paler), the command's angle as a line across the columns, and a red mark over
// each pass that counted a collision. A click on a column chooses that pass.
class InferenceStrip : public QWidget {
public:
    using ColumnChosen = std::function<void(int column)>;

    InferenceStrip(const InferenceHistory& history, ColumnChosen chosen, QWidget* parent = nullptr);

    // The column drawn framed, -1 for none.
    void SetSelected(int column);
    int Selected() const { return m_selected; }
    // The column under an x coordinate of the widget, -1 outside the columns drawn.
    int ColumnAt(int x) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QRect ColumnsArea() const;
    int ColumnLeft(int column) const;
    // The situations' colours, the line and the mark, under the columns.
    void PaintLegend(QPainter& painter) const;

    const InferenceHistory& m_history;
    ColumnChosen m_chosen;
    int m_selected = -1;
    QPixmap m_background;  // the ground and the legend, for the current size
};
