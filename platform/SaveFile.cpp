#include "platform/SaveFile.h"

#include <QFileInfo>

#include <algorithm>

namespace platform {

namespace {

std::optional<SaveFault>& InjectedFault()
{
    static std::optional<SaveFault> fault;
    return fault;
}

} // namespace

void SetSaveFault(const std::optional<SaveFault>& fault)
{
    InjectedFault() = fault;
}

SaveFile::SaveFile(const QString& path) : QSaveFile(path)
{
    const std::optional<SaveFault>& fault = InjectedFault();
    if (fault && QFileInfo(path).fileName().compare(fault->fileName, Qt::CaseInsensitive) == 0)
        m_fault = fault;
}

bool SaveFile::open(OpenMode mode)
{
    if (m_fault && m_fault->stage == SaveStage::Open) {
        setErrorString(QStringLiteral("Injected failure: the file cannot be created"));
        return false;
    }
    return QSaveFile::open(mode);
}

bool SaveFile::commit()
{
    if (m_fault && m_fault->stage == SaveStage::Commit) {
        // What a failed rename leaves: QSaveFile drops the temporary file and keeps the previous one.
        cancelWriting();
        QSaveFile::commit();
        setErrorString(QStringLiteral("Injected failure: the file cannot be put in place"));
        return false;
    }
    return QSaveFile::commit();
}

qint64 SaveFile::writeData(const char* data, qint64 length)
{
    if (m_fault && m_fault->stage == SaveStage::Write) {
        const qint64 room = m_fault->failAfter - m_written;
        if (room <= 0) {
            // As a real write error does, this makes commit() fail and remove the temporary file.
            cancelWriting();
            setErrorString(QStringLiteral("Injected failure: writing stopped after %1 bytes").arg(m_written));
            return -1;
        }
        length = std::min(length, room); // the disk filled up within this block: a short write
    }
    const qint64 written = QSaveFile::writeData(data, length);
    if (written > 0)
        m_written += written;
    return written;
}

} // namespace platform
