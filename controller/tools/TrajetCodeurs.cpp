#include "TrajetCodeurs.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <sstream>
#include <string_view>

#include "common/PrintableText.h"

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr double kCoupsParTour = 508.8;
constexpr double kDiametreRoueMm = 72.0;
constexpr double kEntraxeMm = 235.0;
constexpr double kMmParCoup = kPi * kDiametreRoueMm / kCoupsParTour;
// A log line is " %6d %6d %6d": some twenty bytes, a few more for a long run's times.
constexpr std::size_t kLigneMax = 128;

double Avance(unsigned avant, unsigned apres)
{
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(apres - avant)) * kMmParCoup;
}
}  // namespace

bool LireJournalParcours(std::istream& journal, std::vector<LectureCodeurs>& lectures, std::string& erreur)
{
    std::vector<LectureCodeurs> lues;
    char ligne[kLigneMax];
    for (int numero = 1;; numero++) {
        journal.getline(ligne, sizeof ligne);
        if (journal.gcount() == 0 && journal.eof()) break;
        // Read no further than a line can be: a file that is not a log must not be
        // swallowed whole into one line, nor quoted whole in the message.
        if (journal.fail() && !journal.eof()) {
            erreur = "ligne " + std::to_string(numero) + " trop longue pour un journal : « " +
                     PrintableText(std::string_view(ligne, std::strlen(ligne))) + "… »";
            return false;
        }
        std::istringstream champs(ligne);
        long temps = 0, gauche = 0, droite = 0;
        std::string reste;
        if (!(champs >> temps >> gauche >> droite) || (champs >> reste) || gauche < 0 || gauche > 65535 || droite < 0 ||
            droite > 65535) {
            erreur = "ligne " + std::to_string(numero) + " illisible : « " + PrintableText(ligne) + " »";
            return false;
        }
        lues.push_back(
            LectureCodeurs{static_cast<int>(temps), static_cast<unsigned>(gauche), static_cast<unsigned>(droite)});
        if (journal.eof()) break;
    }
    lectures = std::move(lues);
    return true;
}

std::vector<PointTrajet> ReconstruireTrajet(const std::vector<LectureCodeurs>& lectures)
{
    std::vector<PointTrajet> trajet;
    if (lectures.empty()) return trajet;
    PointTrajet point{0, 0, 0};
    trajet.push_back(point);
    for (std::size_t i = 1; i < lectures.size(); i++) {
        const double gauche = Avance(lectures[i - 1].gauche, lectures[i].gauche);
        const double droite = Avance(lectures[i - 1].droite, lectures[i].droite);
        const double avance = (gauche + droite) / 2;
        const double rotation = (droite - gauche) / kEntraxeMm;
        // Along the mean heading of the step: exact for a straight step and for a spin.
        const double capMoyen = point.capRad + rotation / 2;
        point.xMm += avance * std::cos(capMoyen);
        point.yMm += avance * std::sin(capMoyen);
        point.capRad += rotation;
        trajet.push_back(point);
    }
    return trajet;
}

double LongueurTrajet(const std::vector<PointTrajet>& trajet)
{
    double longueur = 0;
    for (std::size_t i = 1; i < trajet.size(); i++)
        longueur += std::hypot(trajet[i].xMm - trajet[i - 1].xMm, trajet[i].yMm - trajet[i - 1].yMm);
    return longueur;
}
