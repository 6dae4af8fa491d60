// Frames from the byte stream to the sensor table: checksum, parse, refusal of frames
// that do not fit, and reassembly across arbitrary read boundaries.
#include "FrameReassembler.h"
#include "LectureID.h"
#include "LinkTestSupport.h"
#include "ReceptionTrames.h"
#include "thread.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <utility>

using link_test::Bytes;
using link_test::EncoderFrame;
using link_test::Frame;

namespace {

std::vector<std::pair<unsigned, unsigned>> encodersSeen;

void RememberEncoders()
{
    dataSensor table[64];
    LireTableDonnees(table);
    encodersSeen.emplace_back(ValeurPaquet(table, 43), ValeurPaquet(table, 44));
}

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::memset(tabData, 0, sizeof tabData);
        InitTableauID();
        encodersSeen.clear();
        testing::internal::CaptureStdout();  // every accepted frame prints "\r"
    }
    void TearDown() override { testing::internal::GetCapturedStdout(); }

    // Loads one frame into RxBuffer and runs the checksum and the parse on it.
    bool Accepts(const Bytes& frame)
    {
        std::memcpy(RxBuffer, frame.data(), frame.size());
        return VerifChecksum() == 0 && EcritureDesIDsDansTableDonnees() == 1;
    }
    // Feeds the stream to the reception in reads of the given sizes (cycled).
    CompteursTrames Feed(const Bytes& stream, const std::vector<int>& readSizes)
    {
        CompteursTrames counts;
        std::size_t at = 0;
        for (std::size_t i = 0; at < stream.size(); ++i) {
            const int size = std::min<int>(readSizes[i % readSizes.size()], int(stream.size() - at));
            RecevoirOctets(reassembler_, stream.data() + at, size, RememberEncoders, counts);
            at += size;
        }
        return counts;
    }
    unsigned Value(int id)
    {
        dataSensor table[64];
        LireTableDonnees(table);
        return ValeurPaquet(table, id);
    }

    FrameReassembler reassembler_;
};

