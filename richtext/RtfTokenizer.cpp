#include "richtext/RtfTokenizer.h"

#include <climits>

namespace richtext {

namespace {

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

} // namespace

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

RtfToken RtfTokenizer::Next()
{
    const qsizetype n = m_data.size();
    while (m_pos < n) {
        const char c = m_data[m_pos];
        if (c == '\r' || c == '\n') {
            ++m_pos;
            continue;
        }
        RtfToken t;
        if (c == '{') {
            ++m_pos;
            t.type = RtfToken::GroupStart;
            return t;
        }
        if (c == '}') {
            ++m_pos;
            t.type = RtfToken::GroupEnd;
            return t;
        }
        if (c != '\\') {
            const qsizetype start = m_pos;
            while (m_pos < n) {
                const char d = m_data[m_pos];
                if (d == '{' || d == '}' || d == '\\' || d == '\r' || d == '\n')
                    break;
                ++m_pos;
            }
            t.type = RtfToken::Text;
            t.text = m_data.sliced(start, m_pos - start);
            return t;
        }
        // A backslash: control word, hex byte or control symbol.
        ++m_pos;
        if (m_pos >= n)
            break;
        const char s = m_data[m_pos];
        if (IsLetter(s)) {
            const qsizetype start = m_pos;
            while (m_pos < n && IsLetter(m_data[m_pos]))
                ++m_pos;
            t.type = RtfToken::Word;
            t.text = m_data.sliced(start, m_pos - start);
            bool negative = false;
            if (m_pos < n && m_data[m_pos] == '-' && m_pos + 1 < n && m_data[m_pos + 1] >= '0' &&
                m_data[m_pos + 1] <= '9') {
                negative = true;
                ++m_pos;
            }
            long long value = 0;
            while (m_pos < n && m_data[m_pos] >= '0' && m_data[m_pos] <= '9') {
                if (value <= INT_MAX)
                    value = value * 10 + (m_data[m_pos] - '0');
                t.hasParam = true;
                ++m_pos;
            }
            if (negative)
                value = -value;
            t.param = static_cast<int>(value < INT_MIN ? INT_MIN : value > INT_MAX ? INT_MAX : value);
            if (m_pos < n && m_data[m_pos] == ' ')
                ++m_pos;
            if (t.text.size() > kMaxControlWordLength)
                t.text = QByteArrayView("?overlong");
            else
                t.word = LookUpControlWord(t.text);
            if (t.word == ControlWord::bin && t.hasParam) {
                const qsizetype length = t.param < 0 ? 0 : std::min<qsizetype>(t.param, n - m_pos);
                t.type = RtfToken::Binary;
                t.text = m_data.sliced(m_pos, length);
                m_pos += length;
            }
            return t;
        }
        if (s == '\'') {
            ++m_pos;
            const int high = m_pos < n ? HexValue(m_data[m_pos]) : -1;
            const int low = m_pos + 1 < n ? HexValue(m_data[m_pos + 1]) : -1;
            if (high >= 0 && low >= 0) {
                m_pos += 2;
                t.type = RtfToken::Hex;
                t.byte = static_cast<unsigned char>(high * 16 + low);
                return t;
            }
            // Malformed hex is dropped with the (at most two) characters that stood for its digits.
            for (int k = 0; k < 2 && m_pos < n; ++k) {
                const char d = m_data[m_pos];
                if (d == '\\' || d == '{' || d == '}' || d == '\r' || d == '\n')
                    break;
                ++m_pos;
            }
            continue;
        }
        ++m_pos;
        t.type = RtfToken::Symbol;
        t.symbol = (s == '\r' || s == '\n') ? '\n' : s;
        return t;
    }
    return RtfToken{};
}

} // namespace richtext
