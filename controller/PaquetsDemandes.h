#pragma once
#include <array>

#include "OpenInterface.h"

// What the controller reads of each frame; the stream request is made of exactly these,
// so a packet read here is never one the robot was not asked for.

// The turns and the trajectory log.
constexpr int paquetCodeurGauche = oi::packet::LeftEncoderCounts;
constexpr int paquetCodeurDroit = oi::packet::RightEncoderCounts;

// The inference: the two light bumps summed into each group, left, centre, right.
constexpr int paquetsDuGroupe[3][2] = {{46, 47}, {48, 49}, {50, 51}};
static_assert(paquetsDuGroupe[0][0] == oi::packet::LightBumpLeftSignal &&
              paquetsDuGroupe[2][1] == oi::packet::LightBumpRightSignal);

// The watchdog: the robot's own mode, and the battery for the status line.
constexpr int paquetModeOI = oi::packet::OiMode;
constexpr int paquetChargeBatterie = oi::packet::BatteryCharge;
constexpr int paquetCapaciteBatterie = oi::packet::BatteryCapacity;

constexpr std::array<unsigned, 11> paquetsDemandes = {
    paquetCodeurGauche,    paquetCodeurDroit,     paquetsDuGroupe[0][0],  paquetsDuGroupe[0][1],
    paquetsDuGroupe[1][0], paquetsDuGroupe[1][1], paquetsDuGroupe[2][0],  paquetsDuGroupe[2][1],
    paquetModeOI,          paquetChargeBatterie,  paquetCapaciteBatterie,
};
