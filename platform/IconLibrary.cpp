#include "platform/IconLibrary.h"

#include "platform/ByteReader.h"
#include "platform/IconImage.h"
#include "platform/StraightAlpha.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>

#include <algorithm>

namespace platform {

namespace {

constexpr int RT_ICON = 3;
constexpr int RT_GROUP_ICON = 14;
// Library files larger than this are not read.
constexpr qint64 kMaxFileSize = 256LL * 1024 * 1024;
// Bounds on what a hostile directory can make the reader walk.
constexpr int kMaxEntries = 65536;
constexpr int kMaxImagesPerIcon = 256;

void Put16(QByteArray& out, int v)
{
    out.append(char(v & 0xFF));
    out.append(char((v >> 8) & 0xFF));
}

void Put32(QByteArray& out, std::uint32_t v)
{
    Put16(out, int(v & 0xFFFF));
    Put16(out, int(v >> 16));
}

struct GroupEntry
{
    int width = 0, height = 0, colours = 0, planes = 0, bitCount = 0;
    int id = 0;
};

/**
 * The entries of an icon group resource (the directory of one icon, naming its images by resource id); false
 * when the directory is cut short.
 */
bool ReadGroup(QByteArrayView bytes, QList<GroupEntry>& entries)
{
    ByteReader in(bytes);
    if (in.U16() != 0 || in.U16() != 1)
        return false;
    const int count = std::min<int>(in.U16(), kMaxImagesPerIcon);
    for (int i = 0; i < count; ++i) {
        GroupEntry e;
        e.width = in.U8();
        e.height = in.U8();
        e.colours = in.U8();
        in.U8();
        e.planes = in.U16();
        e.bitCount = in.U16();
        in.U32();
        e.id = in.U16();
        if (in.Overrun())
            return false;
        entries.append(e);
    }
    return !in.Overrun();
}

QString Tr(const char* text)
{
    return QCoreApplication::translate("IconLibrary", text);
}

} // namespace

void IconLibrary::reset(const QByteArray& data)
{
    m_data = data;
    m_groups.clear();
    m_listed = 0;
    m_problem = Problem::None;
    m_error.clear();
}

bool IconLibrary::Open(const QString& fileName)
{
    reset({});
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        m_problem = Problem::Unreadable;
        m_error = file.errorString();
        return false;
    }
    if (file.size() > kMaxFileSize) {
        m_problem = Problem::Unreadable;
        m_error = Tr("the file is too large");
        return false;
    }
    return OpenData(file.readAll());
}

bool IconLibrary::OpenData(const QByteArray& data)
{
    reset(data);
    ByteReader in(m_data);
    const int first = in.U16();
    if (first == 0x5A4D) { // "MZ"
        in.Seek(0x3C);
        const qsizetype header = qsizetype(in.U32());
        ByteReader sig(in.At(header, 4));
        const std::uint32_t signature = sig.U32();
        if (in.Overrun() || sig.Overrun())
            setProblem(Problem::Damaged);        // the program's header lies past the end
        else if ((signature & 0xFFFF) == 0x454E) // "NE"
            readNe(header);
        else if (signature == 0x00004550) // "PE\0\0"
            readPe(header);
        else
            setProblem(Problem::NotIconFile);
    } else if (first == 0 && in.U16() == 1) {
        readIco();
    } else {
        setProblem(Problem::NotIconFile);
    }
    if (m_problem == Problem::None && m_groups.isEmpty())
        setProblem(Problem::NoIcons);
    return m_problem == Problem::None;
}

void IconLibrary::setProblem(Problem problem)
{
    // Damage outweighs what else is found: the file may have named icons it lost.
    if (m_problem != Problem::Damaged)
        m_problem = problem;
}

QString IconLibrary::ErrorString() const
{
    switch (m_problem) {
    case Problem::None:
        break;
    case Problem::NoIcons:
        return Tr("the file holds no icons");
    case Problem::NotIconFile:
        return Tr("it is not an icon file (an icon, an icon library or a program with icons)");
    case Problem::Damaged:
        if (m_listed > 1 && Count() < m_listed)
            return Tr("the file is damaged or cut short (%1 of the %2 icons it lists can be read)")
                .arg(Count())
                .arg(m_listed);
        return Tr("the file is damaged or cut short");
    case Problem::Unreadable:
        return m_error;
    }
    return {};
}

QByteArrayView IconLibrary::resource(qint64 offset, qint64 length) const
{
    if (offset < 0 || length <= 0 || offset >= m_data.size())
        return {};
    return QByteArrayView(m_data).sliced(qsizetype(offset),
                                         qsizetype(std::min(length, m_data.size() - offset)));
}

void IconLibrary::collectGroups(const QHash<int, Image>& icons, const QList<QByteArrayView>& groups)
{
    for (const QByteArrayView bytes : groups) {
        QList<GroupEntry> entries;
        if (!ReadGroup(bytes, entries))
            setProblem(Problem::Damaged);
        Group group;
        for (const GroupEntry& e : std::as_const(entries)) {
            const auto it = icons.constFind(e.id);
            if (it == icons.constEnd()) {
                setProblem(Problem::Damaged);
                continue;
            }
            Image image = *it;
            image.width = e.width;
            image.height = e.height;
            image.colours = e.colours;
            image.planes = e.planes;
            image.bitCount = e.bitCount;
            group.append(image);
        }
        if (!group.isEmpty())
            m_groups.append(group);
    }
}

