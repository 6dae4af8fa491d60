#include "thread.h"

#include "LectureID.h"
#include "PaquetsDemandes.h"
#include "RS232.h"
#include "ReceptionTrames.h"
#include "iRobotSpecification.h"

#include <chrono>
#include <ctime>
#include <thread>

AutoResetEvent hEvent_RX;
AutoResetEvent hEvent_Create;
std::atomic<int> endThread{0};
FILE* fichier = nullptr;

namespace {

const char* const kNomParcours = "Parcours_CodeBlocks.txt";
constexpr int kOctetsParLecture = 128;

const std::chrono::steady_clock::time_point debutProgramme = std::chrono::steady_clock::now();

std::thread threadRX;
int t1 = 0;

std::atomic<unsigned long> tramesAcceptees{0};
std::atomic<unsigned long> tramesRefusees{0};
std::atomic<unsigned long> octetsEcartes{0};
std::atomic<long long> processeurThreadRXUs{0};
std::atomic<int> derniereTrameMs{-1};
std::atomic<int> plusLongSilenceMs{0};
std::atomic<const char*> lignePerdue{nullptr};

long long ProcesseurCeThreadUs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<long long>(t.tv_sec) * 1000000 + t.tv_nsec / 1000;
}

void EcrireLigneParcours()
{
    t1 = HorlogeMs();
    const int precedente = derniereTrameMs.exchange(t1);
    if (precedente >= 0 && t1 - precedente > plusLongSilenceMs) plusLongSilenceMs = t1 - precedente;
    if (fichier == nullptr) return;
    dataSensor table[64];
    LireTableDonnees(table);
    std::fprintf(fichier, " %6d %6d %6d\n", t1, ValeurPaquet(table, paquetCodeurGauche),
                 ValeurPaquet(table, paquetCodeurDroit));
}

}  // namespace

void AutoResetEvent::Set()
{
    {
        std::lock_guard<std::mutex> verrou(mutex_);
        set_ = true;
    }
    signalled_.notify_one();
}

void AutoResetEvent::Reset()
{
    std::lock_guard<std::mutex> verrou(mutex_);
    set_ = false;
}

void AutoResetEvent::Wait()
{
    std::unique_lock<std::mutex> verrou(mutex_);
    signalled_.wait(verrou, [this] { return set_; });
    set_ = false;
}

bool AutoResetEvent::WaitFor(int milliseconds)
{
    std::unique_lock<std::mutex> verrou(mutex_);
    if (!signalled_.wait_for(verrou, std::chrono::milliseconds(milliseconds), [this] { return set_; })) return false;
    set_ = false;
    return true;
}

int HorlogeMs()
{
    return static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - debutProgramme)
            .count());
}

void CreateThreadsRX()
{
    // A thread still running from an earlier start is stopped and its log closed, so
    // that the new log does not take over the stream of one left open.
    FreeThreadsRX();
    endThread = 0;
    hEvent_RX.Reset();
    hEvent_Create.Reset();
    tramesAcceptees = 0;
    tramesRefusees = 0;
    octetsEcartes = 0;
    processeurThreadRXUs = 0;
    derniereTrameMs = -1;
    plusLongSilenceMs = 0;
    lignePerdue = nullptr;
    threadRX = std::thread(RX_Thread, nullptr);
    hEvent_Create.Wait();
}

void RX_Thread(void*)
{
    fichier = std::fopen(kNomParcours, "w+");
    if (fichier == nullptr)
        std::printf("Impossible de créer le fichier %s : le parcours ne sera pas enregistré\n", kNomParcours);
    std::printf("Thread RX created...\n");
    std::fflush(stdout);
    hEvent_Create.Set();

    FrameReassembler reassembler;
    unsigned char lecture[kOctetsParLecture];
    while (endThread == 0) {
        int nBytes_RX = 0;
        if (ReadCOM(lecture, kOctetsParLecture, &nBytes_RX)) {
            CompteursTrames passe;
            RecevoirOctets(reassembler, lecture, nBytes_RX, EcrireLigneParcours, passe);
            tramesAcceptees += passe.acceptees;
            tramesRefusees += passe.refusees;
            octetsEcartes += passe.octetsEcartes;
        } else {
            // A port that failed once (hung up, unplugged) does not come back: the first
            // reason is the one the user needs. It answers at once from then on, so keep
            // the pass about 1 ms long instead of spinning.
            const char* attendu = nullptr;
            lignePerdue.compare_exchange_strong(attendu, RaisonEchecLecture());
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        processeurThreadRXUs = ProcesseurCeThreadUs();
        hEvent_RX.Set();
    }
}

void ArreterThreadRX()
{
    endThread = 1;
    if (threadRX.joinable()) threadRX.join();
}

void FreeThreadsRX()
{
    ArreterThreadRX();
    nBytes_TX = 0;
    if (fichier != nullptr) {
        std::fclose(fichier);
        fichier = nullptr;
    }
}

CompteursTrames CompteursReception()
{
    CompteursTrames compteurs;
    compteurs.acceptees = tramesAcceptees;
    compteurs.refusees = tramesRefusees;
    compteurs.octetsEcartes = octetsEcartes;
    compteurs.processeurUs = processeurThreadRXUs;
    compteurs.derniereTrameMs = derniereTrameMs;
    compteurs.plusLongSilenceMs = plusLongSilenceMs;
    return compteurs;
}

const char* LignePerdue()
{
    return lignePerdue.load();
}
