#pragma once
#include <memory>

#include "runner/PassPanel.h"

// The reasoning of every pass for marlune-run --inference: the picture of the pass over
// the strip "Derniers pas", drawn by the window's own pictures in the application's
// default palette. Qt paints on its offscreen platform, so no display is needed; the
// first panel starts that platform when the program has no Qt application of its own.
std::unique_ptr<PassPanel> MakeReasoningPanel(const InferenceTable& table);
