#pragma once

#include <QImage>
#include <QSize>
#include <QString>

namespace platform {

class TPicture;

/**
 * The kind a file name gives a picture file, after the last ".": "JPG" 1, "GIF" 2, "JIF" 3, "BMP" 4, "DIB" 5,
 * "RLE" 6, "TGA" 7, "PCX" 8, anything else 0 (left to the plain picture support: BMP, WMF and ICO files).
 */
int PictureKindOf(const QString& fileName);

/** The file mask of the picture browser: "*.BMP;*.DIB;*.JPG;*.JIF;*.PCX;*.RLE;*.TGA;*.WMF;*.ICO". */
QString PictureFileMask();

/**
 * Decodes a picture file into an image: JPEG, GIF, BMP/DIB/RLE and ICO through Qt, Targa and PCX through our
 * own decoders, a metafile drawn at its own size on white, an icon at the system icon size. With a size
 * given, a larger picture is scaled down while it is read to fit inside it (keeping its proportions). A null
 * image comes back with the message "Unable to load NAME: reason".
 */
QImage LoadImageFile(const QString& fileName, QString& error, const QSize& fitInside = QSize());

/** The same, keeping a metafile as a metafile. */
TPicture LoadPictureFile(const QString& fileName, QString& error, const QSize& fitInside = QSize());

/** The size of the icons of the system (32 pixels). */
int SystemIconSize();

} // namespace platform
