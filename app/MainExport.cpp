// The main window's page-level commands beside the document: the picture export and the user title.

#include "app/TCalendarMain.h"

#include "app/DocumentHistory.h"
#include "app/TUserTitleForm.h"

#include "calendar/TCalendarPanel32.h"
#include "persist/formats/Preferences.h"
#include "platform/ProgramFolder.h"
#include "platform/Prompts.h"
#include "platform/SaveFile.h"

#include <QFileInfo>
#include <QImage>

namespace app {

bool TCalendarMain::SaveAsBitmap()
{
    const QString proposed = ProposedFileName(QStringLiteral(".BMP"));
    const std::optional<QString> chosen = platform::Prompts::Current().SaveFileName(
        this, tr("Save Calendar As Bitmap"), platform::ProgramFolder() + proposed,
        QStringLiteral("Bitmap File (*.BMP)"));
    if (!chosen)
        return false;
    QString path = *chosen;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".BMP");
    DoSaveRichtext();
    // The page as it shows at the current zoom, without the placed objects; written whole or not at all.
    const QImage picture = m_page->RenderToBitmap();
    platform::SaveFile file(path);
    const bool saved = file.open(QIODevice::WriteOnly) && picture.save(&file, "BMP") && file.commit();
    if (!saved)
        platform::Prompts::Current().Information(this, tr("Unable to save %1").arg(path));
    return saved;
}

void TCalendarMain::UserDefinedTitle()
{
    TUserTitleForm form(m_page->UserTitle(), this);
    form.setGeometry(persist::CentredOver(form.size(), geometry()));
    if (form.exec() != QDialog::Accepted)
        return;
    DocumentHistory::Step step(*m_history, tr("User Defined Title"));
    m_page->SetUserTitle(form.Title());
    SetModified(true);
}

} // namespace app
