#include "CommandLineValues.h"

#include <charconv>

namespace {

template <typename Number>
bool ParseWhole(std::string_view text, int base, Number& value)
{
    if (text.empty()) return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    return error == std::errc{} && end == text.data() + text.size();
}

UsageError NotANumber(std::string_view option, std::string_view text, std::string_view expected)
{
    return UsageError(std::string(option) + ": '" + std::string(text) + "' is not " + std::string(expected));
}

}  // namespace

std::uint64_t ParseSeed(std::string_view option, std::string_view text)
{
    std::uint64_t seed = 0;
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    // from_chars takes no sign, so "-1" cannot wrap round to a huge seed.
    const bool ok = hex ? ParseWhole(text.substr(2), 16, seed) : ParseWhole(text, 10, seed);
    if (!ok) throw NotANumber(option, text, "a 64-bit seed (decimal or 0x hexadecimal)");
    return seed;
}

long long ParsePositiveCount(std::string_view option, std::string_view text)
{
    long long count = 0;
    if (!ParseWhole(text, 10, count) || count < 1) throw NotANumber(option, text, "a whole number of at least 1");
    return count;
}
