#pragma once

// Left wheel speed from its encoder (packet 43), and a PID command towards a set speed.
// A building block of the design that the controller does not call yet: Trundel steers
// by duty alone, and this speed loop waits for a controller that holds wheel speeds.
// It is built and tested with the rest, so it stays sound until then.
extern int puls;
extern int lastPuls;
extern int deltaPuls;
extern int temps;  // milliseconds, read from the clock at each measurement
extern int lastTemps;
extern int deltaTemps;
extern int frequence;  // encoder counts per 500 ms
extern long error;

// Measures the speed since the previous measurement and returns it.
int CalculFrequence();
int CorrecteurPID(int error);
// Drives the left wheel towards consigne (same unit as frequence * 3.1416 / 124).
void CommandeMoteur(int consigne);
