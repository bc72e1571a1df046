// The "BackColor" value: three decimal components "red,green,blue", the web's
// "#RRGGBB", or one colour number (decimal or "&H" with the digits in BBGGRR
// order).
#pragma once

#include "coerce.h"

struct ColorTextResult {
    ErrorKind error = ErrorKind::None;
    Text text;
};

// Turns "r,g,b" into "&HBBGGRR" (each component as at least two upper-case
// hexadecimal digits) and "#RRGGBB" into "&HBBGGRR" (digits as written, so
// the integer conversion judges them); any other text without a comma comes
// back unchanged.
ColorTextResult ParseColor(WStr text);

struct BackColor {
    ErrorKind error = ErrorKind::None;
    bool isSystemColor = false;   // value is then a system colour index
    std::uint32_t value = 0;      // &H00BBGGRR, or the system colour index
};

// ParseColor, then the integer conversion, then the colour's meaning:
// &H00BBGGRR is a colour, &H800000nn the system colour nn.
BackColor BackColorFromText(WStr text);
