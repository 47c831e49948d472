#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace platform {

/** The text as Windows-1252 bytes, or nothing when a character has no place in that code page. */
std::optional<QByteArray> EncodeWindows1252(const QString& text);

/** Windows-1252 bytes as text; the five unassigned bytes map to the control characters of the same value. */
QString DecodeWindows1252(const QByteArray& bytes);

} // namespace platform
