#include "TuneRun.h"

#include <cstdio>
#include <ostream>
#include <sstream>
#include <thread>

#include "DriveScore.h"
#include "DriveStarts.h"
#include "RoomFile.h"
#include "SimulatedDrive.h"
#include "TableFileText.h"
#include "TableSearch.h"
#include "TuneOptions.h"
#include "WorkerProcesses.h"
#include "common/AtomicFile.h"
#include "common/NumberText.h"
#include "common/ProgressLine.h"
#include "common/SplitMix64.h"
#include "common/StopRequest.h"

namespace {

const std::string kProgram = "trundel-tune";

struct Course {
    std::vector<std::string> names;
    std::vector<emulator::Room> rooms;
};

Course ReadRooms(const std::vector<std::string>& paths)
{
    Course course;
    for (const std::string& path : paths) {
        emulator::RoomDescription room;
        std::string error;
        if (!emulator::ReadRoomFile(path, room, error)) throw UsageError("pièce refusée : " + error);
        course.names.push_back(path.substr(path.find_last_of('/') + 1));
        course.rooms.emplace_back(room.widthMm, room.depthMm, room.furniture);
    }
    return course;
}

TableSituations ReadTable(const std::string& option, const std::string& path)
{
    TableSituations table{};
    std::string error;
    if (!LireTableSituations(path.c_str(), table, error)) throw UsageError(option + " : table refusée : " + error);
    return table;
}

// The drives of one table from every start, one start per item of the workers: the
// figures of each room apart, in the order of the rooms, then of all of them.
std::vector<DriveTotals> FiguresByRoom(const TableSituations& table, const Course& course,
                                       const std::vector<DriveStart>& starts, const TableSearchSettings& settings)
{
    std::vector<DriveFigures> drives;
    std::string error;
    const std::function<DriveFigures(std::size_t)> drive = [&](std::size_t i) {
        return SimulateDrive(table, course.rooms[static_cast<std::size_t>(starts[i].room)], starts[i].pose,
                             settings.seconds);
    };
    if (!RunInWorkerProcesses(starts.size(), settings.workers, drive, drives, nullptr, error))
        throw std::runtime_error(error);
    std::vector<DriveTotals> totals(course.rooms.size() + 1);
    for (std::size_t i = 0; i < starts.size(); ++i) {
        AddDrive(totals[static_cast<std::size_t>(starts[i].room)], drives[i]);
        AddDrive(totals.back(), drives[i]);
    }
    return totals;
}

// Text padded to `width` characters as a terminal shows them: printf pads by bytes, and
// the accents of "réglage" take two.
std::string Column(const std::string& text, std::size_t width)
{
    std::size_t characters = 0;
    for (unsigned char byte : text)
        if ((byte & 0xC0) != 0x80) ++characters;
    return text + std::string(characters < width ? width - characters : 0, ' ');
}

std::string FiguresRow(const std::string& table, const std::string& set, const std::string& room,
                       const DriveTotals& totals, double contactWeight)
{
    char row[512];
    std::snprintf(row, sizeof row, "%s %s %s %5d %10.0f %8d %8.2f %9.0f %8.3f %9.1f\n", Column(table, 22).c_str(),
                  Column(set, 11).c_str(), Column(room, 18).c_str(), totals.runs,
                  totals.runs > 0 ? totals.distanceMm / totals.runs : 0.0, totals.contacts, ContactsPerMinute(totals),
                  totals.runs > 0 ? totals.minClearanceMm : 0.0, MeanCoverage(totals),
                  DriveScore(totals, contactWeight));
    return row;
}

std::string FiguresRows(const std::string& table, const std::string& set, const Course& course,
                        const std::vector<DriveTotals>& totals, double contactWeight)
{
    std::string rows;
    for (std::size_t r = 0; r < course.rooms.size(); ++r)
        rows += FiguresRow(table, set, course.names[r], totals[r], contactWeight);
    if (course.rooms.size() > 1) rows += FiguresRow(table, set, "(toutes)", totals.back(), contactWeight);
    return rows;
}

std::string Settings(const TuneOptions& options, const Course& course)
{
    const TableSearchSettings& s = options.search;
    std::ostringstream text;
    text << kProgram << " : graine " << s.seed << ", " << course.rooms.size() << " pièce(s), " << s.startsPerRoom
         << " départ(s) de réglage et " << options.validationStarts << " de validation par pièce, "
         << FixedDecimals(s.seconds, 1) << " s par parcours, " << s.population << " tables x "
         << static_cast<long long>(s.generations) + 1 << " générations, " << s.workers << " processus";
    return text.str();
}

// --drive: one simulated drive, reported as trundel-robot reports a run.
int DriveOnce(const TuneOptions& options, const Course& course, std::ostream& out, std::ostream& err)
{
    if (!emulator::BodyFits(course.rooms.front(), *options.drivePose))
        return RefuseCommandLine(kProgram, "--drive : le robot chevaucherait un mur ou un meuble", err);
    TableSituations table{};
    try {
        table = ReadTable("--table", options.tablePath);
    } catch (const UsageError& error) {
        return RefuseCommandLine(kProgram, error.what(), err);
    }
    const DriveFigures figures = SimulateDrive(table, course.rooms.front(), *options.drivePose, options.search.seconds);
    out << emulator::RunReportText(figures.tally, figures.frames, figures.commands);
    return 0;
}

}  // namespace

