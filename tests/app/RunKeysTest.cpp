#include <QElapsedTimer>
#include <QTest>

#include "RunFixture.h"

namespace {

class RunKeysTest : public RunFixture {
protected:
    ~RunKeysTest() override { dialog.m_sim.paused = false; }

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
