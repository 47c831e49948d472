#pragma once

#include <QRect>
#include <QString>

class QWidget;

namespace app {

/**
 * Puts a window where KV.ini last saw it, in the section for its class and this screen's pixels per inch:
 * moved back onto a smaller screen, or centred over centreOver (the screen when null) the first time.
 */
void RestorePlacement(QWidget& window, const QString& windowClass, const QWidget* centreOver = nullptr);
/** True when KV.ini holds a usable placement of the window class for this screen's pixels per inch. */
bool HasStoredPlacement(const QString& windowClass);
/** Where the main window opens the first time: 80% of the screen's available area, centred in it. */
QRect FirstPlacement(const QRect& available);
/** Saves a window's normal rectangle and maximised state to KV.ini. */
void SavePlacement(const QWidget& window, const QString& windowClass);
/** Brings a window to the front for a second start: a minimised one is restored, a maximised one stays so. */
void BringToFront(QWidget& window);

} // namespace app
