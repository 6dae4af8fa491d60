#include "app/InferenceStrip.h"

#include <utility>

#include <QMouseEvent>
#include <QPainter>

InferenceStrip::InferenceStrip(const InferenceHistory& history, ColumnChosen chosen, QWidget* parent)
    : QWidget(parent), m_history(history), m_picture(history), m_chosen(std::move(chosen))
{
    setMinimumSize(sizeHint());
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::PointingHandCursor);
}

void InferenceStrip::SetSelected(int column)
{
    if (column == m_selected) return;
    m_selected = column;
    update();
}

void InferenceStrip::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) return;
    const int column = ColumnAt(event->pos().x());
    if (column >= 0) m_chosen(column);
}

void InferenceStrip::paintEvent(QPaintEvent*)
{
    const int count = static_cast<int>(m_history.Size());
    const QString title =
        m_selected >= 0
            ? QStringLiteral("Derniers pas : ci-dessus le pas choisi, %1 avant le dernier").arg(count - 1 - m_selected)
            : QStringLiteral("Derniers pas (un clic sur une colonne montre son raisonnement)");
    QPainter painter(this);
    m_picture.Paint(painter, size(), PictureColours::Of(palette()), title, m_selected);
}
