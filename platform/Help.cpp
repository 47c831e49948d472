#include "platform/Help.h"

#include "platform/Prompts.h"
#include "platform/THelpWindow.h"

#include <QCoreApplication>

namespace platform {

void ShowHelpTopic(QWidget* parent, int context)
{
    THelpWindow* window = THelpWindow::Shared();
    if (!window->ShowContext(context)) {
        Prompts::Current().Information(
            parent, QCoreApplication::translate("platform", "The help pages are not installed (%1).")
                        .arg(DataFolder() + QStringLiteral("/help")));
        return;
    }
    window->Present(parent);
}

} // namespace platform
