#include <cstdio>
#include <string>

#include "Controleur.h"
#include "LigneDeCommande.h"
#include "common/ProgramVersion.h"

int main(int argc, char* argv[])
{
    OptionsTrundel options;
    std::string erreur;
    if (!AnalyserLigneDeCommande(argc, argv, options, erreur)) {
        std::fprintf(stderr, "trundel : %s\n", erreur.c_str());
        AfficherAide(stderr);
        return codeUsageIncorrect;
    }
    if (options.aide) {
        AfficherAide(stdout);
        return 0;
    }
    if (options.version) {
        std::fputs(VersionLine("trundel").c_str(), stdout);
        return 0;
    }
    return ExecuterControleur(options);
}