void IconLibrary::readIco()
{
    ByteReader in(m_data);
    in.Seek(4);
    const int count = in.U16();
    m_listed = 1;
    if (in.Overrun() || count > kMaxImagesPerIcon)
        return setProblem(Problem::Damaged);
    Group group;
    for (int i = 0; i < count; ++i) {
        Image image;
        image.width = in.U8();
        image.height = in.U8();
        image.colours = in.U8();
        in.U8();
        image.planes = in.U16();
        image.bitCount = in.U16();
        image.size = qsizetype(in.U32());
        image.offset = qsizetype(in.U32());
        if (in.Overrun())
            return setProblem(Problem::Damaged);
        const QByteArrayView bytes = resource(image.offset, image.size);
        if (bytes.isEmpty() || !IconImageComplete(bytes)) {
            setProblem(Problem::Damaged);
            continue;
        }
        image.size = bytes.size();
        group.append(image);
    }
    if (!group.isEmpty())
        m_groups.append(group);
}

void IconLibrary::readNe(qsizetype header)
{
    ByteReader in(m_data);
    in.Seek(header + 0x24);
    const qsizetype table = header + in.U16();
    if (in.Overrun() || !in.Seek(table))
        return setProblem(Problem::Damaged);
    const int shift = in.U16();
    if (shift > 16)
        return setProblem(Problem::Damaged);
    QHash<int, Image> icons; // by resource id
    QList<QByteArrayView> groups;
    int walked = 0;
    while (true) {
        const int type = in.U16();
        if (in.Overrun() || walked >= kMaxEntries)
            return setProblem(Problem::Damaged); // the table is cut short or never ends
        if (type == 0)
            break;
        const int count = in.U16();
        in.U32();
        for (int i = 0; i < count && !in.Overrun() && walked < kMaxEntries; ++i, ++walked) {
            const qint64 offset = qint64(in.U16()) << shift;
            const qint64 length = qint64(in.U16()) << shift;
            in.U16();
            const int id = in.U16();
            in.U32();
            const bool icon = type == (0x8000 | RT_ICON) && (id & 0x8000);
            const bool group = type == (0x8000 | RT_GROUP_ICON);
            if (!icon && !group)
                continue;
            m_listed += group ? 1 : 0;
            // NE lengths count whole alignment units: the last resource's may reach past the file's end.
            const QByteArrayView bytes = resource(offset, length);
            if (bytes.isEmpty() || (icon && !IconImageComplete(bytes))) {
                setProblem(Problem::Damaged);
                continue;
            }
            if (icon) {
                Image image;
                image.offset = qsizetype(offset);
                image.size = bytes.size();
                icons.insert(id & 0x7FFF, image);
            } else {
                groups.append(bytes);
            }
        }
    }
    collectGroups(icons, groups);
}

