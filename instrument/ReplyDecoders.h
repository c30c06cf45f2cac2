#pragma once
// Decoding of the instrument's query replies. A reply starts with the two letters of the query
// echoed back; every decoder drops them (fewer when the reply is shorter) and reads the rest.
// Pure functions of the reply text, so any garbage a line can deliver is safe to feed them.

#include <QString>
#include <QtGlobal>

namespace zeb {

// The data after the echoed mnemonic, unchanged.
QString DecodeText(const QString& reply);

// The data read as a decimal integer: leading blanks skipped, an optional sign, digits up to the
// first non-digit; no digits give 0. Values beyond the 32-bit range saturate.
int DecodeDecimal(const QString& reply);

// The data as nibbles: each character carries four bits in its low nibble, the first character
// the least significant. At most maxDigits characters (1 to 8) are read.
quint32 DecodeNibbles(const QString& reply, int maxDigits);

}  // namespace zeb
