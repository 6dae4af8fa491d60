#include <cmath>
#include <functional>
#include <set>
#include <utility>

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <opencv2/highgui.hpp>

#include "RunFixture.h"
#include "common/NumberText.h"
#include "reasoning/DialogNumbers.h"

namespace {

class RunTest : public RunFixture {
protected:
    void ExpectStatisticsOfTheRun()
    {
        const int ticks = dialog.TickCount();
        const auto threeDecimals = [](double value) { return QString::fromStdString(FixedDecimals(value, 3)); };
        EXPECT_EQ(Field(kMeanSpeedField)->text(), threeDecimals(dialog.m_sim.distance * 50.0 / (ticks + 1)));
        EXPECT_EQ(Field(kMeanCollisionsField)->text(), threeDecimals(dialog.m_sim.collisions * 500.0 / (ticks + 1)));
        EXPECT_EQ(Field(kCollisionCountField)->text(), QString::number(dialog.m_sim.collisions));
    }
};

TEST_F(RunTest, EscapeBeforeTheStartEndsTheRunWithoutAStep)
{
    SetSpeeds(1.0);
    bool buttonDisabled = false;
    Run([&](int pass) {
        buttonDisabled = !Button(kRunButton)->isEnabled();
        EXPECT_NE(SimulationWindow(), nullptr);
        // Pause and beams wait for the start; upper case means nothing.
        const int keys[] = {'p', 't', 'G', 'P', 'T', kEscape};
        return keys[pass];
    });
    EXPECT_TRUE(buttonDisabled);
    EXPECT_TRUE(Button(kRunButton)->isEnabled());
    EXPECT_FALSE(dialog.m_sim.paused);
    EXPECT_FALSE(dialog.m_sim.showBeams);
    EXPECT_EQ(dialog.m_sim.distance, 0.0);
    EXPECT_EQ(Field(kMeanCollisionsField)->text(), "0.000");
    EXPECT_EQ(Field(kMeanSpeedField)->text(), "0.000");
    EXPECT_EQ(Field(kCollisionCountField)->text(), "0");
    EXPECT_EQ(SimulationWindow(), nullptr);
}

TEST_F(RunTest, RunsFromGUntilEscapeAndPauseFreezesTheStatistics)
{
    SetSpeeds(1.0);
    dialog.m_sim.rng.Seed(7);
    double distanceAtPause = -1;
    int ticksAtPause = -1;
    int pausedAt = -1;
    Run([&](int pass) {
        if (pass == 0) return int('g');
        if (pausedAt < 0) {
            if (dialog.m_sim.distance > 0 && dialog.TickCount() >= 3) {
                pausedAt = pass;
                return int('p');
            }
            return kNoKey;
        }
        if (pass == pausedAt + 1) {
            distanceAtPause = dialog.m_sim.distance;
            ticksAtPause = dialog.TickCount();
            return int('t');
        }
        if (pass < pausedAt + 40) {
            EXPECT_EQ(dialog.m_sim.distance, distanceAtPause);
            EXPECT_EQ(dialog.TickCount(), ticksAtPause);
            return kNoKey;
        }
        return kEscape;
    });
    ASSERT_GT(pausedAt, 0) << "the robot never moved";
    EXPECT_TRUE(dialog.m_sim.paused);
    EXPECT_TRUE(dialog.m_sim.showBeams);
    EXPECT_GT(dialog.m_sim.distance, 0.0);
    ExpectStatisticsOfTheRun();
    EXPECT_NE(Field(kMeanSpeedField)->text(), "0.000");
}

TEST_F(RunTest, CountsEachEntryIntoAnObstacleOnceAndShakesMeanwhile)
{
    // The robot stands still; the test moves the obstacles under it instead.
    std::set<std::pair<int, int>> positionsWhileBlocked;
    int blockedSince = -1, freedAt = -1, blockedAgainAt = -1;
    Run([&](int pass) {
        cv::Mat& freeMap = dialog.m_sim.freeMap;
        if (pass == 0) return int('g');
        if (pass == 1) {
            freeMap.setTo(255);
            return kNoKey;
        }
        if (pass == 3) {
            EXPECT_EQ(dialog.m_collisionCount, 0);
            freeMap.setTo(0);
            blockedSince = dialog.TickCount();
            return kNoKey;
        }
        if (freedAt < 0 && pass > 4) {
            EXPECT_EQ(dialog.m_collisionCount, 1);
            if (QWidget* window = SimulationWindow()) positionsWhileBlocked.insert({window->x(), window->y()});
            if (dialog.TickCount() >= blockedSince + 3 && positionsWhileBlocked.size() >= 2) {
                freeMap.setTo(255);
                freedAt = pass;
            }
            return kNoKey;
        }
        if (freedAt > 0 && blockedAgainAt < 0 && pass > freedAt + 2) {
            EXPECT_EQ(dialog.m_sim.inCollision, 0);
            freeMap.setTo(0);
            blockedAgainAt = pass;
            return kNoKey;
        }
        if (blockedAgainAt > 0 && pass > blockedAgainAt + 3) return kEscape;
        return kNoKey;
    });
    EXPECT_EQ(positionsWhileBlocked, (std::set<std::pair<int, int>>{{45, 45}, {55, 55}}));
    EXPECT_EQ(dialog.m_sim.collisions, 2);
    EXPECT_EQ(dialog.m_collisionCount, 2);
    EXPECT_EQ(Field(kCollisionCountField)->text(), "2");
}

TEST_F(RunTest, LeftClickStartsTheRunRightClickDoesNot)
{
    Run([&](int pass) {
        switch (pass) {
        case 0:
            QTest::mouseClick(ImageArea(), Qt::RightButton, {}, QPoint(20, 20));
            return kNoKey;
        case 1:
            return int('p');  // not started yet: ignored
        case 2:
            EXPECT_FALSE(dialog.m_sim.paused);
            QTest::mouseClick(ImageArea(), Qt::LeftButton, {}, QPoint(20, 20));
            return kNoKey;
        case 3:
            return int('p');
        default:
            return kEscape;
        }
    });
    EXPECT_TRUE(dialog.m_sim.paused);
}

TEST_F(RunTest, TheModalDialogLeavesTheSimulationWindowOpenToTheUser)
{
    // Shown as the program shows it (exec), the dialog must not block the other window:
    // clicks and keys travel through the window system, which drops blocked input.
    dialog.setAttribute(Qt::WA_ShowModal, true);
    ShowActive();
    ASSERT_EQ(QApplication::activeModalWidget(), &dialog);
    Run([&](int pass) {
        QWidget* area = ImageArea();
        const QPoint inWindow = area->mapTo(area->window(), QPoint(20, 20));
        switch (pass) {
        case 0:
            QTest::mouseClick(area->window()->windowHandle(), Qt::LeftButton, {}, inWindow);
            return kNoKey;
        case 1:
            return int('p');
        default:
            return kEscape;
        }
    });
    EXPECT_TRUE(dialog.m_sim.paused) << "the click never reached the simulation window";
}

TEST_F(RunTest, TheCloseBoxEndsTheRunAndTheNextRunOpensAFreshWindow)
{
    ShowActive();
    Run([&](int pass) {
        if (pass == 0) return int('g');
        if (pass == 5) SimulationWindow()->close();
        return kNoKey;
    });
    EXPECT_FALSE(dialog.IsRunning());
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(SimulationWindow(), nullptr);
    // The closing pass still stepped after writing the statistics: only their form is known.
    EXPECT_TRUE(QRegularExpression("^[0-9]+\\.[0-9]{3}$").match(Field(kMeanSpeedField)->text()).hasMatch());

    bool windowShown = false;
    Run([&](int) {
        windowShown = SimulationWindow() != nullptr;
        return kEscape;
    });
    EXPECT_TRUE(windowShown);
}

TEST_F(RunTest, ASecondRunKeepsPauseAndBeamsAndStartsItsCountersAfresh)
{
    SetSpeeds(1.0);
    Run([&](int pass) {
        const int keys[] = {'g', kNoKey, 't', 'p', kEscape};
        return keys[pass];
    });
    ASSERT_TRUE(dialog.m_sim.paused && dialog.m_sim.showBeams);

    dialog.m_sim.collisions = 5;
    Run([&](int pass) {
        EXPECT_EQ(dialog.m_sim.collisions, 0);
        EXPECT_EQ(dialog.m_sim.distance, 0.0);
        EXPECT_EQ(dialog.TickCount(), 0);  // paused from the set-up on: no tick counts
        return pass == 0 ? int('g') : pass < 10 ? kNoKey : kEscape;
    });
    EXPECT_TRUE(dialog.m_sim.paused);
    EXPECT_TRUE(dialog.m_sim.showBeams);
}

TEST_F(RunTest, QuitterDuringARunEndsTheRunThenClosesTheDialog)
{
    ShowActive();
    bool stillRunningAfterClick = false;
    Run([&](int pass) {
        if (pass == 0) return int('g');
        QTest::mouseClick(Button(kQuitButton), Qt::LeftButton);
        stillRunningAfterClick = dialog.IsRunning();
        return kNoKey;
    });
    EXPECT_TRUE(stillRunningAfterClick);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(SimulationWindow(), nullptr);
}

TEST_F(RunTest, ClosingTheDialogDuringARunEndsTheRunThenClosesIt)
{
    ShowActive();
    Run([&](int pass) {
        if (pass == 2) dialog.close();
        return pass == 0 ? int('g') : kNoKey;
    });
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(RunTest, ANumberTypedDuringARunIsTakenAsTyped)
{
    // Every pass rewrites the fields from the members: the field being typed into must
    // not lose its unfinished "1." to "1" between two keystrokes.
    ShowActive();
    QLineEdit* field = Field(kSpeedFields[2]);
    Run([&](int pass) {
        if (pass == 1) {
            QApplication::setActiveWindow(&dialog);
            field->setFocus();
            field->selectAll();
        }
        if (pass >= 2 && pass <= 5) QTest::keyClick(field, "1.50"[pass - 2]);
        return pass == 0 ? int('g') : pass < 8 ? kNoKey : kEscape;
    });
    EXPECT_EQ(dialog.m_table.speeds[2], 1.5);
    EXPECT_EQ(field->text(), "1.50");
    // Once the user has moved on, the field shows the number in its short form.
    Field(kAngleFields[0])->setFocus();
    dialog.UpdateData(false);
    EXPECT_EQ(field->text(), "1.5");
}

TEST_F(RunTest, LoadingDuringARunChangesTheTableButNotTheRunningController)
{
    QTemporaryDir directory;
    const QString path = directory.filePath("table.ifi");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16\n");
    }
    Run([&](int pass) {
        if (pass == 2) {
            prompts->paths = {path};
            dialog.OnLoadInferences();
            EXPECT_EQ(dialog.m_table.speeds[7], 16.0);
            EXPECT_EQ(Field(kSpeedFields[7])->text(), "16");
            EXPECT_EQ(dialog.m_sim.speeds[7], 0.0);
        }
        return pass == 0 ? int('g') : pass < 4 ? kNoKey : kEscape;
    });
    EXPECT_TRUE(prompts->messages.empty());
}

TEST_F(RunTest, TheWindowTellsItsKeysWhileWaitingAndPauseWhilePaused)
{
    std::vector<QString> hints;
    Run([&](int pass) {
        hints.push_back(dialog.WindowHint());
        return pass == 0 ? int('g') : pass == 1 ? int('p') : pass < 4 ? kNoKey : kEscape;
    });
    ASSERT_GE(hints.size(), 3u);
    EXPECT_TRUE(hints[0].contains(QString::fromUtf8("En attente de g ou d'un clic"))) << hints[0].toStdString();
    for (const char* key : {"p : pause", "t : faisceaux", "+ - : cadence", "n : un pas en pause", "1 à 4 : taille",
                            "i : inférence", "Échap : fin"})
        EXPECT_TRUE(QString(hints[1]).replace(QChar::Nbsp, QLatin1Char(' ')).contains(QString::fromUtf8(key))) << key;
    EXPECT_FALSE(hints[1].contains("PAUSE"));
    EXPECT_TRUE(hints[2].startsWith("PAUSE")) << hints[2].toStdString();
    EXPECT_FALSE(hints[2].contains("En attente"));

    // The pause carried over shows from the first frame of the next run on.
    hints.clear();
    Run([&](int) {
        hints.push_back(dialog.WindowHint());
        return kEscape;
    });
    ASSERT_EQ(hints.size(), 1u);
    EXPECT_TRUE(hints[0].startsWith("PAUSE")) << hints[0].toStdString();
    EXPECT_TRUE(hints[0].contains("En attente de g")) << hints[0].toStdString();
}

TEST_F(RunTest, TheMeanSpeedSaysSoOnceTheRobotHasLeftTheWorld)
{
    // Far beyond the border, then beyond any finite position at all.
    for (const double speed : {1e6, 1e308}) {
        SetSpeeds(speed);
        Run([&](int pass) { return pass == 0 ? int('g') : pass < 6 ? kNoKey : kEscape; });
        EXPECT_FALSE(dialog.m_sim.IsInsideImage(dialog.m_sim.centerX, dialog.m_sim.centerY)) << speed;
        EXPECT_EQ(Field(kMeanSpeedField)->text(), "hors du monde") << speed;
        EXPECT_TRUE(TypedNumber(Field(kMeanCollisionsField)->text()).has_value())
            << Field(kMeanCollisionsField)->text().toStdString();
    }
    // The speed then had no number left to show (the distance was NaN).
    EXPECT_FALSE(std::isfinite(dialog.m_sim.centerY) && std::isfinite(dialog.m_sim.centerX));
    EXPECT_TRUE(std::isnan(dialog.m_sim.distance));
}

}  // namespace
