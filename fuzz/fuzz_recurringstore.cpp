// Feeds arbitrary bytes to the program as its recurring-dates store KVRECUR.DAX, and uses the lines as the
// dates dialog and the fill command do.
#include "fuzz/FuzzSupport.h"
#include "fuzz/RecurringLines.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::EnsureApplication();
    fuzz::UseStoreLines(recurring::ReadStore(fuzz::InputFile(QStringLiteral("KVRECUR.DAX"), data, size)));
    return 0;
}
