#pragma once

// Open Interface command encoders. Each builds its bytes at the start of TxBuffer and
// sends them; commands are built on the main thread only.
extern unsigned char TxBuffer[1024];
extern int nBytes_TX;
extern unsigned nBytesWritten;

void InitRobot();                                     // 128, 131: Start, Safe
void DrivePWM(long RightPWM, long LeftPWM);           // 146, right hi/lo, left hi/lo
void Motors(int SensBrosse, int SensBalais, int MarcheBrosse, int MarcheAspiration, int MarcheBalais);
unsigned Stream(unsigned NombreDePaquets, unsigned* ID);  // 148, n, ids; returns the frame length
void StreamMarcheArret(unsigned d);                   // 150, d: 0 pauses, 1 resumes

// Commands that the port did not take whole since the program started.
unsigned CommandesNonEnvoyees();
