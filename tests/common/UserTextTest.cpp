#include <gtest/gtest.h>
#include <string>

#include "common/BoundedText.h"
#include "common/PrintableText.h"

namespace {

const TextLimits kLimits{1000, 100, 8, 20, 2, "#%"};

std::string Repeated(const std::string& piece, int times)
{
    std::string text;
    for (int i = 0; i < times; ++i) text += piece;
    return text;
}

TextCheck Bounded(const std::string& text, std::string& kept)
{
    return ReadBoundedString(text, kLimits, kept);
}

}  // namespace

TEST(BoundedTextTest, KeepsTheLinesAParserNeedsAndSkipsBlankAndCommentLines)
{
    std::string kept;
    const TextCheck check = Bounded("# note\n\n  a: 1\n\t% other note\n   \r\nb (c (d))\nlast", kept);
    EXPECT_EQ(check.fault, TextFault::None);
    EXPECT_EQ(kept, "  a: 1\nb (c (d))\nlast");
}

TEST(BoundedTextTest, SkippedLinesCostNoMemoryWhateverTheirLength)
{
    const TextLimits roomy{1u << 24, 100, 4, 20, 2, "#"};
    std::string kept;
    const std::string longComment = "#" + std::string(1u << 22, 'x') + "\n";
    const std::string longBlank = std::string(1u << 22, ' ') + "\n";
    EXPECT_EQ(ReadBoundedString(longComment + longBlank + "key: value\n", roomy, kept).fault, TextFault::None);
    EXPECT_EQ(kept, "key: value\n");
}

TEST(BoundedTextTest, EachLimitIsReportedWithItsLine)
{
    struct Case {
        std::string text;
        TextFault fault;
        std::size_t line;
    };
    const Case cases[] = {
        {"a\n# comment\n" + std::string(21, 'b') + "\n", TextFault::LineTooLong, 3},
        {"a\n" + std::string(20, ' ') + "b\n", TextFault::LineTooLong, 2},
        {"f(g(h(x)))\n", TextFault::TooDeep, 1},
        {"a\nb\n#\n" + Repeated("c\n", 7), TextFault::TooManyLines, 10},
        {Repeated(std::string(19, 'x') + "\n", 6), TextFault::TooLarge, 6},
        {std::string(1001, '#'), TextFault::TooLarge, 1},
        {"a\nb\x1b[2Jc\n", TextFault::NotText, 2},
        {"# a comment is text too\x07\n", TextFault::NotText, 1},
        {std::string("a\n\0", 3), TextFault::NotText, 2},
    };
    for (const Case& c : cases) {
        std::string kept = "stale";
        const TextCheck check = Bounded(c.text, kept);
        EXPECT_EQ(check.fault, c.fault) << c.text.substr(0, 40);
        EXPECT_EQ(check.line, c.line) << c.text.substr(0, 40);
        EXPECT_TRUE(kept.empty());
        EXPECT_FALSE(DescribeTextFault(check, kLimits).english.empty());
    }
    // Parentheses closed before others open do not add up.
    std::string kept;
    EXPECT_EQ(Bounded("(a)(b)((c))\n", kept).fault, TextFault::None);
}

TEST(BoundedTextTest, AControlByteAnywhereInALongCommentIsFound)
{
    const TextLimits roomy{1u << 16, 100, 4, 20, 2, "#"};
    for (std::size_t at = 1; at < 40; ++at) {
        std::string comment = "#" + std::string(60, '.') + "\n";
        comment[at] = '\x1b';
        std::string kept;
        EXPECT_EQ(ReadBoundedString("a\n" + comment, roomy, kept).fault, TextFault::NotText) << at;
    }
}

TEST(BoundedTextTest, PiecesCutAnywhereGiveTheSameResult)
{
    const std::string text = "# c\n  a (b)\n\n  % d\nlast line\n";
    std::string whole;
    ASSERT_EQ(Bounded(text, whole).fault, TextFault::None);
    BoundedText byByte(kLimits);
    for (char byte : text) ASSERT_TRUE(byByte.Add(&byte, 1));
    EXPECT_EQ(byByte.Kept(), whole);
}

TEST(BoundedTextTest, AMissingFileIsUnreadable)
{
    std::string kept;
    EXPECT_EQ(ReadBoundedFile("/no/such/file", kLimits, kept).fault, TextFault::Unreadable);
    EXPECT_EQ(ReadBoundedFile("/", kLimits, kept).fault, TextFault::Unreadable);
}

TEST(PrintableTextTest, ControlBytesAndBrokenUtf8AreEscapedAndAccentsKept)
{
    EXPECT_EQ(PrintableText("règle « S1 » ✓ 🙂"), "règle « S1 » ✓ 🙂");
    EXPECT_EQ(PrintableText("a\x1b[2Jb\x07\x7f\tc\n"), "a\\x1b[2Jb\\x07\\x7f\\x09c\\x0a");
    EXPECT_EQ(PrintableText(std::string("nul\0end", 7)), "nul\\x00end");
    // C1 controls, which some terminals obey, in UTF-8 and as raw bytes.
    EXPECT_EQ(PrintableText("x\xc2\x9b;m"), "x\\xc2\\x9b;m");
    EXPECT_EQ(PrintableText("x\x9b;m"), "x\\x9b;m");
    // Overlong, surrogate, beyond U+10FFFF, truncated.
    EXPECT_EQ(PrintableText("\xc0\xaf"), "\\xc0\\xaf");
    EXPECT_EQ(PrintableText("\xed\xa0\x80"), "\\xed\\xa0\\x80");
    EXPECT_EQ(PrintableText("\xf4\x90\x80\x80"), "\\xf4\\x90\\x80\\x80");
    EXPECT_EQ(PrintableText("end\xc3"), "end\\xc3");
    EXPECT_EQ(PrintableText("\xe2\x9c"), "\\xe2\\x9c");
}
