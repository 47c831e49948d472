// Feeds arbitrary bytes to the Targa decoder: it may refuse them, never crash, hang or allocate what the
// input did not pay for.
#include "platform/TgaDecoder.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QString error;
    const QImage image = platform::DecodeTga(
        QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)), error);
    return image.isNull() && error.isEmpty() ? 1 : 0;
}
