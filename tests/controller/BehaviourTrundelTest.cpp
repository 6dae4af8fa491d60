// The trundel program run as a user would, against the emulated robot on a
// pseudo-terminal, with its standard input a pipe that the test types into.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "AccesRobot.h"
#include "CommandeRobot.h"
#include "Controleur.h"
#include "EmulatedRobot.h"
#include "SpawnProgram.h"

namespace {

namespace fs = std::filesystem;
using emulator::Command;
using emulator::EmulatedRobot;

constexpr unsigned char kStart = 128;
constexpr unsigned char kDrivePwm = 146;
constexpr unsigned char kStream = 148;
constexpr unsigned char kPauseResume = 150;
// Generous: the suite also runs under sanitizers on a loaded two-core machine.
constexpr int kAttenteMs = 20000;

std::string LireFichier(const fs::path& chemin)
{
    std::ifstream entree(chemin, std::ios::binary);
    std::ostringstream contenu;
    contenu << entree.rdbuf();
    return contenu.str();
}

// One run of the program in its own scratch directory (it writes its trajectory log
// there), standard output and error kept in files. Its standard input is a pipe that
// Taper writes into, or the given terminal.
class Trundel {
public:
    explicit Trundel(std::vector<std::string> arguments, int terminal = -1, int sortie = -1)
    {
        dossier_ = fs::temp_directory_path() /
                   ("trundel_e2e_" + std::to_string(::getpid()) + "_" + std::to_string(compteur_++));
        fs::create_directories(dossier_);
        ::signal(SIGPIPE, SIG_IGN);  // a program that ended early must fail the test, not kill it
        int tube[2] = {terminal, -1};
        if (terminal < 0) {
            EXPECT_EQ(::pipe2(tube, O_CLOEXEC), 0);
            clavier_ = tube[1];
        }

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, tube[0], STDIN_FILENO);
        if (sortie >= 0) {
            posix_spawn_file_actions_adddup2(&actions, sortie, STDOUT_FILENO);
        } else {
            posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, (dossier_ / "sortie").c_str(),
                                             O_WRONLY | O_CREAT | O_TRUNC, 0644);
        }
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, (dossier_ / "erreurs").c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addchdir_np(&actions, dossier_.c_str());
        pid_ = SpawnProgram(TRUNDEL_PROGRAMME, std::move(arguments), actions);
        EXPECT_GT(pid_, 0);
        posix_spawn_file_actions_destroy(&actions);
        if (terminal < 0) ::close(tube[0]);
    }

    ~Trundel()
    {
        if (pid_ > 0 && !termine_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        FermerClavier();
        std::error_code ignore;
        fs::remove_all(dossier_, ignore);
    }

    void Taper(const char* texte)
    {
        const auto longueur = static_cast<ssize_t>(std::strlen(texte));
        ASSERT_EQ(::write(clavier_, texte, longueur), longueur);
    }
    // Types the key unless the program has already ended; then waits for its exit code.
    int TerminerPar(const char* touche)
    {
        const auto longueur = static_cast<ssize_t>(std::strlen(touche));
        if (EnCours() && ::write(clavier_, touche, longueur) != longueur) {
            EXPECT_FALSE(EnCours()) << "the key could not be typed";
        }
        return AttendreFin();
    }
    void FermerClavier()
    {
        if (clavier_ >= 0) ::close(clavier_);
        clavier_ = -1;
    }
    void Signaler(int signal) { ::kill(pid_, signal); }

    // The exit code, or -1 when the program is still running after the delay.
    int AttendreFin(int delaiMs = kAttenteMs)
    {
        const auto limite = std::chrono::steady_clock::now() + std::chrono::milliseconds(delaiMs);
        while (EnCours()) {
            if (std::chrono::steady_clock::now() > limite) return -1;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return WIFEXITED(etat_) ? WEXITSTATUS(etat_) : 128 + WTERMSIG(etat_);
    }
    bool EnCours()
    {
        if (!termine_ && ::waitpid(pid_, &etat_, WNOHANG) == pid_) termine_ = true;
        return !termine_;
    }
    // True once the program has stopped itself (Ctrl-Z); false after the delay.
    bool AttendreSuspension(int delaiMs = kAttenteMs)
    {
        const auto limite = std::chrono::steady_clock::now() + std::chrono::milliseconds(delaiMs);
        int etat = 0;
        while (std::chrono::steady_clock::now() < limite) {
            if (::waitpid(pid_, &etat, WNOHANG | WUNTRACED) == pid_) {
                if (WIFSTOPPED(etat)) return true;
                termine_ = true;
                etat_ = etat;
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return false;
    }

    std::string Sortie() const { return LireFichier(dossier_ / "sortie"); }
    std::string Erreurs() const { return LireFichier(dossier_ / "erreurs"); }
    fs::path Dossier() const { return dossier_; }

private:
    static inline int compteur_ = 0;
    fs::path dossier_;
    pid_t pid_ = -1;
    int clavier_ = -1;
    bool termine_ = false;
    int etat_ = 0;
};

std::vector<Command> Commandes(const EmulatedRobot& robot, unsigned char opcode)
{
    std::vector<Command> trouvees;
    for (const Command& c : robot.ReceivedCommands())
        if (c.opcode == opcode) trouvees.push_back(c);
    return trouvees;
}

bool EstArretRoues(const Command& c)
{
    return c.opcode == kDrivePwm && c.data == std::vector<unsigned char>{0, 0, 0, 0};
}

bool Roule(const Command& c)
{
    return c.opcode == kDrivePwm && !EstArretRoues(c);
}

// Waits for the first command, from the `depuis`-th received on, that matches; returns it,
// or an empty command (opcode 0) after the delay.
Command AttendreCommandeApres(const EmulatedRobot& robot, std::size_t depuis, bool (*voulue)(const Command&))
{
    const auto limite = std::chrono::steady_clock::now() + std::chrono::milliseconds(kAttenteMs);
    for (;;) {
        const std::vector<Command> recues = robot.ReceivedCommands();
        for (std::size_t i = depuis; i < recues.size(); i++)
            if (voulue(recues[i])) return recues[i];
        if (std::chrono::steady_clock::now() > limite) return {};
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

Command AttendreArretApres(const EmulatedRobot& robot, std::size_t depuis)
{
    return AttendreCommandeApres(robot, depuis, EstArretRoues);
}

// Waits until the robot has been sent a command that makes it move.
bool AttendreConduite(const EmulatedRobot& robot)
{
    return Roule(AttendreCommandeApres(robot, 0, Roule));
}

// The robot is never driven before a frame has shown what it sees.
void VerifierAucuneConduiteAvantLaPremiereTrame(const EmulatedRobot& robot)
{
    const std::vector<Command> drives = Commandes(robot, kDrivePwm);
    const auto conduite = std::find_if(drives.begin(), drives.end(), Roule);
    if (conduite == drives.end()) return;
    const std::vector<emulator::SentFrame> trames = robot.SentFrames();
    ASSERT_FALSE(trames.empty()) << "driven at " << conduite->atMs << " ms, and no frame was ever sent";
    EXPECT_GE(conduite->atMs, trames.front().atMs) << "driven before the first frame";
}

std::string Liste(const std::vector<int>& valeurs)
{
    std::string liste;
    for (int v : valeurs) liste += (liste.empty() ? "" : " ") + std::to_string(v);
    return liste;
}

const std::vector<unsigned char> kTourAGauche = {0, 40, 0xFF, 0xD8};  // right 40, left -40

// Waits until the robot has received `nombre` Drive PWM commands after the first one with
// these duties (0: that one itself); returns the Drive PWM commands received by then, or
// nothing if the program, when given, ends first.
std::vector<Command> AttendreApres(const EmulatedRobot& robot, const std::vector<unsigned char>& duties,
                                   std::size_t nombre, Trundel* programme = nullptr)
{
    const auto limite = std::chrono::steady_clock::now() + std::chrono::milliseconds(kAttenteMs);
    for (;;) {
        const std::vector<Command> drives = Commandes(robot, kDrivePwm);
        for (std::size_t i = 0; i < drives.size(); i++) {
            if (drives[i].data == duties) {
                if (drives.size() > i + nombre) return drives;
                break;
            }
        }
        if (std::chrono::steady_clock::now() > limite || (programme && !programme->EnCours())) return {};
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

// The orderly stop: the stream paused, the wheels stopped, then Start (back to Passive),
// and nothing after. The program may have ended before the robot read its last bytes:
// waits for them and returns every command received.
std::vector<Command> VerifierArretOrdonne(const EmulatedRobot& robot)
{
    EXPECT_TRUE(robot.WaitForCommand(kStart, kAttenteMs, 2));
    const std::vector<Command> recues = robot.ReceivedCommands();
    EXPECT_GE(recues.size(), 3u);
    if (recues.size() < 3) return recues;
    const Command& pause = recues[recues.size() - 3];
    EXPECT_EQ(pause.opcode, kPauseResume);
    EXPECT_EQ(pause.data, std::vector<unsigned char>{0});
    EXPECT_TRUE(EstArretRoues(recues[recues.size() - 2]));
    EXPECT_EQ(recues.back().opcode, kStart);
    EXPECT_FALSE(robot.Streaming());
    EXPECT_EQ(robot.CurrentMode(), emulator::Mode::Passive) << "a robot left in Safe mode never sleeps";
    VerifierAucuneConduiteAvantLaPremiereTrame(robot);
    return recues;
}

const std::string kFinAttendue = "\nLiberation Threads...\n...OK\n";

bool FinitPar(const std::string& texte, const std::string& fin)
{
    return texte.size() >= fin.size() && texte.compare(texte.size() - fin.size(), fin.size(), fin) == 0;
}

// The program's closing summary gives the longest time between two frames it took.
int PlusLongSilenceMs(const std::string& erreurs)
{
    const std::string marque = "plus long silence ";
    const std::size_t position = erreurs.rfind(marque);
    return position == std::string::npos ? -1 : std::atoi(erreurs.c_str() + position + marque.size());
}

// A run in which the program went without frames long enough for its watchdog: its
// reception thread or the robot's was not scheduled in time, as happens on a busy machine.
bool PriveDeTrames(const std::string& erreurs)
{
    return PlusLongSilenceMs(erreurs) >= silenceArretRouesMs || erreurs.find("Plus aucune trame") != std::string::npos;
}

// The program writes a carriage return per frame: shown as a count, a failure's log stays readable.
std::string Lisible(const std::string& sortie)
{
    std::string lisible;
    for (std::size_t i = 0; i < sortie.size();) {
        const std::size_t fin = std::min(sortie.find_first_not_of('\r', i), sortie.size());
        if (fin == i) {
            lisible += sortie[i++];
            continue;
        }
        lisible += "<CR x" + std::to_string(fin - i) + ">";
        i = fin;
    }
    return lisible;
}

// In the middle of the room, heading for no wall soon: the shipped table drives straight.
emulator::RobotOptions AuLarge()
{
    emulator::RobotOptions options;
    options.start = emulator::Pose{1500, 600, 90};
    return options;
}

// On a busy machine the program or the robot may not be scheduled for longer than the
// watchdogs allow. Such a run still ends safely, but maybe not by the path a test is
// about: the test plays it again, at most this many times, until the path shows.
constexpr int kEssais = 10;

class TrundelContreEmulateur : public ::testing::Test {
protected:
    // The robot's thread and the program inherit this thread's priority: above the busy
    // processes of a loaded machine, they keep to their stream period far more often.
    // Only a privileged user may raise it; without, the replays above still hold.
    void SetUp() override
    {
        fs::create_directories(dossierTables);
        RecordProperty("priorite_relevee", ::setpriority(PRIO_PROCESS, 0, -10) == 0 ? "oui" : "non");
    }
    // A failure shows what the robot heard and sent, and what the program said, so that
    // a failure on a busy machine can be understood from the log alone.
    void TearDown() override
    {
        if (HasFailure()) std::cout << Chronologie();
        programme.reset();
        fs::remove_all(dossierTables);
    }
    void Demarrer(const emulator::RobotOptions& options = {})
    {
        robot = std::make_unique<EmulatedRobot>(options);
        ASSERT_TRUE(robot->Start()) << robot->LastError();
    }
    Trundel& Lancer(std::vector<std::string> arguments, int terminal = -1, int sortie = -1)
    {
        programme.reset();
        programme = std::make_unique<Trundel>(std::move(arguments), terminal, sortie);
        return *programme;
    }
    // The program steering by the table shipped for the robot, on the latest robot.
    Trundel& LancerTableLivree(int sortie = -1)
    {
        return Lancer({"--table", TRUNDEL_TABLES "/trundel-evitement.txt", robot->DevicePath()}, -1, sortie);
    }
    // The robot in the open and the program steering it by the shipped table, once it drives.
    Trundel& LancerAuLarge()
    {
        Demarrer(AuLarge());
        Trundel& trundel = LancerTableLivree();
        EXPECT_TRUE(AttendreConduite(*robot)) << "the robot was never driven";
        return trundel;
    }
    std::string Chronologie() const
    {
        std::string texte = robot ? robot->Timeline() : "no robot\n";
        if (!programme) return texte;
        const std::string erreurs = programme->Erreurs();
        texte += "trundel stdout:\n" + Lisible(programme->Sortie()) + "\ntrundel stderr:\n" + erreurs;
        if (PriveDeTrames(erreurs))
            texte += "\nThe program went without frames longer than its watchdog allows (" +
                     std::to_string(silenceArretRouesMs) +
                     " ms): a gap in the frames above means the robot's thread or the line's kernel worker "
                     "was not scheduled, none means the program's reception thread (or the line toward it) was not.\n";
        return texte;
    }
    // A replayed run ends by the key the test typed, or by the program giving the run up
    // when the robot went silent for that long (a busy machine can starve it so): the
    // robot is stopped in order all the same.
    void VerifierFinDeRun(int code)
    {
        if (code == codeRobotMuet)
            EXPECT_TRUE(PriveDeTrames(programme->Erreurs())) << "given up with no silence";
        else
            EXPECT_EQ(code, 0);
    }
    // Plays the scenario until it says the path under test was seen: true then. False,
    // with a failure, when a run failed or after kEssais runs without that path. A
    // scenario says so when its run ended as the test expects, or when the run had its
    // frames throughout: then the test's own checks must hold.
    bool Rejouer(const std::function<bool()>& essai, const std::string& cheminAttendu)
    {
        for (int n = 1; n <= kEssais; n++) {
            const bool vu = essai();
            if (HasFailure()) return false;
            if (vu) {
                RecordProperty("essais", std::to_string(n));
                return true;
            }
            std::cout << "run " << n << " did not take the path under test (" << cheminAttendu << "):\n"
                      << Chronologie();
        }
        ADD_FAILURE() << kEssais << " runs, none " << cheminAttendu;
        return false;
    }
    std::string EcrireTable(const std::string& contenu)
    {
        const fs::path chemin = dossierTables / "table.txt";
        std::ofstream(chemin) << contenu;
        return chemin.string();
    }
    // Only "obstacle in the centre, both sides free" turns, to the left by 45: in front
    // of a wall the robot then turns once and stands.
    std::string TableUnQuartDeTour() { return EcrireTable("0 0\n0 0\n40 45\n0 0\n0 0\n0 0\n0 0\n0 0\n"); }
    // Facing the east wall 290 mm away: both centre sensors see it strongly, the front
    // sensors not at all; 45 degrees to the left the front right one sees it fully.
    static emulator::RobotOptions DevantLeMur()
    {
        emulator::RobotOptions options;
        options.start = emulator::Pose{options.roomWidthMm - 290, 1500, 0};
        return options;
    }
    const fs::path dossierTables = fs::temp_directory_path() / ("trundel_tables_" + std::to_string(::getpid()));
    std::unique_ptr<EmulatedRobot> robot;
    std::unique_ptr<Trundel> programme;  // the latest run
};

TEST_F(TrundelContreEmulateur, BuiltInTableHoldsTheRobotStillUntilAKey)
{
    Demarrer();
    Trundel& trundel = Lancer({robot->DevicePath()});
    ASSERT_TRUE(robot->WaitForFrames(5, kAttenteMs));
    ASSERT_TRUE(robot->WaitForCommand(kDrivePwm, kAttenteMs, 20));
    trundel.Taper("q");
    ASSERT_EQ(trundel.AttendreFin(), 0) << trundel.Erreurs();

    const std::vector<Command> recues = VerifierArretOrdonne(*robot);
    ASSERT_GE(recues.size(), 4u);
    EXPECT_EQ(recues[0].opcode, 128);
    EXPECT_EQ(recues[1].opcode, 131);
    EXPECT_EQ(recues[2].opcode, kStream);
    // Encoders, the six light bumps, the robot's mode, battery charge and capacity.
    EXPECT_EQ(recues[2].data, (std::vector<unsigned char>{11, 43, 44, 46, 47, 48, 49, 50, 51, 35, 25, 26}));
    for (std::size_t i = 3; i + 3 < recues.size(); i++) EXPECT_TRUE(EstArretRoues(recues[i])) << i;

    const std::string sortie = trundel.Sortie();
    const std::string debut = "Ouverture et configuration du port " + robot->DevicePath() +
                              "...\r\n...OK\r\nCreation Threads...\nThread RX created...\n...OK\n";
    ASSERT_EQ(sortie.substr(0, debut.size()), debut) << sortie;
    ASSERT_TRUE(FinitPar(sortie, kFinAttendue)) << sortie;
    // In between, one carriage return per frame accepted, and nothing else.
    const std::string milieu = sortie.substr(debut.size(), sortie.size() - debut.size() - kFinAttendue.size());
    EXPECT_GE(milieu.size(), 5u);
    EXPECT_EQ(milieu.find_first_not_of('\r'), std::string::npos) << milieu;
    // The trajectory log has one line per frame, time then the two encoder counts.
    std::istringstream parcours(LireFichier(trundel.Dossier() / "Parcours_CodeBlocks.txt"));
    int lignes = 0;
    int t, gauche, droite;
    while (parcours >> t >> gauche >> droite) lignes++;
    EXPECT_EQ(lignes, static_cast<int>(milieu.size()));
}

TEST_F(TrundelContreEmulateur, TerminalTakesSingleKeysWithoutEchoAndIsRestoredOnEveryWayOut)
{
    const int maitre = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(maitre, 0);
    ASSERT_EQ(::grantpt(maitre), 0);
    ASSERT_EQ(::unlockpt(maitre), 0);
    const int terminal = ::open(::ptsname(maitre), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(terminal, 0);
    auto modeLigne = [terminal] {
        struct termios mode;
        ::tcgetattr(terminal, &mode);
        return (mode.c_lflag & (ICANON | ECHO)) == (ICANON | ECHO);
    };
    auto enAttente = [](int fd) {
        struct pollfd p = {fd, POLLIN, 0};
        return ::poll(&p, 1, 0) > 0;
    };
    ASSERT_TRUE(modeLigne());
    {
        Trundel trundel({"/dev/trundel-absent"}, terminal);
        ASSERT_EQ(trundel.AttendreFin(), 255);
        EXPECT_TRUE(modeLigne()) << "after a port failure";
    }
    Demarrer();
    {
        Trundel trundel({robot->DevicePath()}, terminal);
        ASSERT_TRUE(robot->WaitForCommand(kStream, kAttenteMs));
        EXPECT_FALSE(modeLigne()) << "while running";
        ASSERT_EQ(::write(maitre, "k", 1), 1);  // one key, no Enter
        ASSERT_EQ(trundel.AttendreFin(), 0) << trundel.Erreurs();
        EXPECT_TRUE(modeLigne()) << "after a key";
        EXPECT_FALSE(enAttente(terminal)) << "the key must not be left for the shell";
        EXPECT_FALSE(enAttente(maitre)) << "the key must not be echoed";
    }
    Demarrer();
    {
        Trundel trundel({robot->DevicePath()}, terminal);
        ASSERT_TRUE(robot->WaitForCommand(kStream, kAttenteMs));
        trundel.Signaler(SIGINT);
        ASSERT_EQ(trundel.AttendreFin(), 0) << trundel.Erreurs();
        EXPECT_TRUE(modeLigne()) << "after Ctrl-C";
    }
    ::close(terminal);
    ::close(maitre);
}

TEST_F(TrundelContreEmulateur, MissingDeviceIsReportedWithExitCode255)
{
    Trundel& trundel = Lancer({"/dev/trundel-absent"});
    ASSERT_EQ(trundel.AttendreFin(), 255);
    EXPECT_EQ(trundel.Sortie(),
              "Ouverture et configuration du port /dev/trundel-absent...\r\n"
              "Erreur lors de l'ouverture du port /dev/trundel-absent : périphérique absent (câble branché ? nom "
              "du port ?)\n");
    EXPECT_FALSE(fs::exists(trundel.Dossier() / "Parcours_CodeBlocks.txt"));
}

TEST_F(TrundelContreEmulateur, CtrlCStopsTheRobotLikeAKey)
{
    Demarrer();
    Trundel& trundel = Lancer({robot->DevicePath()});
    ASSERT_TRUE(robot->WaitForCommand(kDrivePwm, kAttenteMs, 10));
    trundel.Signaler(SIGINT);
    ASSERT_EQ(trundel.AttendreFin(), 0) << trundel.Erreurs();
    VerifierArretOrdonne(*robot);
    EXPECT_TRUE(FinitPar(trundel.Sortie(), kFinAttendue)) << trundel.Sortie();
}

TEST_F(TrundelContreEmulateur, CommandedQuarterTurnIsMeasuredByTheRobotsHeading)
{
    // A turn cut short for want of frames is taken up again from where the robot stands,
    // and turns further than asked: such a run is played again.
    double cap = 0;
    double capPlusTard = 0;
    std::size_t tours = 0;
    std::size_t autres = 0;  // Drive PWM commands neither the turn nor a stop
    const bool vu = Rejouer(
        [&] {
            Demarrer(DevantLeMur());
            Trundel& trundel = Lancer({"--table", TableUnQuartDeTour(), robot->DevicePath()});
            // The turn, its stop, then the robot standing: stop commands only from there on.
            const bool tourFini = !AttendreApres(*robot, kTourAGauche, 10, &trundel).empty();
            EXPECT_TRUE(tourFini || !trundel.EnCours()) << "no turn, or no stop after it";
            cap = robot->CurrentPose().headingDeg;
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            capPlusTard = robot->CurrentPose().headingDeg;
            trundel.FermerClavier();  // the end of the input is a key too
            VerifierFinDeRun(trundel.AttendreFin());
            VerifierArretOrdonne(*robot);
            const std::vector<Command> drives = Commandes(*robot, kDrivePwm);
            tours = static_cast<std::size_t>(
                std::count_if(drives.begin(), drives.end(), [](const Command& c) { return c.data == kTourAGauche; }));
            autres = drives.size() - tours -
                     static_cast<std::size_t>(std::count_if(drives.begin(), drives.end(), EstArretRoues));
            const bool attendu = tours == 1 && autres == 0 && capPlusTard == cap && std::abs(cap - 45.0) <= 5.0;
            return attendu || !PriveDeTrames(trundel.Erreurs());
        },
        "a single quarter turn");
    if (!vu) return;
    EXPECT_DOUBLE_EQ(capPlusTard, cap) << "the robot kept turning";
    EXPECT_EQ(tours, 1u);
    EXPECT_EQ(autres, 0u);
    EXPECT_NEAR(cap, 45.0, 5.0);
    RecordProperty("cap_degres", std::to_string(cap));
}

TEST_F(TrundelContreEmulateur, TurnWithBlockedWheelsEndsByTheTimeOut)
{
    // Two seconds of frames are needed for the time-out; a run whose turn the silence
    // watchdog ended first (safely: the wheels stop all the same) is played again.
    int dureeMs = -1;
    bool abandonnee = false;
    // Two seconds from the program's first reading of the turn, sent just before the turn
    // itself. The robot reads the turn late by less than the watchdog's delay, or it did
    // not send its frames either and the run had a silence.
    const int dureeMinMs = delaiSansProgresMs - silenceArretRouesMs - 5;
    const bool vu = Rejouer(
        [&] {
            Demarrer(DevantLeMur());
            robot->StallWheel(emulator::Wheel::Left, true);
            robot->StallWheel(emulator::Wheel::Right, true);
            Trundel& trundel = Lancer({"--table", TableUnQuartDeTour(), robot->DevicePath()});
            const std::vector<Command> drives = AttendreApres(*robot, kTourAGauche, 1);
            EXPECT_FALSE(drives.empty()) << "the turn never ended";
            VerifierFinDeRun(trundel.TerminerPar("\n"));
            if (drives.empty()) return false;
            const auto tour =
                std::find_if(drives.begin(), drives.end(), [](const Command& c) { return c.data == kTourAGauche; });
            EXPECT_TRUE(EstArretRoues(*(tour + 1))) << "the wheels stopped after the turn";
            EXPECT_NEAR(robot->CurrentPose().headingDeg, 0.0, 1e-9);
            VerifierArretOrdonne(*robot);
            dureeMs = (tour + 1)->atMs - tour->atMs;
            abandonnee = trundel.Sortie().find("Rotation abandonnée") != std::string::npos;
            return (abandonnee && dureeMs >= dureeMinMs) || !PriveDeTrames(trundel.Erreurs());
        },
        "the turn given up by the time-out");
    if (!vu) return;
    EXPECT_TRUE(abandonnee) << "Rotation abandonnée";
    EXPECT_GE(dureeMs, dureeMinMs);
    RecordProperty("duree_tour_ms", std::to_string(dureeMs));
}

TEST_F(TrundelContreEmulateur, TerminationSignalEndsATurnAtOnce)
{
    Demarrer(DevantLeMur());
    robot->StallWheel(emulator::Wheel::Left, true);
    robot->StallWheel(emulator::Wheel::Right, true);
    Trundel& trundel = Lancer({"--table", TableUnQuartDeTour(), robot->DevicePath()});

    ASSERT_FALSE(AttendreApres(*robot, kTourAGauche, 0).empty());
    trundel.Signaler(SIGTERM);
    ASSERT_EQ(trundel.AttendreFin(), 0) << trundel.Erreurs();
    // Stopped by the signal, before the turn could time out.
    EXPECT_EQ(trundel.Sortie().find("Rotation abandonnée"), std::string::npos) << trundel.Sortie();
    VerifierArretOrdonne(*robot);
}

TEST_F(TrundelContreEmulateur, ShippedTableDrivesAroundWithoutTouchingAWall)
{
    emulator::RobotOptions options;
    options.start = emulator::Pose{1500, 2400, 80};  // heading for the north wall
    // The body's radius is 170 mm: a wall touched brings the gap down to that.
    constexpr double kEcartMinMm = 171.0;
    double ecartMin = 1e9;
    double parcouru = 0;
    // A program without frames keeps the robot on its last command until its watchdog
    // stops it, as the robot's own would on a real line: such a run tells nothing of the
    // table's driving and is played again when it came too close or did not drive on.
    const bool vu = Rejouer(
        [&] {
            Demarrer(options);
            Trundel& trundel = LancerTableLivree();
            EXPECT_TRUE(robot->WaitForFrames(1, kAttenteMs));
            ecartMin = 1e9;
            parcouru = 0;
            emulator::Pose avant = robot->CurrentPose();
            // Four seconds of the robot's own time, which stands still while it is not scheduled.
            const std::size_t fin = robot->SentFrameCount() + 4000 / options.streamPeriodMs;
            while (robot->SentFrameCount() < fin && trundel.EnCours()) {
                const emulator::Pose p = robot->CurrentPose();
                ecartMin = std::min({ecartMin, p.xMm, options.roomWidthMm - p.xMm, p.yMm, options.roomDepthMm - p.yMm});
                parcouru += std::hypot(p.xMm - avant.xMm, p.yMm - avant.yMm);
                avant = p;
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
            VerifierFinDeRun(trundel.TerminerPar("q"));
            VerifierArretOrdonne(*robot);
            return (ecartMin > kEcartMinMm && parcouru > 300.0) || !PriveDeTrames(trundel.Erreurs());
        },
        "a drive clear of the walls");
    if (!vu) return;
    RecordProperty("ecart_min_mm", std::to_string(ecartMin));
    RecordProperty("parcouru_mm", std::to_string(parcouru));
    EXPECT_GT(ecartMin, kEcartMinMm);
    EXPECT_GT(parcouru, 300.0) << "the robot should have driven on after turning away";
}

TEST_F(TrundelContreEmulateur, MalformedTableIsRefusedBeforeTheRobotIsTouched)
{
    Demarrer();
    Trundel& trundel = Lancer({"--table", EcrireTable("0 0\n0 0\n60 45\n"), robot->DevicePath()});
    EXPECT_EQ(trundel.AttendreFin(), 2);
    EXPECT_NE(trundel.Erreurs().find("3 situation(s) au lieu de huit"), std::string::npos) << trundel.Erreurs();
    EXPECT_EQ(trundel.Sortie(), "");
    EXPECT_TRUE(robot->ReceivedBytes().empty());
}

TEST_F(TrundelContreEmulateur, ARobotThatNeverStreamsIsNeverDrivenAndEndsWithCode4)
{
    emulator::RobotOptions options = AuLarge();
    options.faults.silent = true;
    Demarrer(options);
    // The shipped table drives at 150 when nothing is seen: blind, it must not.
    Trundel& trundel = LancerTableLivree();
    EXPECT_EQ(trundel.AttendreFin(), 4) << trundel.Erreurs();
    VerifierArretOrdonne(*robot);
    for (const Command& c : Commandes(*robot, kDrivePwm)) EXPECT_TRUE(EstArretRoues(c));
    EXPECT_NE(trundel.Erreurs().find("Le robot n'envoie rien sur " + robot->DevicePath()), std::string::npos)
        << trundel.Erreurs();
    EXPECT_NEAR(robot->CurrentPose().yMm, 600.0, 1e-9);
}

TEST_F(TrundelContreEmulateur, ASleepingRobotIsToldApartFromADeadCableByItsWakeUpButton)
{
    emulator::RobotOptions options = AuLarge();
    options.asleep = true;
    Demarrer(options);
    Trundel trundel({"--table", TRUNDEL_TABLES "/trundel-evitement.txt", robot->DevicePath()});
    EXPECT_EQ(trundel.AttendreFin(), 4) << trundel.Erreurs();
    const std::string erreurs = trundel.Erreurs();
    EXPECT_NE(erreurs.find("Le robot n'envoie rien sur " + robot->DevicePath()), std::string::npos) << erreurs;
    EXPECT_NE(erreurs.find("aucune commande ne le réveille, appuyez sur son bouton Clean ou marche"), std::string::npos)
        << erreurs;
    EXPECT_EQ(robot->CurrentMode(), emulator::Mode::Off);
}

TEST_F(TrundelContreEmulateur, FramesStoppingMidRunStopTheWheelsThenEndTheRunWithCode4)
{
    // How soon the wheels stop is the behaviour here. Every run must stop them while the
    // program still runs; a busy machine can delay any one run, so the best of a few
    // runs must stop them within the quarter second the robot allows after its last frame.
    constexpr int kArretMaxMs = 250;
    std::vector<int> delaisMs;
    Rejouer(
        [&] {
            Trundel& trundel = LancerAuLarge();
            const std::size_t avantSilence = robot->ReceivedCommands().size();
            robot->Mute(true);
            const std::size_t tramesAvant = robot->SentFrames().size();  // none after these
            const Command arret = AttendreArretApres(*robot, avantSilence);
            EXPECT_TRUE(EstArretRoues(arret)) << "the wheels were never stopped";
            EXPECT_TRUE(trundel.EnCours()) << "the wheels must stop before the run is given up";
            const emulator::Pose arretee = robot->CurrentPose();
            EXPECT_EQ(trundel.AttendreFin(), 4);
            const std::vector<emulator::SentFrame> trames = robot->SentFrames();
            EXPECT_EQ(trames.size(), tramesAvant);
            // Nothing drove the robot after the stop.
            const emulator::Pose fin = robot->CurrentPose();
            EXPECT_NEAR(std::hypot(fin.xMm - arretee.xMm, fin.yMm - arretee.yMm), 0.0, 1e-9);
            VerifierArretOrdonne(*robot);
            const std::string erreurs = trundel.Erreurs();
            EXPECT_NE(erreurs.find("Plus aucune trame du robot depuis"), std::string::npos);
            EXPECT_NE(erreurs.find("roues arrêtées"), std::string::npos);
            if (trames.empty()) return false;
            delaisMs.push_back(arret.atMs - trames.back().atMs);
            return delaisMs.back() <= kArretMaxMs;
        },
        "stopping the wheels within 250 ms of the last frame");
    RecordProperty("arret_apres_derniere_trame_ms", Liste(delaisMs));
}

TEST_F(TrundelContreEmulateur, FramesComingBackGiveControlBack)
{
    Trundel& trundel = LancerAuLarge();
    const std::size_t avantSilence = robot->ReceivedCommands().size();
    robot->Mute(true);
    ASSERT_TRUE(EstArretRoues(AttendreArretApres(*robot, avantSilence))) << "the silence never stopped the wheels";
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const std::size_t avant = robot->ReceivedCommands().size();
    robot->Mute(false);
    EXPECT_TRUE(Roule(AttendreCommandeApres(*robot, avant, Roule))) << "control never came back";
    trundel.Taper("q");
    EXPECT_EQ(trundel.AttendreFin(), 0);
    EXPECT_NE(trundel.Erreurs().find("reprise du pilotage"), std::string::npos);
}

TEST_F(TrundelContreEmulateur, AnUnpluggedLineEndsTheRunWithCode255NamingTheDevice)
{
    // Every run must end, saying why; the best of a few must end within the second the
    // hang-up allows, which a busy machine can stretch in any one run.
    constexpr int kFinMaxMs = 1000;
    std::vector<int> delaisMs;
    Rejouer(
        [&] {
            Trundel& trundel = LancerAuLarge();
            robot->Unplug();
            const auto debranche = std::chrono::steady_clock::now();
            EXPECT_EQ(trundel.AttendreFin(), 255);
            delaisMs.push_back(static_cast<int>(
                std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - debranche)
                    .count()));
            const std::string erreurs = trundel.Erreurs();
            EXPECT_NE(erreurs.find("Liaison perdue avec le robot sur " + robot->DevicePath()), std::string::npos);
            // The stop could not be sent: said so, and never claimed.
            EXPECT_NE(erreurs.find("non envoyée"), std::string::npos);
            EXPECT_NE(erreurs.find("le robot roule peut-être encore"), std::string::npos);
            EXPECT_EQ(trundel.Sortie().find("roues arrêtées"), std::string::npos);
            return delaisMs.back() <= kFinMaxMs;
        },
        "ending within 1 s of the hang-up");
    RecordProperty("fin_apres_debranchement_ms", Liste(delaisMs));
}

TEST_F(TrundelContreEmulateur, CtrlBackslashStopsTheRobotLikeAKey)
{
    Trundel& trundel = LancerAuLarge();
    trundel.Signaler(SIGQUIT);
    ASSERT_EQ(trundel.AttendreFin(), 0) << trundel.Erreurs();
    VerifierArretOrdonne(*robot);
}

TEST_F(TrundelContreEmulateur, AClosedOutputPipeStopsTheRobotInOrder)
{
    Demarrer(AuLarge());
    // Standard output a pipe whose reader has gone, as with `trundel ... | head`.
    int tube[2];
    ASSERT_EQ(::pipe2(tube, O_CLOEXEC), 0);
    Trundel& trundel = LancerTableLivree(tube[1]);
    ::close(tube[1]);
    // The reader leaves once the robot drives; what was written so far went through.
    ASSERT_TRUE(AttendreConduite(*robot));
    ::close(tube[0]);
    // Well before the output's next block, which would take a minute of frames to fill.
    EXPECT_EQ(trundel.AttendreFin(10000), 0) << "ended by a signal, or not at all: " << trundel.Erreurs();
    VerifierArretOrdonne(*robot);
}

TEST_F(TrundelContreEmulateur, CtrlZStopsTheWheelsBeforeSuspendingAndControlResumesAfter)
{
    Trundel& trundel = LancerAuLarge();
    const std::size_t avantSignal = robot->ReceivedCommands().size();
    trundel.Signaler(SIGTSTP);
    ASSERT_TRUE(trundel.AttendreSuspension()) << trundel.Erreurs();
    // Suspended: the last command the robot gets stops it, and it stands.
    ASSERT_TRUE(EstArretRoues(AttendreArretApres(*robot, avantSignal)));
    const std::vector<Command> avant = Commandes(*robot, kDrivePwm);
    ASSERT_FALSE(avant.empty());
    EXPECT_TRUE(EstArretRoues(avant.back()));
    const emulator::Pose arretee = robot->CurrentPose();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const emulator::Pose plusTard = robot->CurrentPose();
    EXPECT_NEAR(std::hypot(plusTard.xMm - arretee.xMm, plusTard.yMm - arretee.yMm), 0.0, 1e-9);
    EXPECT_TRUE(trundel.EnCours());

    const std::size_t avantReprise = robot->ReceivedCommands().size();
    trundel.Signaler(SIGCONT);
    EXPECT_TRUE(Roule(AttendreCommandeApres(*robot, avantReprise, Roule))) << "control back after SIGCONT";
    trundel.Taper("q");
    EXPECT_EQ(trundel.AttendreFin(), 0) << trundel.Erreurs();
    VerifierArretOrdonne(*robot);
}

TEST_F(TrundelContreEmulateur, ACliffDropsTheRobotToPassiveAndEndsTheRunWithCode3)
{
    emulator::RobotOptions options = AuLarge();
    options.cliff = emulator::Cliff{true, 1500, 1100, 200};  // straight ahead
    Demarrer(options);
    Trundel& trundel = LancerTableLivree();
    EXPECT_EQ(trundel.AttendreFin(), 3) << trundel.Erreurs();
    const std::vector<Command> recues = VerifierArretOrdonne(*robot);
    const std::string erreurs = trundel.Erreurs();
    EXPECT_NE(erreurs.find("quitté le mode Safe pour le mode Passive"), std::string::npos) << erreurs;
    EXPECT_LT(robot->CurrentPose().yMm, 1100.0 - 170.0 + 10.0) << "the robot went over the edge";
    // The exact bytes of the end: pause the stream, stop the wheels, Start.
    const std::vector<unsigned char> octets = robot->ReceivedBytes();
    const std::vector<unsigned char> fin = {150, 0, 146, 0, 0, 0, 0, 128};
    ASSERT_GE(octets.size(), fin.size());
    EXPECT_EQ(std::vector<unsigned char>(octets.end() - 8, octets.end()), fin);
}

TEST_F(TrundelContreEmulateur, AWheelDropEndsTheRunWithCode3)
{
    emulator::RobotOptions options = AuLarge();
    options.faults.wheelDropAfterMs = 300;
    Demarrer(options);
    Trundel& trundel = LancerTableLivree();
    EXPECT_EQ(trundel.AttendreFin(), 3) << trundel.Erreurs();
    VerifierArretOrdonne(*robot);
}

}  // namespace
