// The room file: what it describes, what it refuses and why, and the shipped rooms.
#include "RoomFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

using emulator::RoomDescription;

namespace {

bool Parse(const std::string& text, RoomDescription& room, std::string& error)
{
    return emulator::ParseRoomText(text, "salon.txt", room, error);
}

TEST(RoomFile, ReadsEveryStatementWithCommentsBlankLinesAndDefaults)
{
    RoomDescription room;
    std::string error;
    ASSERT_TRUE(Parse("# a room\n\nroom 4000 3000   # walls\r\n"
                      "box 1200 800 600 400 30\n"
                      "\tbox 3000 2000 200 100\n"
                      "cylinder 2500 2000 20\n"
                      "start 500 500 45\n"
                      "box 150 1500 400 100 90  # turned, it stands against the wall\n"
                      "cylinder 3800 200 12.5",
                      room, error))
        << error;
    EXPECT_EQ(room.widthMm, 4000);
    EXPECT_EQ(room.depthMm, 3000);
    ASSERT_EQ(room.furniture.boxes.size(), 3u);
    EXPECT_EQ(room.furniture.boxes[0].angleDeg, 30);
    EXPECT_EQ(room.furniture.boxes[1].angleDeg, 0) << "the angle is optional";
    EXPECT_EQ(room.furniture.boxes[1].widthMm, 200);
    ASSERT_EQ(room.furniture.cylinders.size(), 2u);
    EXPECT_EQ(room.furniture.cylinders[1].radiusMm, 12.5) << "the last line needs no line end";
    EXPECT_TRUE(room.hasStart);
    EXPECT_EQ(room.start.headingDeg, 45);

    RoomDescription bare;
    ASSERT_TRUE(Parse("room 500 500\n", bare, error));
    EXPECT_FALSE(bare.hasStart);
    EXPECT_TRUE(bare.furniture.boxes.empty());
}

TEST(RoomFile, RefusesTheWholeFileWithTheLineAndTheReason)
{
    const std::string pieces(499, '\n');
    std::string tooMany = "room 10000 10000\n";
    for (int i = 0; i < 501; ++i) tooMany += "cylinder 5000 5000 10\n";
    const struct {
        std::string text;
        std::string said;
    } refusals[] = {
        {"", "salon.txt: no \"room WIDTH DEPTH\" statement"},
        {"# nothing\n", "no \"room"},
        {"box 1 1 10 10\nroom 4000 3000\n", "salon.txt:1: the first statement must be \"room WIDTH DEPTH\""},
        {"room 4000 3000\nroom 4000 3000\n", "salon.txt:2: a second \"room\""},
        {"room 4000\n", ":1: \"room\" takes WIDTH DEPTH"},
        {"room 4000 3000\nsofa 1 2 3 4\n", ":2: unknown statement \"sofa\" (room, box, cylinder or start)"},
        {"room 4000 3000\nbox 1000 1000 100\n", ":2: \"box\" takes X Y WIDTH DEPTH [ANGLE]"},
        {"room 4000 3000\nbox 1000 1000 100 100 0 7\n", ":2: \"box\" takes"},
        {"room 4000 3000\ncylinder 1000 1000\n", ":2: \"cylinder\" takes X Y RADIUS"},
        {"room 4000 3000\nstart 1000 1000\n", ":2: \"start\" takes X Y HEADING"},
        {"room 4000 3000\nstart 1000 1000 0\nstart 2000 1000 0\n", ":3: a second \"start\""},
        {"room 4000 3000\nbox 1000 1000 1e2x 100\n", ":2: \"1e2x\" is not a number"},
        {"room inf 3000\n", ":1: \"inf\" is not a number"},
        {"room nan 3000\n", "\"nan\" is not a number"},
        {"room 0x1000 3000\n", "\"0x1000\" is not a number"},
        {"room 1e999 3000\n", "\"1e999\" is not a number"},
        {"room 400 3000\n", ":1: room side 400 is outside 400..100000"},
        {"room 4000 100001\n", "room side 100001 is outside"},
        {"room 4000 3000\nbox 1000 1000 9 100\n", ":2: box side 9 is outside 10..100000"},
        {"room 4000 3000\ncylinder 1000 1000 4\n", ":2: radius 4 is outside 5..50000"},
        {"room 4000 3000\nbox 1000 1000 100 100 3601\n", ":2: angle 3601 is outside -3600..3600"},
        {"room 4000 3000\nstart 1000 1000 -4000\n", ":2: heading -4000 is outside"},
        {"room 4000 3000\nbox 3900 1000 300 100\n", ":2: the box reaches beyond the walls"},
        {"room 4000 3000\nbox 100 1500 300 100 45\n", ":2: the box reaches beyond the walls"},
        {"room 4000 3000\ncylinder 10 1500 20\n", ":2: the cylinder reaches beyond the walls"},
        {"room 4000 3000\nstart 1000 1000 0\ncylinder 1100 1100 20\n",
         ":2: the robot's body (170 mm radius) at the start would overlap a wall or a piece of furniture"},
        {"room 4000 3000\nstart 100 1000 0\n", ":2: the robot's body"},
        {"room 4000 3000\n" + pieces + "box 1 1 1 1 " + std::string(190, '1') + "\n",
         ":501: line longer than 200 characters"},
        {tooMany, ":502: more than 500 pieces of furniture"},
        {"room 4000 3000\nbo\x1b[2Jx 1 2 3 4\n", ":2: unknown statement \"bo\\x1b[2Jx\""},
        {"room 4000 3000\nbox 1 2\x01 3 4\n", ":2: \"2\\x01\" is not a number"},
    };
    for (const auto& refusal : refusals) {
        RoomDescription room;
        room.widthMm = 123;
        std::string error;
        EXPECT_FALSE(Parse(refusal.text, room, error)) << refusal.text;
        EXPECT_NE(error.find(refusal.said), std::string::npos) << error << "\ninstead of: " << refusal.said;
        EXPECT_EQ(room.widthMm, 123) << "a refused file leaves nothing behind";
        for (char c : error) EXPECT_FALSE(static_cast<unsigned char>(c) < 0x20) << "control byte in: " << error;
    }
}

TEST(RoomFile, RefusesTooLargeAFileBeforeReadingItAllAndNamesTheMissingOne)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "room_file_test";
    std::filesystem::create_directories(folder);
    const std::string big = (folder / "big.txt").string();
    {
        std::ofstream out(big);
        out << "room 4000 3000\n";
        for (int i = 0; i < 10000; ++i) out << "# a comment long enough to pass the limit soon\n";
    }
    RoomDescription room;
    std::string error;
    EXPECT_FALSE(emulator::ReadRoomFile(big, room, error));
    EXPECT_NE(error.find("big.txt: larger than 65536 bytes"), std::string::npos) << error;
    EXPECT_FALSE(emulator::ReadRoomFile((folder / "absent\ttab.txt").string(), room, error));
    EXPECT_NE(error.find("absent\\x09tab.txt: No such file"), std::string::npos) << error;
    EXPECT_FALSE(emulator::ReadRoomFile(folder.string(), room, error)) << "a folder is no room";
    std::filesystem::remove_all(folder);
}

TEST(RoomFile, ShippedRoomsAreReadAndTheirRobotStandsFree)
{
    int rooms = 0;
    for (const auto& entry : std::filesystem::directory_iterator(TRUNDEL_ROOMS)) {
        RoomDescription room;
        std::string error;
        ASSERT_TRUE(emulator::ReadRoomFile(entry.path().string(), room, error)) << error;
        EXPECT_TRUE(room.hasStart) << entry.path();
        EXPECT_FALSE(room.furniture.cylinders.empty()) << entry.path();
        ++rooms;
    }
    EXPECT_GE(rooms, 3);
}

}  // namespace
