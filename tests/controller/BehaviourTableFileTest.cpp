#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "FichierTableSituations.h"
#include "Inferences_S1_a_S8.h"
#include "LigneDeCommande.h"

namespace {

class FichierTable : public ::testing::Test {
protected:
    void TearDown() override { std::filesystem::remove(chemin); }
    bool Lire(const std::string& contenu)
    {
        std::ofstream(chemin) << contenu;
        return LireTableSituations(chemin.c_str(), table, erreur);
    }
    const std::string chemin =
        (std::filesystem::temp_directory_path() / ("trundel_table_" + std::to_string(::getpid()) + ".txt")).string();
    TableSituations table{};
    std::string erreur;
};

TEST_F(FichierTable, EightLinesInSituationOrderWithCommentsAndBlankLines)
{
    ASSERT_TRUE(Lire("# k vitesse angle\n"
                     "60 0\n"
                     "40 -30\n\n"
                     "  40 90\r\n"
                     "30\t-60\n"
                     "40 30 # right blocked\n"
                     "40 -45\n"
                     "30 120\n"
                     "-255 255"))
        << erreur;
    const int vitesses[8] = {60, 40, 40, 30, 40, 40, 30, -255};
    const int angles[8] = {0, -30, 90, -60, 30, -45, 120, 255};
    for (int k = 0; k < 8; k++) {
        EXPECT_EQ(table.vitesse[k], vitesses[k]) << k;
        EXPECT_EQ(table.angle[k], angles[k]) << k;
    }
    CasCapteursIR();
    AppliquerTableSituations(table);
    EXPECT_EQ(DefVitesse[7], -255);
    EXPECT_EQ(DefAngle[2], 90);
    CasCapteursIR();
}

TEST_F(FichierTable, MalformedFilesAreRefusedWholeAndSayWhere)
{
    const std::string huit = "1 1\n2 2\n3 3\n4 4\n5 5\n6 6\n7 7\n";
    const struct {
        std::string contenu;
        std::string attendu;
    } cas[] = {
        {huit, "7 situation(s)"},
        {huit + "8 8\n9 9\n", "ligne 9"},
        {huit + "8\n", "ligne 8"},
        {huit + "8 8 8\n", "ligne 8"},
        {huit + "8 huit\n", "ligne 8"},
        {huit + "8.5 8\n", "ligne 8"},
        {huit + "256 0\n", "vitesse"},
        {huit + "0 -361\n", "angle"},
        {huit + "99999999999999999999 0\n", "ligne 8"},
        {huit + std::string(300, ' ') + "8 8\n", "trop longue"},
        {"", "0 situation(s)"},
    };
    for (const auto& c : cas) {
        table = TableSituations{};
        table.vitesse[0] = 42;
        erreur.clear();
        EXPECT_FALSE(Lire(c.contenu)) << c.contenu;
        EXPECT_NE(erreur.find(c.attendu), std::string::npos) << erreur;
        EXPECT_EQ(table.vitesse[0], 42) << "the table must stay untouched";
    }
}

TEST_F(FichierTable, BytesThatAreNotTextAreRefusedWithTheirLineWhereverTheyAre)
{
    const std::string sept = "1 1\n2 2\n3 3\n4 4\n5 5\n6 6\n7 7\n";
    const std::string nul(1, '\0');
    const struct {
        std::string contenu;
        std::string ligne;
    } cas[] = {
        // The last line once passed: the NUL cut it to "150 0" and the garbage was never seen.
        {sept + "150 0" + nul + "garbage", "ligne 8 "},
        {sept + "150 0" + nul + "garbage\n", "ligne 8 "},
        // Mid-file the same bytes were called a line too long.
        {"1 1" + nul + "xx\n" + sept + "8 8\n", "ligne 1 "},
        {sept + "8 8 # commentaire \x01\n", "ligne 8 "},
        {sept + "\x1b[2J8 8\n", "ligne 8 "},
        {sept + "8 8\n\x7f\n", "ligne 9 "},
    };
    for (const auto& c : cas) {
        table = TableSituations{};
        erreur.clear();
        EXPECT_FALSE(Lire(c.contenu));
        EXPECT_NE(erreur.find(c.ligne + ": octet qui n'est pas du texte"), std::string::npos) << erreur;
    }
    // Tab and CR are the text's own.
    EXPECT_TRUE(Lire(sept + "8\t8\r\n")) << erreur;
}

TEST_F(FichierTable, MissingFileIsAnError)
{
    EXPECT_FALSE(LireTableSituations("/nonexistent/table.txt", table, erreur));
    EXPECT_NE(erreur.find("/nonexistent/table.txt"), std::string::npos) << erreur;
}

TEST(LigneDeCommande, DefaultsDeviceTableAndHelp)
{
    OptionsTrundel options;
    std::string erreur;
    const char* seul[] = {"trundel"};
    ASSERT_TRUE(AnalyserLigneDeCommande(1, seul, options, erreur));
    EXPECT_EQ(options.peripherique, nullptr);
    EXPECT_EQ(options.fichierTable, nullptr);
    EXPECT_FALSE(options.aide);

    const char* complet[] = {"trundel", "--table", "t.txt", "/dev/ttyUSB0"};
    ASSERT_TRUE(AnalyserLigneDeCommande(4, complet, options, erreur));
    EXPECT_STREQ(options.peripherique, "/dev/ttyUSB0");
    EXPECT_STREQ(options.fichierTable, "t.txt");

    const char* aide[] = {"trundel", "--help"};
    ASSERT_TRUE(AnalyserLigneDeCommande(2, aide, options, erreur));
    EXPECT_TRUE(options.aide);
    EXPECT_EQ(options.peripherique, nullptr) << "a new analysis starts afresh";
    EXPECT_FALSE(options.version);

    const char* version[] = {"trundel", "--version"};
    ASSERT_TRUE(AnalyserLigneDeCommande(2, version, options, erreur));
    EXPECT_TRUE(options.version);
    EXPECT_FALSE(options.aide);
}

TEST(LigneDeCommande, MisusesAreRefused)
{
    const char* sansFichier[] = {"trundel", "--table"};
    const char* inconnue[] = {"trundel", "--vite"};
    const char* deuxPorts[] = {"trundel", "/dev/a", "/dev/b"};
    const char* deuxTables[] = {"trundel", "--table", "a", "--table", "b"};
    const struct {
        int argc;
        const char** argv;
    } cas[] = {{2, sansFichier}, {2, inconnue}, {3, deuxPorts}, {5, deuxTables}};
    for (const auto& c : cas) {
        OptionsTrundel options;
        std::string erreur;
        EXPECT_FALSE(AnalyserLigneDeCommande(c.argc, c.argv, options, erreur)) << c.argv[c.argc - 1];
        EXPECT_FALSE(erreur.empty());
    }
}

}  // namespace
