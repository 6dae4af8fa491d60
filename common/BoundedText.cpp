#include "common/BoundedText.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>

namespace {

bool IsBlank(char byte)
{
    return byte == ' ' || byte == '\t' || byte == '\r';
}

bool IsControl(char byte)
{
    const auto value = static_cast<unsigned char>(byte);
    return (value < 0x20 && byte != '\t' && byte != '\r' && byte != '\n') || value == 0x7F;
}

// True when one of the word's eight bytes is below 0x20 or is DEL (the classic tests for a
// byte below n and for a zero byte, exact as to whether there is one).
bool HasControlByte(std::uint64_t word)
{
    constexpr std::uint64_t ones = 0x0101010101010101u, highs = 0x8080808080808080u;
    const std::uint64_t notDel = word ^ (ones * 0x7F);
    return ((((word - ones * 0x20) & ~word) | ((notDel - ones) & ~notDel)) & highs) != 0;
}

// The first byte below 0x20 (line ends, tabs and CRs included) or DEL, eight at a time.
const char* FirstControlOrEnd(const char* at, const char* end)
{
    std::uint64_t word;
    while (end - at >= 8) {
        std::memcpy(&word, at, sizeof word);
        if (HasControlByte(word)) break;
        at += 8;
    }
    while (at < end && static_cast<unsigned char>(*at) >= 0x20 && *at != 0x7F) ++at;
    return at;
}

}  // namespace

BoundedText::BoundedText(TextLimits limits) : m_limits(std::move(limits)) {}

bool BoundedText::Fail(TextFault fault)
{
    m_check = {fault, m_line};
    m_kept.clear();
    return false;
}

bool BoundedText::Add(const char* data, std::size_t size)
{
    if (m_check.fault != TextFault::None) return false;
    for (const char* const end = data + size; data < end;) {
        if (m_kind == LineKind::Skipped) {
            // Skipped lines are only looked at for bytes that are not text, in one sweep up to
            // their end: megabytes of comments cost milliseconds.
            const char* const stop = FirstControlOrEnd(data, end);
            const auto length = static_cast<std::size_t>(stop - data);
            if (length > m_limits.readBytes - m_read) return Fail(TextFault::TooLarge);
            m_read += length;
            data = stop;
            if (data == end) break;
        }
        if (!Take(*data++)) return false;
    }
    return true;
}

bool BoundedText::Take(char byte)
{
    if (++m_read > m_limits.readBytes) return Fail(TextFault::TooLarge);
    if (IsControl(byte)) return Fail(TextFault::NotText);
    if (byte == '\n') {
        if (m_kind == LineKind::Kept) {
            if (m_kept.size() >= m_limits.keptBytes) return Fail(TextFault::TooLarge);
            m_kept += '\n';
        }
        ++m_line;
        m_kind = LineKind::Undecided;
        m_leadingBlanks.clear();
        m_blanks = 0;
        return true;
    }
    switch (m_kind) {
    case LineKind::Skipped:
        return true;
    case LineKind::Undecided:
        if (IsBlank(byte)) {
            // A blank line of any length costs nothing: its blanks are kept only while they
            // could still open a line short enough.
            if (++m_blanks <= m_limits.lineBytes) m_leadingBlanks += byte;
            return true;
        }
        if (m_limits.commentMarks.find(byte) != std::string::npos) {
            m_kind = LineKind::Skipped;
            return true;
        }
        return StartKeptLine(byte);
    case LineKind::Kept:
        break;
    }
    if (++m_lineBytes > m_limits.lineBytes) return Fail(TextFault::LineTooLong);
    if (m_kept.size() >= m_limits.keptBytes) return Fail(TextFault::TooLarge);
    if (byte == '(' && ++m_depth > m_limits.nesting) return Fail(TextFault::TooDeep);
    if (byte == ')' && m_depth > 0) --m_depth;
    m_kept += byte;
    return true;
}

bool BoundedText::StartKeptLine(char first)
{
    if (++m_keptLines > m_limits.lines) return Fail(TextFault::TooManyLines);
    m_kept += m_leadingBlanks;
    m_kind = LineKind::Kept;
    m_lineBytes = m_blanks;
    m_depth = 0;
    return Take(first);
}

TextCheck ReadBoundedFile(const std::string& path, const TextLimits& limits, std::string& kept)
{
    kept.clear();
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!file) return {TextFault::Unreadable, 0};
    BoundedText text(limits);
    char piece[1 << 16];
    for (std::size_t size; (size = std::fread(piece, 1, sizeof piece, file.get())) > 0;)
        if (!text.Add(piece, size)) return text.Check();
    if (std::ferror(file.get())) return {TextFault::Unreadable, 0};
    kept = text.Kept();
    return text.Check();
}

TextCheck ReadBoundedString(const std::string& text, const TextLimits& limits, std::string& kept)
{
    kept.clear();
    BoundedText bounded(limits);
    if (bounded.Add(text.data(), text.size())) kept = bounded.Kept();
    return bounded.Check();
}

TextFaultWords DescribeTextFault(const TextCheck& check, const TextLimits& limits)
{
    const std::string line = std::to_string(check.line);
    switch (check.fault) {
    case TextFault::None:
        return {"", ""};
    case TextFault::Unreadable:
        return {"illisible", "cannot be read"};
    case TextFault::TooLarge:
        return {"plus grand que permis (" + std::to_string(limits.readBytes) + " octets, dont " +
                    std::to_string(limits.keptBytes) + " hors commentaires)",
                "larger than allowed (" + std::to_string(limits.readBytes) + " bytes, " +
                    std::to_string(limits.keptBytes) + " of them outside comments)"};
    case TextFault::NotText:
        return {"la ligne " + line + " contient un octet qui n'est pas du texte",
                "line " + line + " holds a byte that is not text"};
    case TextFault::TooManyLines:
        return {"plus de " + std::to_string(limits.lines) + " lignes hors commentaires (ligne " + line + ")",
                "more than " + std::to_string(limits.lines) + " lines outside comments (line " + line + ")"};
    case TextFault::LineTooLong:
        return {"la ligne " + line + " dépasse " + std::to_string(limits.lineBytes) + " octets",
                "line " + line + " is longer than " + std::to_string(limits.lineBytes) + " bytes"};
    case TextFault::TooDeep:
        return {"la ligne " + line + " imbrique plus de " + std::to_string(limits.nesting) + " parenthèses",
                "line " + line + " nests more than " + std::to_string(limits.nesting) + " parentheses"};
    }
    return {"", ""};
}
