#include "LectureID.h"

#include "OpenInterface.h"
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

// The frame layout of the last stream request, under verrouTable: the payload's length
// and the ids in the order asked. Before any request every frame that fits is taken.
struct Disposition {
    bool demandee = false;
    unsigned charge = 0;
    unsigned nIds = 0;
    unsigned char ids[oi::kLongestPayload];
};
Disposition disposition;

// True while the bytes seen so far (from the header) can still be a frame of the
// requested layout: the right count byte, and each id where the layout puts it.
bool SuitLaDisposition(const unsigned char* octets, int disponibles)
{
    if (!disposition.demandee) return true;
    if (disponibles >= 2 && octets[1] != disposition.charge) return false;
    int p = 2;
    for (unsigned i = 0; i < disposition.nIds && p < disponibles; ++i) {
        if (octets[p] != disposition.ids[i]) return false;
        p += 1 + oi::PacketSize(disposition.ids[i]);
    }
    return true;
}

// Walks the payload of the frame in RxBuffer, copying each packet into the table when
// `copier` is set. False when the frame does not lie whole within the table and the
// payload: an id of 64 or more, a packet cut by the checksum, or no packet with data.
bool ParcourirPaquets(bool copier)
{
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

void InitTableauID()
{
    std::lock_guard<std::mutex> verrou(verrouTable);
    for (int id = 0; id < oi::kPacketIds; ++id) tabData[id].nBytes = oi::PacketSize(id);
    disposition.demandee = false;
}

void FixerDispositionTrame(const unsigned* ids, unsigned nIds)
{
    std::lock_guard<std::mutex> verrou(verrouTable);
    disposition.demandee = true;
    disposition.nIds = 0;
    disposition.charge = 0;
    for (unsigned i = 0; i < nIds && i < sizeof disposition.ids; ++i) {
        if (ids[i] >= oi::kPacketIds || tabData[ids[i]].nBytes == 0) continue;  // the robot leaves these out
        disposition.ids[disposition.nIds++] = static_cast<unsigned char>(ids[i]);
        disposition.charge += 1u + static_cast<unsigned>(tabData[ids[i]].nBytes);
    }
}

bool DebutDeTrameAttendue(const unsigned char* octets, int disponibles)
{
    std::lock_guard<std::mutex> verrou(verrouTable);
    return SuitLaDisposition(octets, disponibles);
}

int VerifChecksum()
{
    const unsigned nombreOctets = RxBuffer[1] + 3u;
    Checksum = 0;
    for (unsigned i = 0; i < nombreOctets; ++i) Checksum += RxBuffer[i];
    resultatChSum = Checksum & 0xFF;
    return static_cast<int>(resultatChSum);
}

int EcritureDesIDsDansTableDonnees()
{
    {
        std::lock_guard<std::mutex> verrou(verrouTable);
        if (!SuitLaDisposition(RxBuffer, RxBuffer[1] + 3) || !ParcourirPaquets(false)) return 0;
        ParcourirPaquets(true);
    }
    std::fputs("\r", stdout);
    return 1;
}

void LireTableDonnees(dataSensor copie[64])
{
    std::lock_guard<std::mutex> verrou(verrouTable);
    std::memcpy(copie, tabData, sizeof tabData);
}

unsigned ValeurPaquet(const dataSensor table[64], int id)
{
    if (id < 0 || id >= 64) return 0;
    const dataSensor& slot = table[id];
    if (slot.nBytes == 2) return slot.data[0] * 256u + slot.data[1];
    return slot.data[0];
}

void AfficherTableID(int ID)
{
    std::printf("[%d]", ID);
    if (ID < 0 || ID >= 64) return;
    dataSensor copie[64];
    LireTableDonnees(copie);
    for (int i = 0; i < copie[ID].nBytes && i < 2; ++i) std::printf("%03d ", copie[ID].data[i]);
}

void EcrireLeFichierTableID(int ID1, int ID2)
{
    if (fichier == nullptr) return;
    dataSensor copie[64];
    LireTableDonnees(copie);
    for (int id : {ID1, ID2}) {
        if (id < 0 || id >= 64) continue;
        for (int i = 0; i < copie[id].nBytes && i < 2; ++i)
            std::fprintf(fichier, "ID[%d]\t%04d\t", id, copie[id].data[i]);
    }
}
