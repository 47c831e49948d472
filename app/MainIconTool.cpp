// The main window's side of the icon tool palette: showing and hiding it, and keeping it in line with the
// page and the preferences.
#include "app/TCalendarMain.h"

#include "app/TFloatingPalette.h"
#include "calendar/TCalendarPanel32.h"
#include "controls/TIconListBox.h"

#include <QAction>

namespace app {

void TCalendarMain::buildIconTool()
{
    m_palette = new TFloatingPalette(this);
    connect(m_palette, &TFloatingPalette::fileChosen, this, [this] {
        savePreferences();
        SetButtons();
    });
    connect(m_palette, &TFloatingPalette::hidden, this, [this] { SetButtons(); });
    // Closed by its own close button, the palette stays closed, as after "Hide Icon Tool".
    connect(m_palette, &TFloatingPalette::closed, this, [this] {
        savePreferences();
        SetButtons();
    });
}

void TCalendarMain::ShowHideIconTool()
{
    m_palette->setVisible(m_palette->isHidden());
    m_prefs.iconsVisible = m_palette->isVisible();
    SetButtons();
}

void TCalendarMain::CheckFloaterStatus()
{
    if (!m_page->UsesDayCells()) {
        m_prefs.iconsVisible = false;
        m_palette->hide();
    } else if (m_prefs.iconsVisible && m_palette->isHidden()) {
        m_palette->show();
    }
}

bool TCalendarMain::hidePaletteFor()
{
    const bool shown = m_prefs.iconsVisible && m_palette->isVisible();
    if (shown)
        m_palette->hide();
    return shown;
}

void TCalendarMain::syncIconTool()
{
    if (!m_palette)
        return;
    QAction* button = Action("ShowHideIconTool");
    button->setEnabled(m_page->UsesDayCells());
    button->setText(m_palette->isVisible() ? tr("Hide Icon Tool") : tr("Show Icon Tool"));
    m_palette->SyncWithIconFile(m_prefs.iconFile);
}

} // namespace app
