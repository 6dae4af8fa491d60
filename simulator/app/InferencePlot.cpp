#include "InferencePlot.h"

#include <algorithm>

#include <QPainter>

#include "NumberText.h"
#include "Resources.h"

namespace {

// The dialog shows S6 with picture 135 and S7 with 134; the window follows the dialog.
constexpr int kSituationPictures[InferenceTable::kSituations] = {129, 130, 131, 132, 133, 135, 134, 136};
const QString kSectorNames[3] = {QStringLiteral("Gauche"), QStringLiteral("Face"), QStringLiteral("Droite")};

constexpr int kWidth = 560;
constexpr int kSectorHeight = 150;
constexpr int kTruthRow = 24;
constexpr int kTruthsHeight = 30 + InferenceTable::kSituations * kTruthRow;
constexpr int kCommandHeight = 100;
constexpr int kMargin = 10;

const QColor kFreeColour(0, 140, 60);
const QColor kBlockedColour(200, 40, 40);
const QColor kWinnerColour(230, 140, 0);
const QColor kBarColour(70, 110, 200);

QString Fixed(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

}  // namespace

InferencePlot::InferencePlot(QWidget* parent) : QWidget(parent)
{
    for (int k = 0; k < InferenceTable::kSituations; ++k)
        m_pictures[k] = LoadBitmap(kSituationPictures[k]);
    setMinimumSize(sizeHint());
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
}

QSize InferencePlot::sizeHint() const
{
    return {kWidth, kSectorHeight + kTruthsHeight + kCommandHeight};
}

void InferencePlot::Clear()
{
    m_hasReading = false;
    update();
}

void InferencePlot::SetReading(const InferenceReading& reading)
{
    m_reading = reading;
    m_hasReading = true;
}

void InferencePlot::SetStatus(const QString& status)
{
    m_status = status;
    update();
}

void InferencePlot::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const int sectorWidth = (width() - 2 * kMargin) / 3;
    for (int j = 0; j < 3; ++j)
        PaintSector(painter, QRect(kMargin + j * sectorWidth, 0, sectorWidth - kMargin, kSectorHeight), j);
    PaintTruths(painter, QRect(kMargin, kSectorHeight, width() - 2 * kMargin, kTruthsHeight));
    PaintCommand(painter, QRect(kMargin, kSectorHeight + kTruthsHeight, width() - 2 * kMargin, kCommandHeight));
}

void InferencePlot::PaintSector(QPainter& painter, const QRect& area, int sector) const
{
    const double distance = m_reading.sectorDistance[sector];
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(area.left(), area.top() + 16,
                     m_hasReading ? QStringLiteral("%1 : %2 px").arg(kSectorNames[sector], Fixed(distance, 2))
                                  : kSectorNames[sector]);

    // The ramp over 0 .. 3 × far, where the controller's judgement changes.
    const QRect plot(area.left() + 4, area.top() + 26, area.width() - 8, area.height() - 70);
    const double span = std::max(3 * m_reading.farDistance, 1.0);
    auto x = [&](double d) { return plot.left() + std::clamp(d / span, 0.0, 1.0) * plot.width(); };
    auto y = [&](double degree) { return plot.bottom() - degree * plot.height(); };
    painter.setPen(QPen(Qt::gray, 1));
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    painter.drawLine(plot.bottomLeft(), plot.topLeft());
    if (!m_hasReading)
        return;

    const double nearX = x(m_reading.nearDistance), farX = x(m_reading.farDistance);
    painter.setPen(QPen(kFreeColour, 2));
    painter.drawPolyline(QPolygonF({QPointF(plot.left(), y(0)), QPointF(nearX, y(0)), QPointF(farX, y(1)),
                                    QPointF(plot.right(), y(1))}));
    painter.setPen(QPen(kBlockedColour, 2));
    painter.drawPolyline(QPolygonF({QPointF(plot.left(), y(1)), QPointF(nearX, y(1)), QPointF(farX, y(0)),
                                    QPointF(plot.right(), y(0))}));
    painter.setPen(QPen(Qt::gray, 1, Qt::DashLine));
    painter.drawLine(QPointF(nearX, plot.top()), QPointF(nearX, plot.bottom() + 4));
    painter.drawLine(QPointF(farX, plot.top()), QPointF(farX, plot.bottom() + 4));
    painter.setPen(palette().color(QPalette::Text));
    QFont small = painter.font();
    small.setPointSizeF(small.pointSizeF() * 0.8);
    painter.setFont(small);
    painter.drawText(QPointF(nearX - 12, plot.bottom() + 14), Fixed(m_reading.nearDistance, 1));
    painter.drawText(QPointF(farX - 4, plot.bottom() + 14), Fixed(m_reading.farDistance, 1));
    painter.setFont(font());

    // The distance itself; beyond the axis it stands at the edge.
    const double distanceX = x(distance);
    const double free = m_reading.inference.degree[sector][FuzzyInference::kFree];
    const double blocked = m_reading.inference.degree[sector][FuzzyInference::kBlocked];
    painter.setPen(QPen(Qt::black, 2));
    painter.drawLine(QPointF(distanceX, plot.top() - 4), QPointF(distanceX, plot.bottom()));
    painter.setBrush(kFreeColour);
    painter.drawEllipse(QPointF(distanceX, y(free)), 4, 4);
    painter.setBrush(kBlockedColour);
    painter.drawEllipse(QPointF(distanceX, y(blocked)), 4, 4);
    painter.setBrush(Qt::NoBrush);

    painter.setPen(kFreeColour);
    painter.drawText(area.left(), area.bottom() - 14, QStringLiteral("libre %1").arg(Fixed(free, 3)));
    painter.setPen(kBlockedColour);
    painter.drawText(area.left(), area.bottom() - 1, QStringLiteral("bloqué %1").arg(Fixed(blocked, 3)));
}

