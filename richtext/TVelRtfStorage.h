#pragma once

#include <QByteArray>

namespace richtext {

/**
 * Holds one rich-text document as RTF bytes (beginning "{\rtf1"). A day cell or a rich-text label owns one;
 * the bytes are kept exactly as read, so a document nobody edited is written back unchanged.
 */
class TVelRtfStorage
{
public:
    TVelRtfStorage() = default;

    bool IsEmpty() const { return m_rtf.isEmpty(); }
    const QByteArray& RtfText() const { return m_rtf; }
    void SetRtfText(const QByteArray& rtf) { m_rtf = rtf; }
    void Clear() { m_rtf.clear(); }

    /** Copies the document of another storage (clearing a cell copies the empty template). */
    void Assign(const TVelRtfStorage& other) { m_rtf = other.m_rtf; }

private:
    QByteArray m_rtf;
};

} // namespace richtext
