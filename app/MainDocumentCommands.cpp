// The main window's document commands: new, open, save, save as, cancel changes and the save question.

#include "app/TCalendarMain.h"

#include "app/DocumentHistory.h"
#include "app/TFloatingPalette.h"

#include "app/TCalendarProperties.h"
#include "app/ZoomSteps.h"
#include "calendar/TCalendarPanel32.h"
#include "persist/formats/CalendarFile.h"
#include "persist/stream/StreamError.h"
#include "platform/IniFile.h"
#include "platform/PrintableText.h"
#include "platform/ProgramFolder.h"
#include "platform/Prompts.h"
#include "richtext/TVelRtfStorage.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUndoStack>

#include <optional>
#include <utility>

namespace app {

namespace {

const QString kCalendarFilter = QStringLiteral("Calendar File (*.KVF)");

/** Shows the busy pointer for the lifetime of the guard. */
class BusyPointer
{
public:
    BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { QApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

/** A path as a message shows it: it may come from the recent-files list of a damaged preferences file. */
QString ShownPath(const QString& path)
{
    return platform::PrintableName(path, platform::kShownPathLength);
}

/** How an open file reads as a calendar, read on a page of its own that is then dropped. */
struct TrialRead
{
    bool readable = false;
    std::optional<persist::CalendarDamage> damage;
};

TrialRead ReadOnScratchPage(QIODevice& file)
{
    QObject owner;
    calendar::TCalendarPanel32 page;
    try {
        return {true, persist::ReadCalendar(&file, page, &owner)};
    } catch (const persist::StreamError&) {
        return {};
    }
}

/** The name a calendar recovered from a damaged file goes by until it is saved: "family (recovered).KVF". */
QString RecoveredName(const QString& path)
{
    const QFileInfo file(path);
    return file.dir().filePath(file.completeBaseName() + QStringLiteral(" (recovered).") + file.suffix());
}

} // namespace

void TCalendarMain::New()
{
    // A Yes to "Save changes?" that did not save stops the command, so the changes stay.
    if (!CheckSaveNeeded())
        return;
    DoSaveRichtext();
    m_newCalendarMode = true;
    if (!Properties())
        return;
    SetModified(true);
    m_currentFileName.clear();
    m_recoveredName.clear();
    m_page->ClearAllCells();
    m_page->ClearObjects();
    m_page->SetUserTitle(QString());
    m_page->show();
    layoutCanvas();
    // A new calendar starts a history of its own, and stays unsaved whatever is undone.
    m_history->Reset();
    m_history->Stack()->resetClean();
    SetButtons();
    SetCaption();
}

bool TCalendarMain::Properties()
{
    const bool palette = hidePaletteFor();
    const int month = m_page->MainCalMonth();
    const int year = m_page->MainCalYear();
    DoSaveRichtext();
    // A new calendar's properties are no step: its history starts once they are taken.
    std::optional<DocumentHistory::Step> step;
    if (!m_newCalendarMode)
        step.emplace(*m_history, tr("Properties"));
    TCalendarProperties dialog(this);
    dialog.ExampleCalendar()->SetZoom(PercentToZoom(m_prefs.propZoomPercent));
    if (m_newCalendarMode) {
        dialog.SetNewCalendar(true);
        dialog.SetCellsHaveText(false);
    } else if (m_page->isVisible()) {
        dialog.SetPageFamily(m_page->LayoutFamily());
        dialog.SetCellsHaveText(m_page->HasCellContent());
        int filled = 0;
        for (int i = 1; i <= calendar::kCellCount; ++i)
            filled += m_page->CellStorage(i).IsEmpty() ? 0 : 1;
        dialog.SetPageMonth(month, year, filled);
    }
    dialog.ExampleCalendar()->AssignStyle(*m_page);
    const bool confirmed = dialog.exec() == QDialog::Accepted;
    m_prefs.propZoomPercent = ZoomToPercent(dialog.ExampleCalendar()->Zoom());
    if (confirmed) {
        if (!m_page->SameStyle(*dialog.ExampleCalendar()))
            SetModified(true);
        const int family = m_page->LayoutFamily();
        m_page->AssignStyle(*dialog.ExampleCalendar());
        if (m_page->LayoutFamily() != family) {
            m_page->ClearAllCells();
            m_page->ClearObjects();
        }
        if ((m_page->MainCalMonth() != month || m_page->MainCalYear() != year) && m_page->UsesDayCells())
            m_page->ClearAllCells();
    }
    m_newCalendarMode = false;
    layoutCanvas();
    m_page->update();
    CheckFloaterStatus();
    // A page that lost its day cells has just turned the palette off: it stays hidden.
    if (palette && m_prefs.iconsVisible)
        m_palette->show();
    SetButtons();
    savePreferences();
    return confirmed;
}

void TCalendarMain::Open()
{
    DoSaveRichtext();
    if (!CheckSaveNeeded())
        return;
    const std::optional<QString> path = platform::Prompts::Current().OpenFileName(
        this, tr("Open Calendar File"), platform::ProgramFolder(), kCalendarFilter);
    if (!path)
        return;
    if (QFileInfo(*path).suffix().toUpper() != QStringLiteral("KVF")) {
        platform::Prompts::Current().Information(this, tr("Must be a Calendar file (*.KVF)"));
        return;
    }
    OpenCalendarFile(*path);
}

void TCalendarMain::OpenRecent(const QString& path)
{
    // Unsaved changes are offered for saving before another calendar replaces them.
    if (!CheckSaveNeeded())
        return;
    m_mru.Remove(path);
    rebuildRecentMenu();
    OpenCalendarFile(path);
}

void TCalendarMain::Save()
{
    if (m_currentFileName.isEmpty())
        SaveAs();
    else
        SaveCalendarFile(m_currentFileName);
}

void TCalendarMain::SaveOrSaveAs()
{
    if (Action("mnuSave")->isEnabled())
        Save();
    else
        SaveAs();
}

QString TCalendarMain::ProposedFileName(const QString& extension) const
{
    if (!m_currentFileName.isEmpty())
        return QFileInfo(m_currentFileName).completeBaseName() + extension;
    if (!m_recoveredName.isEmpty())
        return QFileInfo(m_recoveredName).completeBaseName() + extension;
    QString month;
    m_page->GetMonthName(m_page->MainCalMonth(), month);
    return month.left(3) + QString::number(m_page->MainCalYear()) + extension;
}

bool TCalendarMain::SaveAs()
{
    const QString proposed = m_currentFileName.isEmpty() ? ProposedFileName(QStringLiteral(".KVF"))
                                                         : QFileInfo(m_currentFileName).fileName();
    // A recovered calendar is proposed beside the damaged file it came from, under a name of its own.
    const QString proposedPath =
        m_recoveredName.isEmpty() ? platform::ProgramFolder() + proposed : m_recoveredName;
    const std::optional<QString> chosen = platform::Prompts::Current().SaveFileName(
        this, tr("Save Calendar File"), proposedPath, kCalendarFilter);
    bool saved = false;
    if (chosen) {
        QString path = *chosen;
        if (QFileInfo(path).suffix().isEmpty())
            path += QStringLiteral(".KVF");
        saved = SaveCalendarFile(path);
        if (saved) {
            SetModified(false);
            m_mru.Add(path);
            platform::IniFile ini(IniPath());
            m_mru.Save(ini, QStringLiteral("MRU"));
            ini.Save();
            rebuildRecentMenu();
        }
    }
    SetButtons();
    return saved;
}

void TCalendarMain::CancelChanges()
{
    if (!platform::Prompts::Current().Question(this, tr("CANCEL"), tr("Cancel all changes?")))
        return;
    // A file that can no longer be read keeps the changes, and marks them as changes still.
    if (!m_currentFileName.isEmpty() && !OpenCalendarFile(m_currentFileName))
        return;
    QCoreApplication::processEvents();
    SetModified(false);
}

bool TCalendarMain::OpenCalendarFile(const QString& requested)
{
    // The caller's string may be one this command changes (the current name), so it works on its own copy.
    const QString path = requested;
    DoSaveRichtext();
    // The file is read on a page of its own first: one that is missing, damaged or not a calendar is reported
    // and leaves the open calendar (its name, its changes) as it was.
    QFile file(path);
    QString problem;
    TrialRead trial;
    if (!QFileInfo::exists(path)) {
        problem = tr("File %1 no longer exists").arg(ShownPath(path));
    } else {
        BusyPointer busy;
        if (file.open(QIODevice::ReadOnly))
            trial = ReadOnScratchPage(file);
        if (!trial.readable || !file.seek(0))
            problem = tr("Unable to open %1. Possibly \ncorrupted, possibly not a Calendar file")
                          .arg(ShownPath(path));
    }
    if (!problem.isEmpty()) {
        platform::Prompts::Current().Information(this, problem);
        SetButtons();
        return false;
    }
    // A file whose placed objects cannot all be read never opens as if it were whole: the user decides
    // whether what was read is worth keeping, as a calendar of its own that is saved under a new name.
    if (trial.damage &&
        !platform::Prompts::Current().Question(this, tr("Damaged File"),
                                               persist::DamageMessage(*trial.damage) +
                                                   QStringLiteral("\n\n") + tr("Open what could be read?"))) {
        SetButtons();
        return false;
    }

    m_page->SetSuspendPaint(true);
    float remembered = m_page->Zoom();
    if (remembered < 0.1f || remembered > 1.1f)
        remembered = 1.0f;
    m_startingUp = true;
    m_currentFileName.clear();
    m_recoveredName.clear();
    bool recovered = false;
    {
        BusyPointer busy;
        m_page->ClearAllCells();
        m_page->ClearObjects();
        m_page->SetUserTitle(QString());
        setZoom(1.0f);
        // The same open file again: what was proven above is what the page reads.
        bool read = true;
        try {
            recovered = persist::ReadCalendar(&file, *m_page, this).has_value();
        } catch (const persist::StreamError&) {
            read = false;
        }
        m_page->Relayout(false);
        if (read && recovered) {
            m_page->HookObjectEvents();
            m_recoveredName = RecoveredName(path);
        } else if (read) {
            m_page->HookObjectEvents();
            m_currentFileName = path;
            m_mru.Add(path);
            platform::IniFile ini(IniPath());
            m_mru.Save(ini, QStringLiteral("MRU"));
            ini.Save();
            rebuildRecentMenu();
        } else {
            // Only a file changed on disk between the two readings gets here.
            m_page->ClearObjects();
            m_page->ResetToNew();
            platform::Prompts::Current().Information(
                this, tr("Unable to open %1. Possibly \ncorrupted, possibly not a Calendar file")
                          .arg(ShownPath(path)));
        }
    }
    QCoreApplication::processEvents();
    m_startingUp = false;
    const bool opened = !m_currentFileName.isEmpty() || !m_recoveredName.isEmpty();
    m_page->setVisible(opened);
    SetModified(false);
    SetButtons();
    CheckFloaterStatus();
    SetCaption();
    if (remembered != 1.0f)
        setZoom(remembered);
    layoutCanvas();
    SetCaption();
    m_history->Reset();
    if (recovered) {
        // What was recovered is not the file on disk: it stays unsaved whatever is undone.
        m_history->Stack()->resetClean();
        SetModified(true);
    }
    m_page->SetSuspendPaint(false);
    m_page->update();
    return opened;
}

bool TCalendarMain::SaveCalendarFile(const QString& path)
{
    m_page->SetSuspendPaint(true);
    float remembered = m_page->Zoom();
    if (remembered == 0.0f)
        remembered = 1.0f;
    if (remembered != 1.0f)
        setZoom(1.0f);
    bool saved = false;
    {
        BusyPointer busy;
        DoSaveRichtext();
        try {
            persist::SaveCalendarFile(*m_page, path);
            m_history->Stack()->setClean();
            m_currentFileName = path;
            m_recoveredName.clear();
            SetModified(false);
            saved = true;
        } catch (const persist::StreamError&) {
        }
    }
    // A failed save must not look like a successful one: the user is told and the changes stay marked.
    if (!saved)
        platform::Prompts::Current().Information(this, tr("Unable to save %1").arg(path));
    if (remembered != 1.0f && remembered >= 0.2f && remembered <= 1.0f)
        setZoom(remembered);
    m_page->SetSuspendPaint(false);
    m_page->update();
    QCoreApplication::processEvents();
    SetButtons();
    SetCaption();
    return saved;
}

bool TCalendarMain::CheckSaveNeeded()
{
    DoSaveRichtext();
    if (!m_modified)
        return true;
    switch (platform::Prompts::Current().QuestionOrCancel(this, tr("Save"), tr("Save changes?"))) {
    case platform::Prompts::Answer::Cancel:
        return false;
    case platform::Prompts::Answer::No:
        return true;
    case platform::Prompts::Answer::Yes:
        break;
    }
    const bool saved = m_currentFileName.isEmpty() ? SaveAs() : SaveCalendarFile(m_currentFileName);
    if (saved)
        SetModified(false);
    return saved;
}

} // namespace app
