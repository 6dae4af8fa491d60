#include "app/InferenceView.h"

#include <algorithm>

#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

InferenceView::InferenceView(QWidget* parent)
    : QWidget(parent, Qt::Window), m_plot(new InferencePlot(this)),
      m_strip(new InferenceStrip(
          m_history, [this](int column) { ChoosePass(column); }, this)),
      m_replay(new QLabel(this)), m_surface(new CommandSurfaceWindow(this))
{
    setWindowTitle(QStringLiteral("Inférence floue"));
    // Shown with every run, it must not take the keys meant for the simulation window.
    setAttribute(Qt::WA_ShowWithoutActivating);
    m_replay->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_replay->setWordWrap(true);
    auto* surface = new QPushButton(QStringLiteral("Surface de commande..."), this);
    surface->setObjectName(QStringLiteral("surface"));
    connect(surface, &QPushButton::clicked, this, [this] {
        // Over this window, a little down, where it hides neither the dialog nor the run,
        // and wholly on the screen.
        if (!m_surface->isVisible()) {
            m_surface->adjustSize();
            constexpr int kFrameAllowance = 20;
            const QRect screen = this->screen()->availableGeometry();
            const int x = std::min(pos().x() + 30, screen.right() - m_surface->width() - kFrameAllowance);
            m_surface->move(std::max(x, screen.left()), pos().y() + 60);
        }
        m_surface->show();
        m_surface->raise();
    });
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_replay, 1);
    bottom->addWidget(surface, 0, Qt::AlignBottom);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_plot);
    layout->addWidget(m_strip);
    layout->addLayout(bottom);
    m_repaintTimer.setInterval(kRepaintIntervalMs);
    connect(&m_repaintTimer, &QTimer::timeout, this, &InferenceView::Repaint);
}

void InferenceView::StartRun(std::uint64_t generatorState, const InferenceTable& table)
{
    m_generatorState = generatorState;
    m_hasReading = false;
    m_changed = false;
    m_history.StartRun(table);
    m_strip->SetSelected(-1);
    m_plot->Clear();
    m_replay->setText(QStringLiteral("Générateur au départ de ce parcours : %1\n"
                                     "Pour le rejouer sans fenêtre : marlune-run --seed %1 --table <votre table>")
                          .arg(generatorState));
    m_repaintTimer.start();
}

void InferenceView::ShowPass(const RobotSimulation& sim)
{
    m_reading = m_history.Follow(sim);
    m_hasReading = true;
    m_changed = true;
}

void InferenceView::ChoosePass(int column)
{
    // A pass made before the click but not yet painted must not replace the choice.
    m_changed = false;
    m_strip->SetSelected(column);
    m_plot->SetReading(m_history.At(column).reading);
    m_plot->repaint();
}

void InferenceView::ShowRunState(int passesPerSecond, bool paused)
{
    const QString pace = passesPerSecond > 0 ? QStringLiteral("%1 pas par seconde").arg(passesPerSecond)
                                             : QStringLiteral("sans cadence");
    m_plot->SetStatus(paused ? QStringLiteral("Cadence : %1 (touches + et -). En pause : valeurs du dernier pas ; "
                                              "n fait un pas.")
                                   .arg(pace)
                             : QStringLiteral("Cadence : %1 (touches + et -).").arg(pace));
}

void InferenceView::Repaint()
{
    if (!m_changed) return;
    m_changed = false;
    m_strip->SetSelected(-1);
    m_plot->SetReading(m_reading);
    if (isVisible()) {
        // Painted together by the event loop the run already turns, and put on the
        // screen once: two immediate repaints would flush the window twice.
        m_plot->update();
        m_strip->update();
        ++m_repaints;
    }
}
