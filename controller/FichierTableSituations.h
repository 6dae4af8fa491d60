#pragma once
#include <cstdio>
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

// On failure the table is left untouched and erreur says what and where. A NUL or a
// control byte other than tab, CR and LF is refused with its line.
bool LireTableSituations(const char* chemin, TableSituations& table, std::string& erreur);
// The same from a stream already open, read to its end; chemin only names it in erreur.
bool LireTableSituations(FILE* fichierTable, const char* chemin, TableSituations& table, std::string& erreur);
// Replaces DefVitesse and DefAngle.
void AppliquerTableSituations(const TableSituations& table);
