#pragma once

#include <QByteArray>
#include <QString>

namespace testsupport {

/** Bytes from hex pairs separated by spaces: "02 03 4D". */
inline QByteArray Hex(const char* text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

/** Bytes as spaced hex pairs, for readable comparisons. */
inline QString HexOf(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex(' ')).toUpper();
}

} // namespace testsupport
