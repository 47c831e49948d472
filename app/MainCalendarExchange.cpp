// The main window's iCalendar commands: events of a calendar file put on the month's days, and the
// recurring dates written as a calendar file.

#include "app/TCalendarMain.h"

#include "app/DocumentHistory.h"
#include "calendar/TCalendarPanel32.h"
#include "exchange/IcsCalendar.h"
#include "exchange/IcsExport.h"
#include "exchange/IcsMonth.h"
#include "exchange/TImportEvents.h"
#include "persist/formats/Preferences.h"
#include "platform/Clock.h"
#include "platform/ProgramFolder.h"
#include "platform/Prompts.h"
#include "print/MonthFill.h"
#include "recurring/RecurringStore.h"

#include <QApplication>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>

namespace app {

namespace {

const QString kIcsFilter = QStringLiteral("iCalendar files (*.ics *.ical *.ifb);;All files (*)");
// Dates of Easter and the other dates without a rule are written for this many years.
constexpr int kListedYears = 50;

/** "March 2024", or a week planner's "25 March to 7 April 2024". */
QString PeriodText(const QDate& first, const QDate& last)
{
    const QLocale locale;
    if (first.day() == 1 && last == first.addMonths(1).addDays(-1))
        return locale.toString(first, QStringLiteral("MMMM yyyy"));
    return QStringLiteral("%1 to %2")
        .arg(locale.toString(first, QStringLiteral("d MMMM")),
             locale.toString(last, QStringLiteral("d MMMM yyyy")));
}

} // namespace

void TCalendarMain::ImportEventsFromIcs()
{
    DoSaveRichtext();
    // The page's month, or the days of a week planner; a day planner's rows carry no days.
    const auto [first, last] =
        print::DaysShown(*m_page, {m_page->MainCalMonth(), m_page->MainCalYear(), m_page->MainCalDay(), {}});
    if (!first.isValid()) {
        platform::Prompts::Current().Information(this, tr("This layout has no days to put events on"));
        return;
    }
    const std::optional<QString> path = platform::Prompts::Current().OpenFileName(
        this, tr("Import Events from iCalendar"), platform::ProgramFolder(), kIcsFilter);
    if (!path)
        return;
    exchange::IcsCalendar calendar;
    exchange::MonthImport import;
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const bool read = calendar.Load(*path);
        if (read)
            import = exchange::ImportDays(calendar, first, last, QTimeZone::systemTimeZone());
        QApplication::restoreOverrideCursor();
        if (!read) {
            platform::Prompts::Current().Information(this, calendar.ErrorString());
            return;
        }
    }
    const QString name = QFileInfo(*path).fileName();
    if (import.entries.isEmpty()) {
        platform::Prompts::Current().Information(
            this, tr("No events of %1 fall in %2").arg(name, PeriodText(first, last)));
        return;
    }
    exchange::TImportEvents dialog(name, PeriodText(first, last), import.entries,
                                   calendar.ReadWarnings() + import.warnings, this);
    dialog.setGeometry(persist::CentredOver(dialog.sizeHint(), geometry()));
    if (dialog.exec() != QDialog::Accepted)
        return;
    {
        DoSaveRichtext();
        DocumentHistory::Step step(*m_history, tr("Import Events"));
        // One insertion a day, the day's events a line each.
        for (const recurring::DayText& text : exchange::DayTexts(dialog.ChosenEntries()))
            PuttextOnDay(text.day, text.text);
        // The last day's text may still be in the open editor; it belongs to this step.
        saveCellEditorNow();
    }
    SetButtons();
}

bool TCalendarMain::ExportRecurringDatesAsIcs()
{
    const QStringList lines = recurring::ReadStore(recurring::StorePath());
    if (lines.isEmpty()) {
        platform::Prompts::Current().Information(this, tr("There are no recurring dates to export"));
        return false;
    }
    const std::optional<QString> chosen = platform::Prompts::Current().SaveFileName(
        this, tr("Export Recurring Dates as iCalendar"),
        platform::ProgramFolder() + QStringLiteral("KVRECUR.ics"), kIcsFilter);
    if (!chosen)
        return false;
    QString target = *chosen;
    if (QFileInfo(target).suffix().isEmpty())
        target += QStringLiteral(".ics");
    const exchange::IcsExport result = exchange::ExportStore(lines, platform::Today().year(), kListedYears);
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly) || file.write(result.ics) != result.ics.size() || !file.commit()) {
        platform::Prompts::Current().Information(this, tr("Unable to save %1").arg(target));
        return false;
    }
    if (!result.skipped.isEmpty()) {
        QStringList names;
        for (const QString& line : result.skipped)
            names.append(recurring::LineDescription(line));
        platform::Prompts::Current().Information(
            this, tr("These recurring dates have no rule that iCalendar can hold and were left out:\n%1")
                      .arg(names.join(QStringLiteral(", "))));
    }
    return true;
}

} // namespace app
