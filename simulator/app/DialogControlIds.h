#pragma once
#include "world/InferenceTable.h"

// The main dialog's template and the ids its controls carry in the resources' layout
// (dialogs.json). The dialog finds its controls by these numbers and the tests reach
// them the same way, so both take them from here; a test holds them against the layout.

inline constexpr int kMainTemplate = 102;

inline constexpr int kQuitButton = 1;
inline constexpr int kRunButton = 2;
inline constexpr int kLoadButton = 1001;
inline constexpr int kSaveButton = 1024;

// One angle and one speed field per situation S1 to S8, in situation order: the angle
// ids skip 1001, which the load button took.
inline constexpr int kAngleFields[InferenceTable::kSituations] = {1000, 1002, 1003, 1004, 1005, 1006, 1007, 1008};
inline constexpr int kSpeedFields[InferenceTable::kSituations] = {1016, 1017, 1018, 1019, 1020, 1021, 1022, 1023};

// The run's read-only figures.
inline constexpr int kCollisionCountField = 1011;
inline constexpr int kMeanCollisionsField = 1012;
inline constexpr int kMeanSpeedField = 1013;
