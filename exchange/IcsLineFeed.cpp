#include "exchange/IcsLineFeed.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace exchange {

namespace {

bool Named(QByteArrayView name, const char* what)
{
    return name.size() == qsizetype(std::strlen(what)) && qstrnicmp(name.data(), what, name.size()) == 0;
}

/** Properties of events and of the calendar that nothing here reads. */
bool Unused(QByteArrayView name)
{
    static const char* const kUnused[] = {
        "DESCRIPTION", "LOCATION",  "DTSTAMP",    "CREATED", "LAST-MODIFIED", "SEQUENCE",      "ATTENDEE",
        "ORGANIZER",   "ATTACH",    "CATEGORIES", "CLASS",   "COMMENT",       "CONTACT",       "GEO",
        "PRIORITY",    "RESOURCES", "TRANSP",     "URL",     "RELATED-TO",    "REQUEST-STATUS"};
    if (name.size() >= 2 && qstrnicmp(name.data(), "X-", 2) == 0)
        return true;
    return std::any_of(std::begin(kUnused), std::end(kUnused),
                       [name](const char* u) { return Named(name, u); });
}

} // namespace

char* IcsLineFeed::Next(char* out, std::size_t size, void* self)
{
    auto* feed = static_cast<IcsLineFeed*>(self);
    if (size < 2)
        return nullptr;
    if (feed->m_sent >= feed->m_line.size()) {
        feed->m_sent = 0;
        if (!feed->nextLine()) {
            feed->m_line.resize(0);
            return nullptr;
        }
    }
    const std::size_t n = std::min<std::size_t>(size - 1, std::size_t(feed->m_line.size() - feed->m_sent));
    std::memcpy(out, feed->m_line.constData() + feed->m_sent, n);
    out[n] = 0;
    feed->m_sent += qsizetype(n);
    return out;
}

bool IcsLineFeed::nextLine()
{
    while (m_at < m_text.size() && !m_tooDeep) {
        // A content line goes on over the following lines that begin with a blank or a tab, which a
        // writer folds in; the line break and that one character are not part of it.
        m_line.resize(0);
        bool first = true;
        while (m_at < m_text.size() && (first || m_text[m_at] == ' ' || m_text[m_at] == '\t')) {
            const qsizetype from = first ? m_at : m_at + 1;
            qsizetype end = m_text.indexOf('\n', m_at);
            const qsizetype next = end < 0 ? m_text.size() : end + 1;
            if (end < 0)
                end = m_text.size();
            else if (end > from && m_text[end - 1] == '\r')
                --end;
            m_line.append(m_text.sliced(from, std::max<qsizetype>(end - from, 0)));
            m_at = next;
            first = false;
        }
        if (keep(m_line)) {
            m_line.append('\n');
            return true;
        }
    }
    return false;
}

bool IcsLineFeed::keep(QByteArrayView line)
{
    // The name runs to the first colon or semicolon, as the parser reads it; a line without either is no
    // BEGIN or END to the parser.
    const qsizetype colon = line.indexOf(':');
    const qsizetype semicolon = line.indexOf(';');
    const qsizetype nameEnd = colon < 0 ? semicolon : semicolon < 0 ? colon : std::min(colon, semicolon);
    const QByteArrayView name = nameEnd < 0 ? line : line.first(nameEnd);
    QByteArrayView value = nameEnd < 0 ? QByteArrayView() : line.sliced(nameEnd + 1);
    while (!value.isEmpty() && (value.back() == ' ' || value.back() == '\t' || value.back() == '\r'))
        value.chop(1);
    const bool begin = nameEnd >= 0 && Named(name, "BEGIN");
    const bool end = nameEnd >= 0 && Named(name, "END");
    if (m_alarms > 0 || (begin && Named(value, "VALARM"))) {
        // Alarms are left out whole, with whatever they hold.
        m_alarms += begin ? 1 : end ? -1 : 0;
        return false;
    }
    if (end && m_depth == 0)
        return false;
    if (begin && m_depth == m_maxDepth) {
        m_tooDeep = true;
        return false;
    }
    m_depth += begin ? 1 : end ? -1 : 0;
    if (begin && Named(value, "VTIMEZONE"))
        ++m_zones;
    else if (end && Named(value, "VTIMEZONE"))
        m_zones = std::max(0, m_zones - 1);
    return begin || end || m_zones > 0 || !Unused(name);
}

} // namespace exchange
