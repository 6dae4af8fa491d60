#include "TuneOptions.h"

#include <cmath>
#include <limits>
#include <optional>

#include "common/NumberText.h"

namespace {

int ParseCount(const std::string& option, const std::string& text, int minimum, int maximum)
{
    const long long value = text == "0" ? 0 : ParsePositiveCount(option, text);
    if (value < minimum || value > maximum)
        throw UsageError(option + " : un nombre entier de " + std::to_string(minimum) + " à " +
                         std::to_string(maximum) + " est attendu");
    return static_cast<int>(value);
}

double ParseBoundedReal(const std::string& option, const std::string& text, double minimum, double maximum)
{
    const std::optional<double> value = ParseExactNumber(text);
    if (!value || *value < minimum || *value > maximum)
        throw UsageError(option + " : « " + text + " » n'est pas un nombre de " + FixedDecimals(minimum, 0) + " à " +
                         FixedDecimals(maximum, 0));
    return *value;
}

void ParseRange(const std::string& option, const std::string& text, int limit, int& low, int& high)
{
    const auto colon = text.find(':', 1);  // a leading '-' belongs to the first number
    if (colon == std::string::npos) throw UsageError(option + " attend MIN:MAX, pas « " + text + " »");
    low = static_cast<int>(ParseBoundedReal(option, text.substr(0, colon), -limit, limit));
    high = static_cast<int>(ParseBoundedReal(option, text.substr(colon + 1), -limit, limit));
    if (low > high) throw UsageError(option + " : MIN est au-dessus de MAX");
}

emulator::Pose ParsePose(const std::string& option, const std::string& text)
{
    double values[3];
    std::size_t from = 0;
    for (int i = 0; i < 3; ++i) {
        const std::size_t comma = i < 2 ? text.find(',', from) : text.size();
        const std::optional<double> value =
            comma == std::string::npos ? std::nullopt : ParseExactNumber(text.substr(from, comma - from));
        if (!value || std::abs(*value) > 1e6)
            throw UsageError(option + " attend X,Y,DEG en mm et degrés, pas « " + text + " »");
        values[i] = *value;
        from = comma + 1;
    }
    return emulator::Pose{values[0], values[1], values[2]};
}

}  // namespace

TuneOptions ParseTuneOptions(const std::vector<std::string>& arguments, int defaultWorkers)
{
    // A search far beyond these is a typing slip, and its time or memory would be too.
    constexpr int kMostStarts = 1000;
    constexpr int kMostTables = 10000;
    constexpr int kMostWorkers = 256;
    constexpr double kLongestDriveS = 3600;
    TuneOptions options;
    TableSearchSettings& s = options.search;
    s.workers = defaultWorkers;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        if (ReadInformationOption(option, options)) continue;
        if (option.rfind("--", 0) != 0) {
            options.roomPaths.push_back(option);
            continue;
        }
        const std::string& value = OptionValue(arguments, i);
        if (option == "--seed")
            s.seed = ParseSeed(option, value);
        else if (option == "--out")
            options.outPath = value;
        else if (option == "--report")
            options.reportPath = value;
        else if (option == "--start")
            options.startPath = value;
        else if (option == "--drive")
            options.drivePose = ParsePose(option, value);
        else if (option == "--table")
            options.tablePath = value;
        else if (option == "--compare")
            options.comparePath = value;
        else if (option == "--starts")
            s.startsPerRoom = ParseCount(option, value, 1, kMostStarts);
        else if (option == "--validation-starts")
            options.validationStarts = ParseCount(option, value, 0, kMostStarts);
        else if (option == "--seconds")
            s.seconds = ParseBoundedReal(option, value, 1, kLongestDriveS);
        else if (option == "--population")
            s.population = ParseCount(option, value, 4, kMostTables);
        else if (option == "--generations")
            s.generations = ParseCount(option, value, 0, kMostTables);
        else if (option == "--workers")
            s.workers = ParseCount(option, value, 1, kMostWorkers);
        else if (option == "--contact-weight")
            s.contactWeight = ParseBoundedReal(option, value, 0, 1000);
        else if (option == "--vitesses")
            ParseRange(option, value, vitesseMax, s.vitesseMin, s.vitesseMax);
        else if (option == "--angles")
            ParseRange(option, value, angleMax, s.angleMin, s.angleMax);
        else
            throw UnknownOption(option);
    }
    if (!options.help && !options.version && options.roomPaths.empty())
        throw UsageError("au moins une pièce (fichier de trundel-robot --room) est attendue");
    if (options.outPath.empty()) throw UsageError("--out attend un nom de fichier");
    if (options.drivePose.has_value() != !options.tablePath.empty())
        throw UsageError("--drive et --table vont ensemble");
    if (options.drivePose && options.roomPaths.size() != 1) throw UsageError("--drive roule dans une seule pièce");
    return options;
}

