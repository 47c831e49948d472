#include "print/PrinterCheck.h"

#include "platform/Prompts.h"

namespace print {

QString PrinterCheckMessage(const platform::PrinterList& printers)
{
    const QString unable = QStringLiteral("\r\nUnable to perform printer related operations");
    if (printers.names.isEmpty())
        return QStringLiteral("There are no installed printers.") + unable;
    if (printers.defaultName.isEmpty())
        return QStringLiteral("There is no default printer selected.") + unable;
    return QString();
}

bool CheckPrinters(QWidget* parent)
{
    const QString message = PrinterCheckMessage(platform::SystemPrinters());
    if (message.isEmpty())
        return true;
    platform::Prompts::Current().Information(parent, message);
    return false;
}

} // namespace print
