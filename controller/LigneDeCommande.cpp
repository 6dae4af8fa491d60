#include "LigneDeCommande.h"

#include <cstring>

bool AnalyserLigneDeCommande(int argc, const char* const argv[], OptionsTrundel& options, std::string& erreur)
{
    OptionsTrundel lues;
    for (int i = 1; i < argc; i++) {
        const char* argument = argv[i];
        if (std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0) {
            lues.aide = true;
        } else if (std::strcmp(argument, "--version") == 0) {
            lues.version = true;
        } else if (std::strcmp(argument, "--table") == 0) {
            if (i + 1 >= argc) {
                erreur = "--table attend un nom de fichier";
                return false;
            }
            if (lues.fichierTable) {
                erreur = "--table donné deux fois";
                return false;
            }
            lues.fichierTable = argv[++i];
        } else if (argument[0] == '-' && argument[1] != '\0') {
            erreur = std::string("option inconnue : ") + argument;
            return false;
        } else if (lues.peripherique) {
            erreur = std::string("un seul périphérique attendu, en trop : ") + argument;
            return false;
        } else {
            lues.peripherique = argument;
        }
    }
    options = lues;
    return true;
}

void AfficherAide(FILE* sortie)
{
    std::fputs("Usage : trundel [--table FICHIER] [PÉRIPHÉRIQUE]\n"
               "        trundel --help\n"
               "\n"
               "Pilote un Roomba par sa liaison série : évitement d'obstacles par logique floue\n"
               "sur les capteurs de proximité, jusqu'à l'appui d'une touche (ou Ctrl-C).\n"
               "\n"
               "  PÉRIPHÉRIQUE      liaison série du robot (défaut : port COM1, /dev/ttyS0),\n"
               "                    par exemple /dev/ttyUSB0\n"
               "  --table FICHIER   table des situations : huit lignes \"vitesse angle\",\n"
               "                    situations k = 0 à 7 (bit 0 : obstacle à gauche, bit 1 : au\n"
               "                    centre, bit 2 : à droite) ; défaut : toutes à 0, robot immobile\n"
               "  --help            affiche cette aide\n"
               "  --version         affiche la version\n"
               "\n"
               "Codes de sortie : 0 arrêt normal (touche, Ctrl-C, Ctrl-\\, signal), 2 ligne de\n"
               "commande ou table incorrecte, 3 le robot a quitté le mode Safe (vide, roue\n"
               "soulevée, chargeur), 4 le robot n'envoie plus rien, 255 port inutilisable ou perdu.\n"
               "Ctrl-Z arrête les roues avant de suspendre le programme.\n",
               sortie);
}
