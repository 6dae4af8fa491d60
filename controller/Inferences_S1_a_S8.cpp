#include "Inferences_S1_a_S8.h"

int DefVitesse[8];
int DefAngle[8];

void CasCapteursIR()
{
    for (int k = 0; k < 8; k++) {
        DefVitesse[k] = 0;
        DefAngle[k] = 0;
    }
}
