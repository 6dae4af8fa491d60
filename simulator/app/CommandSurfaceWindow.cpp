#include "app/CommandSurfaceWindow.h"

#include <cmath>

#include <QHBoxLayout>
#include <QImage>
#include <QPixmap>
#include <QVBoxLayout>

#include "interop/CommandSurface.h"
#include "interop/TableFiles.h"

CommandSurfaceWindow::CommandSurfaceWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), m_ramp(RunRampBounds()), m_front(new QSlider(Qt::Horizontal, this)),
      m_frontLabel(new QLabel(this)), m_picture(new QLabel(this))
{
    setWindowTitle(QStringLiteral("Surface de commande"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    // The front distance over the same span as the maps' axes, 0 to 3 × far; it starts
    // halfway up the ramp, where the front is neither blocked nor free.
    m_front->setRange(0, static_cast<int>(std::lround(3 * m_ramp.farDistance * kSliderStepsPerPixel)));
    m_front->setValue(
        static_cast<int>(std::lround((m_ramp.nearDistance + m_ramp.farDistance) / 2 * kSliderStepsPerPixel)));
    connect(m_front, &QSlider::valueChanged, this, &CommandSurfaceWindow::Redraw);
    // The picture has one size for every table: the window knows its size before it is
    // first shown, and can be placed whole on the screen.
    const cv::Mat blank = DrawCommandSurface({m_table, m_ramp.nearDistance, m_ramp.farDistance, FrontDistance()});
    m_picture->setFixedSize(blank.cols, blank.rows);

    auto* slider = new QHBoxLayout;
    slider->addWidget(new QLabel(QStringLiteral("Distance de face :"), this));
    slider->addWidget(m_front, 1);
    slider->addWidget(m_frontLabel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_picture);
    layout->addLayout(slider);
}

double CommandSurfaceWindow::FrontDistance() const
{
    return static_cast<double>(m_front->value()) / kSliderStepsPerPixel;
}

QImage CommandSurfaceWindow::Picture() const
{
    return m_picture->pixmap(Qt::ReturnByValue).toImage();
}

void CommandSurfaceWindow::SetTable(const InferenceTable& table)
{
    m_table = table;
    Redraw();
}

void CommandSurfaceWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    Redraw();
}

void CommandSurfaceWindow::Redraw()
{
    m_frontLabel->setText(QStringLiteral("%1 px").arg(FrontDistance(), 0, 'f', 1));
    // Hidden, it waits for its next showing rather than drawing for nobody.
    if (!isVisible()) return;
    const cv::Mat picture = DrawCommandSurface({m_table, m_ramp.nearDistance, m_ramp.farDistance, FrontDistance()});
    const QImage image(picture.data, picture.cols, picture.rows, static_cast<int>(picture.step), QImage::Format_BGR888);
    m_picture->setPixmap(QPixmap::fromImage(image));
    ++m_redraws;
}