Bytes Join(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

TEST_F(FrameTest, PublishedFramesAreAcceptedAndParsed)
{
    EXPECT_TRUE(Accepts({19, 5, 29, 2, 25, 13, 0, 163}));
    EXPECT_EQ(Value(29), 2u * 256 + 25);
    EXPECT_EQ(Value(13), 0u);

    EXPECT_TRUE(Accepts({19, 6, 43, 1, 44, 44, 2, 88, 9}));
    EXPECT_EQ(Value(43), 300u);
    EXPECT_EQ(Value(44), 600u);
}

TEST_F(FrameTest, WrongChecksumsLeaveTheTableAlone)
{
    // A checksum computed without the header byte, as a careless sender would.
    EXPECT_FALSE(Accepts({19, 5, 29, 2, 25, 13, 0, 182}));
    const Bytes good{19, 6, 43, 1, 44, 44, 2, 88, 9};
    for (std::size_t i = 2; i < good.size(); ++i) {
        Bytes changed = good;
        ++changed[i];
        std::memcpy(RxBuffer, changed.data(), changed.size());
        EXPECT_NE(VerifChecksum(), 0) << "byte " << i;
    }
    const CompteursTrames counts = Feed(Frame({43, 9, 9, 44, 9, 9}), {64});
    EXPECT_EQ(counts.acceptees, 1u);
    Bytes corrupt = EncoderFrame(1000, 2000);
    corrupt.back() ^= 0x40;
    const CompteursTrames refused = Feed(corrupt, {64});
    EXPECT_EQ(refused.acceptees, 0u);
    EXPECT_EQ(Value(43), 9u * 256 + 9);
}

TEST_F(FrameTest, FramesThatDoNotFitTheTableAreRefusedWhole)
{
    ASSERT_TRUE(Accepts(EncoderFrame(111, 222)));
    const Bytes refused[] = {
        Frame({43, 1, 2, 64, 5}),  // an id beyond the table, after a good packet
        Frame({43, 1, 2, 200, 5}),
        Frame({}),                 // no payload at all
        Frame({7}),                // one byte: an id without its data
        Frame({43, 1, 2, 44, 9}),  // the last packet cut by the checksum
        Frame({0, 1, 2}),          // only packets that carry no data
    };
    for (const Bytes& frame : refused) {
        EXPECT_FALSE(Accepts(frame)) << int(frame[1]);
        EXPECT_EQ(Value(43), 111u);
        EXPECT_EQ(Value(44), 222u);
    }
    // Ids without data are skipped as lone bytes, the rest of the frame still counts.
    EXPECT_TRUE(Accepts(Frame({0, 3, 7, 2})));
    EXPECT_EQ(Value(7), 2u);
}

TEST_F(FrameTest, EveryFrameIsTakenOnceWhateverTheReadBoundaries)
{
    Bytes stream;
    for (unsigned k = 1; k <= 12; ++k) stream = Join({stream, EncoderFrame(k * 300, 65535 - k)});
    const std::vector<std::vector<int>> cuttings = {{1}, {2}, {7}, {21}, {22}, {128}, {5, 31, 2, 1, 40}};
    for (const auto& sizes : cuttings) {
        encodersSeen.clear();
        reassembler_.Clear();
        const CompteursTrames counts = Feed(stream, sizes);
        ASSERT_EQ(encodersSeen.size(), 12u) << "reads of " << sizes[0];
        for (unsigned k = 1; k <= 12; ++k) EXPECT_EQ(encodersSeen[k - 1], std::make_pair(k * 300, 65535 - k));
        EXPECT_EQ(counts.refusees, 0u);
    }
}

TEST_F(FrameTest, ResynchronisesAfterStrayBytes)
{
    const unsigned layout[] = {43, 44, 47, 48, 49, 50};
    FixerDispositionTrame(layout, 6);
    const Bytes first = EncoderFrame(1, 2);
    // Reading starts in the middle of a frame.
    const Bytes midFrame(first.begin() + 9, first.end());
    // A false header whose count reaches into the next real frame.
    const Bytes falseHeader{19, 4, 43};
    // A false header announcing a long frame: the real ones behind it must not be lost.
    const Bytes longFalseFrame{19, 250};
    const Bytes stream = Join({midFrame, EncoderFrame(3, 4), falseHeader, EncoderFrame(5, 6), Bytes{0, 19, 19},
                               EncoderFrame(7, 8), longFalseFrame, EncoderFrame(9, 10)});
    // Nothing follows the last frame: it must not wait behind the long false one, which
    // the requested layout shows to be false from its count byte.
    const CompteursTrames counts = Feed(stream, {3});
    const std::vector<std::pair<unsigned, unsigned>> expected{{3, 4}, {5, 6}, {7, 8}, {9, 10}};
    EXPECT_EQ(encodersSeen, expected);
    EXPECT_GT(counts.refusees, 0u);
    EXPECT_GT(counts.octetsEcartes, 0u);
}

TEST_F(FrameTest, LargeReadsAreTakenWholeWithOneCarriageReturnPerFrame)
{
    Bytes stream;
    for (unsigned k = 0; k < 400; ++k) stream = Join({stream, Bytes{7, 7, 19}, EncoderFrame(k, k)});
    const CompteursTrames counts = Feed(stream, {int(stream.size())});
    EXPECT_EQ(counts.acceptees, 400u);
    EXPECT_EQ(encodersSeen.back(), std::make_pair(399u, 399u));
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(printed, std::string(400, '\r'));
    testing::internal::CaptureStdout();
}

TEST_F(FrameTest, DumpsShowOnePacketOrTwo)
{
    ASSERT_TRUE(Accepts(Frame({43, 1, 200, 7, 3})));
    std::string shown = testing::internal::GetCapturedStdout();
    testing::internal::CaptureStdout();
    AfficherTableID(43);
    AfficherTableID(7);
    AfficherTableID(64);
    shown = testing::internal::GetCapturedStdout();
    EXPECT_EQ(shown, "[43]001 200 [7]003 [64]");
    testing::internal::CaptureStdout();
}

TEST_F(FrameTest, LogDumpWritesBothPacketsToTheTrajectoryLogOnlyWhenOneIsOpen)
{
    ASSERT_TRUE(Accepts(Frame({43, 1, 200, 7, 3})));
    ASSERT_EQ(fichier, nullptr);
    EcrireLeFichierTableID(43, 7);  // no log: nothing to write to, and no crash

    fichier = std::tmpfile();
    ASSERT_NE(fichier, nullptr);
    EcrireLeFichierTableID(43, 7);
    EcrireLeFichierTableID(64, -1);  // ids outside the table write nothing
    std::rewind(fichier);
    char written[128] = {};
    const size_t length = std::fread(written, 1, sizeof written - 1, fichier);
    std::fclose(fichier);
    fichier = nullptr;
    EXPECT_EQ(std::string(written, length), "ID[43]\t0001\tID[43]\t0200\tID[7]\t0003\t");
}

}  // namespace

