// trundel's command line on any arguments: options pointing into the arguments, or a
// refusal that says why.
#include <algorithm>

#include "FuzzArguments.h"
#include "LigneDeCommande.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::string> arguments = ArgumentsOf(data, size);
    std::vector<const char*> argv;
    for (const std::string& argument : arguments) argv.push_back(argument.c_str());
    argv.push_back(nullptr);
    OptionsTrundel options;
    std::string erreur;
    if (AnalyserLigneDeCommande(static_cast<int>(arguments.size()), argv.data(), options, erreur)) {
        FUZZ_CHECK(erreur.empty());
        for (const char* chosen : {options.peripherique, options.fichierTable})
            FUZZ_CHECK(!chosen || std::find(argv.begin(), argv.end() - 1, chosen) != argv.end() - 1);
    } else {
        FUZZ_CHECK(!erreur.empty());
    }
    return 0;
}
