#pragma once
#include <string>
#include <string_view>

// Text from a file or a command line made safe to print in a message: a control byte
// (C0, DEL, C1) or a byte that is not part of valid UTF-8 becomes \xHH, so that a quoted
// file cannot move the cursor, ring or restyle a terminal, or break a message's one line.
// Printable UTF-8, accents included, is kept as it is.
std::string PrintableText(std::string_view text);