std::string TuneHelp()
{
    return R"(trundel-tune : cherche la table des situations (huit couples vitesse angle) avec laquelle
Trundel roule parmi les meubles sans les toucher, avant que le robot ne bouge.

Usage : trundel-tune [options] PIÈCE...
        trundel-tune --drive X,Y,DEG --table FICHIER [--seconds S] PIÈCE
  PIÈCE                 un fichier de pièce de trundel-robot --room (voir rooms/)
  --out FICHIER         la table écrite, lisible par trundel --table (défaut trundel-tuned.txt)
  --report FICHIER      le rapport, aussi écrit sur la sortie standard
  --seed N              décimal ou hexadécimal 0x, 64 bits (défaut 1) : fixe les départs et la
                        recherche ; même graine, même table, quel que soit --workers
  --starts N            départs de réglage par pièce (défaut 4)
  --validation-starts N départs de validation par pièce, tirés à part (défaut 5)
  --seconds S           durée simulée de chaque parcours (défaut 60)
  --population N        tables par génération, au moins 4 (défaut 20)
  --generations G       générations après la première (défaut 30)
  --contact-weight W    ce que coûte un contact par minute dans le score (défaut 2)
  --vitesses MIN:MAX    bornes des huit vitesses, -255 à 255 (défaut 0:255)
  --angles MIN:MAX      bornes des angles en degrés, -360 à 360 (défaut -180:180), cherchés
                        par pas de 5° pour que 0 (tout droit) puisse être trouvé. Celui de
                        la situation 0 (rien en vue) reste 0 : tout autre ferait tourner le
                        robot sur place à chaque trame, sans jamais avancer.
  --start FICHIER       une table qui rejoint la première génération (le résultat n'est pas pire)
  --compare FICHIER     donne aussi les chiffres de cette table sur les mêmes départs
  --workers N           processus d'évaluation (défaut : un par cœur)
  --drive X,Y,DEG       pas de recherche : un seul parcours simulé de la table --table depuis
                        cette pose (mm, degrés), décrit comme trundel-robot --report décrit
                        un parcours réel, pour les comparer
  --help                ce texte
  --version             la version du programme

Chaque parcours fait rouler le code de décision de trundel lui-même (l'inférence floue sur
les light bumps, la rotation mesurée par les codeurs, l'abandon d'une rotation sans
progrès) contre le corps émulé de trundel-robot, en temps simulé : une trame de 15 ms à
chaque attente du contrôleur, bien plus vite que le temps réel. Les départs sont tirés de la
graine, à au moins 50 mm de tout obstacle, le cap au hasard.

Score d'une table, sur tous les départs de réglage ensemble :
  score = vitesse moyenne x couverture x exp(-W x contacts par minute)
  vitesse moyenne = chemin du centre du robot (mm) / durée (s)
  couverture      = part moyenne des cases de 250 mm de la pièce, accessibles au robot,
                    que son centre a traversées
  contacts        = fois où le pare-chocs passe de relâché à enfoncé
Une table qui reste sur place ou tourne sur elle-même ne couvre rien : score 0, si prudente
soit-elle. Un aller-retour dans un coin couvre peu. Chaque contact par minute retire la même
part du score quelle que soit la vitesse : avec W = 2, un contact par minute en coûte 86 %.

La recherche est l'évolution différentielle (rand/1/bin, F 0,6, CR 0,9) dans les bornes ;
la meilleure table sur les départs de réglage est écrite, puis rejouée sur les départs de
validation pour le rapport. Sur un terminal, une ligne montre la génération, le meilleur
score et le temps restant ; Ctrl-C arrête la recherche et écrit la meilleure table trouvée
jusque-là.

Codes de sortie : 0 table écrite (aussi après Ctrl-C), 1 table ou rapport non écrits,
2 ligne de commande, pièce ou table refusées.
)";
}
