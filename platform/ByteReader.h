#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>

namespace platform {

/**
 * Little-endian reads from a block of bytes that never go past its end: a read beyond it yields 0 and marks
 * the reader as overrun, so decoders of untrusted files check once instead of before every field.
 */
class ByteReader
{
public:
    explicit ByteReader(QByteArrayView bytes) : m_bytes(bytes) {}

    qsizetype Size() const { return m_bytes.size(); }
    qsizetype Pos() const { return m_pos; }
    qsizetype Remaining() const { return m_pos < m_bytes.size() ? m_bytes.size() - m_pos : 0; }
    bool Overrun() const { return m_overrun; }
    /** Moves to an absolute offset; an offset outside the block marks the reader as overrun. */
    bool Seek(qint64 pos)
    {
        if (pos < 0 || pos > m_bytes.size()) {
            m_overrun = true;
            return false;
        }
        m_pos = qsizetype(pos);
        return true;
    }
    void Skip(qint64 n) { Seek(qint64(m_pos) + n); }

    std::uint8_t U8()
    {
        if (m_pos >= m_bytes.size()) {
            m_overrun = true;
            return 0;
        }
        return std::uint8_t(m_bytes[m_pos++]);
    }
    std::uint16_t U16()
    {
        const std::uint16_t lo = U8();
        return std::uint16_t(lo | (std::uint16_t(U8()) << 8));
    }
    std::int16_t I16() { return std::int16_t(U16()); }
    std::uint32_t U32()
    {
        const std::uint32_t lo = U16();
        return lo | (std::uint32_t(U16()) << 16);
    }
    std::int32_t I32() { return std::int32_t(U32()); }
    /** n bytes from the current position, or an empty view (and overrun) when fewer remain. */
    QByteArrayView Bytes(qint64 n)
    {
        if (n < 0 || n > Remaining()) {
            m_overrun = true;
            m_pos = m_bytes.size();
            return {};
        }
        const QByteArrayView view = m_bytes.sliced(m_pos, qsizetype(n));
        m_pos += qsizetype(n);
        return view;
    }
    /** The bytes from an absolute offset, or an empty view when they do not lie inside the block. */
    QByteArrayView At(qint64 offset, qint64 n) const
    {
        if (offset < 0 || n < 0 || offset > m_bytes.size() || n > m_bytes.size() - offset)
            return {};
        return m_bytes.sliced(qsizetype(offset), qsizetype(n));
    }

private:
    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
    bool m_overrun = false;
};

} // namespace platform
