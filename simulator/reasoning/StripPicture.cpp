#include "reasoning/StripPicture.h"

#include <algorithm>
#include <cmath>

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

QSize StripPicture::Size()
{
    return {2 * kMargin + kMinColumnWidth * static_cast<int>(InferenceHistory::kCapacity),
            kTitleHeight + kMarkHeight + kColumnsHeight + kLegendHeight};
}

QRect StripPicture::ColumnsArea(QSize size) const
{
    return {kMargin, kTitleHeight + kMarkHeight, size.width() - 2 * kMargin, kColumnsHeight};
}

int StripPicture::ColumnLeft(QSize size, int column) const
{
    const QRect area = ColumnsArea(size);
    return area.left() + column * area.width() / static_cast<int>(InferenceHistory::kCapacity);
}

int StripPicture::ColumnAt(int x, QSize size) const
{
    const QRect area = ColumnsArea(size);
    if (x < area.left() || x > area.right()) return -1;
    const int column =
        static_cast<int>((x - area.left()) * static_cast<double>(InferenceHistory::kCapacity) / area.width());
    return column < static_cast<int>(m_history.Size()) ? column : -1;
}

void StripPicture::PaintLegend(QPainter& painter, QSize size) const
{
    int x = kMargin;
    const int y = ColumnsArea(size).bottom() + 6;
    painter.setPen(m_backgroundColours.text);
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

void StripPicture::Paint(QPainter& painter, QSize size, const PictureColours& colours, const QString& title,
                         int selected)
{
    // The legend and the ground are drawn once for a size; each repaint draws the title
    // and the columns over them.
    if (m_background.size() != size || !(colours == m_backgroundColours)) {
        m_backgroundColours = colours;
        m_background = QImage(size, QImage::Format_ARGB32_Premultiplied);
        m_background.fill(colours.ground);
        QPainter backgroundPainter(&m_background);
        backgroundPainter.setFont(painter.font());
        PaintLegend(backgroundPainter, size);
    }
    painter.drawImage(0, 0, m_background);
    painter.setPen(colours.text);
    painter.drawText(kMargin, kTitleHeight - 6, title);

    const QRect area = ColumnsArea(size);
    painter.fillRect(area, colours.columnsGround);
    const int count = static_cast<int>(m_history.Size());
    auto angleY = [&](double angle) {
        return area.center().y() - std::clamp(angle / kAngleSpan, -1.0, 1.0) * (area.height() / 2.0);
    };
    QPolygonF angleLine;
    // Whole pixels, and nothing drawn for the situations of no truth (most of them on
    // most passes): the strip repaints with the window, so it must cost little.
    for (int column = 0; column < count; ++column) {
        const PassRecord& record = m_history.At(column);
        const int left = ColumnLeft(size, column), columnWidth = ColumnLeft(size, column + 1) - left;
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
    if (selected >= 0 && selected < count) {
        painter.setPen(QPen(Qt::black, 2));
        painter.drawRect(ColumnLeft(size, selected) - 1, area.top() - 1,
                         ColumnLeft(size, selected + 1) - ColumnLeft(size, selected) + 2, area.height() + 2);
    }
}
