// trundel-plot: the path of a Trundel run, rebuilt from its trajectory log, as a picture.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include <opencv2/imgcodecs.hpp>

#include "DessinTrajet.h"
#include "TrajetCodeurs.h"
#include "common/AtomicFile.h"
#include "common/ProgramVersion.h"

namespace {
const char* const kUsage = "Usage : trundel-plot JOURNAL [--out FICHIER.png]\n"
                           "        trundel-plot --help | --version\n"
                           "Redessine le parcours du robot à partir du journal des codeurs de trundel\n"
                           "(Parcours_CodeBlocks.txt) : départ en vert, arrivée en rouge, échelle en mm.\n"
                           "Par défaut l'image est écrite à côté du journal, avec l'extension .png.\n";

std::string ImageParDefaut(const std::string& journal)
{
    const std::size_t point = journal.find_last_of('.');
    const std::size_t barre = journal.find_last_of('/');
    const bool extension = point != std::string::npos && (barre == std::string::npos || point > barre);
    return (extension ? journal.substr(0, point) : journal) + ".png";
}

bool Ecrire(const std::string& chemin, const cv::Mat& image, std::string& erreur)
{
    AtomicFile fichier(chemin);
    if (!fichier.IsOpen()) {
        erreur = fichier.Error();
        return false;
    }
    bool ecrite = false;
    try {
        ecrite = cv::imwrite(fichier.TemporaryPath(), image);
    } catch (const cv::Exception& e) {
        erreur = e.what();
    }
    if (!ecrite) {
        if (erreur.empty()) erreur = "format d'image inconnu ou écriture impossible";
        return false;
    }
    if (!fichier.Commit()) {
        erreur = fichier.Error();
        return false;
    }
    return true;
}
}  // namespace

int main(int argc, char** argv)
{
    std::string journal;
    std::string sortie;
    for (int i = 1; i < argc; i++) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::fputs(VersionLine("trundel-plot").c_str(), stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--out") == 0 && i + 1 < argc && sortie.empty()) {
            sortie = argv[++i];
        } else if (argv[i][0] != '-' && journal.empty()) {
            journal = argv[i];
        } else {
            std::fprintf(stderr, "trundel-plot : argument inattendu : %s\n%s", argv[i], kUsage);
            return 2;
        }
    }
    if (journal.empty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (sortie.empty()) sortie = ImageParDefaut(journal);

    std::ifstream entree(journal);
    if (!entree) {
        std::fprintf(stderr, "trundel-plot : impossible de lire %s : %s\n", journal.c_str(), std::strerror(errno));
        return 1;
    }
    std::vector<LectureCodeurs> lectures;
    std::string erreur;
    if (!LireJournalParcours(entree, lectures, erreur)) {
        std::fprintf(stderr, "trundel-plot : %s : %s\n", journal.c_str(), erreur.c_str());
        return 2;
    }
    if (lectures.empty()) {
        std::fprintf(stderr, "trundel-plot : %s : journal vide, aucun parcours à dessiner\n", journal.c_str());
        return 2;
    }
    const std::vector<PointTrajet> trajet = ReconstruireTrajet(lectures);
    if (!Ecrire(sortie, DessinerTrajet(trajet), erreur)) {
        std::fprintf(stderr, "trundel-plot : %s : %s\n", sortie.c_str(), erreur.c_str());
        return 1;
    }
    const PointTrajet& fin = trajet.back();
    std::printf("%zu lectures, %.0f mm parcourus, arrivée à (%.0f, %.0f) mm du départ : %s\n", lectures.size(),
                LongueurTrajet(trajet), fin.xMm, fin.yMm, sortie.c_str());
    return 0;
}
