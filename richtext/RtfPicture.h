#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace richtext {

/** The picture kinds an RTF \pict group names. */
enum class PictureKind
{
    Unknown,
    Png,
    Jpeg,
    Dib,     // \dibitmap: a device-independent bitmap without file header
    Wmf,     // \wmetafileN
    Emf,     // \emfblip
    MacPict, // \macpict
};

/** The RTF control word of a picture kind ("pngblip", "wmetafile8", ...). */
QString PictureKindWord(PictureKind kind);

/**
 * Decodes picture data: PNG and JPEG directly, a bare DIB with a file header put in front, and the bitmap
 * inside a Windows metafile (what WordPad stores for pasted pictures). A null image when nothing can be
 * shown.
 */
QImage DecodePicture(PictureKind kind, const QByteArray& data);

} // namespace richtext
