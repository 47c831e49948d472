#pragma once

#include <QtGlobal>

namespace persist {

/** The tag byte that begins every value of the object stream. */
enum ValueTag : quint8
{
    tEnd = 0,
    tList = 1,
    tInt8 = 2,
    tInt16 = 3,
    tInt32 = 4,
    tReal80 = 5,
    tText = 6,
    tIdent = 7,
    tFalse = 8,
    tTrue = 9,
    tRawData = 10,
    tSet = 11,
    tLongText = 12,
    tNil = 13,
    tCollection = 14,
    // Wider tags of the same stream family that a reader accepts as strings.
    tWideText = 18,
    tUtf8Text = 20,
};

/** The four bytes that begin every root record: "TPF0". */
inline constexpr char kSignature[4] = {'T', 'P', 'F', '0'};

} // namespace persist
