#include "LigneEtat.h"

#include <cstdio>
#include <unistd.h>

#include "LectureID.h"
#include "PaquetsDemandes.h"
#include "VariablesFloues.h"
#include "thread.h"

namespace {
constexpr int intervalleMs = 100;

const char* NomModeCourt(unsigned mode)
{
    static const char* const noms[] = {"Off", "Passive", "Safe", "Full"};
    return mode < 4 ? noms[mode] : "?";
}

int SituationGagnante()
{
    int gagnante = 0;
    for (int k = 1; k < 8; k++)
        if (Truth[k] > Truth[gagnante]) gagnante = k;
    return gagnante;
}
}  // namespace

LigneEtat::LigneEtat() : terminal_(isatty(STDOUT_FILENO) != 0) {}

void LigneEtat::Actualiser()
{
    if (!terminal_) return;
    const int maintenant = HorlogeMs();
    if (derniereMs_ >= 0 && maintenant - derniereMs_ < intervalleMs) return;
    const CompteursTrames reception = CompteursReception();
    const double parSeconde =
        derniereMs_ < 0 ? 0.0 : (reception.acceptees - acceptees_) * 1000.0 / (maintenant - derniereMs_);
    derniereMs_ = maintenant;
    acceptees_ = reception.acceptees;

    dataSensor table[64];
    LireTableDonnees(table);
    const unsigned charge = ValeurPaquet(table, paquetChargeBatterie);
    const unsigned capacite = ValeurPaquet(table, paquetCapaciteBatterie);
    unsigned groupes[3];
    for (int g = 0; g < 3; g++)
        groupes[g] = ValeurPaquet(table, paquetsDuGroupe[g][0]) + ValeurPaquet(table, paquetsDuGroupe[g][1]);
    char batterie[16] = "?";
    if (capacite > 0) std::snprintf(batterie, sizeof batterie, "%u %%", charge * 100 / capacite);
    // Padded so that a shorter line wipes out the end of a longer one.
    std::printf("\r%-7s bat %-5s G %5u %.2f C %5u %.2f D %5u %.2f k=%d v %4d a %4d %3.0f tr/s %lu ref   ",
                NomModeCourt(ValeurPaquet(table, paquetModeOI)), batterie, groupes[0], Prob[0], groupes[1], Prob[1],
                groupes[2], Prob[2], SituationGagnante(), vitesse, angle, parSeconde, reception.refusees);
    std::fflush(stdout);
}
