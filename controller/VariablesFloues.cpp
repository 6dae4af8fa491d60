#include "VariablesFloues.h"

#include <cstdio>
#include <cstdlib>

#include "AccesRobot.h"
#include "Inferences_S1_a_S8.h"
#include "PaquetsDemandes.h"

float PresenceObstacle;
float Prob[3];
float NotProb[3];
float Truth[8];
int vitesse;
int angle;
int SumBump;

namespace {
constexpr int paquetBumps = oi::packet::BumpsAndWheelDrops;

// Thresholds on the sum of a pair's two light-bump signals (raw units, 0 to 4095 each):
// below sommeSansObstacle the pair sees nothing, above sommeObstacleCertain an obstacle
// is certain; in between the presence rises along distance * 0.00125 - 0.25, from 0.25 to
// 1. The step from 0 to 0.25 at sommeSansObstacle is meant: the situation tables were
// written against it.
constexpr int sommeSansObstacle = 400;
constexpr int sommeObstacleCertain = 1000;
}  // namespace

float FonctionVarFloue(int distance)
{
    double presence;
    if (distance < sommeSansObstacle) {
        presence = 0;
    } else if (distance <= sommeObstacleCertain) {
        presence = distance * 0.00125 - 0.25;
    } else {
        presence = 1;
    }
    PresenceObstacle = static_cast<float>(presence);
    return PresenceObstacle;
}

void ProbCapteur()
{
    dataSensor table[64];
    accesRobot.lireCapteurs(table);
    for (int g = 0; g < 3; g++) {
        const unsigned somme = ValeurPaquet(table, paquetsDuGroupe[g][0]) + ValeurPaquet(table, paquetsDuGroupe[g][1]);
        Prob[g] = FonctionVarFloue(static_cast<int>(somme));
        NotProb[g] = 1 - Prob[g];
    }
}

void CalculProba()
{
    for (int k = 0; k < 8; k++) {
        const float gauche = (k & 1) ? Prob[0] : NotProb[0];
        const float centre = (k & 2) ? Prob[1] : NotProb[1];
        const float droite = (k & 4) ? Prob[2] : NotProb[2];
        Truth[k] = droite * centre * gauche;
    }
}

void ProbVitesseAngle()
{
    vitesse = 0;
    angle = 0;
    ProbCapteur();
    CalculProba();
    for (int k = 0; k < 8; k++) {
        vitesse += static_cast<int>(DefVitesse[k] * Truth[k]);
        angle += static_cast<int>(DefAngle[k] * Truth[k]);
    }
}

void ChoixBumpIR()
{
    dataSensor table[64];
    accesRobot.lireCapteurs(table);
    SumBump = table[paquetBumps].data[0] & 3;
    switch (SumBump) {
    case 0:
        ProbVitesseAngle();
        break;
    case 1:  // right bumper: back off to the left
        vitesse = 90;
        angle = 45;
        break;
    case 2:
        vitesse = 90;
        angle = -45;
        break;
    default: {
        // Both bumpers: a half turn to a random side. The middle value goes right rather
        // than keeping an old angle, which could be 0 and push on into the obstacle.
        const unsigned char nb = static_cast<unsigned char>(std::rand() & 0xFF);
        angle = nb < 128 ? 90 : -90;
        vitesse = 90;
        std::printf("\nnb=%d", nb);
        break;
    }
    }
}
