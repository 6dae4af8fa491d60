#include "reasoning/InferencePicture.h"

#include <algorithm>

#include <QPainter>

#include "reasoning/DialogNumbers.h"
#include "res/Resources.h"

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
constexpr int kBarLeft = 60, kBarRightSpace = 140;

const QColor kFreeColour(0, 140, 60);
const QColor kBlockedColour(200, 40, 40);
const QColor kWinnerColour(230, 140, 0);
const QColor kBarColour(70, 110, 200);

QString Fixed(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

}  // namespace

InferencePicture::InferencePicture()
{
    for (int k = 0; k < InferenceTable::kSituations; ++k) m_pictures[k] = LoadBitmap(kSituationPictures[k]);
}

QSize InferencePicture::Size()
{
    return {kWidth, kSectorHeight + kTruthsHeight + kCommandHeight};
}

void InferencePicture::Clear()
{
    m_hasReading = false;
    m_background = QImage();
}

void InferencePicture::SetReading(const InferenceReading& reading)
{
    if (!m_hasReading || reading.nearDistance != m_reading.nearDistance || reading.farDistance != m_reading.farDistance)
        m_background = QImage();
    m_reading = reading;
    m_hasReading = true;
}

void InferencePicture::SetStatus(const QString& status)
{
    m_status = status;
    m_background = QImage();
}

QRect InferencePicture::SectorArea(int sector) const
{
    const int sectorWidth = (m_size.width() - 2 * kMargin) / 3;
    return {kMargin + sector * sectorWidth, 0, sectorWidth - kMargin, kSectorHeight};
}

QRect InferencePicture::RampArea(int sector) const
{
    const QRect area = SectorArea(sector);
    return {area.left() + 4, area.top() + 26, area.width() - 8, area.height() - 70};
}

QRect InferencePicture::TruthsArea() const
{
    return {kMargin, kSectorHeight, m_size.width() - 2 * kMargin, kTruthsHeight};
}

QRect InferencePicture::CommandArea() const
{
    return {kMargin, kSectorHeight + kTruthsHeight, m_size.width() - 2 * kMargin, kCommandHeight};
}

double InferencePicture::RampX(const QRect& ramp, double distance) const
{
    const double span = std::max(3 * m_reading.farDistance, 1.0);
    return ramp.left() + std::clamp(distance / span, 0.0, 1.0) * ramp.width();
}

void InferencePicture::Paint(QPainter& painter, QSize size, const PictureColours& colours)
{
    // What stays for a whole run (axes, ramps, labels, pictures) is drawn once; the
    // repaints that follow the passes draw only the numbers and the marks.
    if (size != m_size || !(colours == m_colours)) m_background = QImage();
    m_size = size;
    m_colours = colours;
    if (m_background.isNull()) PaintBackground(painter.font());
    painter.drawImage(0, 0, m_background);
    painter.setPen(m_colours.text);
    if (!m_hasReading) {
        painter.drawText(CommandArea().left(), CommandArea().top() + 18,
                         QStringLiteral("En attente du départ : g ou un clic dans la fenêtre."));
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    for (int j = 0; j < 3; ++j) PaintSectorValues(painter, j);
    PaintTruthValues(painter);
    PaintCommand(painter);
}

void InferencePicture::PaintBackground(const QFont& font)
{
    m_background = QImage(m_size, QImage::Format_ARGB32_Premultiplied);
    m_background.fill(m_colours.ground);
    QPainter painter(&m_background);
    painter.setFont(font);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int j = 0; j < 3; ++j) PaintRamp(painter, j);
    PaintTruthFrames(painter);
    painter.setPen(m_colours.text);
    const QRect command = CommandArea();
    painter.drawText(QRect(command.left(), command.top() + 46, command.width(), command.height() - 46),
                     Qt::TextWordWrap, m_status);
}

