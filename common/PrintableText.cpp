#include "common/PrintableText.h"

#include <cstdio>

namespace {

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// The length of the well-formed UTF-8 sequence starting at `at`, or 0 when there is none
// (a stray continuation byte, an overlong form, a surrogate, a value beyond U+10FFFF or a
// truncated sequence).
std::size_t SequenceLength(std::string_view text, std::size_t at)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the bounds of the second byte
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    }
    if (length == 0 || at + length > text.size()) return 0;
    if (byte(1) < low || byte(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (!IsContinuation(byte(i))) return 0;
    return length;
}

// C0 and DEL, and U+0080..U+009F, which some terminals obey as controls too.
bool IsControl(std::string_view text, std::size_t at)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    return lead < 0x20 || lead == 0x7F || (lead == 0xC2 && static_cast<unsigned char>(text[at + 1]) <= 0x9F);
}

}  // namespace

std::string PrintableText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = SequenceLength(text, at);
        const std::size_t taken = length > 0 ? length : 1;
        if (length > 0 && !IsControl(text, at)) {
            out.append(text.substr(at, taken));
        } else {
            for (std::size_t i = 0; i < taken; ++i) {
                char escaped[5];
                std::snprintf(escaped, sizeof escaped, "\\x%02x", static_cast<unsigned char>(text[at + i]));
                out += escaped;
            }
        }
        at += taken;
    }
    return out;
}
