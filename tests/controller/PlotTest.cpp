// trundel-plot: the path rebuilt from encoder counts, and the program that draws it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

#include <opencv2/imgcodecs.hpp>

#include "DessinTrajet.h"
#include "TrajetCodeurs.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kMmParCoup = kPi * 72.0 / 508.8;

std::vector<PointTrajet> Trajet(std::vector<LectureCodeurs> lectures)
{
    return ReconstruireTrajet(lectures);
}

TEST(ReconstruireTrajet, StraightAheadThenASpinOnTheSpot)
{
    const auto trajet = Trajet({{0, 100, 200}, {15, 600, 700}, {30, 500, 800}});
    ASSERT_EQ(trajet.size(), 3u);
    EXPECT_DOUBLE_EQ(trajet[0].xMm, 0.0);
    EXPECT_NEAR(trajet[1].xMm, 500 * kMmParCoup, 1e-9);
    EXPECT_NEAR(trajet[1].yMm, 0.0, 1e-9);
    // Left back 100, right on 100: a spin to the left, the centre stays.
    EXPECT_NEAR(trajet[2].xMm, trajet[1].xMm, 1e-9);
    EXPECT_NEAR(trajet[2].yMm, 0.0, 1e-9);
    EXPECT_NEAR(trajet[2].capRad, 200 * kMmParCoup / 235.0, 1e-12);
}

TEST(ReconstruireTrajet, CountersRollingOverEitherWayAreSmallSteps)
{
    // Forward across 65535 -> 0 on both wheels, then back across it.
    const auto trajet = Trajet({{0, 65530, 65530}, {15, 10, 10}, {30, 65533, 65533}});
    EXPECT_NEAR(trajet[1].xMm, 16 * kMmParCoup, 1e-9);
    EXPECT_NEAR(trajet[2].xMm, 3 * kMmParCoup, 1e-9);
    EXPECT_NEAR(trajet[2].capRad, 0.0, 1e-12);
    EXPECT_NEAR(LongueurTrajet(trajet), 29 * kMmParCoup, 1e-9);
}

TEST(ReconstruireTrajet, AFullTurnOnTheSpotComesBackToTheStartHeading)
{
    // One full turn: each wheel travels the circle of the wheel base, pi * 235.
    const unsigned coups = static_cast<unsigned>(std::lround(kPi * 235.0 / kMmParCoup));
    std::vector<LectureCodeurs> lectures;
    for (unsigned i = 0; i <= 100; i++) lectures.push_back({0, 1000 - coups * i / 100, 1000 + coups * i / 100});
    const auto trajet = Trajet(lectures);
    EXPECT_NEAR(trajet.back().capRad, 2 * kPi, 0.01);
    EXPECT_NEAR(std::hypot(trajet.back().xMm, trajet.back().yMm), 0.0, 1e-6);
}

TEST(LireJournalParcours, TakesTheLogsLinesAndNamesTheFirstBadOne)
{
    std::istringstream bon("     13  58564  61615\n     28  58573  61624\n");
    std::vector<LectureCodeurs> lectures;
    std::string erreur;
    ASSERT_TRUE(LireJournalParcours(bon, lectures, erreur)) << erreur;
    ASSERT_EQ(lectures.size(), 2u);
    EXPECT_EQ(lectures[1].tempsMs, 28);
    EXPECT_EQ(lectures[1].gauche, 58573u);
    EXPECT_EQ(lectures[1].droite, 61624u);

    for (const char* mauvais :
         {"  1 2 3\n  4 5\n", "  1 2 3\n  4 5 65536\n", "  1 2 3\n  4 5 6 7\n", "1 2 3\nx 5 6\n"}) {
        std::istringstream journal(mauvais);
        std::vector<LectureCodeurs> gardees = lectures;
        EXPECT_FALSE(LireJournalParcours(journal, gardees, erreur)) << mauvais;
        EXPECT_NE(erreur.find("ligne 2"), std::string::npos) << erreur;
        EXPECT_EQ(gardees.size(), 2u) << "left untouched";
    }
}

