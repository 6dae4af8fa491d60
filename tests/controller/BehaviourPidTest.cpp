#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "CorrecteurPID.h"
#include "RobotScripte.h"

namespace {

// Measures once with the left count `compte` at the scripted clock's `instant`.
int MesurerA(RobotScripte& robot, unsigned compte, int instant)
{
    robot.FixerPaquet(43, compte);
    robot.Avancer(instant - robot.Maintenant());
    return CalculFrequence();
}

TEST(CalculFrequence, CountsPerFiveHundredMillisecondsTruncatedTowardZero)
{
    RobotScripte robot;
    MesurerA(robot, 100, 1000);
    EXPECT_EQ(MesurerA(robot, 160, 1030), 1000);
    EXPECT_EQ(deltaPuls, 60);
    EXPECT_EQ(deltaTemps, 30);
    EXPECT_EQ(temps, 1030);
    EXPECT_EQ(MesurerA(robot, 100, 1060), -1000);
    EXPECT_EQ(MesurerA(robot, 101, 1067), 71);   // 500 / 7 = 71.4
    EXPECT_EQ(MesurerA(robot, 100, 1074), -71);  // not -72
}

TEST(CalculFrequence, SameMillisecondKeepsTheLastSpeedAndTheReference)
{
    RobotScripte robot;
    MesurerA(robot, 1000, 2000);
    EXPECT_EQ(MesurerA(robot, 1010, 2010), 500);
    EXPECT_EQ(MesurerA(robot, 1020, 2010), 500);
    // The next interval runs from the last real measurement: 30 counts in 20 ms.
    EXPECT_EQ(MesurerA(robot, 1040, 2030), 750);
}

TEST(CalculFrequence, CounterWrappingAtSixtyFiveThousandIsAShortMove)
{
    RobotScripte robot;
    MesurerA(robot, 65530, 3000);
    EXPECT_EQ(MesurerA(robot, 10, 3010), 16 * 500 / 10);
    EXPECT_EQ(MesurerA(robot, 65526, 3020), -20 * 500 / 10);
}

TEST(CorrecteurPID, ProportionalOnlyWhateverCameBefore)
{
    for (int e : {5, -400, 10, 0}) CorrecteurPID(e);
    EXPECT_EQ(CorrecteurPID(10), 10);
    EXPECT_EQ(CorrecteurPID(-3), -3);
}

TEST(CommandeMoteur, LeftWheelDrivenBySeventeenTimesTheTruncatedError)
{
    RobotScripte robot;
    MesurerA(robot, 0, 5000);
    MesurerA(robot, 124, 5500);  // frequence 124
    ASSERT_EQ(frequence, 124);
    CommandeMoteur(20);
    EXPECT_EQ(error, 16);        // 20 - 3.1416 = 16.8584
    MesurerA(robot, 124, 6000);  // frequence 0
    CommandeMoteur(0);
    MesurerA(robot, 0, 6500);  // frequence -124
    CommandeMoteur(-20);
    EXPECT_EQ(error, -16);  // -20 + 3.1416, toward zero
    EXPECT_EQ(robot.Commandes(), (std::vector<std::pair<long, long>>{{0, 272}, {0, 0}, {0, -272}}));
}

}  // namespace
