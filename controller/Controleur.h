#pragma once
#include "LigneDeCommande.h"

// The whole run: port, reception thread, robot set-up, the inference-and-turn loop until a
// key or a stop signal, then the orderly stop. Returns the exit code: 0, -1 when the port
// cannot be used, codeUsageIncorrect when the table file is refused.
int ExecuterControleur(const OptionsTrundel& options);
