#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

// A command line the program cannot act on: the message is one line for the user,
// and the program ends with exit code 2.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A 64-bit unsigned number, decimal or 0x-prefixed hexadecimal, with nothing around it.
std::uint64_t ParseSeed(std::string_view option, std::string_view text);

// A whole number of at least 1, decimal.
long long ParsePositiveCount(std::string_view option, std::string_view text);
