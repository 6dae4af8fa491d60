#include "Controleur.h"

#include <cstdio>
#include <string>

#include "AccesRobot.h"
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
// Nothing new can be inferred before the next read pass; bounded so a silent robot
// still lets the loop look at the keyboard.
constexpr int attenteLectureMs = 50;

bool OuvrirPort(const char* peripherique) {
    if (peripherique) {
        std::printf("Ouverture et configuration du port %s...\r\n", peripherique);
        return OpenCOMDevice(peripherique);
    }
    std::printf("Ouverture et configuration du port COM%d...\r\n", portRobot);
    return OpenCOM(portRobot);
}

void PiloterJusquALArret() {
    while (!ArretDemande()) {
        ProbVitesseAngle();
        CommandeRobot();
        accesRobot.attendreLecture(attenteLectureMs);
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
}
}  // namespace

int ExecuterControleur(const OptionsTrundel& options) {
    TableSituations tableFichier;
    if (options.fichierTable) {
        std::string erreur;
        if (!LireTableSituations(options.fichierTable, tableFichier, erreur)) {
            std::fprintf(stderr, "Table des situations refusee : %s\n", erreur.c_str());
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
