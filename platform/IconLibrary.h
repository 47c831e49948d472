#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

namespace platform {

/**
 * The icons of an icon file: an .ICO file (one icon), a 16-bit NE library (.ICL, .NIL, older .DLL and .EXE
 * files) or a 32- or 64-bit PE program or library (.DLL, .EXE). Counts the icon groups of the file and gives
 * icon i at a size; the images themselves are decoded by Qt. Untrusted files are read with every offset and
 * length checked against the file.
 */
class IconLibrary
{
public:
    /** Reads the file's icon directory; a file that cannot be read or holds no icons has a count of 0. */
    bool Open(const QString& fileName);
    bool OpenData(const QByteArray& data);
    /** The number of icons (icon groups); 0 for a file without icons. */
    int Count() const { return int(m_groups.size()); }
    /** Icon i drawn at size × size pixels from its nearest image; a null image for a bad index. */
    QImage Icon(int index, int size = 32) const;
    /** Icon i as an .ICO file with all of its images. */
    QByteArray IconFile(int index) const;
    /** The sizes of icon i's images as the directory gives them. */
    QList<QSize> ImageSizes(int index) const;

private:
    struct Image
    {
        int width = 0;
        int height = 0;
        int colours = 0;
        int planes = 0;
        int bitCount = 0;
        qsizetype offset = 0;
        qsizetype size = 0;
    };
    using Group = QList<Image>;

    bool readIco();
    bool readNe(qsizetype header);
    bool readPe(qsizetype header);
    QByteArray icoOf(const Group& group) const;

    QByteArray m_data;
    QList<Group> m_groups;
};

} // namespace platform
