#include "platform/IniFile.h"

#include "platform/SaveFile.h"
#include "platform/Windows1252.h"

#include <QFile>
#include <QStringDecoder>

namespace platform {

IniFile::IniFile(const QString& path) : m_path(path)
{
    Reload();
}

void IniFile::Reload()
{
    m_sections.clear();
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = file.readAll();
    // Written in the single-byte code page, or as UTF-8 when a value needed more.
    QStringDecoder utf8(QStringConverter::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        text = DecodeWindows1252(bytes);
    Section* current = nullptr;
    for (QString line : text.split(u'\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            const QString name = line.mid(1, line.size() - 2).trimmed();
            current = find(name);
            if (!current) {
                m_sections.append({name, {}});
                current = &m_sections.last();
            }
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (!current || equals <= 0)
            continue;
        current->entries.append({line.left(equals).trimmed(), line.mid(equals + 1).trimmed()});
    }
}

bool IniFile::Save() const
{
    QString text;
    for (const Section& section : m_sections) {
        text += u'[' + section.name + QStringLiteral("]\r\n");
        for (const auto& [key, value] : section.entries)
            text += key + u'=' + value + QStringLiteral("\r\n");
        text += QStringLiteral("\r\n");
    }
    const std::optional<QByteArray> ansi = EncodeWindows1252(text);
    const QByteArray bytes = ansi ? *ansi : text.toUtf8();
    SaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return false;
    return file.commit();
}

IniFile::Section* IniFile::find(const QString& section)
{
    for (Section& s : m_sections) {
        if (s.name.compare(section, Qt::CaseInsensitive) == 0)
            return &s;
    }
    return nullptr;
}

const IniFile::Section* IniFile::find(const QString& section) const
{
    return const_cast<IniFile*>(this)->find(section);
}

bool IniFile::HasKey(const QString& section, const QString& key) const
{
    if (const Section* s = find(section)) {
        for (const auto& entry : s->entries) {
            if (entry.first.compare(key, Qt::CaseInsensitive) == 0)
                return true;
        }
    }
    return false;
}

QString IniFile::ReadString(const QString& section, const QString& key, const QString& fallback) const
{
    if (const Section* s = find(section)) {
        for (const auto& entry : s->entries) {
            if (entry.first.compare(key, Qt::CaseInsensitive) == 0)
                return entry.second;
        }
    }
    return fallback;
}

int IniFile::ReadInteger(const QString& section, const QString& key, int fallback) const
{
    const QString text = ReadString(section, key, QString());
    bool ok = false;
    int value = 0;
    if (text.size() > 2 && (text.startsWith(QLatin1String("0x")) || text.startsWith(QLatin1String("0X"))))
        value = static_cast<int>(text.mid(2).toUInt(&ok, 16));
    else
        value = text.toInt(&ok);
    return ok ? value : fallback;
}

bool IniFile::ReadBool(const QString& section, const QString& key, bool fallback) const
{
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

void IniFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    Section* s = find(section);
    if (!s) {
        m_sections.append({section, {}});
        s = &m_sections.last();
    }
    for (auto& entry : s->entries) {
        if (entry.first.compare(key, Qt::CaseInsensitive) == 0) {
            entry.second = value;
            return;
        }
    }
    s->entries.append({key, value});
}

void IniFile::WriteInteger(const QString& section, const QString& key, int value)
{
    WriteString(section, key, QString::number(value));
}

void IniFile::WriteBool(const QString& section, const QString& key, bool value)
{
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

QStringList IniFile::SectionLines(const QString& section) const
{
    QStringList lines;
    if (const Section* s = find(section)) {
        for (const auto& [key, value] : s->entries)
            lines.append(key + u'=' + value);
    }
    return lines;
}

void IniFile::EraseSection(const QString& section)
{
    for (qsizetype i = 0; i < m_sections.size(); ++i) {
        if (m_sections[i].name.compare(section, Qt::CaseInsensitive) == 0) {
            m_sections.removeAt(i);
            return;
        }
    }
}

} // namespace platform
