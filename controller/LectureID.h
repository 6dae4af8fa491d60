#pragma once

// One sensor packet's slot: its data size in a stream frame and its last data bytes.
struct dataSensor {
    int nBytes;
    unsigned char data[2];
};

// The sensor table, indexed by packet id. Written by the reception thread; any other
// thread reads it only through LireTableDonnees, which hands out one whole frame.
extern dataSensor tabData[64];

extern unsigned char RxBuffer[1024];  // the frame being checked, from its header byte
// Expected frame length, set by Stream as it also returns it. Nothing on the reception
// side reads it: the frame check holds each frame to the layout FixerDispositionTrame
// recorded, which fixes the length and the ids besides, and under a lock, where this
// plain variable written by the main thread could not be read safely by the reception
// thread. It stays as the record of what the last request asked for, which the link
// tests check.
extern unsigned nombreBytes_RX;
extern unsigned Checksum;
extern unsigned resultatChSum;

// Fills the sizes and forgets the layout of any earlier stream request.
void InitTableauID();
// The layout of the frames asked for (the ids the robot streams, in order); from then on
// only frames of that layout are taken. Stream sets it.
void FixerDispositionTrame(const unsigned* ids, unsigned nIds);
// False once the bytes from a header can no longer be a frame of the requested layout.
bool DebutDeTrameAttendue(const unsigned char* octets, int disponibles);
int VerifChecksum();  // 0: the frame in RxBuffer is valid
// Copies the packets of the frame in RxBuffer into tabData, all of them at once, and
// returns 1. A frame of another layout than the one requested, or that does not lie whole
// within the table and its payload (an id of 64 or more, a packet cut short, no packet
// with data), is refused whole: returns 0.
int EcritureDesIDsDansTableDonnees();
// Debugging dumps, called by none of the controller's loops: one packet's data bytes on
// the console, or two packets' bytes to the trajectory log (nothing while no log is
// open). They stay for tracing a run by hand beside the encoder log; the link tests
// hold their formats.
void AfficherTableID(int ID);
void EcrireLeFichierTableID(int ID1, int ID2);

// A consistent copy of the table as of the last accepted frame.
void LireTableDonnees(dataSensor copie[64]);
// Value of a packet in a table: data[0] * 256 + data[1] for two bytes, data[0] for one.
unsigned ValeurPaquet(const dataSensor table[64], int id);
