#include "interop/TableFiles.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <fl/Headers.h>
#include <iostream>
#include <memory>
#include <sstream>

#include "common/AtomicFile.h"
#include "common/PrintableText.h"
#include "interop/EngineText.h"
#include "world/InferenceFile.h"
#include "world/RobotSimulation.h"
#include "world/SimulationRun.h"

namespace {

// Refusals quote file names and file text: both are printed where the user looks.
bool Refuse(TableRefusal& refusal, const std::string& french, const std::string& english)
{
    refusal = {PrintableText(french), PrintableText(english)};
    return false;
}

std::string Quoted(const std::string& path)
{
    return "'" + path + "'";
}

std::string Guillemets(const std::string& path)
{
    return "« " + path + " »";
}

bool LoadIfi(const std::string& path, InferenceTable& table, TableRefusal& refusal)
{
    InferenceTable read;
    int nonTextLine = 0;
    const int numbers = LoadInferenceFile(path, read, &nonTextLine);
    if (numbers == kInferenceFileNotText)
        return Refuse(refusal,
                      Guillemets(path) + " n'est pas une table : la ligne " + std::to_string(nonTextLine) +
                          " contient un octet qui n'est pas du texte",
                      Quoted(path) + " is not a table: line " + std::to_string(nonTextLine) +
                          " holds a byte that is not text");
    if (numbers < 0) return Refuse(refusal, "Impossible de lire " + Guillemets(path), "cannot read " + Quoted(path));
    if (numbers < 2 * InferenceTable::kSituations)
        return Refuse(refusal,
                      Guillemets(path) + " contient " + std::to_string(numbers) + " nombres lisibles, il en faut 16",
                      Quoted(path) + " holds " + std::to_string(numbers) + " readable numbers, a table needs 16");
    for (int k = 0; k < InferenceTable::kSituations; ++k)
        if (!std::isfinite(read.angles[k]) || !std::isfinite(read.speeds[k]))
            return Refuse(refusal,
                          Guillemets(path) + " contient un nombre infini ou indéfini (S" + std::to_string(k + 1) + ")",
                          Quoted(path) + " holds a number that is not finite (S" + std::to_string(k + 1) + ")");
    table = read;
    return true;
}

// fuzzylite's messages end with where in its sources they were raised: the user needs
// only the first line.
std::string FirstLine(const std::string& text)
{
    return text.substr(0, text.find('\n'));
}

// fuzzylite is given only what fits an engine: it has no limits of its own.
bool ReadEngineText(const std::string& path, EngineFormat format, std::string& text, TableRefusal& refusal)
{
    const TextCheck check = ReadBoundedFile(path, EngineTextLimits(format), text);
    if (check.fault == TextFault::Unreadable)
        return Refuse(refusal, "Impossible de lire " + Guillemets(path), "cannot read " + Quoted(path));
    TextFaultWords why = DescribeTextFault(check, EngineTextLimits(format));
    if (check.fault == TextFault::None && CheckEngineCounts(text, format, why)) return true;
    return Refuse(refusal, Guillemets(path) + " est refusé : " + why.french,
                  Quoted(path) + " is refused: " + why.english);
}

bool LoadEngine(const std::string& path, TableFileFormat format, InferenceTable& table, TableRefusal& refusal)
{
    const EngineFormat engineFormat = format == TableFileFormat::Fll ? EngineFormat::Fll : EngineFormat::Fis;
    std::string text;
    if (!ReadEngineText(path, engineFormat, text, refusal)) return false;

    // fuzzylite 6.0 as packaged prints the rules it cannot parse on the standard output,
    // whatever its logging flag, and leaves them unloaded: the shape check refuses those
    // and says so where the user looks, so its printout is held back.
    std::ostringstream fuzzyliteChatter;
    std::streambuf* const console = std::cout.rdbuf(fuzzyliteChatter.rdbuf());
    std::unique_ptr<fl::Engine> engine;
    std::string why;
    try {
        if (engineFormat == EngineFormat::Fll)
            engine.reset(fl::FllImporter().fromString(text));
        else
            engine.reset(fl::FisImporter().fromString(text));
    } catch (const std::exception& error) {
        why = FirstLine(error.what());
    }
    std::cout.rdbuf(console);
    if (!engine)
        return Refuse(refusal, Guillemets(path) + " n'est pas un moteur fuzzylite lisible : " + why,
                      Quoted(path) + " is not a readable fuzzylite engine: " + why);
    TableRefusal shape;
    if (!ReadTableEngine(*engine, RunRampBounds(), table, shape))
        return Refuse(refusal, Guillemets(path) + " n'est pas une table de Marlune : " + shape.french,
                      Quoted(path) + " is not a Marlune table: " + shape.english);
    return true;
}

}  // namespace

