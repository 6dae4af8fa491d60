#include "reasoning/ReasoningPanel.h"

#include <opencv2/imgproc.hpp>

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "reasoning/InferenceHistory.h"
#include "reasoning/InferencePicture.h"
#include "reasoning/StripPicture.h"

namespace {

// The desktop's default font on Linux (Qt's generic Unix theme): the offscreen platform
// would pick a larger one, and the picture is laid out for this one.
constexpr double kDesktopFontPoints = 9;

// Qt paints text only inside an application. A command-line program has none: it gets
// one on the offscreen platform, whatever the display, so that a recording does not
// depend on one. It lives until the process ends; Qt's own statics must outlive it.
void EnsureGuiApplication()
{
    if (QCoreApplication::instance()) return;
    static int argc = 3;
    static char name[] = "marlune-run", platformOption[] = "-platform", platform[] = "offscreen";
    static char* argv[] = {name, platformOption, platform, nullptr};
    // Starting, Qt complains of a missing XDG_RUNTIME_DIR, which it never uses here; only
    // its debug and warning lines are dropped, and only while it starts.
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (type == QtDebugMsg || type == QtWarningMsg) return;
            qt_message_output(type, context, message);
        });
    new QGuiApplication(argc, argv);
    qInstallMessageHandler(previous);
    QFont font = QGuiApplication::font();
    font.setPointSizeF(kDesktopFontPoints);
    QGuiApplication::setFont(font);
}

class ReasoningPanel : public PassPanel {
public:
    explicit ReasoningPanel(const InferenceTable& table)
        : m_strip(m_history), m_colours(PictureColours::Of(QGuiApplication::palette())),
          m_image(InferencePicture::Size().width(), InferencePicture::Size().height() + StripPicture::Size().height(),
                  QImage::Format_RGB32)
    {
        m_history.StartRun(table);
    }

    cv::Size PictureSize() const override { return {m_image.width(), m_image.height()}; }

    void Follow(const RobotSimulation& sim) override
    {
        m_picture.SetReading(m_history.Follow(sim));
        ++m_passes;
        m_collisions = sim.collisions;
    }

    cv::Mat Picture() override
    {
        m_picture.SetStatus(QStringLiteral("Pas %1, collisions comptées : %2").arg(m_passes).arg(m_collisions));
        const QSize pictureSize(m_image.width(), InferencePicture::Size().height());
        QPainter painter(&m_image);
        m_picture.Paint(painter, pictureSize, m_colours);
        painter.translate(0, pictureSize.height());
        m_strip.Paint(painter, QSize(m_image.width(), StripPicture::Size().height()), m_colours,
                      QStringLiteral("Derniers pas"), -1);
        painter.end();
        // RGB32 holds blue, green, red and a spare byte in memory order on this machine's
        // byte order: OpenCV's BGRA.
        const cv::Mat view(m_image.height(), m_image.width(), CV_8UC4, m_image.bits(),
                           static_cast<std::size_t>(m_image.bytesPerLine()));
        cv::Mat picture;
        cv::cvtColor(view, picture, cv::COLOR_BGRA2BGR);
        return picture;
    }

private:
    InferenceHistory m_history;
    InferencePicture m_picture;
    StripPicture m_strip;
    PictureColours m_colours;
    QImage m_image;
    long long m_passes = 0;
    int m_collisions = 0;
};

}  // namespace

std::unique_ptr<PassPanel> MakeReasoningPanel(const InferenceTable& table)
{
    EnsureGuiApplication();
    return std::make_unique<ReasoningPanel>(table);
}