TEST(LireJournalParcours, RefusesWhatCannotBeALogLineWithoutReadingItWholeOrQuotingItRaw)
{
    std::vector<LectureCodeurs> lectures;
    std::string erreur;
    std::istringstream sansFinDeLigne("  1 2 3\n  4 5 6");
    ASSERT_TRUE(LireJournalParcours(sansFinDeLigne, lectures, erreur)) << erreur;
    EXPECT_EQ(lectures.size(), 2u);

    // A file that is not a log, one line of a megabyte: refused at its line, quoted short.
    std::istringstream enorme("  1 2 3\n" + std::string(1 << 20, '7') + "\n");
    EXPECT_FALSE(LireJournalParcours(enorme, lectures, erreur));
    EXPECT_NE(erreur.find("ligne 2 trop longue"), std::string::npos) << erreur;
    EXPECT_LT(erreur.size(), 200u);

    std::istringstream controle("  1 2 3\n\x1b[2J 5 6\n");
    EXPECT_FALSE(LireJournalParcours(controle, lectures, erreur));
    EXPECT_NE(erreur.find("\\x1b[2J"), std::string::npos) << erreur;
    EXPECT_EQ(erreur.find('\x1b'), std::string::npos) << "a raw escape reached the message";
}

TEST(DessinTrajet, ScaleBarIsARoundNumberOfMillimetres)
{
    EXPECT_EQ(LongueurEchelleMm(700), 500);
    EXPECT_EQ(LongueurEchelleMm(1999), 1000);
    EXPECT_EQ(LongueurEchelleMm(2000), 2000);
    EXPECT_EQ(LongueurEchelleMm(0.5), 1);
}

class TrundelPlot : public ::testing::Test {
protected:
    void SetUp() override
    {
        dossier_ = std::filesystem::temp_directory_path() / ("trundel_plot_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dossier_);
    }
    void TearDown() override { std::filesystem::remove_all(dossier_); }
    int Lancer(const std::string& arguments)
    {
        const std::string commande = std::string("cd '") + dossier_.string() + "' && '" + TRUNDEL_PLOT_PROGRAMME +
                                     "' " + arguments + " >sortie 2>erreurs";
        const int etat = std::system(commande.c_str());
        return WIFEXITED(etat) ? WEXITSTATUS(etat) : -1;
    }
    std::string Lire(const std::string& nom)
    {
        std::ifstream entree(dossier_ / nom);
        std::ostringstream contenu;
        contenu << entree.rdbuf();
        return contenu.str();
    }
    std::filesystem::path dossier_;
};

TEST_F(TrundelPlot, DrawsTheLogBesideItAndMarksStartAndEnd)
{
    std::ofstream(dossier_ / "Parcours_CodeBlocks.txt") << "     13   1000   1000\n     28   4000   4000\n";
    ASSERT_EQ(Lancer("Parcours_CodeBlocks.txt"), 0) << Lire("erreurs");
    const cv::Mat image = cv::imread((dossier_ / "Parcours_CodeBlocks.png").string());
    ASSERT_FALSE(image.empty());
    EXPECT_EQ(image.cols, 800);
    EXPECT_EQ(image.rows, 800);
    // A straight run east of 1333 mm, filling the width between the margins: the start
    // on the left (green), the end on the right (red).
    const cv::Vec3b depart = image.at<cv::Vec3b>(400, 50);
    const cv::Vec3b arrivee = image.at<cv::Vec3b>(400, 750);
    EXPECT_GT(depart[1], 150);
    EXPECT_LT(depart[2], 50);
    EXPECT_GT(arrivee[2], 200);
    EXPECT_LT(arrivee[1], 50);
    EXPECT_NE(Lire("sortie").find("2 lectures"), std::string::npos) << Lire("sortie");
}

TEST_F(TrundelPlot, ABadLogLeavesAnEarlierPictureAlone)
{
    std::ofstream(dossier_ / "journal.txt") << "  1 2 3\nnot a line\n";
    std::ofstream(dossier_ / "image.png") << "earlier";
    EXPECT_EQ(Lancer("journal.txt --out image.png"), 2);
    EXPECT_NE(Lire("erreurs").find("ligne 2"), std::string::npos) << Lire("erreurs");
    EXPECT_EQ(Lire("image.png"), "earlier");
    EXPECT_EQ(Lancer("absent.txt"), 1);
    std::ofstream(dossier_ / "vide.txt");
    EXPECT_EQ(Lancer("vide.txt"), 2);
    EXPECT_EQ(Lancer(""), 2);
    EXPECT_EQ(Lancer("--help"), 0);
    EXPECT_EQ(Lancer("--version"), 0);
    EXPECT_EQ(Lire("sortie").rfind("trundel-plot ", 0), 0u) << Lire("sortie");
}

}  // namespace