TableFileFormat TableFileFormatOf(const std::string& path)
{
    const std::size_t dot = path.find_last_of("./");
    if (dot == std::string::npos || path[dot] != '.') return TableFileFormat::Unknown;
    std::string extension = path.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == "ifi") return TableFileFormat::Ifi;
    if (extension == "fll") return TableFileFormat::Fll;
    if (extension == "fis") return TableFileFormat::Fis;
    if (extension == "fcl") return TableFileFormat::Fcl;
    return TableFileFormat::Unknown;
}

RampBounds RunRampBounds()
{
    static const RampBounds bounds = [] {
        RobotSimulation sim(kWorldSize, kWorldSize);
        PrepareRun(sim, InferenceTable{});
        return RampBounds{sim.nearDistance, sim.farDistance};
    }();
    return bounds;
}

bool LoadTableFile(const std::string& path, InferenceTable& table, TableRefusal& refusal)
{
    switch (const TableFileFormat format = TableFileFormatOf(path)) {
    case TableFileFormat::Fll:
    case TableFileFormat::Fis:
        return LoadEngine(path, format, table, refusal);
    case TableFileFormat::Fcl:
        return Refuse(refusal, Guillemets(path) + " : un fichier FCL ne se charge pas, exportez en .fll ou .fis",
                      Quoted(path) + ": FCL files are written, not read; use .fll or .fis");
    default:
        return LoadIfi(path, table, refusal);
    }
}

bool ExportTableFile(const std::string& path, const InferenceTable& table, TableRefusal& refusal)
{
    const TableFileFormat format = TableFileFormatOf(path);
    if (format != TableFileFormat::Fll && format != TableFileFormat::Fis && format != TableFileFormat::Fcl)
        return Refuse(refusal, Guillemets(path) + " : format d'export inconnu (.fll, .fis ou .fcl attendu)",
                      Quoted(path) + ": unknown export format (expected .fll, .fis or .fcl)");

    const std::unique_ptr<fl::Engine> engine = BuildTableEngine(table, RunRampBounds());
    // fuzzylite writes 3 fixed decimals by default, which moves a tuned table's commands by
    // 1e-3 and a small constant to zero: 17 significant digits read back bit for bit.
    const int decimals = fl::fuzzylite::decimals();
    const std::ios_base::fmtflags scalarFormat = fl::fuzzylite::scalarFormat();
    fl::fuzzylite::setDecimals(17);
    fl::fuzzylite::setScalarFormat(std::ios_base::fmtflags(0));
    std::string text;
    if (format == TableFileFormat::Fll)
        text = fl::FllExporter().toString(engine.get());
    else if (format == TableFileFormat::Fis)
        text = fl::FisExporter().toString(engine.get());
    else
        text = fl::FclExporter().toString(engine.get());
    fl::fuzzylite::setDecimals(decimals);
    fl::fuzzylite::setScalarFormat(scalarFormat);
    if (text.empty() || text.back() != '\n') text += '\n';

    std::string error;
    if (!WriteFileAtomically(path, text, error))
        return Refuse(refusal, "Impossible d'écrire " + Guillemets(path) + " : " + error,
                      "cannot write " + Quoted(path) + ": " + error);
    return true;
}
