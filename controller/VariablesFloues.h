#pragma once

// Fuzzy inference from the light-bump signals. Groups: 0 left, 1 centre, 2 right.
extern float PresenceObstacle;
extern float Prob[3];     // degree to which each group sees an obstacle
extern float NotProb[3];  // 1 - Prob
extern float Truth[8];    // truth degree of each situation k = 0..7
extern int vitesse;       // resulting wheel duty
extern int angle;         // resulting turn, positive to the left
extern int SumBump;       // bumper bits of the last bump reflex

float FonctionVarFloue(int distance);
void ProbCapteur();
void CalculProba();
void ProbVitesseAngle();
// Bumpers pressed override the inference with a fixed escape turn. The design names
// this reflex but the controller's loop does not call it: Trundel's stream does not ask
// for the bumper packet, so the loop infers from the light bumps alone. It is kept, and
// tested, for a loop that streams the bumpers too.
void ChoixBumpIR();
