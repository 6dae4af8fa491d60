#pragma once
#include "InferenceTable.h"
#include "RobotSimulation.h"

// What every front end (desktop run loop, headless runner, tuner) does the same way.

// The set-up of a simulation start, in order: robot geometry (15, 10, 5), a new arena
// (polygon radius 10, 12 obstacles), the start pose (rear axle at the image's centre,
// heading up, no steering), the controller from the table (60 beams per sector, ramp
// from the robot's radius); then the run's odometer and collision count are zeroed.
void PrepareRun(RobotSimulation& sim, const InferenceTable& table);

// One running pass without a display: Step, the collision test and count, DrawRobot
// (only when drawRobot is set), Sense(beams), ComputeCommand.
void RunPass(RobotSimulation& sim, bool drawRobot, bool beams);
