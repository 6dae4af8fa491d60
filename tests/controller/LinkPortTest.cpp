// The serial port on a pseudo-terminal: error messages, exclusivity, raw bytes both
// ways, reads that return with what has arrived.
#include "LinkTestSupport.h"
#include "RS232.h"

#include <chrono>
#include <cstdio>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>

using link_test::Bytes;
using link_test::PseudoTerminal;

namespace {

class PortTest : public ::testing::Test {
protected:
    void TearDown() override { CloseCOM(); }
};

std::string Opening(int (*open)(const char*), const char* device, int& result)
{
    testing::internal::CaptureStdout();
    result = open(device);
    return testing::internal::GetCapturedStdout();
}

TEST_F(PortTest, MissingPortsAreNamedInTheMessage)
{
    testing::internal::CaptureStdout();
    EXPECT_EQ(OpenCOM(200), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Erreur lors de l'ouverture du port COM200 : périphérique absent (câble branché ? nom du port ?)\n");

    int result = -1;
    EXPECT_EQ(Opening(OpenCOMDevice, "/dev/ttyUSB-absent", result),
              "Erreur lors de l'ouverture du port /dev/ttyUSB-absent : périphérique absent (câble branché ? nom du "
              "port ?)\n");
    EXPECT_EQ(result, 0);
}

TEST_F(PortTest, AFileThatIsNoTerminalCannotBeConfigured)
{
    link_test::ScratchDirectory scratch;
    std::FILE* file = std::fopen("not-a-port", "w");
    ASSERT_NE(file, nullptr);
    std::fclose(file);
    int result = -1;
    EXPECT_EQ(Opening(OpenCOMDevice, "not-a-port", result),
              "Erreur lors de la configuration du port not-a-port : ce n'est pas une liaison série\n");
    EXPECT_EQ(result, 0);
    // The refused file was closed again: nothing still holds its lock.
    const int fd = ::open("not-a-port", O_RDWR);
    EXPECT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
    ::close(fd);
}

TEST_F(PortTest, APortWithoutPermissionPointsToTheDialoutGroup)
{
    if (::geteuid() == 0) GTEST_SKIP() << "root opens any file";
    link_test::ScratchDirectory scratch;
    std::FILE* file = std::fopen("locked-port", "w");
    ASSERT_NE(file, nullptr);
    std::fclose(file);
    ASSERT_EQ(::chmod("locked-port", 0), 0);
    int result = -1;
    const std::string message = Opening(OpenCOMDevice, "locked-port", result);
    EXPECT_EQ(result, 0);
    EXPECT_NE(message.find("permission refusée"), std::string::npos) << message;
    EXPECT_NE(message.find("dialout"), std::string::npos) << message;
    EXPECT_EQ(message.back(), '\n');
}

TEST_F(PortTest, APortInUseIsRefused)
{
    PseudoTerminal line;
    const int holder = ::open(line.Path(), O_RDWR | O_NOCTTY);
    ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);
    int result = -1;
    EXPECT_EQ(Opening(OpenCOMDevice, line.Path(), result), std::string("Erreur lors de l'ouverture du port ") +
                                                               line.Path() +
                                                               " : port déjà utilisé par un autre programme\n");
    EXPECT_EQ(result, 0);
    ::close(holder);

    EXPECT_EQ(Opening(OpenCOMDevice, line.Path(), result), "");
    EXPECT_EQ(result, 1);
    const int latecomer = ::open(line.Path(), O_RDWR | O_NOCTTY);
    EXPECT_NE(::flock(latecomer, LOCK_EX | LOCK_NB), 0) << "the port must be held exclusively";
    ::close(latecomer);
}

TEST_F(PortTest, EveryByteValueCrossesTheLineUnchangedBothWays)
{
    PseudoTerminal line;
    ASSERT_EQ(OpenCOMDevice(line.Path()), 1);
    // The header 19 is XOFF, 17 XON, 13 CR and 10 LF: flow control or line editing would eat or change them.
    Bytes all;
    for (int round = 0; round < 2; ++round)
        for (int b = 0; b < 256; ++b) all.push_back(static_cast<unsigned char>(b));

    int written = 0;
    EXPECT_EQ(WriteCOM(all.data(), int(all.size()), &written), 1);
    EXPECT_EQ(written, int(all.size()));
    EXPECT_EQ(line.ReceiveAtLeast(all.size()), all);

    line.Send(all);
    Bytes got;
    unsigned char chunk[128];
    for (int pass = 0; pass < 5000 && got.size() < all.size(); ++pass) {
        int count = 0;
        ASSERT_EQ(ReadCOM(chunk, sizeof chunk, &count), 1);
        got.insert(got.end(), chunk, chunk + count);
    }
    EXPECT_EQ(got, all);
    EXPECT_TRUE(line.Receive(50).empty()) << "nothing may be echoed back to the robot";
}

TEST_F(PortTest, AWriteWaitsForASlowLineInsteadOfGivingUp)
{
    PseudoTerminal line;
    ASSERT_EQ(OpenCOMDevice(line.Path()), 1);
    // Far more than the line's queue holds: the write must wait for the reader, which
    // starts late, instead of stopping half-way on a full queue.
    Bytes many(256 * 1024);
    for (std::size_t i = 0; i < many.size(); ++i) many[i] = static_cast<unsigned char>(i * 7);
    Bytes got;
    std::thread reader([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        got = line.ReceiveAtLeast(many.size());
    });
    int written = 0;
    EXPECT_EQ(WriteCOM(many.data(), int(many.size()), &written), 1);
    EXPECT_EQ(written, int(many.size()));
    reader.join();
    EXPECT_EQ(got, many);
}

TEST_F(PortTest, ReadsReturnPromptlyWithWhatHasArrived)
{
    PseudoTerminal line;
    ASSERT_EQ(OpenCOMDevice(line.Path()), 1);
    unsigned char chunk[128];
    int count = -1;
    const auto start = std::chrono::steady_clock::now();
    for (int pass = 0; pass < 20; ++pass) {
        ASSERT_EQ(ReadCOM(chunk, sizeof chunk, &count), 1);
        EXPECT_EQ(count, 0);
    }
    // Twenty empty reads of about 1 ms each; generous for a loaded machine.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));

    line.Send(Bytes(21, 7));
    int total = 0;
    for (int pass = 0; pass < 1000 && total < 21; ++pass) {
        ASSERT_EQ(ReadCOM(chunk, sizeof chunk, &count), 1);
        total += count;
    }
    EXPECT_EQ(total, 21) << "a read of 128 bytes must not wait for 128";
}

TEST_F(PortTest, AClosedPortReportsFailure)
{
    PseudoTerminal line;
    ASSERT_EQ(OpenCOMDevice(line.Path()), 1);
    EXPECT_EQ(CloseCOM(), 1);
    EXPECT_EQ(CloseCOM(), 1);
    unsigned char byte = 128;
    int count = -1;
    EXPECT_EQ(ReadCOM(&byte, 1, &count), 0);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(WriteCOM(&byte, 1, &count), 0);
    EXPECT_EQ(count, 0);
}

}  // namespace
