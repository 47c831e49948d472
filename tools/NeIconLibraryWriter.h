#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

/**
 * Writes a 16-bit NE icon library (.ICL): a stub DOS header, an NE header, a resource table with one icon
 * group per icon and one icon resource per image, and the images as 32-bit device-independent bitmaps with
 * their AND masks. Each icon is a list of images of different sizes (at most 255 pixels a side). Icon
 * libraries put the NE header at 128; Norton's .NIL files put it at 64.
 */
QByteArray WriteNeIconLibrary(const QString& moduleName, const QList<QList<QImage>>& icons,
                              int neOffset = 0x80);

/** One image as the icon resource stores it: header, 32-bit pixels bottom row first, the 1-bit mask. */
QByteArray IconImageResource(const QImage& image);
