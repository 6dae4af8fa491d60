#include <gtest/gtest.h>

#include <cstdlib>

#include "Inferences_S1_a_S8.h"
#include "RobotScripte.h"
#include "VariablesFloues.h"

namespace {

TEST(FonctionVarFloue, RampWithItsStepAtFourHundred)
{
    EXPECT_EQ(FonctionVarFloue(0), 0.0f);
    EXPECT_EQ(FonctionVarFloue(399), 0.0f);
    EXPECT_EQ(FonctionVarFloue(400), 0.25f);
    EXPECT_EQ(FonctionVarFloue(700), 0.625f);
    EXPECT_EQ(FonctionVarFloue(1000), 1.0f);
    EXPECT_EQ(FonctionVarFloue(1001), 1.0f);
    EXPECT_EQ(FonctionVarFloue(65535 * 2), 1.0f);
    EXPECT_EQ(PresenceObstacle, 1.0f);
}

class Inference : public ::testing::Test {
protected:
    void SetUp() override { CasCapteursIR(); }
    void TearDown() override { CasCapteursIR(); }
    // Summed signal of each group, split over its two packets so both are counted.
    void Signaux(unsigned gauche, unsigned centre, unsigned droite)
    {
        robot.FixerPaquet(46, gauche / 2);
        robot.FixerPaquet(47, gauche - gauche / 2);
        robot.FixerPaquet(48, centre / 2);
        robot.FixerPaquet(49, centre - centre / 2);
        robot.FixerPaquet(50, droite / 2);
        robot.FixerPaquet(51, droite - droite / 2);
    }
    RobotScripte robot;
};

TEST_F(Inference, BuiltInTableStandsStillWhateverTheSignals)
{
    for (int k = 0; k < 8; k++) {
        DefVitesse[k] = 50 + k;
        DefAngle[k] = -20 + k;
    }
    CasCapteursIR();
    for (unsigned s : {0u, 400u, 700u, 5000u}) {
        Signaux(s, 1000 - s % 1000, s);
        vitesse = 7;
        angle = 7;
        ProbVitesseAngle();
        EXPECT_EQ(vitesse, 0);
        EXPECT_EQ(angle, 0);
    }
}

TEST_F(Inference, EachBlockedGroupSetsItsOwnBitOfTheSituation)
{
    for (int k = 0; k < 8; k++) {
        DefVitesse[k] = 100 + k;
        DefAngle[k] = 10 * k;
    }
    const unsigned fort = 3000;
    for (int k = 0; k < 8; k++) {
        Signaux(k & 1 ? fort : 0, k & 2 ? fort : 0, k & 4 ? fort : 0);
        ProbVitesseAngle();
        EXPECT_EQ(Truth[k], 1.0f) << "situation " << k;
        EXPECT_EQ(vitesse, 100 + k) << "situation " << k;
        EXPECT_EQ(angle, 10 * k) << "situation " << k;
    }
}

TEST_F(Inference, EachWeightedCommandIsTruncatedOnItsOwn)
{
    DefAngle[4] = 10;
    DefAngle[5] = 10;
    DefVitesse[4] = -10;
    DefVitesse[5] = -10;
    Signaux(400, 0, 1001);
    ProbVitesseAngle();
    EXPECT_EQ(Prob[0], 0.25f);
    EXPECT_EQ(Prob[1], 0.0f);
    EXPECT_EQ(Prob[2], 1.0f);
    EXPECT_EQ(Truth[4], 0.75f);
    EXPECT_EQ(Truth[5], 0.25f);
    for (int k : {0, 1, 2, 3, 6, 7}) EXPECT_EQ(Truth[k], 0.0f) << k;
    EXPECT_EQ(angle, 9);     // 7.5 -> 7 and 2.5 -> 2, not 10
    EXPECT_EQ(vitesse, -9);  // truncated toward zero, not down
}

TEST_F(Inference, TruthDegreesShareOutOne)
{
    Signaux(523, 871, 444);
    ProbVitesseAngle();
    float somme = 0;
    for (float t : Truth) {
        EXPECT_GE(t, 0.0f);
        somme += t;
    }
    EXPECT_NEAR(somme, 1.0f, 1e-6);
}

TEST_F(Inference, BumpersOverrideTheInference)
{
    for (int k = 0; k < 8; k++) DefAngle[k] = 33;
    for (int k = 0; k < 8; k++) DefVitesse[k] = 44;

    robot.FixerOctet(7, 0x01 | 0x0C);  // right bumper, wheel drops ignored
    ChoixBumpIR();
    EXPECT_EQ(SumBump, 1);
    EXPECT_EQ(vitesse, 90);
    EXPECT_EQ(angle, 45);

    robot.FixerOctet(7, 0x02);
    ChoixBumpIR();
    EXPECT_EQ(vitesse, 90);
    EXPECT_EQ(angle, -45);

    robot.FixerOctet(7, 0x00);
    ChoixBumpIR();
    EXPECT_EQ(vitesse, 44);
    EXPECT_EQ(angle, 33);
}

TEST_F(Inference, BothBumpersAlwaysTurnAHalfTurn)
{
    robot.FixerOctet(7, 0x03);
    std::srand(1);
    bool gauche = false;
    bool droite = false;
    for (int i = 0; i < 64; i++) {
        angle = 0;
        ChoixBumpIR();
        EXPECT_EQ(vitesse, 90);
        ASSERT_TRUE(angle == 90 || angle == -90) << angle;
        (angle > 0 ? gauche : droite) = true;
    }
    EXPECT_TRUE(gauche && droite);
}

}  // namespace