void IconLibrary::readPe(qsizetype header)
{
    ByteReader in(m_data);
    in.Seek(header + 4 + 2);
    const int sections = in.U16();
    in.Seek(header + 4 + 16);
    const int optionalSize = in.U16();
    const qsizetype optional = header + 24;
    in.Seek(optional);
    const int magic = in.U16();
    qsizetype directories = 0;
    if (magic == 0x10B)
        directories = optional + 96;
    else if (magic == 0x20B)
        directories = optional + 112;
    else
        return setProblem(in.Overrun() ? Problem::Damaged : Problem::NotIconFile);
    in.Seek(directories - 4);
    const std::uint32_t directoryCount = in.U32();
    if (in.Overrun())
        return setProblem(Problem::Damaged);
    if (directoryCount < 3)
        return; // no resource directory: a program without icons
    in.Seek(directories + 2 * 8);
    const std::uint32_t resourceRva = in.U32();
    if (in.Overrun())
        return setProblem(Problem::Damaged);
    if (resourceRva == 0)
        return;

    struct Section
    {
        std::uint32_t rva, size, raw, rawSize;
    };
    QList<Section> table;
    in.Seek(optional + optionalSize);
    for (int i = 0; i < sections && i < 96; ++i) {
        in.Skip(8);
        Section s;
        s.size = in.U32();
        s.rva = in.U32();
        s.rawSize = in.U32();
        s.raw = in.U32();
        in.Skip(16);
        if (in.Overrun())
            return setProblem(Problem::Damaged);
        table.append(s);
    }
    auto fileOffset = [&table](std::uint32_t rva) -> qint64 {
        for (const Section& s : table) {
            const std::uint32_t extent = std::max(s.size, s.rawSize);
            if (rva >= s.rva && rva - s.rva < extent)
                return qint64(rva) - s.rva + s.raw;
        }
        return -1;
    };
    const qint64 root = fileOffset(resourceRva);
    if (root < 0)
        return setProblem(Problem::Damaged);

    int walked = 0;
    // The entries of a directory: (id or -1 for a name, offset of the entry's target relative to the root).
    auto entries = [&](qint64 dir) {
        QList<std::pair<qint64, std::uint32_t>> list;
        ByteReader d(m_data);
        if (!d.Seek(root + dir)) {
            setProblem(Problem::Damaged);
            return list;
        }
        d.Skip(12);
        const int named = d.U16();
        const int ids = d.U16();
        for (int i = 0; i < named + ids && walked < kMaxEntries; ++i, ++walked) {
            const std::uint32_t name = d.U32();
            const std::uint32_t target = d.U32();
            if (d.Overrun()) {
                setProblem(Problem::Damaged);
                break;
            }
            list.append({(name & 0x80000000u) ? -1 : qint64(name & 0xFFFF), target});
        }
        return list;
    };
    // The data of the first language of a named resource.
    auto dataOf = [&](std::uint32_t target) -> QByteArrayView {
        // Follow subdirectories (the language level) to the first data entry.
        for (int depth = 0; depth < 3 && (target & 0x80000000u); ++depth) {
            const auto inner = entries(target & 0x7FFFFFFF);
            if (inner.isEmpty())
                return {};
            target = inner.first().second;
        }
        if (target & 0x80000000u)
            return {};
        ByteReader e(m_data);
        if (!e.Seek(root + target))
            return {};
        const std::uint32_t rva = e.U32();
        const std::uint32_t size = e.U32();
        const qint64 offset = fileOffset(rva);
        if (e.Overrun() || offset < 0)
            return {};
        return resource(offset, size);
    };

    QHash<int, Image> icons;
    QList<QByteArrayView> groups;
    for (const auto& [type, target] : entries(0)) {
        if ((type != RT_ICON && type != RT_GROUP_ICON) || !(target & 0x80000000u))
            continue;
        for (const auto& [id, item] : entries(target & 0x7FFFFFFF)) {
            m_listed += type == RT_GROUP_ICON ? 1 : 0;
            const QByteArrayView bytes = dataOf(item);
            if (bytes.isEmpty() || (type == RT_ICON && !IconImageComplete(bytes))) {
                setProblem(Problem::Damaged);
                continue;
            }
            if (type == RT_ICON && id >= 0) {
                Image image;
                image.offset = qsizetype(bytes.data() - m_data.constData());
                image.size = bytes.size();
                icons.insert(int(id), image);
            } else if (type == RT_GROUP_ICON) {
                groups.append(bytes);
            }
        }
    }
    collectGroups(icons, groups);
}

QByteArray IconLibrary::icoOf(const Group& group) const
{
    QByteArray out;
    Put16(out, 0);
    Put16(out, 1);
    Put16(out, int(group.size()));
    std::uint32_t offset = std::uint32_t(6 + 16 * group.size());
    for (const Image& image : group) {
        out.append(char(image.width));
        out.append(char(image.height));
        out.append(char(image.colours));
        out.append(char(0));
        Put16(out, image.planes);
        Put16(out, image.bitCount);
        Put32(out, std::uint32_t(image.size));
        Put32(out, offset);
        offset += std::uint32_t(image.size);
    }
    for (const Image& image : group)
        out.append(m_data.constData() + image.offset, image.size);
    return out;
}

QByteArray IconLibrary::IconFile(int index) const
{
    if (index < 0 || index >= m_groups.size())
        return {};
    return icoOf(m_groups[index]);
}

QList<QSize> IconLibrary::ImageSizes(int index) const
{
    QList<QSize> sizes;
    if (index < 0 || index >= m_groups.size())
        return sizes;
    for (const Image& image : m_groups[index])
        sizes.append(QSize(image.width ? image.width : 256, image.height ? image.height : 256));
    return sizes;
}

QImage IconLibrary::NearestImage(int index, int size, QString* error) const
{
    if (index < 0 || index >= m_groups.size() || size <= 0)
        return {};
    // The image nearest the size, the larger one when two are as near, then the one with more colours.
    const Group& group = m_groups[index];
    const Image* best = nullptr;
    int bestScore = std::numeric_limits<int>::max();
    for (const Image& image : group) {
        const int side = image.width ? image.width : 256;
        const int score =
            (side >= size ? side - size : 2 * (size - side)) * 64 - std::min(image.bitCount, 32);
        if (score < bestScore) {
            bestScore = score;
            best = &image;
        }
    }
    if (!best)
        return {};
    QString reason;
    const QImage image = DecodeIconImage(QByteArrayView(m_data).sliced(best->offset, best->size), reason);
    if (error)
        *error = reason;
    return image;
}

QImage IconLibrary::Icon(int index, int size, QString* error) const
{
    const QImage image = NearestImage(index, size, error);
    if (image.isNull() || image.size() == QSize(size, size))
        return image;
    // Scaling blends neighbouring pixels by their alpha; the result is turned back to plain colours in a way
    // that rounds alike on every processor.
    return StraightAlpha(image.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

} // namespace platform
