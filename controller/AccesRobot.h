#pragma once
#include "LectureID.h"

// What the behaviour modules need of the robot link. The defaults reach the real link;
// a test replaces them to play a robot's frames, a clock and a key without a port.
struct AccesRobot {
    void (*lireCapteurs)(dataSensor copie[64]);  // one whole frame's values
    bool (*attendreLecture)(int millisecondes);  // false: no read pass in that time
    void (*piloter)(long droite, long gauche);   // Drive PWM
    int (*horloge)();                            // milliseconds
    bool (*arretDemande)();                      // a key or a stop signal is pending
};

extern AccesRobot accesRobot;

// The same set of defaults, for a test to restore them.
AccesRobot AccesRobotReel();
