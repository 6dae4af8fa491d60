#include "app/HintBand.h"

#include <algorithm>

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <opencv2/imgproc.hpp>

namespace {

constexpr int kMargin = 4;
// Dark and grey, far from every colour of the arena, the robot and the beams.
const QColor kBackground(48, 52, 60);
const QColor kTextColour(240, 240, 240);

int TextHeight(const QString& text, int width)
{
    const QFontMetrics metrics(QApplication::font());
    const QRect bounds = metrics.boundingRect(QRect(0, 0, width - 2 * kMargin, 1 << 20), Qt::TextWordWrap, text);
    return std::max(bounds.height(), metrics.height());
}

}  // namespace

HintBand::HintBand(int width)
    : m_picture(TextHeight(QString(), width) + 2 * kMargin, width, CV_8UC3,
                cv::Scalar(kBackground.blue(), kBackground.green(), kBackground.red()))
{
}

void HintBand::SetText(const QString& text)
{
    m_text = text;
    const int width = m_picture.cols;
    const int height = std::max(m_picture.rows, TextHeight(text, width) + 2 * kMargin);
    QImage image(width, height, QImage::Format_RGB888);
    image.fill(kBackground);
    {
        QPainter painter(&image);
        painter.setFont(QApplication::font());
        painter.setPen(kTextColour);
        painter.drawText(QRect(kMargin, kMargin, width - 2 * kMargin, height - 2 * kMargin), Qt::TextWordWrap, text);
    }
    const cv::Mat rgb(image.height(), image.width(), CV_8UC3, image.bits(), image.bytesPerLine());
    cv::cvtColor(rgb, m_picture, cv::COLOR_RGB2BGR);
}
