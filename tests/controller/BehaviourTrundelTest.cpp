// The trundel program run as a user would, against the emulated robot on a
// pseudo-terminal, with its standard input a pipe that the test types into.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "EmulatedRobot.h"

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
        arguments.insert(arguments.begin(), TRUNDEL_PROGRAMME);
        std::vector<char*> argv;
        for (std::string& a : arguments) argv.push_back(a.data());
        argv.push_back(nullptr);
        EXPECT_EQ(posix_spawn(&pid_, TRUNDEL_PROGRAMME, &actions, nullptr, argv.data(), environ), 0);
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

const std::vector<unsigned char> kTourAGauche = {0, 40, 0xFF, 0xD8};  // right 40, left -40

// Waits until the robot has received `nombre` Drive PWM commands after the first one with
// these duties (0: that one itself); returns the Drive PWM commands received by then.
std::vector<Command> AttendreApres(const EmulatedRobot& robot, const std::vector<unsigned char>& duties,
                                   std::size_t nombre)
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
        if (std::chrono::steady_clock::now() > limite) return {};
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
    return recues;
}

const std::string kFinAttendue = "\nLiberation Threads...\n...OK\n";

bool FinitPar(const std::string& texte, const std::string& fin)
{
    return texte.size() >= fin.size() && texte.compare(texte.size() - fin.size(), fin.size(), fin) == 0;
}

class TrundelContreEmulateur : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(dossierTables); }
    void TearDown() override { fs::remove_all(dossierTables); }
    void Demarrer(const emulator::RobotOptions& options = {})
    {
        robot = std::make_unique<EmulatedRobot>(options);
        ASSERT_TRUE(robot->Start()) << robot->LastError();
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
};

TEST_F(TrundelContreEmulateur, BuiltInTableHoldsTheRobotStillUntilAKey)
{
    Demarrer();
    Trundel trundel({robot->DevicePath()});
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
    Trundel trundel({"/dev/trundel-absent"});
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
    Trundel trundel({robot->DevicePath()});
    ASSERT_TRUE(robot->WaitForCommand(kDrivePwm, kAttenteMs, 10));
    trundel.Signaler(SIGINT);
    ASSERT_EQ(trundel.AttendreFin(), 0) << trundel.Erreurs();
    VerifierArretOrdonne(*robot);
    EXPECT_TRUE(FinitPar(trundel.Sortie(), kFinAttendue)) << trundel.Sortie();
}

TEST_F(TrundelContreEmulateur, CommandedQuarterTurnIsMeasuredByTheRobotsHeading)
{
    Demarrer(DevantLeMur());
    Trundel trundel({"--table", TableUnQuartDeTour(), robot->DevicePath()});

    // The turn, its stop, then the robot standing: stop commands only from there on.
    ASSERT_FALSE(AttendreApres(*robot, kTourAGauche, 10).empty());
    const double cap = robot->CurrentPose().headingDeg;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_DOUBLE_EQ(robot->CurrentPose().headingDeg, cap) << "the robot kept turning";
    trundel.FermerClavier();  // the end of the input is a key too
    ASSERT_EQ(trundel.AttendreFin(), 0) << trundel.Erreurs();
    VerifierArretOrdonne(*robot);

    const std::vector<Command> drives = Commandes(*robot, kDrivePwm);
    std::size_t tours = 0;
    for (const Command& c : drives) {
        if (c.data == kTourAGauche)
            tours++;
        else
            EXPECT_TRUE(EstArretRoues(c));
    }
    EXPECT_EQ(tours, 1u);
    EXPECT_NEAR(cap, 45.0, 5.0);
    RecordProperty("cap_degres", std::to_string(cap));
}

