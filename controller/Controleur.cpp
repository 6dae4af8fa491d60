#include "Controleur.h"

#include <cstdio>
#include <string>

#include "ArretDemande.h"
#include "Clavier.h"
#include "CommandeRobot.h"
#include "FichierTableSituations.h"
#include "Inferences_S1_a_S8.h"
#include "LectureID.h"
#include "RS232.h"
#include "SignauxArret.h"
#include "VariablesFloues.h"
#include "iRobotSpecification.h"
#include "thread.h"

namespace {
constexpr int portRobot = 1;
// Encoder counts left and right, then the light bumps Front Left .. Front Right.
unsigned paquetsDemandes[6] = {43, 44, 47, 48, 49, 50};
// Nothing new can be inferred before the next sensor frame, so the loop sends one command
// per frame rather than flooding the line; a silent robot still gets a stop command and
// the keyboard a look this often.
constexpr int attenteTrameMaxMs = 50;

bool OuvrirPort(const char* peripherique) {
    if (peripherique) {
        std::printf("Ouverture et configuration du port %s...\r\n", peripherique);
        return OpenCOMDevice(peripherique);
    }
    std::printf("Ouverture et configuration du port COM%d...\r\n", portRobot);
    return OpenCOM(portRobot);
}

void AttendreTrameSuivante() {
    const unsigned long dejaRecues = CompteursReception().acceptees;
    const int limite = HorlogeMs() + attenteTrameMaxMs;
    while (CompteursReception().acceptees == dejaRecues && HorlogeMs() < limite && !ArretDemande()) {
        hEvent_RX.WaitFor(attenteTrameMaxMs);
    }
}

void PiloterJusquALArret() {
    while (!ArretDemande()) {
        ProbVitesseAngle();
        CommandeRobot();
        AttendreTrameSuivante();
    }
    ViderEntree();
}

// The thread is joined before the port closes, so it never reads a closed port or
// writes a closed log.
void ArreterRobot() {
    StreamMarcheArret(0);
    DrivePWM(0, 0);
    ArreterThreadRX();
    CloseCOM();
    std::printf("\nLiberation Threads...\n");
    FreeThreadsRX();
    std::printf("...OK\n");
    if (const unsigned perdues = CommandesNonEnvoyees()) {
        std::fprintf(stderr, "Attention : %u commande(s) n'ont pas pu être envoyées au robot\n", perdues);
    }
}
}  // namespace

int ExecuterControleur(const OptionsTrundel& options) {
    TableSituations tableFichier;
    if (options.fichierTable) {
        std::string erreur;
        if (!LireTableSituations(options.fichierTable, tableFichier, erreur)) {
            std::fprintf(stderr, "Table des situations refusée : %s\n", erreur.c_str());
            return codeUsageIncorrect;
        }
    }
    InstallerSignauxArret();
    ModeClavier clavier;

    if (!OuvrirPort(options.peripherique)) return -1;
    std::printf("...OK\r\n");
    std::printf("Creation Threads...\n");
    CreateThreadsRX();
    std::printf("...OK\n");
    InitRobot();
    InitTableauID();
    CasCapteursIR();
    if (options.fichierTable) AppliquerTableSituations(tableFichier);
    Stream(6, paquetsDemandes);

    PiloterJusquALArret();
    ArreterRobot();
    return 0;
}
