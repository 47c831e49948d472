// Feeds arbitrary bytes to the RTF plain-text reader.
#include "richtext/RtfPlainText.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text =
        richtext::RtfPlainText(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    return text.size() > qsizetype(size) ? 1 : 0;
}
