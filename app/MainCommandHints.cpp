// What the main window tells about its commands: names of the tool bar buttons for assistive tools, and why
// a command is greyed out.
#include "app/TCalendarMain.h"

#include "calendar/TCalendarPanel32.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

namespace app {

namespace {
const char* const kHintProperty = "datoriaHint";

/** The first line of a hint: a short name for a button. */
QString FirstLine(const QString& text)
{
    return text.section(u'\n', 0, 0).trimmed();
}
} // namespace

void TCalendarMain::nameToolBarButtons()
{
    for (QToolBar* bar : findChildren<QToolBar*>()) {
        for (QAction* action : bar->actions()) {
            QWidget* widget = bar->widgetForAction(action);
            if (!widget || action->isSeparator())
                continue;
            // A button is named by its hint ("Zoom In" for "+"); a widget on the bar by its own hint.
            const QString hint = qobject_cast<QToolButton*>(widget) ? action->toolTip() : widget->toolTip();
            if (widget->accessibleName().isEmpty() && !FirstLine(hint).isEmpty())
                widget->setAccessibleName(FirstLine(hint));
            if (widget->accessibleDescription().isEmpty())
                widget->setAccessibleDescription(hint);
        }
    }
    // Greyed-out menu items say why when pointed at.
    for (QMenu* menu : menuBar()->findChildren<QMenu*>())
        menu->setToolTipsVisible(true);
}

void TCalendarMain::explainDisabledCommands()
{
    const bool visible = !m_page->isHidden();
    const QString noCalendar = tr("There is no calendar yet: create one with New or open one.");
    const QString noCells = tr("This layout has no day cells.");
    auto explain = [this](const char* name, const QString& reason) {
        QAction* action = Action(name);
        if (!action)
            return;
        // A tool bar button keeps its own hint above the reason; a menu item shows only the reason.
        QVariant hint = action->property(kHintProperty);
        if (!hint.isValid()) {
            bool inMenu = false;
            for (QObject* owner : action->associatedObjects())
                inMenu = inMenu || qobject_cast<QMenu*>(owner);
            hint = inMenu ? QString() : action->toolTip();
            action->setProperty(kHintProperty, hint);
        }
        const QString base = hint.toString();
        const QString why = action->isEnabled() ? QString() : reason;
        action->setToolTip(why.isEmpty() ? base : base.isEmpty() ? why : base + u'\n' + why);
    };
    for (const char* name : {"mnuSaveAs", "mnuSaveAsBitmap", "mnuExportPdf", "mnuPrintCalendar",
                             "Printbutton", "mnuPrintPreview", "mnuPrintSetup", "mnuProperties",
                             "PropertiesButton", "ZoomPlusButton", "ZoomMinusButton"})
        explain(name, noCalendar);
    for (const char* name : {"mnuFillCalendarwithRecurringDates", "mnuImportEvents",
                             "mnuClearAllCellContents", "mnuUserDefinedTitle"})
        explain(name, visible ? noCells : noCalendar);
    explain("ShowHideIconTool", tr("This layout has no day cells to put icons on."));
    explain("mnuSave", tr("The calendar has no file yet: use Save As."));
    explain("mnuCancelChanges",
            visible ? tr("The calendar has not been saved yet, so there is no saved version to go back to.")
                    : noCalendar);
}

} // namespace app
