#pragma once
#include <cstdio>
#include <string>

struct OptionsTrundel {
    const char* peripherique = nullptr;  // none: serial port 1
    const char* fichierTable = nullptr;  // none: the built-in situation table
    bool aide = false;
    bool version = false;
};

// Exit code of a command line or a table file that cannot be used.
constexpr int codeUsageIncorrect = 2;

// trundel [--table FICHIER] [PERIPHERIQUE] | --help. False with erreur set on a misuse.
bool AnalyserLigneDeCommande(int argc, const char* const argv[], OptionsTrundel& options, std::string& erreur);
void AfficherAide(FILE* sortie);