void InferencePicture::PaintRamp(QPainter& painter, int sector) const
{
    const QRect area = SectorArea(sector);
    const QRect plot = RampArea(sector);
    painter.setPen(m_colours.text);
    if (!m_hasReading) painter.drawText(area.left(), area.top() + 16, kSectorNames[sector]);
    painter.setPen(QPen(Qt::gray, 1));
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    painter.drawLine(plot.bottomLeft(), plot.topLeft());
    if (!m_hasReading) return;

    // The ramp over 0 .. 3 × far, where the controller's judgement changes.
    auto y = [&](double degree) { return plot.bottom() - degree * plot.height(); };
    const double nearX = RampX(plot, m_reading.nearDistance), farX = RampX(plot, m_reading.farDistance);
    painter.setPen(QPen(kFreeColour, 2));
    painter.drawPolyline(QPolygonF(
        {QPointF(plot.left(), y(0)), QPointF(nearX, y(0)), QPointF(farX, y(1)), QPointF(plot.right(), y(1))}));
    painter.setPen(QPen(kBlockedColour, 2));
    painter.drawPolyline(QPolygonF(
        {QPointF(plot.left(), y(1)), QPointF(nearX, y(1)), QPointF(farX, y(0)), QPointF(plot.right(), y(0))}));
    painter.setPen(QPen(Qt::gray, 1, Qt::DashLine));
    painter.drawLine(QPointF(nearX, plot.top()), QPointF(nearX, plot.bottom() + 4));
    painter.drawLine(QPointF(farX, plot.top()), QPointF(farX, plot.bottom() + 4));
    painter.setPen(m_colours.text);
    const QFont normal = painter.font();
    QFont small = normal;
    small.setPointSizeF(small.pointSizeF() * 0.8);
    painter.setFont(small);
    painter.drawText(QPointF(nearX - 12, plot.bottom() + 14), Fixed(m_reading.nearDistance, 1));
    painter.drawText(QPointF(farX - 4, plot.bottom() + 14), Fixed(m_reading.farDistance, 1));
    painter.setFont(normal);
}

void InferencePicture::PaintSectorValues(QPainter& painter, int sector) const
{
    const QRect area = SectorArea(sector);
    const QRect plot = RampArea(sector);
    const double distance = m_reading.sectorDistance[sector];
    painter.setPen(m_colours.text);
    painter.drawText(area.left(), area.top() + 16,
                     QStringLiteral("%1 : %2 px").arg(kSectorNames[sector], Fixed(distance, 2)));

    // The distance itself; beyond the axis it stands at the edge.
    auto y = [&](double degree) { return plot.bottom() - degree * plot.height(); };
    const double distanceX = RampX(plot, distance);
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

void InferencePicture::PaintTruthFrames(QPainter& painter) const
{
    const QRect area = TruthsArea();
    painter.setPen(m_colours.text);
    painter.drawText(area.left(), area.top() + 18,
                     QStringLiteral("Vérité des situations (produit des degrés des trois secteurs)"));
    const int barWidth = area.width() - kBarLeft - kBarRightSpace;
    for (int k = 0; k < InferenceTable::kSituations; ++k) {
        const int top = area.top() + 28 + k * kTruthRow;
        painter.setPen(m_colours.text);
        painter.drawText(area.left(), top + 15, QStringLiteral("S%1").arg(k + 1));
        painter.drawPixmap(area.left() + 26, top + 2, m_pictures[k]);
        painter.setPen(QPen(Qt::lightGray, 1));
        painter.drawRect(area.left() + kBarLeft, top + 3, barWidth, kTruthRow - 6);
    }
}

void InferencePicture::PaintTruthValues(QPainter& painter) const
{
    const QRect area = TruthsArea();
    const int barLeft = area.left() + kBarLeft;
    const int barWidth = area.width() - kBarLeft - kBarRightSpace;
    painter.setPen(m_colours.text);
    for (int k = 0; k < InferenceTable::kSituations; ++k) {
        const int top = area.top() + 28 + k * kTruthRow;
        const bool winner = k == m_reading.inference.winner;
        const double truth = m_reading.inference.truth[k];
        painter.fillRect(QRectF(barLeft, top + 3, truth * barWidth, kTruthRow - 6),
                         winner ? kWinnerColour : kBarColour);
        painter.drawText(barLeft + barWidth + 8, top + 15,
                         winner ? QStringLiteral("%1  ◀ retenue").arg(Fixed(truth, 3)) : Fixed(truth, 3));
    }
}

void InferencePicture::PaintCommand(QPainter& painter) const
{
    const QRect area = CommandArea();
    painter.setPen(m_colours.text);
    painter.drawText(area.left(), area.top() + 18,
                     QStringLiteral("Commande : angle %1°, vitesse %2 px/pas")
                         .arg(Fixed(m_reading.command.angle, 2), Fixed(m_reading.command.speed, 3)));
    painter.drawText(area.left(), area.top() + 38,
                     QStringLiteral("Angles de S1 et S6 : %1° et %2° (%3)")
                         .arg(ShownNumber(m_reading.allBlockedAngle), ShownNumber(m_reading.onlySidesFreeAngle),
                              m_reading.signsReversed ? QStringLiteral("inversés par le tirage")
                                                      : QStringLiteral("comme dans la table")));
}
