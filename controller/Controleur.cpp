#include "Controleur.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "AccesRobot.h"
#include "ArretDemande.h"
#include "Clavier.h"
#include "CommandeRobot.h"
#include "FichierTableSituations.h"
#include "Inferences_S1_a_S8.h"
#include "LectureID.h"
#include "LigneEtat.h"
#include "PaquetsDemandes.h"
#include "RS232.h"
#include "SignauxArret.h"
#include "VariablesFloues.h"
#include "iRobotSpecification.h"
#include "thread.h"

namespace {
constexpr int portRobot = 1;
// Nothing new can be inferred before the next sensor frame, so the loop sends one command
// per frame rather than flooding the line; the keyboard and the link's health get a look
// this often while the robot is silent.
constexpr int attenteTrameMaxMs = 50;

bool OuvrirPort(const char* peripherique)
{
    if (peripherique) {
        std::printf("Ouverture et configuration du port %s...\r\n", peripherique);
        return OpenCOMDevice(peripherique);
    }
    std::printf("Ouverture et configuration du port COM%d...\r\n", portRobot);
    return OpenCOM(portRobot);
}

void AttendreTrameSuivante()
{
    const unsigned long dejaRecues = CompteursReception().acceptees;
    const int limite = HorlogeMs() + attenteTrameMaxMs;
    while (CompteursReception().acceptees == dejaRecues && HorlogeMs() < limite && !ArretDemande() && !LignePerdue()) {
        hEvent_RX.WaitFor(attenteTrameMaxMs);
    }
}

const char* NomMode(unsigned mode)
{
    const char* nom = mode <= 255 ? oi::ModeName(static_cast<oi::Mode>(mode)) : nullptr;
    return nom ? nom : "inconnu";
}

const char* CausesProbables(unsigned mode)
{
    switch (static_cast<oi::Mode>(mode)) {
    case oi::Mode::Passive:
        return "vide détecté sous le robot (marche, bord de table), roue soulevée ou chargeur branché";
    case oi::Mode::Off:
        return "robot éteint ou batterie vide";
    default:
        return "une autre commande a changé son mode";
    }
}

// Stops the wheels and carries the suspension out; control resumes on SIGCONT.
void Suspendre(ModeClavier& clavier)
{
    const bool arrete = DrivePWM(0, 0);
    clavier.Restaurer();
    std::fprintf(stderr, "\nSuspendu : %s ; « fg » pour reprendre.\n",
                 arrete ? "roues arrêtées" : "l'arrêt des roues n'a pas pu être envoyé");
    std::fflush(stdout);
    SuspendreJusquAReprise();
    clavier.Reprendre();
    std::fprintf(stderr, "Reprise du pilotage.\n");
}

// The run until a key, a signal or a fault; returns the exit code. The robot keeps its
// last Drive PWM whatever happens to the controller, so every fault ends in stopped wheels.
int PiloterJusquALArret(ModeClavier& clavier, const std::string& nomPort)
{
    // Moved on after a suspension, so the time the process was stopped does not count as
    // the robot's silence.
    int depuis = HorlogeMs();
    // Set while the wheels stand for want of fresh frames (silence, or a suspension).
    bool rouesArreteesFauteDeTrames = false;
    LigneEtat ligneEtat;
    for (;;) {
        if (SuspensionDemandee()) {
            Suspendre(clavier);
            depuis = HorlogeMs();
            rouesArreteesFauteDeTrames = true;
            continue;
        }
        if (ArretDemande()) return 0;
        if (const char* raison = LignePerdue()) {
            std::fprintf(stderr, "\nLiaison perdue avec le robot sur %s : %s.\n", nomPort.c_str(), raison);
            return codeLiaisonPerdue;
        }
        const CompteursTrames reception = CompteursReception();
        const int maintenant = HorlogeMs();
        if (reception.derniereTrameMs < 0) {
            if (maintenant - depuis >= silenceAbandonMs) {
                std::fprintf(stderr,
                             "\nLe robot n'envoie rien sur %s depuis %d s : vérifiez le câble, que le robot est "
                             "allumé et que la liaison est à 115200 bauds. Un robot laissé environ cinq minutes en "
                             "mode Passive s'endort et ne répond plus : aucune commande ne le réveille, appuyez sur "
                             "son bouton Clean ou marche.\n",
                             nomPort.c_str(), silenceAbandonMs / 1000);
                return codeRobotMuet;
            }
        } else if (maintenant - reception.derniereTrameMs >= silenceArretRouesMs) {
            if (!rouesArreteesFauteDeTrames) {
                const bool arrete = DrivePWM(0, 0);
                std::fprintf(stderr, "\nPlus aucune trame du robot depuis %d ms : %s.\n",
                             maintenant - reception.derniereTrameMs,
                             arrete ? "roues arrêtées" : "l'arrêt des roues n'a pas pu être envoyé");
                rouesArreteesFauteDeTrames = true;
            }
            if (maintenant - std::max(reception.derniereTrameMs, depuis) >= silenceAbandonMs) {
                std::fprintf(stderr, "\nPlus aucune trame du robot depuis %d s : arrêt.\n", silenceAbandonMs / 1000);
                return codeRobotMuet;
            }
        } else {
            if (rouesArreteesFauteDeTrames) {
                std::fprintf(stderr, "\nTrames du robot reçues : reprise du pilotage.\n");
                rouesArreteesFauteDeTrames = false;
            }
            dataSensor table[64];
            LireTableDonnees(table);
            const unsigned mode = ValeurPaquet(table, paquetModeOI);
            if (mode != static_cast<unsigned>(oi::Mode::Safe)) {
                std::fprintf(stderr,
                             "\nLe robot a quitté le mode Safe pour le mode %s (%u) : %s. Commandes arrêtées.\n",
                             NomMode(mode), mode, CausesProbables(mode));
                return codeModeQuitte;
            }
            ProbVitesseAngle();
            ligneEtat.Actualiser();
            CommandeRobot();
        }
        AttendreTrameSuivante();
    }
}

// Pause the stream, stop the wheels, then Start again: back in Passive mode the robot
// can sleep and charge, where Safe mode would drain its battery even on the dock. The
// thread is joined before the port closes, so it never reads a closed port or writes a
// closed log.
void ArreterRobot()
{
    StreamMarcheArret(0);
    const bool arrete = DrivePWM(0, 0);
    RetourModePassif();
    ArreterThreadRX();
    CloseCOM();
    std::printf("\nLiberation Threads...\n");
    FreeThreadsRX();
    std::printf("...OK\n");
    std::fflush(stdout);
    if (!arrete)
        std::fprintf(stderr,
                     "Attention : l'arrêt des roues n'a pas pu être envoyé, le robot roule peut-être encore.\n");
    const CompteursTrames bilan = CompteursReception();
    std::fprintf(stderr,
                 "Liaison : %lu trame(s) acceptée(s), %lu refusée(s), %lu octet(s) écarté(s), plus long "
                 "silence %d ms, %u commande(s) non envoyée(s).\n",
                 bilan.acceptees, bilan.refusees, bilan.octetsEcartes, bilan.plusLongSilenceMs, CommandesNonEnvoyees());
}
}  // namespace

int ExecuterControleur(const OptionsTrundel& options)
{
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

    if (!OuvrirPort(options.peripherique)) return codeLiaisonPerdue;
    std::printf("...OK\r\n");
    std::printf("Creation Threads...\n");
    CreateThreadsRX();
    std::printf("...OK\n");
    InitRobot();
    InitTableauID();
    CasCapteursIR();
    if (options.fichierTable) AppliquerTableSituations(tableFichier);
    Stream(static_cast<unsigned>(paquetsDemandes.size()), paquetsDemandes.data());
    // The robot may still be driving from an earlier run; nothing else is sent before a
    // frame has shown what it sees.
    DrivePWM(0, 0);

    const std::string nomPort = options.peripherique ? options.peripherique : "COM" + std::to_string(portRobot);
    const int code = PiloterJusquALArret(clavier, nomPort);
    ViderEntree();
    ArreterRobot();
    return code;
}
