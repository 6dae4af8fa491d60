#pragma once
#include "LigneDeCommande.h"

// Exit codes besides 0 (a key or a stop signal) and codeUsageIncorrect (a table refused).
constexpr int codeModeQuitte = 3;       // the robot left Safe mode by itself (cliff, wheel drop, charger)
constexpr int codeRobotMuet = 4;        // no frame at the start, or none for too long during the run
constexpr int codeLiaisonPerdue = 255;  // the port cannot be used or was lost during the run

// The whole run: port, reception thread, robot set-up, the inference-and-turn loop until a
// key, a stop signal or a fault, then the orderly stop. Returns the exit code.
int ExecuterControleur(const OptionsTrundel& options);
