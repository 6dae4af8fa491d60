#include "Clavier.h"

#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>

namespace {
struct termios modeInitial;
bool modeModifie = false;
}  // namespace

ModeClavier::ModeClavier()
{
    Reprendre();
}

ModeClavier::~ModeClavier()
{
    Restaurer();
}

void ModeClavier::Reprendre()
{
    if (modeModifie || !isatty(STDIN_FILENO) || tcgetattr(STDIN_FILENO, &modeInitial) != 0) return;
    struct termios brut = modeInitial;
    brut.c_lflag &= ~(ICANON | ECHO);  // ISIG stays: Ctrl-C must still reach the stop handler
    brut.c_cc[VMIN] = 1;
    brut.c_cc[VTIME] = 0;
    if (tcsetattr(STDIN_FILENO, TCSANOW, &brut) == 0) {
        modeModifie = true;
    } else {
        std::perror("Terminal laissé en mode ligne");
    }
}

void ModeClavier::Restaurer()
{
    if (modeModifie && tcsetattr(STDIN_FILENO, TCSANOW, &modeInitial) != 0) {
        std::perror("Impossible de restaurer le terminal");
    }
    modeModifie = false;
}

bool ToucheAppuyee()
{
    struct pollfd entree = {STDIN_FILENO, POLLIN, 0};
    // A closed or failing input counts as a key too: nothing else could ever end the run.
    return poll(&entree, 1, 0) > 0 && entree.revents != 0;
}

void ViderEntree()
{
    if (isatty(STDIN_FILENO)) {
        tcflush(STDIN_FILENO, TCIFLUSH);
        return;
    }
    char rebut[256];
    while (ToucheAppuyee() && read(STDIN_FILENO, rebut, sizeof rebut) > 0) {
    }
}