int RunTrundelTune(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err)
{
    TuneOptions options;
    Course course;
    std::optional<TableSituations> compared;
    std::vector<DriveStart> tuningStarts;
    std::vector<DriveStart> validationStarts;
    try {
        const int cores = static_cast<int>(std::thread::hardware_concurrency());
        options = ParseTuneOptions(arguments, cores > 0 ? cores : 1);
        if (AnswerInformationOptions(options, kProgram, TuneHelp(), out)) return 0;
        course = ReadRooms(options.roomPaths);
        if (options.drivePose) return DriveOnce(options, course, out, err);
        if (!options.startPath.empty()) options.search.start = ReadTable("--start", options.startPath);
        if (!options.comparePath.empty()) compared = ReadTable("--compare", options.comparePath);
        // The validation starts come from a seed of their own, never the tuning starts again.
        SplitMix64 seeds(options.search.seed);
        const std::uint64_t tuningSeed = seeds.Next();
        const std::uint64_t validationSeed = seeds.Next();
        std::string error;
        if (!DrawDriveStarts(course.rooms, options.search.startsPerRoom, tuningSeed, tuningStarts, error) ||
            !DrawDriveStarts(course.rooms, options.validationStarts, validationSeed, validationStarts, error))
            throw UsageError(error);
    } catch (const UsageError& error) {
        return RefuseCommandLine(kProgram, error.what(), err);
    }
    const TableSearchSettings& settings = options.search;
    out << Settings(options, course) << std::endl;

    const InterruptHandling interruptHandling;
    ProgressLine progressLine(err, ShowsProgressOn(err));
    const TableSearchOutcome outcome =
        SearchTable(settings, course.rooms, tuningStarts, interruptHandling.StopFlag(), [&](const SearchProgress& p) {
            char figures[128];
            std::snprintf(figures, sizeof figures, "génération %d/%d  meilleur score %.2f", p.generation, p.generations,
                          p.bestScore);
            progressLine.Show(figures, p.generation + 1LL, p.generations + 1LL);
        });
    progressLine.Finish();
    if (!outcome.error.empty())
        return ReportUnwrittenOutput(kProgram, outcome.error + " ; « " + options.outPath + " » est laissé tel quel",
                                     err);

    std::ostringstream heading;
    heading << "Table de Trundel trouvée par " << kProgram << " dans";
    for (const std::string& name : course.names) heading << ' ' << name;
    heading << "\n" << Settings(options, course) << (outcome.interrupted ? " (arrêtée par Ctrl-C)" : "");
    std::string error;
    if (!WriteFileAtomically(options.outPath, TableFileText(outcome.best, heading.str()), error))
        return ReportUnwrittenOutput(kProgram, "« " + options.outPath + " » non écrit (" + error + ")", err);
    TableSituations written{};
    if (!LireTableSituations(options.outPath.c_str(), written, error))
        return ReportUnwrittenOutput(kProgram, "« " + options.outPath + " » écrit mais illisible : " + error, err);
    out << "table écrite dans " << options.outPath
        << (outcome.interrupted ? " (recherche arrêtée par Ctrl-C : la meilleure trouvée jusque-là)" : "") << std::endl;

    std::ostringstream report;
    report << Settings(options, course) << '\n'
           << "score = vitesse moyenne (mm/s) x couverture x exp(-" << FixedDecimals(settings.contactWeight, 2)
           << " x contacts par minute)\n"
           << "générations faites : " << std::max(0, outcome.generationsDone) << '/' << settings.generations
           << (outcome.interrupted ? " (arrêtée par Ctrl-C)" : "") << '\n';
    char header[512];
    std::snprintf(header, sizeof header, "%s %s %s %5s %10s %8s %8s %9s %8s %9s\n", Column("table", 22).c_str(),
                  Column("départs", 11).c_str(), Column("pièce", 18).c_str(), "runs", "dist_mm", "contacts", "cont/min",
                  "min_clear", "couvert", "score");
    report << header;
    try {
        const auto add = [&](const std::string& name, const TableSituations& table) {
            report << FiguresRows(name, "réglage", course, FiguresByRoom(table, course, tuningStarts, settings),
                                  settings.contactWeight);
            if (!validationStarts.empty())
                report << FiguresRows(name, "validation", course,
                                      FiguresByRoom(table, course, validationStarts, settings), settings.contactWeight);
        };
        add(options.outPath.substr(options.outPath.find_last_of('/') + 1), written);
        if (compared) add(options.comparePath.substr(options.comparePath.find_last_of('/') + 1), *compared);
    } catch (const std::runtime_error& failure) {
        return ReportUnwrittenOutput(kProgram, std::string("rapport non établi : ") + failure.what(), err);
    }
    out << report.str();
    if (!options.reportPath.empty()) {
        if (!WriteFileAtomically(options.reportPath, report.str(), error))
            return ReportUnwrittenOutput(kProgram, "« " + options.reportPath + " » non écrit (" + error + ")", err);
        out << "rapport écrit dans " << options.reportPath << '\n';
    }
    return 0;
}
