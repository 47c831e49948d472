#pragma once

#include <QIODevice>
#include <QString>

namespace persist {

/**
 * Every value of an object stream as indented text, one value or property a line, records with their class
 * and name: for people reading a file and for comparing files by their meaning. A stream that breaks off ends
 * the text with a line naming the error and its offset.
 */
QString DumpStream(QIODevice* device);

} // namespace persist
