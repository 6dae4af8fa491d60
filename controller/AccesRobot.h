#pragma once
#include "LectureID.h"

// What the behaviour modules need of the robot link. The defaults reach the real link;
// a test replaces them to play a robot's frames, a clock and a key without a port.
struct AccesRobot {
    void (*lireCapteurs)(dataSensor copie[64]);  // one whole frame's values
    bool (*attendreLecture)(int millisecondes);  // false: no read pass in that time
    bool (*piloter)(long droite, long gauche);   // Drive PWM; false: the port did not take it
    int (*horloge)();                            // milliseconds
    bool (*arretDemande)();                      // a key, a stop signal or a suspension is pending
    int (*ageDerniereTrame)();                   // ms since the last accepted frame; -1 before any
};

extern AccesRobot accesRobot;

// The same set of defaults, for a test to restore them.
AccesRobot AccesRobotReel();

// Frames stop coming (robot off, cable pulled, stream stopped): the robot keeps its last
// Drive PWM, so after this long without a frame the wheels are stopped and a turn ends...
constexpr int silenceArretRouesMs = 150;
// ...and after this long the run is given up.
constexpr int silenceAbandonMs = 2000;