TEST_F(TrundelContreEmulateur, TurnWithBlockedWheelsEndsByTheTimeOut)
{
    Demarrer(DevantLeMur());
    robot->StallWheel(emulator::Wheel::Left, true);
    robot->StallWheel(emulator::Wheel::Right, true);
    Trundel trundel({"--table", TableUnQuartDeTour(), robot->DevicePath()});

    ASSERT_FALSE(AttendreApres(*robot, kTourAGauche, 0).empty());
    const auto debutTour = std::chrono::steady_clock::now();
    const std::vector<Command> drives = AttendreApres(*robot, kTourAGauche, 1);
    const auto duree = std::chrono::steady_clock::now() - debutTour;
    ASSERT_FALSE(drives.empty());
    // Two seconds without progress; less only by how late this test saw the turn begin.
    EXPECT_GE(duree, std::chrono::milliseconds(1500));
    trundel.Taper("\n");
    ASSERT_EQ(trundel.AttendreFin(), 0) << trundel.Erreurs();

    const auto tour =
        std::find_if(drives.begin(), drives.end(), [](const Command& c) { return c.data == kTourAGauche; });
    ASSERT_NE(tour + 1, drives.end());
    EXPECT_TRUE(EstArretRoues(*(tour + 1))) << "the wheels stopped after the turn";
    EXPECT_NE(trundel.Sortie().find("Rotation abandonnée"), std::string::npos) << trundel.Sortie();
    EXPECT_NEAR(robot->CurrentPose().headingDeg, 0.0, 1e-9);
    VerifierArretOrdonne(*robot);
}

