#pragma once
#include <cstddef>
#include <string>

// What a parser of user text may be handed, checked on the raw bytes before it sees any:
// no file or argument can then make a parser run long, nest deep or grow large. A line
// whose first non-blank byte is one of `commentMarks` is skipped, as blank lines are, so
// comments cost reading time only.
struct TextLimits {
    std::size_t readBytes = 0;  // the most read, skipped lines included
    std::size_t keptBytes = 0;  // the most handed to the parser
    std::size_t lines = 0;      // the most lines handed to the parser
    std::size_t lineBytes = 0;  // the longest line handed to the parser, leading blanks included
    int nesting = 0;            // the deepest parentheses on a line handed to the parser
    std::string commentMarks;
};

enum class TextFault { None, Unreadable, TooLarge, NotText, TooManyLines, LineTooLong, TooDeep };

struct TextCheck {
    TextFault fault = TextFault::None;
    std::size_t line = 0;  // where the fault is, counting every line of the text from 1
};

// Takes text piece by piece, keeps its lines that are neither blank nor comments, and
// stops at the first limit crossed or the first control byte other than tab and CR.
// Memory stays within the kept limit whatever the text's size.
class BoundedText {
public:
    explicit BoundedText(TextLimits limits);
    // False once a fault is found; the pieces after it are not looked at.
    bool Add(const char* data, std::size_t size);
    const TextCheck& Check() const { return m_check; }
    // The kept lines, each ending with '\n' but maybe the last one.
    const std::string& Kept() const { return m_kept; }

private:
    enum class LineKind { Undecided, Skipped, Kept };
    bool Fail(TextFault fault);
    bool Take(char byte);
    bool StartKeptLine(char first);

    TextLimits m_limits;
    TextCheck m_check;
    std::string m_kept;
    std::size_t m_read = 0;
    std::size_t m_line = 1;
    LineKind m_kind = LineKind::Undecided;
    std::string m_leadingBlanks;
    std::size_t m_blanks = 0;
    std::size_t m_lineBytes = 0;
    std::size_t m_keptLines = 0;
    int m_depth = 0;
};

// The whole of a file or a string through a BoundedText; `kept` receives its kept lines,
// and is left empty on a fault.
TextCheck ReadBoundedFile(const std::string& path, const TextLimits& limits, std::string& kept);
TextCheck ReadBoundedString(const std::string& text, const TextLimits& limits, std::string& kept);

// The fault in words, in the two languages the programs speak, to follow the name of what
// was read: "line 7 is longer than 1024 bytes", "more than 512 lines outside comments".
struct TextFaultWords {
    std::string french;
    std::string english;
};
TextFaultWords DescribeTextFault(const TextCheck& check, const TextLimits& limits);
