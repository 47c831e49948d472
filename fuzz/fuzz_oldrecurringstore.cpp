// Feeds arbitrary bytes to the program as its older recurring-dates store KVRECUR.DAT: converted at start as
// the program does, then the new store is read back and used.
#include "fuzz/FuzzSupport.h"
#include "fuzz/RecurringLines.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::EnsureApplication();
    const QString old = fuzz::InputFile(QStringLiteral("KVRECUR.DAT"), data, size);
    const QString store = fuzz::ScratchProgramFolder() + QStringLiteral("KVRECUR.DAX");
    QFile::remove(store);
    if (recurring::ConvertOldStore(old, store))
        fuzz::UseStoreLines(recurring::ReadStore(store));
    return 0;
}