namespace {

// A frame of the controller's own request: encoders, the six light bumps, mode, battery.
Bytes ControllerFrame(unsigned left, unsigned right)
{
    auto hi = [](unsigned v) { return static_cast<unsigned char>(v >> 8); };
    auto lo = [](unsigned v) { return static_cast<unsigned char>(v); };
    return Frame({43, hi(left), lo(left), 44, hi(right), lo(right), 46, 0, 1,  47, 0,  2,    48,   0,  3,    49,
                  0,  4,        50,       0,  5,         51,        0,  6, 35, 2,  25, 0x09, 0xC4, 26, 0x0A, 0x88});
}

const unsigned kControllerLayout[] = {43, 44, 46, 47, 48, 49, 50, 51, 35, 25, 26};

}  // namespace

TEST_F(FrameTest, OnlyFramesOfTheRequestedLayoutAreTakenAndTheOthersCounted)
{
    FixerDispositionTrame(kControllerLayout, 11);
    const Bytes good = ControllerFrame(1000, 2000);
    ASSERT_EQ(good.size(), 35u);
    const Bytes fewer = Frame({43, 0, 7, 44, 0, 8});  // right checksum, two packets only
    Bytes reordered = ControllerFrame(3, 4);          // 44 before 43
    std::swap(reordered[2], reordered[5]);
    reordered = Frame(Bytes(reordered.begin() + 2, reordered.end() - 1));
    const CompteursTrames counts = Feed(Join({fewer, good, reordered, ControllerFrame(5, 6)}), {7});
    const std::vector<std::pair<unsigned, unsigned>> expected{{1000, 2000}, {5, 6}};
    EXPECT_EQ(encodersSeen, expected);
    EXPECT_EQ(counts.acceptees, 2u);
    EXPECT_GE(counts.refusees, 2u);
    EXPECT_EQ(Value(51), 6u);
    EXPECT_EQ(Value(35), 2u);
    EXPECT_EQ(Value(25), 2500u);
}

TEST_F(FrameTest, AFrameSplitInsideIsNotOvertakenByAShorterFrameHiddenInIt)
{
    // Left count 0x1303 and right count 0x0090 put 19 3 44 0 144 46 inside the frame:
    // a frame with a right checksum of its own.
    const Bytes real = ControllerFrame(0x1303, 0x0090);
    const Bytes hidden(real.begin() + 3, real.begin() + 9);
    ASSERT_EQ(hidden, (Bytes{19, 3, 44, 0, 0x90, 46}));
    for (bool layoutRequested : {false, true}) {
        SCOPED_TRACE(layoutRequested ? "layout requested" : "no layout requested");
        InitTableauID();
        if (layoutRequested) FixerDispositionTrame(kControllerLayout, 11);
        encodersSeen.clear();
        reassembler_.Clear();
        Feed(Join({real, ControllerFrame(7, 8)}), {10, 25, 35});
        const std::vector<std::pair<unsigned, unsigned>> expected{{0x1303, 0x0090}, {7, 8}};
        EXPECT_EQ(encodersSeen, expected);
    }
}
