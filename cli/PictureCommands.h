#pragma once

#include <QString>
#include <QTextStream>

namespace cli {

/** "image IN --to png -o OUT": decodes a picture file through the picture browser's loader. */
int ConvertPicture(const QString& in, const QString& to, const QString& outPath, QTextStream& err);

/** "icons FILE": prints the icon count; with an index, writes that icon at 32 pixels to outPath. */
int Icons(const QString& file, const QString& indexText, const QString& outPath, QTextStream& out,
          QTextStream& err);

} // namespace cli
