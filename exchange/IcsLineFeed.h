#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <cstddef>

namespace exchange {

/**
 * Hands iCalendar text to libical's parser a content line at a time, unfolded, leaving out what the program
 * never reads: descriptions, attendees, attachments, alarms and the like are most of a calendar application's
 * export, and parsing them would be most of the time. Time-zone definitions are handed over whole.
 *
 * It counts the parts begun and ended as the parser does. It leaves out an END that closes no part, of which
 * libical would write its own complaint to standard error, and it ends the text at a part nested deeper than
 * maxDepth: libical frees a tree recursively.
 */
class IcsLineFeed
{
public:
    IcsLineFeed(QByteArrayView text, int maxDepth) : m_text(text), m_maxDepth(maxDepth) {}

    /** libical's line source: the next piece of a line (at most size - 1 bytes), or null at the end. */
    static char* Next(char* out, std::size_t size, void* self);
    /** Whether the text was ended at a part nested too deeply. */
    bool TooDeep() const { return m_tooDeep; }

private:
    /** Puts the next content line to be handed over, with its folds undone, in m_line; false at the end. */
    bool nextLine();
    /** Whether a content line goes to the parser, and the count of parts it opens or closes. */
    bool keep(QByteArrayView line);

    QByteArrayView m_text;
    int m_maxDepth;
    bool m_tooDeep = false;
    qsizetype m_at = 0;
    QByteArray m_line;
    qsizetype m_sent = 0;
    int m_depth = 0;
    int m_alarms = 0;
    int m_zones = 0;
};

} // namespace exchange
