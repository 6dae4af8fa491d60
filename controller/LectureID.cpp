#include "LectureID.h"

#include "thread.h"

#include <cstdio>
#include <cstring>
#include <mutex>

dataSensor tabData[64];
unsigned char RxBuffer[1024];
unsigned nombreBytes_RX = 0;
unsigned Checksum = 0;
unsigned resultatChSum = 0;

namespace {

// Held while a frame is copied in and while a reader takes its copy, so that a reader
// never sees the two bytes of an encoder count, or two signals, from different frames.
std::mutex verrouTable;

struct TaillePaquets {
    int premierId;
    int dernierId;
    int nBytes;
};

// Data sizes of the robot's sensor packets; ids 0 to 6 and 59 to 63 stay at 0.
constexpr TaillePaquets taillesPubliees[] = {
    {7, 18, 1},  {19, 20, 2},  {21, 21, 1},  {22, 23, 2},  {24, 24, 1},  {25, 31, 2},
    {32, 32, 1}, {33, 33, 2},  {34, 38, 1},  {39, 44, 2},  {45, 45, 1},  {46, 51, 2},
    {52, 53, 1}, {54, 57, 2},  {58, 58, 1},
};

// Walks the payload of the frame in RxBuffer, copying each packet into the table when
// `copier` is set. False when the frame does not lie whole within the table and the
// payload: an id of 64 or more, a packet cut by the checksum, or no packet with data.
bool ParcourirPaquets(bool copier) {
    const unsigned finCharge = 2u + RxBuffer[1];
    bool unPaquet = false;
    unsigned p = 2;
    while (p < finCharge) {
        const unsigned id = RxBuffer[p++];
        if (id >= 64) return false;
        const unsigned taille = static_cast<unsigned>(tabData[id].nBytes);
        if (taille == 0) continue;
        if (taille > sizeof tabData[id].data || p + taille > finCharge) return false;
        if (copier) std::memcpy(tabData[id].data, RxBuffer + p, taille);
        p += taille;
        unPaquet = true;
    }
    return unPaquet;
}

}  // namespace

void InitTableauID() {
    std::lock_guard<std::mutex> verrou(verrouTable);
    for (dataSensor& slot : tabData) slot.nBytes = 0;
    for (const TaillePaquets& plage : taillesPubliees)
        for (int id = plage.premierId; id <= plage.dernierId; ++id) tabData[id].nBytes = plage.nBytes;
}

int VerifChecksum() {
    const unsigned nombreOctets = RxBuffer[1] + 3u;
    Checksum = 0;
    for (unsigned i = 0; i < nombreOctets; ++i) Checksum += RxBuffer[i];
    resultatChSum = Checksum & 0xFF;
    return static_cast<int>(resultatChSum);
}

int EcritureDesIDsDansTableDonnees() {
    {
        std::lock_guard<std::mutex> verrou(verrouTable);
        if (!ParcourirPaquets(false)) return 0;
        ParcourirPaquets(true);
    }
    std::fputs("\r", stdout);
    return 1;
}

void LireTableDonnees(dataSensor copie[64]) {
    std::lock_guard<std::mutex> verrou(verrouTable);
    std::memcpy(copie, tabData, sizeof tabData);
}

unsigned ValeurPaquet(const dataSensor table[64], int id) {
    if (id < 0 || id >= 64) return 0;
    const dataSensor& slot = table[id];
    if (slot.nBytes == 2) return slot.data[0] * 256u + slot.data[1];
    return slot.data[0];
}

void AfficherTableID(int ID) {
    std::printf("[%d]", ID);
    if (ID < 0 || ID >= 64) return;
    dataSensor copie[64];
    LireTableDonnees(copie);
    for (int i = 0; i < copie[ID].nBytes && i < 2; ++i) std::printf("%03d ", copie[ID].data[i]);
}

void EcrireLeFichierTableID(int ID1, int ID2) {
    if (fichier == nullptr) return;
    dataSensor copie[64];
    LireTableDonnees(copie);
    for (int id : {ID1, ID2}) {
        if (id < 0 || id >= 64) continue;
        for (int i = 0; i < copie[id].nBytes && i < 2; ++i)
            std::fprintf(fichier, "ID[%d]\t%04d\t", id, copie[id].data[i]);
    }
}
