#pragma once

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QList>
#include <QString>

namespace platform {

/**
 * The icons of an icon file: an .ICO file (one icon), a 16-bit NE library (.ICL, .NIL, older .DLL and .EXE
 * files) or a 32- or 64-bit PE program or library (.DLL, .EXE). Counts the icon groups of the file and gives
 * icon i at a size, its pixels exactly the file's. Untrusted files are read with every offset and length
 * checked against the file; a file cut short or damaged is told apart from one that holds no icons and from
 * one that is no icon file at all.
 */
class IconLibrary
{
public:
    enum class Problem
    {
        None,
        NoIcons,     // a whole icon file, library or program without icons
        NotIconFile, // neither an icon file nor a library or program
        Damaged,     // cut short or damaged: some or all of its icons cannot be read
        Unreadable,  // the file cannot be read at all
    };

    /**
     * Reads the file's icon directory. True when the file was read whole and holds icons; otherwise
     * ErrorString() says why. A damaged file still gives the icons that could be read.
     */
    bool Open(const QString& fileName);
    bool OpenData(const QByteArray& data);
    /** The number of icons (icon groups) that can be read; 0 for a file without icons. */
    int Count() const { return int(m_groups.size()); }
    Problem GetProblem() const { return m_problem; }
    /** Why the file gave no icons or fewer than it names, as a reason to show; empty when it was read whole.
     */
    QString ErrorString() const;
    /** Icon i drawn at size × size pixels from its nearest image; a null image for a bad index or a damaged
     * image (with the reason). */
    QImage Icon(int index, int size = 32, QString* error = nullptr) const;
    /** The image of icon i nearest the size, at its own size; a null image and the reason when it is damaged.
     */
    QImage NearestImage(int index, int size, QString* error = nullptr) const;
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

    void reset(const QByteArray& data);
    void readIco();
    void readNe(qsizetype header);
    void readPe(qsizetype header);
    /** The groups' images from the icon resources by id; a group naming a missing image marks damage. */
    void collectGroups(const QHash<int, Image>& icons, const QList<QByteArrayView>& groups);
    /** The bytes of a resource, cut to the file's end where its length is rounded past it. */
    QByteArrayView resource(qint64 offset, qint64 length) const;
    void setProblem(Problem problem);
    QByteArray icoOf(const Group& group) const;

    QByteArray m_data;
    QList<Group> m_groups;
    Problem m_problem = Problem::None;
    QString m_error;
    int m_listed = 0; // icons the directory names
};

} // namespace platform
