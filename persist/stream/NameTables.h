#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace persist {

/** Names for some values of an integer property (colours, cursors, character sets). */
class IntNameTable
{
public:
    struct Entry
    {
        QString name;
        qint32 value;
    };
    explicit IntNameTable(QList<Entry> entries) : m_entries(std::move(entries)) {}

    std::optional<QString> NameOf(qint32 value) const;
    /** Case-insensitive, as identifiers in the stream are. */
    std::optional<qint32> ValueOf(const QString& name) const;

private:
    QList<Entry> m_entries;
};

/** Member names of an enumeration or set type, by ordinal. */
struct EnumNames
{
    QStringList names;

    std::optional<int> OrdinalOf(const QString& name) const;
};

const IntNameTable& ColorNames();
const IntNameTable& CursorNames();
const IntNameTable& CharsetNames();
const EnumNames& BooleanNames();

} // namespace persist
