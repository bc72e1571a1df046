// Text-to-value conversions with the rules the configuration file has always
// had: "True"/"False" in any letter case, decimal numbers, and "&H"
// hexadecimal (also "&O" octal).
#pragma once

#include <optional>

#include "errors.h"

// A number as the configuration writes it; surrounding blanks allowed. One
// too large for a double (however it is written: 400 digits or "1e400")
// comes back as infinity with its sign, never as "no number".
std::optional<double> ParseNumber(WStr text);

// "True"/"False" in any letter case, or a number: zero is false, any other
// number true. Anything else has no truth value.
std::optional<bool> ToTruthValue(WStr text);

// Rounds half to even, as the conversions to whole numbers always have.
double RoundHalfEven(double value);

struct Int32Result {
    ErrorKind error = ErrorKind::None;   // NotANumber or NumberOutOfRange
    std::int32_t value = 0;
};

// Decimal (rounded), "&H" with up to eight hexadecimal digits read as a
// signed 32-bit pattern (so &HFFFFFFFF is -1), or True (-1) / False (0).
Int32Result ToInt32(WStr text);
