#pragma once

// Open Interface command encoders. Each builds its bytes at the start of TxBuffer and
// sends them; commands are built on the main thread only. Those that return a bool say
// whether the port took the command whole; a failure is also reported on the console.
extern unsigned char TxBuffer[1024];
extern int nBytes_TX;
extern unsigned nBytesWritten;

void InitRobot();                            // 128, 131: Start, Safe
bool RetourModePassif();                     // 128: Start again, the robot can sleep
bool DrivePWM(long RightPWM, long LeftPWM);  // 146, right hi/lo, left hi/lo
void Motors(int SensBrosse, int SensBalais, int MarcheBrosse, int MarcheAspiration, int MarcheBalais);
// 148, n, ids; returns the frame length, or 0 (nothing sent) for a frame longer than the
// robot can stream. From then on only frames of this layout are taken.
unsigned Stream(unsigned NombreDePaquets, const unsigned* ID);
bool StreamMarcheArret(unsigned d);  // 150, d: 0 pauses, 1 resumes

// Commands that the port did not take whole since the program started.
unsigned CommandesNonEnvoyees();