void InferencePlot::PaintTruths(QPainter& painter, const QRect& area) const
{
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(area.left(), area.top() + 18,
                     QStringLiteral("Vérité des situations (produit des degrés des trois secteurs)"));
    const int barLeft = area.left() + 60;
    const int barWidth = area.width() - 60 - 140;
    for (int k = 0; k < InferenceTable::kSituations; ++k) {
        const int top = area.top() + 28 + k * kTruthRow;
        const bool winner = m_hasReading && k == m_reading.inference.winner;
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(area.left(), top + 15, QStringLiteral("S%1").arg(k + 1));
        painter.drawPixmap(area.left() + 26, top + 2, m_pictures[k]);
        painter.setPen(QPen(Qt::lightGray, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(barLeft, top + 3, barWidth, kTruthRow - 6);
        if (!m_hasReading)
            continue;
        const double truth = m_reading.inference.truth[k];
        painter.fillRect(QRectF(barLeft, top + 3, truth * barWidth, kTruthRow - 6), winner ? kWinnerColour : kBarColour);
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(barLeft + barWidth + 8, top + 15,
                         winner ? QStringLiteral("%1  ◀ retenue").arg(Fixed(truth, 3)) : Fixed(truth, 3));
    }
}

void InferencePlot::PaintCommand(QPainter& painter, const QRect& area) const
{
    painter.setPen(palette().color(QPalette::Text));
    int line = area.top() + 18;
    if (m_hasReading) {
        painter.drawText(area.left(), line,
                         QStringLiteral("Commande : angle %1°, vitesse %2 px/pas")
                             .arg(Fixed(m_reading.command.angle, 2), Fixed(m_reading.command.speed, 3)));
        line += 20;
        painter.drawText(area.left(), line,
                         QStringLiteral("Angles de S1 et S6 : %1° et %2° (%3)")
                             .arg(FormatNumber(m_reading.allBlockedAngle), FormatNumber(m_reading.onlySidesFreeAngle),
                                  m_reading.signsReversed ? QStringLiteral("inversés par le tirage")
                                                          : QStringLiteral("comme dans la table")));
    } else {
        painter.drawText(area.left(), line, QStringLiteral("En attente du départ : g ou un clic dans la fenêtre."));
        line += 20;
    }
    painter.drawText(QRect(area.left(), line + 6, area.width(), area.bottom() - line - 6), Qt::TextWordWrap,
                     m_status);
}
