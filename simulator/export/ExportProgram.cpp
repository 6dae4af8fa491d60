#include "export/ExportProgram.h"

#include <cmath>
#include <filesystem>
#include <opencv2/imgcodecs.hpp>
#include <optional>
#include <ostream>
#include <stdexcept>

#include "common/AtomicFile.h"
#include "common/CommandLineValues.h"
#include "common/NumberText.h"
#include "interop/CommandSurface.h"
#include "interop/TableFiles.h"
#include "runner/PictureOutput.h"

namespace {

const std::string kProgram = "marlune-export";

struct ExportOptions : InformationOptions {
    std::string tablePath;
    std::string enginePath;
    std::string surfacePath;
    double frontDistance = NAN;  // NaN: halfway along the ramp, where all eight rules weigh in
};

double ParseDistance(const std::string& option, const std::string& text)
{
    const std::optional<double> value = ParseExactNumber(text);
    if (!value || *value < 0)
        throw UsageError(option + ": '" + text + "' is not a distance in pixels (a number of at least 0)");
    return *value;
}

bool SameFile(const std::string& a, const std::string& b)
{
    std::error_code error;
    return std::filesystem::equivalent(a, b, error);
}

ExportOptions ParseExportOptions(const std::vector<std::string>& arguments)
{
    ExportOptions options;
    std::vector<std::string> positional;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        // Answered at once: the rest of the line need not make sense.
        if (ReadInformationOption(argument, options)) return options;
        if (argument == "--front") {
            options.frontDistance = ParseDistance(argument, OptionValue(arguments, i));
            continue;
        }
        if (argument == "--surface") {
            options.surfacePath = PicturePath(argument, OptionValue(arguments, i));
            continue;
        }
        if (argument.rfind("-", 0) == 0) throw UnknownOption(argument);
        positional.push_back(argument);
    }
    if (positional.empty()) throw UsageError("missing the table to export (see --help)");
    if (positional.size() > 2) throw UnexpectedArgument(positional[2]);
    options.tablePath = positional[0];
    if (positional.size() == 2) {
        options.enginePath = positional[1];
        const TableFileFormat format = TableFileFormatOf(options.enginePath);
        if (format != TableFileFormat::Fll && format != TableFileFormat::Fis && format != TableFileFormat::Fcl)
            throw UsageError("cannot export to '" + options.enginePath + "' (use a .fll, .fis or .fcl name)");
    }
    if (options.enginePath.empty() && options.surfacePath.empty())
        throw UsageError("nothing to write: give OUT.fll, OUT.fis, OUT.fcl or --surface FILE.png (see --help)");
    for (const std::string& output : {options.enginePath, options.surfacePath})
        if (!output.empty() && SameFile(output, options.tablePath))
            throw UsageError("'" + output + "' is the table being read; choose another output");
    return options;
}

void WriteSurface(const std::string& path, const cv::Mat& picture)
{
    AtomicFile file(path);
    bool written = file.IsOpen();
    try {
        written = written && cv::imwrite(file.TemporaryPath(), picture);
    } catch (const cv::Exception&) {
        written = false;
    }
    if (!written || !file.Commit())
        throw std::runtime_error("--surface: cannot write '" + path + "'" +
                                 (file.Error().empty() ? "" : ": " + file.Error()));
}

const char* ExportHelp()
{
    return R"(Usage: marlune-export TABLE [OUT.fll|OUT.fis|OUT.fcl] [--surface FILE.png [--front D]]

Shows a Marlune inference table to the fuzzy-logic tools of the field and to the eye.

  TABLE              the table: .ifi (as saved by Marlune), or .fll / .fis of the shape
                     written here.
  OUT.fll|.fis|.fcl  the table as a fuzzylite engine, the format from the extension:
                     fuzzylite language, Matlab/Octave FIS or IEC 61131-7 FCL. Inputs
                     left, front, right (pixels) with the terms blocked and free on the
                     robot's ramp (near = its radius, far = twice it); outputs angle
                     (degrees) and speed (pixels per step), Takagi-Sugeno constants S1..S8;
                     one rule per situation. Numbers with 17 significant digits.
  --surface FILE.png the command surface: angle and speed over the left and right
                     distances, 0 to 3 x far, at one front distance.
  --front D          that front distance in pixels (default: halfway along the ramp).
  --help             this text.
  --version          the program's version.

Exit codes: 0 done, 1 an output could not be written, 2 bad arguments or table.
)";
}

}  // namespace

int RunExport(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err)
{
    ExportOptions options;
    InferenceTable table;
    try {
        options = ParseExportOptions(arguments);
        if (AnswerInformationOptions(options, kProgram, ExportHelp(), out)) return 0;
        TableRefusal refusal;
        if (!LoadTableFile(options.tablePath, table, refusal)) throw UsageError(refusal.english);
    } catch (const UsageError& error) {
        return RefuseCommandLine(kProgram, error.what(), err);
    }

    try {
        if (!options.enginePath.empty()) {
            TableRefusal failure;
            if (!ExportTableFile(options.enginePath, table, failure)) throw std::runtime_error(failure.english);
        }
        if (!options.surfacePath.empty()) {
            const RampBounds ramp = RunRampBounds();
            const double front =
                std::isnan(options.frontDistance) ? (ramp.nearDistance + ramp.farDistance) / 2 : options.frontDistance;
            WriteSurface(options.surfacePath, DrawCommandSurface({table, ramp.nearDistance, ramp.farDistance, front}));
        }
    } catch (const std::exception& error) {
        return ReportUnwrittenOutput(kProgram, error.what(), err);
    }
    return 0;
}