TEST_F(TrundelContreEmulateur, TerminationSignalEndsATurnAtOnce)
{
    Demarrer(DevantLeMur());
    robot->StallWheel(emulator::Wheel::Left, true);
    robot->StallWheel(emulator::Wheel::Right, true);
    Trundel trundel({"--table", TableUnQuartDeTour(), robot->DevicePath()});

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
    Demarrer(options);
    Trundel trundel({"--table", TRUNDEL_TABLES "/trundel-evitement.txt", robot->DevicePath()});
    ASSERT_TRUE(robot->WaitForFrames(1, kAttenteMs));

    double ecartMin = 1e9;
    double parcouru = 0;
    emulator::Pose avant = robot->CurrentPose();
    const auto fin = std::chrono::steady_clock::now() + std::chrono::seconds(4);
    while (std::chrono::steady_clock::now() < fin && trundel.EnCours()) {
        const emulator::Pose p = robot->CurrentPose();
        ecartMin = std::min({ecartMin, p.xMm, options.roomWidthMm - p.xMm, p.yMm, options.roomDepthMm - p.yMm});
        parcouru += std::hypot(p.xMm - avant.xMm, p.yMm - avant.yMm);
        avant = p;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    trundel.Taper("q");
    ASSERT_EQ(trundel.AttendreFin(), 0) << trundel.Erreurs();
    RecordProperty("ecart_min_mm", std::to_string(ecartMin));
    RecordProperty("parcouru_mm", std::to_string(parcouru));
    // The body's radius is 170 mm: a wall touched brings the gap down to that.
    EXPECT_GT(ecartMin, 171.0);
    EXPECT_GT(parcouru, 300.0) << "the robot should have driven on after turning away";
    VerifierArretOrdonne(*robot);
}

TEST_F(TrundelContreEmulateur, MalformedTableIsRefusedBeforeTheRobotIsTouched)
{
    Demarrer();
    Trundel trundel({"--table", EcrireTable("0 0\n0 0\n60 45\n"), robot->DevicePath()});
    EXPECT_EQ(trundel.AttendreFin(), 2);
    EXPECT_NE(trundel.Erreurs().find("3 situation(s) au lieu de huit"), std::string::npos) << trundel.Erreurs();
    EXPECT_EQ(trundel.Sortie(), "");
    EXPECT_TRUE(robot->ReceivedBytes().empty());
}

bool Roule(const Command& c)
{
    return c.opcode == kDrivePwm && !EstArretRoues(c);
}

// Waits until the robot has been sent a command that makes it move.
bool AttendreConduite(const EmulatedRobot& robot)
{
    const auto limite = std::chrono::steady_clock::now() + std::chrono::milliseconds(kAttenteMs);
    while (std::chrono::steady_clock::now() < limite) {
        for (const Command& c : Commandes(robot, kDrivePwm))
            if (Roule(c)) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return false;
}

// In the middle of the room, heading for no wall soon: the shipped table drives straight.
emulator::RobotOptions AuLarge()
{
    emulator::RobotOptions options;
    options.start = emulator::Pose{1500, 600, 90};
    return options;
}

TEST_F(TrundelContreEmulateur, ARobotThatNeverStreamsIsNeverDrivenAndEndsWithCode4)
{
    emulator::RobotOptions options = AuLarge();
    options.faults.silent = true;
    Demarrer(options);
    // The shipped table drives at 150 when nothing is seen: blind, it must not.
    Trundel trundel({"--table", TRUNDEL_TABLES "/trundel-evitement.txt", robot->DevicePath()});
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
    Demarrer(AuLarge());
    Trundel trundel({"--table", TRUNDEL_TABLES "/trundel-evitement.txt", robot->DevicePath()});
    ASSERT_TRUE(AttendreConduite(*robot));
    robot->Mute(true);
    const auto muet = std::chrono::steady_clock::now();
    const std::size_t tramesAvant = robot->SentFrames().size();
    // The wheels are stopped while the program still runs, long before it gives up.
    const auto limite = muet + std::chrono::milliseconds(kAttenteMs);
    while (!Commandes(*robot, kDrivePwm).empty() && !EstArretRoues(Commandes(*robot, kDrivePwm).back()) &&
           std::chrono::steady_clock::now() < limite)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const auto arret = std::chrono::steady_clock::now();
    EXPECT_TRUE(trundel.EnCours()) << "the wheels must stop before the run is given up";
    const emulator::Pose arretee = robot->CurrentPose();
    EXPECT_EQ(trundel.AttendreFin(), 4) << trundel.Erreurs();
    EXPECT_LE(robot->SentFrames().size(), tramesAvant + 1);
    // Nothing drove the robot after the stop.
    const emulator::Pose fin = robot->CurrentPose();
    EXPECT_NEAR(std::hypot(fin.xMm - arretee.xMm, fin.yMm - arretee.yMm), 0.0, 1e-9);
    VerifierArretOrdonne(*robot);
    const std::string erreurs = trundel.Erreurs();
    EXPECT_NE(erreurs.find("Plus aucune trame du robot depuis"), std::string::npos) << erreurs;
    EXPECT_NE(erreurs.find("roues arrêtées"), std::string::npos) << erreurs;
    RecordProperty("arret_apres_silence_ms",
                   std::to_string(std::chrono::duration_cast<std::chrono::milliseconds>(arret - muet).count()));
}

TEST_F(TrundelContreEmulateur, FramesComingBackGiveControlBack)
{
    Demarrer(AuLarge());
    Trundel trundel({"--table", TRUNDEL_TABLES "/trundel-evitement.txt", robot->DevicePath()});
    ASSERT_TRUE(AttendreConduite(*robot));
    robot->Mute(true);
    ASSERT_FALSE(AttendreApres(*robot, {0, 0, 0, 0}, 0).empty());
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const std::size_t avant = Commandes(*robot, kDrivePwm).size();
    robot->Mute(false);
    const auto limite = std::chrono::steady_clock::now() + std::chrono::milliseconds(kAttenteMs);
    bool repris = false;
    while (!repris && std::chrono::steady_clock::now() < limite) {
        const std::vector<Command> drives = Commandes(*robot, kDrivePwm);
        for (std::size_t i = avant; i < drives.size(); i++) repris = repris || Roule(drives[i]);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    EXPECT_TRUE(repris);
    trundel.Taper("q");
    EXPECT_EQ(trundel.AttendreFin(), 0) << trundel.Erreurs();
    EXPECT_NE(trundel.Erreurs().find("reprise du pilotage"), std::string::npos) << trundel.Erreurs();
}

TEST_F(TrundelContreEmulateur, AnUnpluggedLineEndsTheRunWithCode255NamingTheDevice)
{
    Demarrer(AuLarge());
    Trundel trundel({"--table", TRUNDEL_TABLES "/trundel-evitement.txt", robot->DevicePath()});
    ASSERT_TRUE(AttendreConduite(*robot));
    robot->Unplug();
    const auto debranche = std::chrono::steady_clock::now();
    EXPECT_EQ(trundel.AttendreFin(), 255) << trundel.Erreurs();
    RecordProperty("fin_apres_debranchement_ms", std::to_string(std::chrono::duration_cast<std::chrono::milliseconds>(
                                                                    std::chrono::steady_clock::now() - debranche)
                                                                    .count()));
    const std::string erreurs = trundel.Erreurs();
    EXPECT_NE(erreurs.find("Liaison perdue avec le robot sur " + robot->DevicePath()), std::string::npos) << erreurs;
    // The stop could not be sent: said so, and never claimed.
    EXPECT_NE(erreurs.find("non envoyée"), std::string::npos) << erreurs;
    EXPECT_NE(erreurs.find("le robot roule peut-être encore"), std::string::npos) << erreurs;
    EXPECT_EQ(trundel.Sortie().find("roues arrêtées"), std::string::npos);
}

TEST_F(TrundelContreEmulateur, CtrlBackslashStopsTheRobotLikeAKey)
{
    Demarrer(AuLarge());
    Trundel trundel({"--table", TRUNDEL_TABLES "/trundel-evitement.txt", robot->DevicePath()});
    ASSERT_TRUE(AttendreConduite(*robot));
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
    Trundel trundel({"--table", TRUNDEL_TABLES "/trundel-evitement.txt", robot->DevicePath()}, -1, tube[1]);
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
    Demarrer(AuLarge());
    Trundel trundel({"--table", TRUNDEL_TABLES "/trundel-evitement.txt", robot->DevicePath()});
    ASSERT_TRUE(AttendreConduite(*robot));
    trundel.Signaler(SIGTSTP);
    ASSERT_TRUE(trundel.AttendreSuspension()) << trundel.Erreurs();
    // Suspended: the last command the robot got stops it, and it stands.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const std::vector<Command> avant = Commandes(*robot, kDrivePwm);
    ASSERT_FALSE(avant.empty());
    EXPECT_TRUE(EstArretRoues(avant.back()));
    const emulator::Pose arretee = robot->CurrentPose();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const emulator::Pose plusTard = robot->CurrentPose();
    EXPECT_NEAR(std::hypot(plusTard.xMm - arretee.xMm, plusTard.yMm - arretee.yMm), 0.0, 1e-9);
    EXPECT_TRUE(trundel.EnCours());

    trundel.Signaler(SIGCONT);
    const auto limite = std::chrono::steady_clock::now() + std::chrono::milliseconds(kAttenteMs);
    bool repris = false;
    while (!repris && std::chrono::steady_clock::now() < limite) {
        const std::vector<Command> drives = Commandes(*robot, kDrivePwm);
        for (std::size_t i = avant.size(); i < drives.size(); i++) repris = repris || Roule(drives[i]);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    EXPECT_TRUE(repris) << "control back after SIGCONT";
    trundel.Taper("q");
    EXPECT_EQ(trundel.AttendreFin(), 0) << trundel.Erreurs();
    VerifierArretOrdonne(*robot);
}

TEST_F(TrundelContreEmulateur, ACliffDropsTheRobotToPassiveAndEndsTheRunWithCode3)
{
    emulator::RobotOptions options = AuLarge();
    options.cliff = emulator::Cliff{true, 1500, 1100, 200};  // straight ahead
    Demarrer(options);
    Trundel trundel({"--table", TRUNDEL_TABLES "/trundel-evitement.txt", robot->DevicePath()});
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
    Trundel trundel({"--table", TRUNDEL_TABLES "/trundel-evitement.txt", robot->DevicePath()});
    EXPECT_EQ(trundel.AttendreFin(), 3) << trundel.Erreurs();
    VerifierArretOrdonne(*robot);
}

}  // namespace
