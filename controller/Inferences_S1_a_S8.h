#pragma once

// Command of each situation k = 0..7 (bit 0: left blocked, bit 1: centre, bit 2: right):
// a wheel duty and a turn, positive to the left.
extern int DefVitesse[8];
extern int DefAngle[8];

// The built-in table: every situation stands still.
void CasCapteursIR();
