#pragma once
#include <filesystem>
// Helpers shared by the link's tests: a bare pseudo-terminal, a scratch working
// directory, and stream frames built by hand.
#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace link_test {

using Bytes = std::vector<unsigned char>;

// A pseudo-terminal whose master end the test holds; the port under test opens Path().
class PseudoTerminal {
public:
    PseudoTerminal()
    {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
        char name[128] = {};
        if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0 ||
            ::ptsname_r(master_, name, sizeof name) != 0)
            ADD_FAILURE() << "no pseudo-terminal: " << errno;
        path_ = name;
    }
    ~PseudoTerminal()
    {
        if (master_ >= 0) ::close(master_);
    }
    const char* Path() const { return path_.c_str(); }
    void Send(const Bytes& bytes) const
    {
        ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), ssize_t(bytes.size()));
    }
    // Whatever the other end wrote within `timeoutMs` of silence.
    Bytes Receive(int timeoutMs = 200) const { return ReceiveAtLeast(0, timeoutMs); }
    // The same, once `count` bytes have come: a writer that is not scheduled for a while
    // (a busy machine) cannot cut it short before then.
    Bytes ReceiveAtLeast(std::size_t count, int timeoutMs = 200) const
    {
        Bytes got;
        unsigned char chunk[512];
        pollfd line{master_, POLLIN, 0};
        while (::poll(&line, 1, got.size() < count ? 20000 : timeoutMs) > 0 && (line.revents & POLLIN)) {
            const ssize_t n = ::read(master_, chunk, sizeof chunk);
            if (n <= 0) break;
            got.insert(got.end(), chunk, chunk + n);
        }
        return got;
    }

private:
    int master_ = -1;
    std::string path_;
};

// Runs the test inside a fresh directory, so the trajectory log of parallel tests never meet.
class ScratchDirectory {
public:
    ScratchDirectory()
    {
        char pattern[] = "/tmp/trundel-test-XXXXXX";
        const char* made = ::mkdtemp(pattern);
        EXPECT_NE(made, nullptr);
        path_ = made ? made : "/tmp";
        char here[PATH_MAX];
        previous_ = ::getcwd(here, sizeof here) ? here : "/";
        EXPECT_EQ(::chdir(path_.c_str()), 0);
    }
    ~ScratchDirectory()
    {
        (void)::chdir(previous_.c_str());
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
    std::string previous_;
};

// A stream frame around `payload`: header 19, the count, the payload and the checksum
// that brings the sum of all the bytes to 0.
inline Bytes Frame(const Bytes& payload)
{
    Bytes frame{19, static_cast<unsigned char>(payload.size())};
    frame.insert(frame.end(), payload.begin(), payload.end());
    unsigned sum = 0;
    for (unsigned char b : frame) sum += b;
    frame.push_back(static_cast<unsigned char>(256 - sum % 256));
    return frame;
}

// A frame of a six-packet layout: the two encoders, then four light-bump signals.
inline Bytes EncoderFrame(unsigned left, unsigned right)
{
    return Frame({43, static_cast<unsigned char>(left >> 8), static_cast<unsigned char>(left), 44,
                  static_cast<unsigned char>(right >> 8), static_cast<unsigned char>(right), 47, 0, 0, 48, 0, 0, 49, 0,
                  0, 50, 1, 2});
}

}  // namespace link_test
