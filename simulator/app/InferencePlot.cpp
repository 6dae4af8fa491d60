#include "app/InferencePlot.h"

#include <QPainter>

InferencePlot::InferencePlot(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(sizeHint());
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void InferencePlot::Clear()
{
    m_picture.Clear();
    update();
}

void InferencePlot::SetStatus(const QString& status)
{
    m_picture.SetStatus(status);
    update();
}

void InferencePlot::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    m_picture.Paint(painter, size(), PictureColours::Of(palette()));
}
