#include "FichierTableSituations.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "Inferences_S1_a_S8.h"

namespace {
bool LireEntier(const char*& curseur, long& valeur)
{
    char* fin;
    errno = 0;
    valeur = std::strtol(curseur, &fin, 10);
    if (fin == curseur || errno == ERANGE) return false;
    curseur = fin;
    return true;
}

bool ResteVide(const char* curseur)
{
    while (*curseur == ' ' || *curseur == '\t' || *curseur == '\r' || *curseur == '\n') curseur++;
    return *curseur == '\0';
}

enum class LectureLigne { lue, finDuFichier, tropLongue, octetNonTextuel };

// Reads one line, without its '\n', into a buffer of N bytes ending with a zero. A NUL or
// another control byte (tab and CR apart) would cut the line short for every string
// function after it, so it is refused here, where its line is known.
template <std::size_t N>
LectureLigne LireLigne(FILE* fichier, char (&ligne)[N])
{
    std::size_t longueur = 0;
    int octet = std::getc(fichier);
    if (octet == EOF) return LectureLigne::finDuFichier;
    for (; octet != EOF && octet != '\n'; octet = std::getc(fichier)) {
        if ((octet < 0x20 && octet != '\t' && octet != '\r') || octet == 0x7f) return LectureLigne::octetNonTextuel;
        if (longueur + 1 == N) return LectureLigne::tropLongue;
        ligne[longueur++] = static_cast<char>(octet);
    }
    ligne[longueur] = '\0';
    return LectureLigne::lue;
}

std::string Ou(const char* chemin, int numeroLigne)
{
    return std::string(chemin) + ", ligne " + std::to_string(numeroLigne) + " : ";
}
}  // namespace

bool LireTableSituations(const char* chemin, TableSituations& table, std::string& erreur)
{
    std::unique_ptr<FILE, int (*)(FILE*)> fichierTable(std::fopen(chemin, "r"), std::fclose);
    if (!fichierTable) {
        erreur = std::string(chemin) + " : " + std::strerror(errno);
        return false;
    }
    return LireTableSituations(fichierTable.get(), chemin, table, erreur);
}

bool LireTableSituations(FILE* fichierTable, const char* chemin, TableSituations& table, std::string& erreur)
{
    TableSituations lue{};
    int situations = 0;
    int numeroLigne = 0;
    char ligne[256];
    for (;;) {
        const LectureLigne lecture = LireLigne(fichierTable, ligne);
        if (lecture == LectureLigne::finDuFichier) break;
        numeroLigne++;
        if (lecture == LectureLigne::tropLongue) {
            erreur = Ou(chemin, numeroLigne) + "ligne trop longue";
            return false;
        }
        if (lecture == LectureLigne::octetNonTextuel) {
            erreur = Ou(chemin, numeroLigne) + "octet qui n'est pas du texte (fichier binaire ?)";
            return false;
        }
        if (char* commentaire = std::strchr(ligne, '#')) *commentaire = '\0';
        if (ResteVide(ligne)) continue;
        if (situations == 8) {
            erreur = Ou(chemin, numeroLigne) + "plus de huit situations";
            return false;
        }
        const char* curseur = ligne;
        long vitesse;
        long angle;
        if (!LireEntier(curseur, vitesse) || !LireEntier(curseur, angle) || !ResteVide(curseur)) {
            erreur = Ou(chemin, numeroLigne) + "deux entiers attendus, \"vitesse angle\"";
            return false;
        }
        if (vitesse < -vitesseMax || vitesse > vitesseMax) {
            erreur = Ou(chemin, numeroLigne) + "vitesse hors de -" + std::to_string(vitesseMax) + ".." +
                     std::to_string(vitesseMax);
            return false;
        }
        if (angle < -angleMax || angle > angleMax) {
            erreur = Ou(chemin, numeroLigne) + "angle hors de -" + std::to_string(angleMax) + ".." +
                     std::to_string(angleMax);
            return false;
        }
        lue.vitesse[situations] = static_cast<int>(vitesse);
        lue.angle[situations] = static_cast<int>(angle);
        situations++;
    }
    if (std::ferror(fichierTable)) {
        erreur = std::string(chemin) + " : erreur de lecture";
        return false;
    }
    if (situations < 8) {
        erreur = std::string(chemin) + " : " + std::to_string(situations) + " situation(s) au lieu de huit";
        return false;
    }
    table = lue;
    return true;
}

void AppliquerTableSituations(const TableSituations& table)
{
    for (int k = 0; k < 8; k++) {
        DefVitesse[k] = table.vitesse[k];
        DefAngle[k] = table.angle[k];
    }
}
