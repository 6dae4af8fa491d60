#include "RS232.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

// The reception thread reads while the main thread writes, so the descriptor is shared.
std::atomic<int> g_fd{-1};
std::atomic<const char*> raisonEchecLecture{""};

int EchecLecture(const char* raison)
{
    raisonEchecLecture = raison;
    return 0;
}

const char* RaisonErreur(int erreur)
{
    switch (erreur) {
    case EIO:
        return "ligne raccrochée ou appareil débranché (erreur d'entrée-sortie)";
    case ENXIO:
    case ENODEV:
        return "appareil disparu";
    case EBADF:
        return "port fermé";
    default:
        return "erreur de lecture inattendue";
    }
}

// The reason in the user's terms, with what to do about it where there is something.
const char* RaisonOuverture(int erreur)
{
    switch (erreur) {
    case EACCES:
    case EPERM:
        return "permission refusée (ajoutez-vous au groupe dialout : sudo usermod -aG dialout $USER, "
               "puis reconnectez-vous)";
    case ENOENT:
    case ENXIO:
    case ENODEV:
        return "périphérique absent (câble branché ? nom du port ?)";
    case EBUSY:
    case EWOULDBLOCK:
        return "port déjà utilisé par un autre programme";
    case ENOTTY:
        return "ce n'est pas une liaison série";
    default:
        return std::strerror(erreur);
    }
}

int Echec(const char* message, const char* nomPort, int fd)
{
    const int erreur = errno;
    std::printf(message, nomPort);
    std::printf(" : %s\n", RaisonOuverture(erreur));
    std::fflush(stdout);
    if (fd >= 0) ::close(fd);
    return 0;
}

// The stream's header byte is 19 (XOFF) and its counts may be 13 (CR) or 17 (XON):
// every kind of input or output processing would corrupt frames, hence a raw line.
bool Configurer(int fd)
{
    termios options{};
    if (::tcgetattr(fd, &options) != 0) return false;
    ::cfmakeraw(&options);
    options.c_cflag &= ~(PARENB | CSTOPB | CSIZE | CRTSCTS);
    options.c_cflag |= CS8 | CLOCAL | CREAD;
    options.c_iflag &= ~(IXON | IXOFF | IXANY);
    options.c_cc[VMIN] = 0;
    options.c_cc[VTIME] = 0;
    if (::cfsetispeed(&options, B115200) != 0 || ::cfsetospeed(&options, B115200) != 0) return false;
    return ::tcsetattr(fd, TCSANOW, &options) == 0;
}

bool Bloquant(int fd)
{
    const int drapeaux = ::fcntl(fd, F_GETFL);
    return drapeaux >= 0 && ::fcntl(fd, F_SETFL, drapeaux & ~O_NONBLOCK) == 0;
}

int Ouvrir(const char* devicePath, const char* nomPort)
{
    // Without O_NONBLOCK the open of a serial line whose carrier is down (a USB adapter
    // with DCD left unconnected, a port with nothing on it) waits for ever; once CLOCAL
    // is set the descriptor goes back to blocking, so that writes wait for the line.
    int fd = ::open(devicePath, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return Echec("Erreur lors de l'ouverture du port %s", nomPort, -1);
    // A port already in use by another program is refused like a missing one.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) return Echec("Erreur lors de l'ouverture du port %s", nomPort, fd);
    // TIOCEXCL keeps later openers out where the lock is not looked at; it is also the
    // first call that tells a terminal from any other file.
    if (::ioctl(fd, TIOCEXCL) != 0 || !Configurer(fd) || !Bloquant(fd))
        return Echec("Erreur lors de la configuration du port %s", nomPort, fd);
    ::tcflush(fd, TCIOFLUSH);
    int dtr = TIOCM_DTR;
    // A pseudo-terminal has no modem lines and answers ENOTTY: nothing to raise there.
    if (::ioctl(fd, TIOCMBIS, &dtr) != 0 && errno != ENOTTY)
        return Echec("Erreur lors de la configuration du port %s", nomPort, fd);
    int ancien = g_fd.exchange(fd);
    if (ancien >= 0) ::close(ancien);
    return 1;
}

}  // namespace

int OpenCOM(int nId)
{
    char devicePath[32];
    char nomPort[16];
    std::snprintf(devicePath, sizeof devicePath, "/dev/ttyS%d", nId - 1);
    std::snprintf(nomPort, sizeof nomPort, "COM%d", nId);
    return Ouvrir(devicePath, nomPort);
}

int OpenCOMDevice(const char* devicePath)
{
    return Ouvrir(devicePath, devicePath);
}

int CloseCOM()
{
    int fd = g_fd.exchange(-1);
    if (fd >= 0) ::close(fd);
    return 1;
}

int ReadCOM(void* buffer, int nBytesToRead, int* pBytesRead)
{
    *pBytesRead = 0;
    int fd = g_fd.load();
    if (fd < 0 || nBytesToRead < 0) return EchecLecture(RaisonErreur(EBADF));
    pollfd attente{fd, POLLIN, 0};
    int pret;
    do {
        pret = ::poll(&attente, 1, 1);
    } while (pret < 0 && errno == EINTR);
    if (pret < 0) return EchecLecture(RaisonErreur(errno));
    if (pret == 0 || nBytesToRead == 0) return 1;
    if (attente.revents & POLLNVAL) return EchecLecture(RaisonErreur(EBADF));
    if (attente.revents & POLLERR) return EchecLecture("erreur signalée par la ligne");
    ssize_t lus;
    do {
        lus = ::read(fd, buffer, static_cast<size_t>(nBytesToRead));
    } while (lus < 0 && errno == EINTR);
    if (lus < 0) return errno == EAGAIN ? 1 : EchecLecture(RaisonErreur(errno));
    // A hung-up line reads as an endless end of file: report it rather than spin on it.
    if (lus == 0 && (attente.revents & POLLHUP)) return EchecLecture("ligne raccrochée");
    *pBytesRead = static_cast<int>(lus);
    return 1;
}

const char* RaisonEchecLecture()
{
    return raisonEchecLecture.load();
}

int WriteCOM(void* buffer, int nBytesToWrite, int* pBytesWritten)
{
    *pBytesWritten = 0;
    int fd = g_fd.load();
    if (fd < 0 || nBytesToWrite < 0) return 0;
    const unsigned char* octets = static_cast<const unsigned char*>(buffer);
    int ecrits = 0;
    while (ecrits < nBytesToWrite) {
        ssize_t n = ::write(fd, octets + ecrits, static_cast<size_t>(nBytesToWrite - ecrits));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        ecrits += static_cast<int>(n);
    }
    *pBytesWritten = ecrits;
    return ecrits == nBytesToWrite ? 1 : 0;
}
