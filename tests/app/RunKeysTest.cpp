#include <QElapsedTimer>
#include <QTest>

#include "RunFixture.h"
#include "world/SimulationRun.h"

namespace {

class RunKeysTest : public RunFixture {
protected:
    ~RunKeysTest() override { dialog.m_sim.paused = false; }

    // What the simulation window shows now must be the band of hints above the world's
    // frame, upright, each of its pixels a zoom × zoom square of exactly its colour.
    void ExpectTheWholeArenaShownAt(int zoom)
    {
        // highgui fits the window to a new picture size through the event loop.
        QTest::qWait(50);
        QWidget* area = ImageArea();
        ASSERT_NE(area, nullptr);
        const QImage shown = area->grab().toImage().convertToFormat(QImage::Format_RGB888);
        const int side = dialog.m_sim.width * zoom;
        ASSERT_EQ(shown.width(), side);
        const int band = shown.height() - side;
        ASSERT_GT(band, 0) << "no band of hints";
        const cv::Mat frame = ComposeFrame(dialog.m_sim);
        int differing = 0;
        for (int y = 0; y < side; ++y) {
            const uchar* line = shown.constScanLine(band + y);
            const cv::Vec3b* row = frame.ptr<cv::Vec3b>(frame.rows - 1 - y / zoom);
            for (int x = 0; x < side; ++x) {
                const cv::Vec3b& bgr = row[x / zoom];
                differing += line[3 * x] != bgr[2] || line[3 * x + 1] != bgr[1] || line[3 * x + 2] != bgr[0];
            }
        }
        EXPECT_EQ(differing, 0) << "at zoom " << zoom;
        // Light text on the band's dark ground.
        int light = 0;
        for (int y = 0; y < band; ++y)
            for (int x = 0; x < side; ++x) light += shown.pixelColor(x, y).lightness() > 160;
        EXPECT_GT(light, 20) << "the band shows no hint at zoom " << zoom;
    }

    // Types a key into the simulation window as a user would and lets highgui report it.
    static int Type(char key, int delayMs)
    {
        QTest::keyClick(SimulationWindow(), key);
        return cv::waitKey(delayMs);
    }
};

TEST_F(RunKeysTest, UpperCaseGPTDoNothingEvenThoughHighguiReportsLetterKeysInLowerCase)
{
    SetSpeeds(1.0);
    bool startedByG = false, pausedByP = false, beamsByT = false;
    dialog.SetKeyPoll([&, pass = 0](int delayMs) mutable {
        switch (pass++) {
        case 0:
            return Type('G', delayMs);
        case 1:
            startedByG = dialog.m_sim.distance > 0;
            return Type('g', delayMs);
        case 3:
            return Type('P', delayMs);
        case 4:
            return Type('T', delayMs);
        case 5:
            pausedByP = dialog.m_sim.paused;
            beamsByT = dialog.m_sim.showBeams;
            return Type('p', delayMs);
        case 6:
            return kEscape;
        default:
            return cv::waitKey(delayMs);
        }
    });
    dialog.OnRunSimulation();
    EXPECT_FALSE(startedByG);
    EXPECT_FALSE(pausedByP);
    EXPECT_FALSE(beamsByT);
    EXPECT_GT(dialog.m_sim.distance, 0.0);
    EXPECT_TRUE(dialog.m_sim.paused) << "the lower-case key must still get through";
}

TEST_F(RunKeysTest, KeysOneToFourEnlargeTheArenaExactlyBesideTheHintsAndTheZoomCarriesOver)
{
    SetSpeeds(1.0);
    bool startedByAClickFarInTheArena = false;
    dialog.SetKeyPoll([&, pass = 0](int delayMs) mutable {
        switch (pass++) {
        case 0:
            return Type('1', delayMs);
        case 1:
            ExpectTheWholeArenaShownAt(1);
            return Type('3', delayMs);
        case 2: {
            // Waiting for the start, the hint shows: the arena is still shown whole.
            ExpectTheWholeArenaShownAt(3);
            // Beyond the arena's size in pixels: only an enlarged window has that point.
            QWidget* area = ImageArea();
            QTest::mouseClick(area, Qt::LeftButton, {}, QPoint(area->width() * 5 / 6, area->height() * 5 / 6));
            return cv::waitKey(delayMs);
        }
        case 3:
            return Type('4', delayMs);
        case 5:
            // The first pass only computes the first command: the robot moves from the second.
            startedByAClickFarInTheArena = dialog.m_sim.distance > 0;
            ExpectTheWholeArenaShownAt(4);
            return Type('p', delayMs);
        case 6:
            ExpectTheWholeArenaShownAt(4);
            return Type('2', delayMs);
        case 7:
            ExpectTheWholeArenaShownAt(2);
            return kEscape;
        default:
            return cv::waitKey(delayMs);
        }
    });
    dialog.OnRunSimulation();
    EXPECT_TRUE(startedByAClickFarInTheArena);
    EXPECT_EQ(dialog.Zoom(), 2);
    Run([&](int pass) {
        if (pass == 0) return kNoKey;
        ExpectTheWholeArenaShownAt(2);
        return kEscape;
    });
}

TEST_F(RunKeysTest, PlusAndMinusWalkThroughThePacesAndKeepTheLastOneForTheNextRun)
{
    std::vector<int> paces;
    Run([&](int pass) {
        paces.push_back(dialog.Pace().PassesPerSecond());
        const int keys[] = {'-', '-', '-', '-', '-', '-', '+', '+', '+', '+', '+', '-', kEscape};
        return keys[pass];
    });
    EXPECT_EQ(paces, (std::vector<int>{0, 200, 100, 50, 25, 25, 25, 50, 100, 200, 0, 0, 200}));
    EXPECT_EQ(dialog.Pace().PassesPerSecond(), 200);
}

TEST_F(RunKeysTest, APacedRunNeverRunsFasterThanItsPace)
{
    SetSpeeds(0.5);
    constexpr int kPace = 25;
    QElapsedTimer clock;
    int passes = 0;
    double lastDistance = 0;
    Run([&](int pass) {
        if (pass < 5) return int("----g"[pass]);
        // The pass that 'g' started came before the clock: it is not counted.
        if (pass == 5) clock.start();
        if (pass > 5 && dialog.m_sim.distance != lastDistance) ++passes;
        lastDistance = dialog.m_sim.distance;
        return clock.elapsed() < 600 ? kNoKey : kEscape;
    });
    ASSERT_EQ(dialog.Pace().PassesPerSecond(), kPace);
    // Only the upper bound is certain on a busy machine; the benchmark measures the rest.
    // A late pass may be caught up at once, so the passes of an interval of t seconds
    // can number kPace t + 2, never more.
    EXPECT_GE(passes, 1);
    EXPECT_LE(passes, kPace * static_cast<double>(clock.elapsed()) / 1000 + 2);
}

}  // namespace
