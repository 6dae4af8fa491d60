#include "ArretDemande.h"

#include <cstdio>
#include <poll.h>
#include <unistd.h>

#include "Clavier.h"
#include "SignauxArret.h"

namespace {
// Output into a pipe is written in blocks, so a reader that left (`trundel | head`)
// would otherwise be noticed only at the next full block, a minute later: the pipe
// itself says so at once.
bool SortieFermee()
{
    struct pollfd sortie = {STDOUT_FILENO, 0, 0};
    return std::ferror(stdout) || (poll(&sortie, 1, 0) > 0 && (sortie.revents & (POLLERR | POLLHUP)));
}
}  // namespace

bool ArretDemande()
{
    return ArretSignale() || SuspensionDemandee() || ToucheAppuyee() || SortieFermee();
}
