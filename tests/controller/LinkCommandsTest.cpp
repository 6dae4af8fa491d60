// The Open Interface commands as bytes on the line.
#include "LectureID.h"
#include "LinkTestSupport.h"
#include "RS232.h"
#include "iRobotSpecification.h"

#include <cstring>

using link_test::Bytes;
using link_test::PseudoTerminal;

namespace {

class CommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::memset(tabData, 0, sizeof tabData);
        ASSERT_EQ(OpenCOMDevice(line_.Path()), 1);
    }
    void TearDown() override { CloseCOM(); }

    PseudoTerminal line_;
};

TEST_F(CommandTest, DrivePWMSendsBothDutiesHighByteFirstInTwosComplement)
{
    DrivePWM(0, 0);
    EXPECT_EQ(line_.Receive(), (Bytes{146, 0, 0, 0, 0}));
    DrivePWM(100, -100);
    EXPECT_EQ(line_.Receive(), (Bytes{146, 0, 100, 255, 156}));
    DrivePWM(-1, 255);
    EXPECT_EQ(line_.Receive(), (Bytes{146, 255, 255, 0, 255}));
    // Out of the robot's range, sent as it is.
    DrivePWM(-256, 272);
    EXPECT_EQ(line_.Receive(), (Bytes{146, 255, 0, 1, 16}));
    EXPECT_EQ(nBytes_TX, 5);
    EXPECT_EQ(nBytesWritten, 5u);
}

TEST_F(CommandTest, StartSafeMotorsAndPause)
{
    InitRobot();
    EXPECT_EQ(line_.Receive(), (Bytes{128, 131}));
    Motors(0, 0, 1, 1, 1);
    EXPECT_EQ(line_.Receive(), (Bytes{138, 7}));
    Motors(1, 1, 0, 0, 0);
    EXPECT_EQ(line_.Receive(), (Bytes{138, 24}));
    // Each argument taken as a signed byte, the sum modulo 256.
    Motors(-1, 0, 0, 0, 257);
    EXPECT_EQ(line_.Receive(), (Bytes{138, 241}));
    StreamMarcheArret(0);
    EXPECT_EQ(line_.Receive(), (Bytes{150, 0}));
    StreamMarcheArret(1);
    EXPECT_EQ(line_.Receive(), (Bytes{150, 1}));
}

TEST_F(CommandTest, StreamNeedsThePacketSizesForItsFrameLength)
{
    unsigned ids[6] = {43, 44, 47, 48, 49, 50};
    EXPECT_EQ(Stream(6, ids), 9u);
    EXPECT_EQ(line_.Receive(), (Bytes{148, 6, 43, 44, 47, 48, 49, 50}));
    InitTableauID();
    EXPECT_EQ(Stream(6, ids), 21u);
    EXPECT_EQ(nombreBytes_RX, 21u);
    line_.Receive();

    // Ids the table does not hold count as empty instead of being looked up past its end.
    unsigned strange[2] = {7, 300};
    EXPECT_EQ(Stream(2, strange), 2u + 3u + 1u);
    EXPECT_EQ(line_.Receive(), (Bytes{148, 2, 7, 44}));
}

TEST_F(CommandTest, AStreamRequestTooLongForItsCountByteIsNotSent)
{
    unsigned ids[300];
    for (unsigned& id : ids) id = 131;  // would reach the robot as Safe commands
    EXPECT_EQ(Stream(300, ids), 0u);
    EXPECT_TRUE(line_.Receive(50).empty());
}

TEST_F(CommandTest, CommandsThePortDidNotTakeAreCounted)
{
    const unsigned before = CommandesNonEnvoyees();
    CloseCOM();
    DrivePWM(10, 10);
    InitRobot();
    EXPECT_EQ(CommandesNonEnvoyees(), before + 2);
    EXPECT_EQ(nBytesWritten, 0u);
}

TEST(PacketSizes, MatchThePublishedInterface)
{
    InitTableauID();
    int total = 0;
    for (const dataSensor& slot : tabData) total += slot.nBytes;
    // 52 packets from 7 to 58, of which 28 are two bytes long.
    EXPECT_EQ(total, 52 + 28);
    for (int id : {0, 6, 59, 63}) EXPECT_EQ(tabData[id].nBytes, 0) << id;
    for (int id : {7, 21, 24, 32, 34, 38, 45, 52, 53, 58}) EXPECT_EQ(tabData[id].nBytes, 1) << id;
    for (int id : {19, 22, 25, 31, 33, 39, 43, 44, 46, 51, 54, 57}) EXPECT_EQ(tabData[id].nBytes, 2) << id;
}

}  // namespace
