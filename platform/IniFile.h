#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace platform {

/**
 * An initialisation file with the semantics the program relies on: sections and keys compared without regard
 * to case, entries kept in file order, a section erased whole, a missing file read as empty. Changes are kept
 * in memory until Save(), which writes a temporary file and renames it into place.
 */
class IniFile
{
public:
    explicit IniFile(const QString& path);

    /** Reads the file again; a missing or unreadable file gives no sections. */
    void Reload();
    /** Writes the file; false when it cannot be written (the previous file is then kept). */
    bool Save() const;
    const QString& Path() const { return m_path; }

    bool HasKey(const QString& section, const QString& key) const;
    QString ReadString(const QString& section, const QString& key, const QString& fallback) const;
    /** Decimal, or hexadecimal after "0x" when the value is longer than two characters; else the fallback. */
    int ReadInteger(const QString& section, const QString& key, int fallback) const;
    /** An integer, non-zero meaning true. */
    bool ReadBool(const QString& section, const QString& key, bool fallback) const;
    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int value);
    void WriteBool(const QString& section, const QString& key, bool value);
    /** The section's lines "key=value", in file order. */
    QStringList SectionLines(const QString& section) const;
    void EraseSection(const QString& section);

private:
    struct Section
    {
        QString name;
        QList<QPair<QString, QString>> entries;
    };
    Section* find(const QString& section);
    const Section* find(const QString& section) const;

    QString m_path;
    QList<Section> m_sections;
};

} // namespace platform
