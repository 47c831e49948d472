#include "cli/PictureCommands.h"

#include "platform/IconLibrary.h"
#include "platform/ImageLoader.h"

#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>

namespace cli {

namespace {

bool WritePng(const QImage& image, const QString& path, QTextStream& err)
{
    if (QFileInfo(path).suffix().toLower() != QLatin1String("png")) {
        err << "datoria-cli: the output file must end in .png: " << path << '\n';
        return false;
    }
    QSaveFile file(path);
    QImageWriter writer(&file, "png");
    if (!file.open(QIODevice::WriteOnly) || !writer.write(image) || !file.commit()) {
        err << "datoria-cli: cannot write " << path << '\n';
        return false;
    }
    return true;
}

} // namespace

int ConvertPicture(const QString& in, const QString& to, const QString& outPath, QTextStream& err)
{
    if (to != QLatin1String("png")) {
        err << "datoria-cli: --to must be png\n";
        return 2;
    }
    QString error;
    const QImage image = platform::LoadImageFile(in, error);
    if (image.isNull()) {
        err << "datoria-cli: " << error << '\n';
        return 1;
    }
    return WritePng(image, outPath, err) ? 0 : 1;
}

int Icons(const QString& file, const QString& indexText, const QString& outPath, QTextStream& out,
          QTextStream& err)
{
    if (!QFileInfo::exists(file)) {
        err << "datoria-cli: no such file " << file << '\n';
        return 1;
    }
    platform::IconLibrary library;
    // Only a whole file counts its icons: a damaged one may have lost some, and a file of another kind has
    // no icon count at all.
    if (!library.Open(file) && library.GetProblem() != platform::IconLibrary::Problem::NoIcons) {
        err << "datoria-cli: cannot read icons from " << file << ": " << library.ErrorString() << '\n';
        return 1;
    }
    if (indexText.isEmpty()) {
        out << library.Count() << '\n';
        return 0;
    }
    bool ok = false;
    const int index = indexText.toInt(&ok);
    if (!ok || index < 0 || index >= library.Count()) {
        err << "datoria-cli: --index must be from 0 to " << library.Count() - 1 << '\n';
        return 2;
    }
    if (outPath.isEmpty()) {
        err << "datoria-cli: icons --index needs -o OUT.png\n";
        return 2;
    }
    QString reason;
    const QImage icon = library.Icon(index, 32, &reason);
    if (icon.isNull()) {
        err << "datoria-cli: icon " << index << " of " << file << " cannot be decoded: " << reason << '\n';
        return 1;
    }
    return WritePng(icon, outPath, err) ? 0 : 1;
}

} // namespace cli
