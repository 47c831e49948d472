#pragma once

#include <QBuffer>

namespace testsupport {

/** A buffer whose writes fail once a given number of bytes has been written. */
class FailDevice : public QBuffer
{
public:
    explicit FailDevice(qint64 failAfter) : m_failAfter(failAfter) { open(QIODevice::WriteOnly); }

protected:
    qint64 writeData(const char* data, qint64 length) override
    {
        if (m_written + length > m_failAfter) {
            setErrorString(QStringLiteral("FAILDEVICE"));
            return -1;
        }
        m_written += length;
        return QBuffer::writeData(data, length);
    }

private:
    qint64 m_failAfter;
    qint64 m_written = 0;
};

} // namespace testsupport
