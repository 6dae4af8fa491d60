#pragma once
#include "world/FuzzyInference.h"
#include "world/InferenceTable.h"
#include "world/RobotSimulation.h"

// What the inference window shows of one pass, taken from the world as the controller
// left it: the distances and ramp it judged by, its degrees and truths, and the command.
struct InferenceReading {
    double sectorDistance[3] = {};
    double nearDistance = 0, farDistance = 0;
    FuzzyInference inference;
    // The S1 and S6 angles as they steer now; the sign draw may have reversed them.
    double allBlockedAngle = 0, onlySidesFreeAngle = 0;
    bool signsReversed = false;
    FuzzyCommand command;  // degrees and pixels per step
};

// The world's latest inference, read and not recomputed; `table` is the one the run
// started from, against which the current S1/S6 signs are told.
InferenceReading ReadInference(const RobotSimulation& sim, const InferenceTable& table);
