#include "app/InferenceStrip.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr int kMargin = 10;
constexpr int kTitleHeight = 20;
constexpr int kMarkHeight = 6;
constexpr int kColumnsHeight = 96;
constexpr int kLegendHeight = 22;
constexpr int kMinColumnWidth = 2;
// The angle line spans ±90° from the middle of the columns; beyond, it stays at the edge.
constexpr double kAngleSpan = 90.0;

// One colour per situation, S1 (all blocked) to S8 (all free): warm where the front is
// blocked, cool where it is free.
const QColor kSituationColours[InferenceTable::kSituations] = {
    QColor(180, 30, 30),  QColor(230, 110, 30), QColor(150, 60, 160), QColor(200, 170, 40),
    QColor(230, 80, 140), QColor(120, 80, 40),  QColor(40, 120, 200), QColor(40, 160, 90),
};

// The colour of a situation that did not win: the same hue, much paler.
QColor Paler(const QColor& colour)
{
    return QColor((colour.red() + 2 * 255) / 3, (colour.green() + 2 * 255) / 3, (colour.blue() + 2 * 255) / 3);
}

const QColor kPaleColours[InferenceTable::kSituations] = {
    Paler(kSituationColours[0]), Paler(kSituationColours[1]), Paler(kSituationColours[2]), Paler(kSituationColours[3]),
    Paler(kSituationColours[4]), Paler(kSituationColours[5]), Paler(kSituationColours[6]), Paler(kSituationColours[7]),
};

}  // namespace

InferenceStrip::InferenceStrip(const InferenceHistory& history, ColumnChosen chosen, QWidget* parent)
    : QWidget(parent), m_history(history), m_chosen(std::move(chosen))
{
    setMinimumSize(sizeHint());
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::PointingHandCursor);
}

QSize InferenceStrip::sizeHint() const
{
    return {2 * kMargin + kMinColumnWidth * static_cast<int>(InferenceHistory::kCapacity),
            kTitleHeight + kMarkHeight + kColumnsHeight + kLegendHeight};
}

void InferenceStrip::SetSelected(int column)
{
    if (column == m_selected) return;
    m_selected = column;
    update();
}

QRect InferenceStrip::ColumnsArea() const
{
    return {kMargin, kTitleHeight + kMarkHeight, width() - 2 * kMargin, kColumnsHeight};
}

int InferenceStrip::ColumnLeft(int column) const
{
    const QRect area = ColumnsArea();
    return area.left() + column * area.width() / static_cast<int>(InferenceHistory::kCapacity);
}

int InferenceStrip::ColumnAt(int x) const
{
    const QRect area = ColumnsArea();
    if (x < area.left() || x > area.right()) return -1;
    const int column =
        static_cast<int>((x - area.left()) * static_cast<double>(InferenceHistory::kCapacity) / area.width());
    return column < static_cast<int>(m_history.Size()) ? column : -1;
}

void InferenceStrip::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) return;
    const int column = ColumnAt(event->pos().x());
    if (column >= 0) m_chosen(column);
}

void InferenceStrip::PaintLegend(QPainter& painter) const
{
    int x = kMargin;
    const int y = ColumnsArea().bottom() + 6;
    painter.setPen(palette().color(QPalette::Text));
    for (int k = 0; k < InferenceTable::kSituations; ++k) {
        painter.fillRect(x, y + 3, 10, 10, kSituationColours[k]);
        painter.drawText(x + 13, y + 12, QStringLiteral("S%1").arg(k + 1));
        x += 38;
    }
    const QString lineLegend = QStringLiteral("ligne : angle (±90°)");
    painter.drawText(x + 4, y + 12, lineLegend);
    x += 4 + painter.fontMetrics().horizontalAdvance(lineLegend) + 12;
    painter.fillRect(x, y + 3, 4, 10, Qt::red);
    painter.drawText(x + 8, y + 12, QStringLiteral("collision"));
}

void InferenceStrip::paintEvent(QPaintEvent*)
{
    // The legend and the ground are drawn once for a size; each repaint draws the title
    // and the columns over them.
    if (m_background.size() != size()) {
        m_background = QPixmap(size());
        m_background.fill(palette().color(QPalette::Base));
        QPainter painter(&m_background);
        PaintLegend(painter);
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_background);
    painter.setPen(palette().color(QPalette::Text));
    const int count = static_cast<int>(m_history.Size());
    const QString title =
        m_selected >= 0
            ? QStringLiteral("Derniers pas : ci-dessus le pas choisi, %1 avant le dernier").arg(count - 1 - m_selected)
            : QStringLiteral("Derniers pas (un clic sur une colonne montre son raisonnement)");
    painter.drawText(kMargin, kTitleHeight - 6, title);

    const QRect area = ColumnsArea();
    painter.fillRect(area, palette().color(QPalette::Window));
    auto angleY = [&](double angle) {
        return area.center().y() - std::clamp(angle / kAngleSpan, -1.0, 1.0) * (area.height() / 2.0);
    };
    QPolygonF angleLine;
    // Whole pixels, and nothing drawn for the situations of no truth (most of them on
    // most passes): the strip repaints with the window, so it must cost little.
    for (int column = 0; column < count; ++column) {
        const PassRecord& record = m_history.At(column);
        const int left = ColumnLeft(column), columnWidth = ColumnLeft(column + 1) - left;
        double truthBelow = 0;
        int bottom = area.bottom() + 1;
        for (int k = 0; k < InferenceTable::kSituations; ++k) {
            const double truth = record.reading.inference.truth[k];
            if (truth <= 0) continue;
            truthBelow += truth;
            const int top = area.bottom() + 1 - static_cast<int>(std::lround(truthBelow * area.height()));
            if (top >= bottom) continue;
            const QColor& colour = k == record.reading.inference.winner ? kSituationColours[k] : kPaleColours[k];
            painter.fillRect(left, top, columnWidth, bottom - top, colour);
            bottom = top;
        }
        if (record.collisionCounted)
            painter.fillRect(left, area.top() - kMarkHeight, std::max(columnWidth, 2), kMarkHeight - 1, Qt::red);
        angleLine << QPointF(left + columnWidth / 2.0, angleY(record.reading.command.angle));
    }
    painter.setPen(QPen(Qt::gray, 1, Qt::DotLine));
    painter.drawLine(QPointF(area.left(), angleY(0)), QPointF(area.right(), angleY(0)));
    // Black between two white lines, so that it reads over every colour (thin lines
    // cost far less than a wide one).
    painter.setPen(QPen(Qt::white, 1));
    painter.drawPolyline(angleLine.translated(0, -1));
    painter.drawPolyline(angleLine.translated(0, 1));
    painter.setPen(QPen(Qt::black, 1));
    painter.drawPolyline(angleLine);
    if (m_selected >= 0 && m_selected < count) {
        painter.setPen(QPen(Qt::black, 2));
        painter.drawRect(ColumnLeft(m_selected) - 1, area.top() - 1,
                         ColumnLeft(m_selected + 1) - ColumnLeft(m_selected) + 2, area.height() + 2);
    }
}
