#pragma once
#include "EmulatedRobot.h"
#include "FichierTableSituations.h"
#include "Room.h"
#include "RunTally.h"

#include <cstddef>

// Trundel's own decision code (the fuzzy inference on the light bumps, the turn measured
// by the encoders, the turn's watchdog) driving the emulated body through a room, in
// simulated time, as it drives a robot that streams a frame every 15 ms: the controller's
// loop waits for each frame, and a turn reads the encoders at every pass of the reception
// thread, one a millisecond, most of which bring no new frame. The controller answers
// within the millisecond, as it does on an idle machine. Nothing waits for real time, so
// a minute runs in a fraction of a second.
//
// The decision code keeps its state in globals and reaches the robot through
// `accesRobot`: one drive at a time in a process. Parallel drives run in processes of
// their own (WorkerProcesses.h).

struct DriveFigures {
    emulator::RunTally tally;
    double coverage = 0;  // FloorCoverage's share
    std::size_t frames = 0;
    std::size_t commands = 0;  // Drive PWM commands the controller sent
};

constexpr int kFramePeriodMs = 15;
constexpr int kReadPassMs = 1;  // the reception thread polls the line this often

DriveFigures SimulateDrive(const TableSituations& table, const emulator::Room& room, const emulator::Pose& start,
                           double seconds);
