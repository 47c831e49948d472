#include "tools/NeIconLibraryWriter.h"

namespace {

constexpr int kNeHeaderSize = 0x40;
// Resources start on 16-byte boundaries or coarser ones, so that the 16-bit offsets of the resource table
// reach the end of a large library. NE lengths count whole units: the table's length of an image is its size
// rounded up, as in every NE file.
constexpr int kMinAlignShift = 4;

void Put8(QByteArray& out, int v)
{
    out.append(char(v & 0xFF));
}

void Put16(QByteArray& out, int v)
{
    Put8(out, v);
    Put8(out, v >> 8);
}

void Put32(QByteArray& out, quint32 v)
{
    Put16(out, int(v & 0xFFFF));
    Put16(out, int(v >> 16));
}

void Set16(QByteArray& out, int at, int v)
{
    out[at] = char(v & 0xFF);
    out[at + 1] = char((v >> 8) & 0xFF);
}

} // namespace

QByteArray IconImageResource(const QImage& source)
{
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int w = image.width(), h = image.height();
    QByteArray out;
    Put32(out, 40);
    Put32(out, quint32(w));
    Put32(out, quint32(2 * h)); // the colour bits and the mask
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, 0);
    const int maskStride = ((w + 31) / 32) * 4;
    Put32(out, quint32(w * h * 4 + maskStride * h));
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    for (int y = h - 1; y >= 0; --y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            Put8(out, qBlue(line[x]));
            Put8(out, qGreen(line[x]));
            Put8(out, qRed(line[x]));
            Put8(out, qAlpha(line[x]));
        }
    }
    // The mask marks fully clear pixels, for readers that ignore the alpha channel.
    for (int y = h - 1; y >= 0; --y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        QByteArray row(maskStride, '\0');
        for (int x = 0; x < w; ++x) {
            if (qAlpha(line[x]) == 0)
                row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
        }
        out.append(row);
    }
    return out;
}

QByteArray WriteNeIconLibrary(const QString& moduleName, const QList<QList<QImage>>& icons, int neOffset)
{
    // Resource data: every image, then every group directory.
    QList<QByteArray> images;
    QList<QByteArray> groups;
    int id = 1;
    for (const QList<QImage>& icon : icons) {
        QByteArray group;
        Put16(group, 0);
        Put16(group, 1);
        Put16(group, int(icon.size()));
        for (const QImage& image : icon) {
            const QByteArray resource = IconImageResource(image);
            Put8(group, image.width());
            Put8(group, image.height());
            Put8(group, 0);
            Put8(group, 0);
            Put16(group, 1);
            Put16(group, 32);
            Put32(group, quint32(resource.size()));
            Put16(group, id++);
            images.append(resource);
        }
        groups.append(group);
    }

    qint64 total = 0;
    for (const QByteArray& bytes : images + groups)
        total += bytes.size() + 64;
    int alignShift = kMinAlignShift;
    while ((total + 4096) >> alignShift >= 0xFFFF)
        ++alignShift;

    QByteArray file(neOffset, '\0');
    file[0] = 'M';
    file[1] = 'Z';
    Set16(file, 0x3C, neOffset);

    // The resource table: the alignment, the group type, the icon type, the end, no names.
    const int tableSize = 2 + (8 + 12 * int(groups.size())) + (8 + 12 * int(images.size())) + 2 + 1;
    QByteArray name = moduleName.toLatin1().left(255);
    const int residentSize = 1 + int(name.size()) + 2 + 1;
    const int dataStart = [&] {
        const int end = neOffset + kNeHeaderSize + tableSize + residentSize + 2;
        return (end + (1 << alignShift) - 1) & ~((1 << alignShift) - 1);
    }();

    QByteArray ne;
    ne.append("NE", 2);
    Put8(ne, 5); // linker version
    Put8(ne, 10);
    const int resourceTable = kNeHeaderSize;
    const int residentTable = resourceTable + tableSize;
    const int afterResident = residentTable + residentSize;
    Put16(ne, afterResident); // entry table (empty)
    Put16(ne, 2);
    Put32(ne, 0);             // checksum
    Put16(ne, 0x8000);        // a library module
    Put16(ne, 0);             // automatic data segment
    Put16(ne, 0);             // heap
    Put16(ne, 0);             // stack
    Put32(ne, 0);             // CS:IP
    Put32(ne, 0);             // SS:SP
    Put16(ne, 0);             // segments
    Put16(ne, 0);             // module references
    Put16(ne, 0);             // non-resident names size
    Put16(ne, resourceTable); // segment table (empty, at the resource table)
    Put16(ne, resourceTable); // resource table
    Put16(ne, residentTable); // resident names
    Put16(ne, afterResident); // module references (empty)
    Put16(ne, afterResident); // imported names (empty)
    Put32(ne, 0);             // non-resident names
    Put16(ne, 0);             // movable entries
    Put16(ne, alignShift);    // segment alignment
    Put16(ne, 0);             // resource segments
    Put8(ne, 2);              // for Windows
    Put8(ne, 0);
    Put16(ne, 0);
    Put16(ne, 0);
    Put16(ne, 0);
    Put16(ne, 0x030A); // Windows 3.10
    Q_ASSERT(ne.size() == kNeHeaderSize);

    // Place the data: images first, then groups, each on an alignment boundary.
    QByteArray data;
    QList<QPair<int, int>> imagePlaces, groupPlaces; // offset and length in alignment units
    auto place = [&](const QByteArray& bytes, QList<QPair<int, int>>& places) {
        const int offset = dataStart + int(data.size());
        data.append(bytes);
        while ((dataStart + data.size()) % (1 << alignShift))
            data.append('\0');
        const int length = (int(bytes.size()) + (1 << alignShift) - 1) >> alignShift;
        places.append({offset >> alignShift, length});
    };
    for (const QByteArray& image : images)
        place(image, imagePlaces);
    for (const QByteArray& group : groups)
        place(group, groupPlaces);

    QByteArray table;
    Put16(table, alignShift);
    Put16(table, 0x800E);
    Put16(table, int(groups.size()));
    Put32(table, 0);
    for (int i = 0; i < groups.size(); ++i) {
        Put16(table, groupPlaces[i].first);
        Put16(table, groupPlaces[i].second);
        Put16(table, 0x1030); // movable, pure, discardable
        Put16(table, 0x8000 | (i + 1));
        Put32(table, 0);
    }
    Put16(table, 0x8003);
    Put16(table, int(images.size()));
    Put32(table, 0);
    for (int i = 0; i < images.size(); ++i) {
        Put16(table, imagePlaces[i].first);
        Put16(table, imagePlaces[i].second);
        Put16(table, 0x1010); // movable, discardable
        Put16(table, 0x8000 | (i + 1));
        Put32(table, 0);
    }
    Put16(table, 0);
    Put8(table, 0);
    Q_ASSERT(table.size() == tableSize);

    QByteArray resident;
    Put8(resident, int(name.size()));
    resident.append(name);
    Put16(resident, 0);
    Put8(resident, 0);

    file.append(ne);
    file.append(table);
    file.append(resident);
    Put16(file, 0); // the empty entry table
    while (file.size() < dataStart)
        file.append('\0');
    file.append(data);
    return file;
}
