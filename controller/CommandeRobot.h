#pragma once

extern long RigthPWM;
extern long LeftPWM;
extern long InitPulsRight;  // encoder counts at the start of the turn (right: 44, left: 43)
extern long InitPulsLeft;
extern long NbPulsRight;  // current counts, corrected for the 16-bit roll-over
extern long NbPulsLeft;
extern float thetaUn;     // turn made so far, in the unit of angle
extern float thetaDeux;   // right wheel travel
extern float thetaTrois;  // left wheel travel
// Speed coefficients of the wheels, recomputed on every pass of a turn from how far one
// wheel runs ahead of the other (coefVitesseRight, coefVitesseLeft). They stay unapplied
// on purpose: a turn keeps the duties it started with, which its calibration was measured
// with. They are kept where the behaviour tests and a debugger read them, so a wheel-
// matching correction can be judged on real turns before it is allowed to touch a duty.
extern float KRight;
extern float KLeft;

// A turn whose wheels show no progress for this long is given up.
constexpr int delaiSansProgresMs = 2000;

enum class FinCommande {
    Envoyee,       // straight command sent, or the wanted turn reached
    ArretDemande,  // a key or a stop signal ended the turn
    SansProgres,   // the encoders did not move for delaiSansProgresMs
    SansTrame,     // no frame for silenceArretRouesMs: the turn cannot be measured
};

// Applies vitesse and angle: straight for a zero angle, otherwise a spin on the spot
// measured by the encoders, ended by the wheels stopped whatever ended it.
FinCommande CommandeRobot();
float coefVitesseRight(float deltaTeta);
float coefVitesseLeft(float deltaTeta);
