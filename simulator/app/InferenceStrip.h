#pragma once
#include <functional>

#include <QWidget>

#include "reasoning/StripPicture.h"

// The window's strip "Derniers pas", drawn by StripPicture: a click on a column chooses
// that pass.
class InferenceStrip : public QWidget {
public:
    using ColumnChosen = std::function<void(int column)>;

    InferenceStrip(const InferenceHistory& history, ColumnChosen chosen, QWidget* parent = nullptr);

    // The column drawn framed, -1 for none.
    void SetSelected(int column);
    int Selected() const { return m_selected; }
    // The column under an x coordinate of the widget, -1 outside the columns drawn.
    int ColumnAt(int x) const { return m_picture.ColumnAt(x, size()); }

    QSize sizeHint() const override { return StripPicture::Size(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    const InferenceHistory& m_history;
    StripPicture m_picture;
    ColumnChosen m_chosen;
    int m_selected = -1;
};
