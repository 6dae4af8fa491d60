#pragma once
#include <string>

// A situation table kept in a text file: eight lines "vitesse angle", situation k = 0..7
// in order (bit 0: left blocked, bit 1: centre, bit 2: right). '#' starts a comment;
// blank lines are ignored.
struct TableSituations {
    int vitesse[8];
    int angle[8];
};

constexpr int vitesseMax = 255;  // the robot's wheel duty range is -255..255
constexpr int angleMax = 360;

// On failure the table is left untouched and erreur says what and where.
bool LireTableSituations(const char* chemin, TableSituations& table, std::string& erreur);
// Replaces DefVitesse and DefAngle.
void AppliquerTableSituations(const TableSituations& table);
