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

/**
 * Decodes a picture held in memory: PNG with libpng, the other formats Qt reads (the format given, or the one
 * the content shows when none is) with Qt's diagnostics kept from the terminal. The size is checked before
 * any pixel is decoded; with a size given, a larger picture is scaled down to fit inside it. The result is
 * Format_RGB32, or Format_ARGB32 with the stored colours and alpha. A null image and the reason when the data
 * cannot be decoded.
 */
QImage DecodeImageData(QByteArrayView data, const QByteArray& format, QString& error,
                       const QSize& fitInside = QSize());

/**
 * Keeps the diagnostics of Qt's picture readers (a damaged JPEG's "Corrupt JPEG data ...") from the terminal;
 * the program reports what it could not read in its own words. Done once; DecodeImageData does it itself.
 */
void CatchImageReaderMessages();

/** The size of the icons of the system (32 pixels). */
int SystemIconSize();

} // namespace platform
