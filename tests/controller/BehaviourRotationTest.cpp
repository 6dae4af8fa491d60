#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "CommandeRobot.h"
#include "RobotScripte.h"
#include "VariablesFloues.h"

namespace {

using Commandes = std::vector<std::pair<long, long>>;

TEST(CommandeRobotDroit, StraightCommandIsSentWithoutWaiting)
{
    RobotScripte robot;
    vitesse = 60;
    angle = 0;
    EXPECT_EQ(CommandeRobot(), FinCommande::Envoyee);
    vitesse = 0;
    EXPECT_EQ(CommandeRobot(), FinCommande::Envoyee);
    EXPECT_EQ(robot.Commandes(), (Commandes{{60, 60}, {0, 0}}));
    EXPECT_EQ(robot.Passes(), 0);
}

TEST(CommandeRobotRotation, LeftTurnOfFortyFiveDegreesNeedsThePassAfterFortyFourPointTwo)
{
    RobotScripte robot;
    // (right, left): start, then 200 counts each way, then a little more.
    robot.Codeurs({{100, 200}, {300, 0}, {305, 65531}});
    vitesse = 90;
    angle = 45;
    EXPECT_EQ(CommandeRobot(), FinCommande::Envoyee);
    EXPECT_EQ(robot.Commandes(), (Commandes{{90, -90}, {0, 0}}));
    EXPECT_EQ(robot.Passes(), 3);
    EXPECT_EQ(InitPulsRight, 100);
    EXPECT_EQ(InitPulsLeft, 200);
    // The left count went below zero and wrapped to 65531: 205 counts back, not 65331 forward.
    EXPECT_EQ(NbPulsLeft, 65531 - 65536);
    EXPECT_FLOAT_EQ(thetaDeux, 205 * 0.726f);
    EXPECT_FLOAT_EQ(thetaTrois, -205 * 0.726f);
    EXPECT_GE(thetaUn, 45.0f);
}

TEST(CommandeRobotRotation, FirstReadingOfATurnIsEstimatedExactly)
{
    RobotScripte robot;
    robot.Codeurs({{100, 200}, {300, 0}});
    robot.ToucheApres(2);  // stop right after the first reading inside the loop
    vitesse = 90;
    angle = 45;
    EXPECT_EQ(CommandeRobot(), FinCommande::ArretDemande);
    EXPECT_EQ(thetaDeux, static_cast<float>(200 * 0.726));
    EXPECT_EQ(thetaTrois, static_cast<float>(-200 * 0.726));
    EXPECT_EQ(thetaUn, static_cast<float>((thetaDeux - thetaTrois) * 0.1522));
    EXPECT_NEAR(thetaUn, 44.2, 0.01);
    EXPECT_EQ(robot.Commandes().back(), (std::pair<long, long>{0, 0}));
}

TEST(CommandeRobotRotation, RightCountRollingOverDuringALeftTurnKeepsCounting)
{
    RobotScripte robot;
    robot.Codeurs({{65500, 1000}, {20, 944}, {20, 944}});
    robot.ToucheApres(2);
    vitesse = 90;
    angle = 45;
    CommandeRobot();
    EXPECT_EQ(NbPulsRight, 65556);
    EXPECT_EQ(NbPulsRight - InitPulsRight, 56);
    EXPECT_EQ(NbPulsLeft, 944);
}

TEST(CommandeRobotRotation, RightTurnWrapsBothCountersTheOtherWay)
{
    RobotScripte robot;
    // Right wheel backwards through 0, left wheel forwards through 65535.
    robot.Codeurs({{10, 65530}, {65526, 14}, {65400, 140}});
    vitesse = 90;
    angle = -30;
    EXPECT_EQ(CommandeRobot(), FinCommande::Envoyee);
    EXPECT_EQ(robot.Commandes(), (Commandes{{-90, 90}, {0, 0}}));
    EXPECT_EQ(NbPulsRight, 65400 - 65536);
    EXPECT_EQ(NbPulsLeft, 140 + 65536);
    EXPECT_LE(thetaUn, -30.0f);
    EXPECT_EQ(robot.Passes(), 3);
}

TEST(CommandeRobotRotation, NegativeSpeedReversesTheSpinAndItsRollOvers)
{
    RobotScripte robot;
    // Right wheel backwards through 0, left wheel forwards through 65535: 205 counts each.
    robot.Codeurs({{100, 65500}, {65531, 69}, {65431, 169}});
    vitesse = -90;
    angle = 45;
    EXPECT_EQ(CommandeRobot(), FinCommande::Envoyee);
    EXPECT_EQ(robot.Commandes(), (Commandes{{-90, 90}, {0, 0}}));
    EXPECT_EQ(robot.Passes(), 3) << "the turn must not end at the first backward count";
    EXPECT_EQ(NbPulsRight, 65431 - 65536);
    EXPECT_EQ(NbPulsLeft, 169 + 65536);
    EXPECT_LE(thetaUn, -45.0f);
}

TEST(CommandeRobotRotation, StalledWheelEndsTheTurnAfterTwoSecondsWithoutProgress)
{
    RobotScripte robot;
    robot.Codeurs({{100, 100}, {110, 90}});  // moves once, then nothing more
    vitesse = 90;
    angle = 90;
    const int debut = robot.Maintenant();
    testing::internal::CaptureStdout();
    EXPECT_EQ(CommandeRobot(), FinCommande::SansProgres);
    const std::string console = testing::internal::GetCapturedStdout();
    EXPECT_NE(console.find("Rotation abandonnée"), std::string::npos) << console;
    EXPECT_EQ(robot.Commandes(), (Commandes{{90, -90}, {0, 0}}));
    // Measured from the last movement, not from the start of the turn.
    EXPECT_GE(robot.Maintenant() - debut, delaiSansProgresMs + RobotScripte::periodeMs);
    EXPECT_LT(robot.Maintenant() - debut, delaiSansProgresMs + 4 * RobotScripte::periodeMs);
}

TEST(CommandeRobotRotation, SilentRobotCannotHangTheStartOfATurn)
{
    RobotScripte robot;
    robot.SilencieuxApres(0);
    vitesse = 0;
    angle = 20;
    const int debut = robot.Maintenant();
    testing::internal::CaptureStdout();
    EXPECT_EQ(CommandeRobot(), FinCommande::SansProgres);
    testing::internal::GetCapturedStdout();
    EXPECT_GE(robot.Maintenant() - debut, delaiSansProgresMs);
    // The wheels are stopped even though the turn never started: the robot may have
    // been driving straight from the previous command.
    EXPECT_EQ(robot.Commandes(), (Commandes{{0, 0}}));
}

TEST(CommandeRobotRotation, FramesStoppingInsideTheTurnStopTheWheelsWithinAQuarterSecond)
{
    RobotScripte robot;
    robot.Codeurs({{500, 500}});
    robot.SilencieuxApres(1);
    vitesse = 80;
    angle = -60;
    const int debut = robot.Maintenant();
    EXPECT_EQ(CommandeRobot(), FinCommande::SansTrame);
    EXPECT_EQ(robot.Commandes(), (Commandes{{-80, 80}, {0, 0}}));
    // The last frame came one period after the start.
    EXPECT_GE(robot.Maintenant() - debut, RobotScripte::periodeMs + silenceArretRouesMs);
    EXPECT_LT(robot.Maintenant() - debut, RobotScripte::periodeMs + 250);
}

TEST(CommandeRobotRotation, KeyBeforeTheFirstReadingStopsTheWheels)
{
    RobotScripte robot;
    robot.ToucheApres(0);
    vitesse = 90;
    angle = 30;
    EXPECT_EQ(CommandeRobot(), FinCommande::ArretDemande);
    EXPECT_EQ(robot.Commandes(), (Commandes{{0, 0}}));
    EXPECT_EQ(robot.Passes(), 0);
}

TEST(CommandeRobotRotation, KeyDuringTheTurnStopsTheWheels)
{
    RobotScripte robot;
    robot.Codeurs({{0, 0}, {10, 65526}, {20, 65516}});
    robot.ToucheApres(3);
    vitesse = 90;
    angle = 90;
    EXPECT_EQ(CommandeRobot(), FinCommande::ArretDemande);
    EXPECT_EQ(robot.Commandes(), (Commandes{{90, -90}, {0, 0}}));
    EXPECT_EQ(robot.Passes(), 3);
}

TEST(CoefficientsVitesse, RampsAndTheirBounds)
{
    EXPECT_EQ(coefVitesseRight(-500), 1.0f);
    EXPECT_EQ(coefVitesseRight(20), 1.0f);
    EXPECT_NEAR(coefVitesseRight(20.5f), 0.9963f, 1e-4);
    EXPECT_NEAR(coefVitesseRight(95), 0.4997f, 1e-4);
    EXPECT_NEAR(coefVitesseRight(169.99f), -0.0003f, 1e-4);
    EXPECT_EQ(coefVitesseRight(170), 0.0f);
    EXPECT_EQ(KRight, 0.0f);

    EXPECT_EQ(coefVitesseLeft(-500), 0.0f);
    EXPECT_EQ(coefVitesseLeft(-170), 0.0f);
    EXPECT_NEAR(coefVitesseLeft(-169.99f), -0.0003f, 1e-4);
    EXPECT_NEAR(coefVitesseLeft(-95), 0.4997f, 1e-4);
    EXPECT_NEAR(coefVitesseLeft(-20.5f), 0.9963f, 1e-4);
    // The band between -20 and 0 mirrors the right wheel's: full speed, whatever came before.
    for (float x : {-20.0f, -10.0f, 0.0f}) {
        coefVitesseLeft(-100);
        EXPECT_EQ(coefVitesseLeft(x), 1.0f) << x;
        EXPECT_EQ(KLeft, 1.0f);
    }
    EXPECT_EQ(coefVitesseLeft(5), 1.0f);
}

}  // namespace
