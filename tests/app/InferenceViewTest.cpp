#include <algorithm>
#include <bit>

#include <QElapsedTimer>
#include <QTest>

#include "RunFixture.h"
#include "app/InferenceView.h"
#include "world/SimulationRun.h"

namespace {

class InferenceViewTest : public RunFixture {
protected:
    InferenceViewTest()
    {
        dialog.ShowTable(kExampleTable);
        dialog.m_sim.rng.Seed(7);
    }

    // The view must show the world's numbers exactly, not a second computation of them.
    void ExpectViewShowsTheWorld()
    {
        const InferenceReading& shown = dialog.Inference().Reading();
        const RobotSimulation& sim = dialog.m_sim;
        for (int j = 0; j < 3; ++j) {
            EXPECT_EQ(shown.sectorDistance[j], sim.sectorDistance[j]);
            EXPECT_EQ(shown.inference.degree[j][FuzzyInference::kFree], sim.inference.degree[j][FuzzyInference::kFree]);
            EXPECT_EQ(shown.inference.degree[j][FuzzyInference::kBlocked],
                      sim.inference.degree[j][FuzzyInference::kBlocked]);
        }
        for (int k = 0; k < 8; ++k) EXPECT_EQ(shown.inference.truth[k], sim.inference.truth[k]);
        EXPECT_EQ(shown.inference.winner, sim.inference.winner);
        EXPECT_EQ(shown.nearDistance, sim.nearDistance);
        EXPECT_EQ(shown.farDistance, sim.farDistance);
        EXPECT_EQ(shown.command.speed, sim.speed);
        EXPECT_EQ(shown.command.angle * 0.017453292519943295, sim.steer);
        EXPECT_EQ(shown.allBlockedAngle, sim.angles[0]);
        EXPECT_EQ(shown.onlySidesFreeAngle, sim.angles[5]);
        EXPECT_EQ(shown.signsReversed, sim.angles[0] == -kExampleTable.angles[0]);
    }
};

TEST_F(InferenceViewTest, ShowsTheWorldsOwnInferenceOnEveryPassAndRepaintsAtMostTwentyTimesASecond)
{
    QElapsedTimer clock;
    int passesSeen = 0, reversedPasses = 0;
    unsigned winners = 0;
    bool shownWithTheRun = false;
    clock.start();
    Run([&](int pass) {
        if (pass == 0) {
            shownWithTheRun = dialog.Inference().isVisible();
            EXPECT_FALSE(dialog.Inference().HasReading()) << "the last run's pass must not show before the first";
            return int('g');
        }
        if (pass >= 2) {
            ExpectViewShowsTheWorld();
            ++passesSeen;
            reversedPasses += dialog.Inference().Reading().signsReversed;
            winners |= 1u << dialog.m_sim.inference.winner;
        }
        return pass < 400 || clock.elapsed() < 400 ? kNoKey : kEscape;
    });
    const qint64 elapsedMs = clock.elapsed();
    EXPECT_TRUE(shownWithTheRun);
    EXPECT_GT(passesSeen, 100);
    // The run must have gone through the sign draw and several situations for the
    // comparison to mean anything.
    EXPECT_GT(reversedPasses, 0);
    EXPECT_GT(std::popcount(winners), 2);
    EXPECT_GE(dialog.Inference().RepaintCount(), 1);
    // Qt's coarse timers may fire up to 5 % early.
    EXPECT_LE(dialog.Inference().RepaintCount(), elapsedMs * 1.06 / InferenceView::kRepaintIntervalMs + 2);
}

TEST_F(InferenceViewTest, WhilePausedShowsTheLastPassAndNRunsExactlyOneMore)
{
    // A reference world from the same generator state, stepped without a window.
    RobotSimulation reference(kWorldSize, kWorldSize);
    reference.rng = dialog.m_sim.rng;
    PrepareRun(reference, kExampleTable);

    constexpr int kPauseAt = 50, kStepAt = 60;
    int passesDone = 0;
    double centerAtPause = 0;
    Run([&](int pass) {
        // Unpaced, every key poll after the start follows exactly one pass, except the
        // one right after the start and right after 'p'.
        if (pass == 0) return int('g');
        if (pass < kPauseAt) return kNoKey;
        if (pass == kPauseAt) {
            passesDone = pass - 1;
            for (int k = 0; k < passesDone; ++k) RunPass(reference);
            EXPECT_EQ(dialog.m_sim.centerX, reference.centerX);
            EXPECT_EQ(dialog.m_sim.centerY, reference.centerY);
            return int('p');
        }
        if (pass == kPauseAt + 1) centerAtPause = dialog.m_sim.centerX;
        if (pass < kStepAt) {
            EXPECT_EQ(dialog.m_sim.centerX, centerAtPause);
            ExpectViewShowsTheWorld();
            return kNoKey;
        }
        if (pass == kStepAt) return int('n');
        if (pass == kStepAt + 1) {
            RunPass(reference);
            EXPECT_EQ(dialog.m_sim.centerX, reference.centerX);
            EXPECT_EQ(dialog.m_sim.centerY, reference.centerY);
            EXPECT_EQ(dialog.m_sim.heading, reference.heading);
            ExpectViewShowsTheWorld();
            return kNoKey;
        }
        EXPECT_EQ(dialog.m_sim.centerX, reference.centerX) << "more than one pass after n";
        return pass < kStepAt + 10 ? kNoKey : kEscape;
    });
    EXPECT_NE(centerAtPause, reference.centerX) << "the robot did not move on n";
    dialog.m_sim.paused = false;
}

// Truths, winner and command: enough to tell one pass's reasoning from another's.
bool SameReasoning(const InferenceReading& a, const InferenceReading& b)
{
    return std::equal(a.inference.truth, a.inference.truth + 8, b.inference.truth) &&
           a.inference.winner == b.inference.winner && a.command.angle == b.command.angle &&
           a.command.speed == b.command.speed;
}

TEST_F(InferenceViewTest, TheStripMarksCollisionsAndAClickedColumnShowsItsPassUntilTheRunGoesOn)
{
    constexpr int kBlockAt = 20, kPauseAt = 40, kClickAt = 42, kStepAt = 50;
    const InferenceView& view = dialog.Inference();
    InferenceStrip& strip = dialog.Inference().Strip();
    constexpr int kChosen = 5;
    InferenceReading chosen;
    int selectedAfterClick = -1, selectedWhilePaused = -1;
    bool chosenShown = false, chosenKept = false, latestShownAfterN = false;
    Run([&](int pass) {
        if (pass == 0) return int('g');
        if (pass == kBlockAt) dialog.m_sim.freeMap.setTo(0);
        if (pass == kBlockAt + 1) {
            // The pass made since counted the collision, and only that one is marked.
            dialog.m_sim.freeMap.setTo(255);
            EXPECT_TRUE(view.History().At(view.History().Size() - 1).collisionCounted);
            int marks = 0;
            for (std::size_t c = 0; c < view.History().Size(); ++c) marks += view.History().At(c).collisionCounted;
            EXPECT_EQ(marks, 1);
        }
        if (pass < kPauseAt) return kNoKey;
        if (pass == kPauseAt) return int('p');
        if (pass == kClickAt) {
            chosen = view.History().At(kChosen).reading;
            int x = 0;
            while (x < strip.width() && strip.ColumnAt(x) != kChosen) ++x;
            QTest::mouseClick(&strip, Qt::LeftButton, {}, QPoint(x, strip.height() / 2));
            selectedAfterClick = strip.Selected();
            chosenShown = SameReasoning(view.ShownReading(), chosen);
        }
        if (pass > kClickAt && pass < kStepAt) {
            // The window's own repaints while paused must not take the choice away.
            QTest::qWait(InferenceView::kRepaintIntervalMs);
            selectedWhilePaused = strip.Selected();
            chosenKept = SameReasoning(view.ShownReading(), chosen);
        }
        if (pass == kStepAt) return int('n');
        if (pass == kStepAt + 1) {
            QTest::qWait(3 * InferenceView::kRepaintIntervalMs);
            latestShownAfterN = strip.Selected() == -1 && SameReasoning(view.ShownReading(), view.Reading());
            return kEscape;
        }
        return kNoKey;
    });
    EXPECT_EQ(selectedAfterClick, kChosen);
    EXPECT_TRUE(chosenShown);
    EXPECT_EQ(selectedWhilePaused, kChosen);
    EXPECT_TRUE(chosenKept);
    EXPECT_TRUE(latestShownAfterN);
    EXPECT_FALSE(SameReasoning(chosen, view.Reading())) << "the test needs a pass unlike the last";
    dialog.m_sim.paused = false;
}

TEST(InferenceHistoryTest, KeepsTheLastTwoHundredPassesOldestFirst)
{
    InferenceHistory history;
    for (int pass = 0; pass < 250; ++pass) {
        InferenceReading reading;
        reading.command.angle = pass;
        history.Add(reading, pass % 100 == 0);
    }
    ASSERT_EQ(history.Size(), InferenceHistory::kCapacity);
    EXPECT_EQ(history.At(0).reading.command.angle, 50.0);
    EXPECT_EQ(history.At(199).reading.command.angle, 249.0);
    EXPECT_TRUE(history.At(50).collisionCounted);  // pass 100
    EXPECT_FALSE(history.At(51).collisionCounted);
    history.Clear();
    EXPECT_EQ(history.Size(), 0u);
}

TEST_F(InferenceViewTest, ClosedViewComesBackWithI)
{
    bool closed = false, reopened = false;
    Run([&](int pass) {
        switch (pass) {
        case 0:
            return int('g');
        case 1:
            dialog.Inference().close();
            return kNoKey;
        case 2:
            closed = !dialog.Inference().isVisible();
            return int('i');
        case 3:
            reopened = dialog.Inference().isVisible();
            return kNoKey;
        default:
            return kEscape;
        }
    });
    EXPECT_TRUE(closed);
    EXPECT_TRUE(reopened);
}

}  // namespace
