// The main window's day-cell commands: the in-cell editor, text put on days, the default editor font and the
// recurring dates.

#include "app/TCalendarMain.h"

#include "controls/TIconListBox.h"

#include "app/DocumentHistory.h"
#include "app/TFloatingPalette.h"

#include "calendar/TCalendarPanel32.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"
#include "platform/Prompts.h"
#include "platform/Screen.h"
#include "recurring/RecurringDateLists.h"
#include "recurring/RecurringStore.h"
#include "richtext/CharAttributes.h"
#include "richtext/TVelRichEdit.h"
#include "richtext/TVelRichToolBar.h"
#include "richtext/TVelRtfStorage.h"

#include <QFileInfo>
#include <QImage>
#include <QMimeData>

#include <algorithm>
#include <cmath>

namespace app {

namespace {

/**
 * Pixels on screen at a zoom to twips of the unzoomed page, rounded to nearest with ties to even. The editor
 * applies its zoom to the page it is given, so the zoom is taken out here once.
 */
int PixelsToTwips(int pixels, int zoomPercent)
{
    return int(std::nearbyint(double(pixels) / platform::PixelsPerInch() * 1440.0 * 100.0 / zoomPercent));
}

} // namespace

void TCalendarMain::CalendarPanelClickedInCellEvent(const platform::TRect& rFree, int iCell,
                                                    richtext::TVelRtfStorage& storage)
{
    m_currentCell = iCell;
    m_trackChanges = false;
    DoSaveRichtext();
    m_editedStorage = &storage;
    m_editingCell = true;
    // The editor covers the free area including its right and bottom edges.
    const int width = rFree.right - rFree.left + 1;
    const int height = rFree.bottom - rFree.top + 1;
    // The page paints cell text at the truncated percent too.
    const int zoomPercent = std::max(1, int(std::trunc(double(m_page->Zoom()) * 100)));
    m_cellEditor->SetPageSizeTwips(PixelsToTwips(width, zoomPercent), PixelsToTwips(height, zoomPercent));
    m_cellEditor->SetZoomPercent(zoomPercent);
    m_cellEditor->LoadFromStorage(storage);
    // An empty cell starts in the default editor font also when the window is not active and the editor
    // gets no focus event, as when recurring dates are poured after their dialog has closed.
    if (m_cellEditor->IsEmpty())
        SetDefaultFontNow();
    // The page's drawing starts one pixel inside its bordered frame.
    m_cellEditor->setGeometry(rFree.left + m_page->x(), rFree.top + m_page->y(), width, height);
    m_cellEditor->show();
    m_cellEditor->raise();
    m_cellEditor->setFocus(Qt::OtherFocusReason);
    m_trackChanges = true;
}

void TCalendarMain::DoSaveRichtext()
{
    if (!m_editingCell || !m_editedStorage)
        return;
    m_cellEditor->SaveToStorage(*m_editedStorage);
    m_trackChanges = false;
    m_editingCell = false;
    m_richBar->setEnabled(false);
    // An editable text keeps the focus when hidden; the keys would go on into a cell nobody sees.
    if (m_cellEditor->hasFocus())
        m_page->setFocus(Qt::OtherFocusReason);
    m_cellEditor->hide();
    m_page->update();
    // One step per visit of a cell, when its text changed.
    m_history->Commit(tr("Typing"));
}

void TCalendarMain::PuttextOnDay(int day, const QString& text)
{
    const int previous = m_currentCell;
    DoSaveRichtext();
    const int cell = m_page->CellOfDay(day);
    if (cell < 0)
        return;
    m_page->ClickCell(cell);
    // Text put on an empty day is in the default editor font, whether or not the editor got the focus.
    if (m_cellEditor->IsEmpty())
        SetDefaultFontNow();
    const richtext::CharAttributes attributes = m_cellEditor->CurrentAttributes();
    m_cellEditor->CaretToEnd();
    if (!m_cellEditor->IsEmpty())
        m_cellEditor->InsertParagraphBreak();
    m_cellEditor->InsertText(text, attributes);
    m_cellEditor->InsertParagraphBreak();
    SetModified(true);
    if (previous > 0)
        m_page->ClickCell(previous);
}

void TCalendarMain::ClearAllCellContents()
{
    DoSaveRichtext();
    DocumentHistory::Step step(*m_history, tr("Clear All Cell Contents"));
    m_page->ClearAllCells();
    m_page->update();
    SetModified(true);
}

void TCalendarMain::DefaultEditorFont()
{
    loadPreferences();
    QFont initial(m_prefs.fontName);
    initial.setPointSize(m_prefs.fontSize);
    initial.setBold(m_prefs.fontBold);
    initial.setItalic(m_prefs.fontItalic);
    initial.setUnderline(m_prefs.fontUnderline);
    initial.setStrikeOut(m_prefs.fontStrikeout);
    if (const std::optional<platform::FontChoice> chosen =
            platform::Prompts::Current().ChooseFont(this, {initial, m_prefs.fontColor}, {})) {
        m_prefs.fontName = chosen->font.family();
        if (chosen->font.pointSize() > 0)
            m_prefs.fontSize = chosen->font.pointSize();
        m_prefs.fontBold = chosen->font.bold();
        m_prefs.fontItalic = chosen->font.italic();
        m_prefs.fontUnderline = chosen->font.underline();
        m_prefs.fontStrikeout = chosen->font.strikeOut();
        m_prefs.fontColor = chosen->color;
        savePreferences();
    }
    SetDefaultFontNow();
}

void TCalendarMain::SetDefaultFontNow()
{
    m_cellEditor->SetCurrentAttributes(DefaultEditorAttributes());
}

richtext::CharAttributes TCalendarMain::DefaultEditorAttributes() const
{
    richtext::CharAttributes attributes;
    attributes.fontName = m_prefs.fontName;
    attributes.pointSize = m_prefs.fontSize;
    attributes.bold = m_prefs.fontBold;
    attributes.italic = m_prefs.fontItalic;
    attributes.underline = m_prefs.fontUnderline;
    attributes.strikeOut = m_prefs.fontStrikeout;
    // The highest table entry equal to the colour; black (0) when none is.
    const QRgb wanted = platform::ToQColor(m_prefs.fontColor).rgb();
    const auto& table = richtext::ColorTable();
    attributes.colorIndex = 0;
    for (int i = int(table.size()) - 1; i >= 0; --i) {
        if (table[size_t(i)].rgb() == wanted) {
            attributes.colorIndex = i;
            break;
        }
    }
    return attributes;
}

void TCalendarMain::FillWithRecurringDates()
{
    const int month = m_page->MainCalMonth();
    const int year = m_page->MainCalYear();
    const QStringList stored = QFileInfo::exists(recurring::StorePath())
                                   ? recurring::ReadStore(recurring::StorePath())
                                   : QStringList();
    if (stored.isEmpty()) {
        platform::Prompts::Current().Information(
            this, tr("No recurring dates are stored yet. Add them with Edit Recurring Dates."));
        return;
    }
    const QStringList lines = recurring::LinesForMonth(stored, month, year);
    if (lines.isEmpty()) {
        platform::Prompts::Current().Information(this, tr("No predefined dates match the current month"));
        return;
    }
    recurring::TSelectRecurringDates dialog(lines, this);
    const bool palette = hidePaletteFor();
    const bool accepted = dialog.exec() == QDialog::Accepted;
    if (palette)
        m_palette->show();
    if (!accepted)
        return;
    DoSaveRichtext();
    DocumentHistory::Step step(*m_history, tr("Fill with Recurring Dates"));
    for (const recurring::DayText& entry : recurring::FillPlan(dialog.Chosen(), month, year))
        PuttextOnDay(entry.day, entry.text);
    // The last day's text may still be in the open editor; it belongs to this step.
    saveCellEditorNow();
}

bool TCalendarMain::IsPictureDrag(const QMimeData* data)
{
    return data && data->hasImage();
}

bool TCalendarMain::PageDragOver(const QPoint& point, const QMimeData* data) const
{
    return IsPictureDrag(data) && m_page->PointInCell(point.x(), point.y());
}

void TCalendarMain::PageDrop(const QPoint& point, const QMimeData* data)
{
    if (!PageDragOver(point, data))
        return;
    DoSaveRichtext();
    m_page->ClickCellAt(point.x(), point.y());
    EditorDrop(data);
    m_currentCell = m_page->CellAtPoint(point.x(), point.y());
}

void TCalendarMain::EditorDrop(const QMimeData* data)
{
    if (!IsPictureDrag(data) || m_cellEditor->isHidden())
        return;
    // A drop is a step of its own, named after what it put into the cell: the drag began elsewhere (in the
    // palette, in another program), so no press in this window started a new one.
    m_history->NextAction();
    const bool icon = data->hasFormat(controls::TIconListBox::IconMimeType());
    DocumentHistory::Step step(*m_history, icon ? tr("Drop Icon") : tr("Drop Picture"));
    m_cellEditor->InsertBitmap(qvariant_cast<QImage>(data->imageData()));
    saveCellEditorNow();
    SetModified(true);
}

void TCalendarMain::EditRecurringDates()
{
    recurring::TEditRecurringDates dialog(recurring::StorePath(), this);
    const bool palette = hidePaletteFor();
    dialog.exec();
    if (palette)
        m_palette->show();
}

} // namespace app
