#pragma once
#include <opencv2/core.hpp>

#include "world/InferenceTable.h"
#include "world/RobotSimulation.h"

// What every front end (desktop run loop, headless runner, tuner) does the same way.

// The set-up of a simulation start, in order: robot geometry (15, 10, 5), a new arena
// (polygon radius 10, 12 obstacles), the start pose (rear axle at the image's centre,
// heading up, no steering), the controller from the table (60 beams per sector, ramp
// from the robot's radius); then the run's odometer and collision count are zeroed.
void PrepareRun(RobotSimulation& sim, const InferenceTable& table);

// The part of that set-up a controller needs without an arena: the robot's geometry and
// the controller from the table, so a command computed apart from a run uses the run's ramp.
void SetUsualRobot(RobotSimulation& sim, const InferenceTable& table);

// What one pass paints on the canvas. Painting changes nothing the run computes.
struct PassDrawing {
    bool robot = false;  // without it the canvas keeps whatever was painted last
    bool beams = false;
    // The colours of a robot that began the pass in collision: highlighted or not. The
    // desktop program alternates them at its tick rate to blink it; a free robot, and
    // every robot of a front end without a clock, is drawn plain.
    bool collidingHighlighted = false;
};

// One running pass: Step, the collision test and count, DrawRobot (as drawing says),
// Sense(beams), ComputeCommand; by default nothing is painted. Returns UpdateCollision's
// answer: true when the robot was already in collision as the pass began (the passes
// the desktop window shakes).
bool RunPass(RobotSimulation& sim, const PassDrawing& drawing = {});

// The frame a front end shows or saves: the canvas laid over the arena by a per-byte
// AND, in a new image (the canvas keeps only what the pass painted).
cv::Mat ComposeFrame(const RobotSimulation& sim);
