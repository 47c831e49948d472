#pragma once

#include <QSaveFile>
#include <QString>

#include <optional>

namespace platform {

/** The stages at which a save can fail. */
enum class SaveStage
{
    Open,   // the temporary file cannot be created
    Write,  // writing fails after some bytes (a full disk, a lost network folder)
    Commit, // the finished file cannot be put in place of the previous one
};

/** A failure a test makes every save of one file name meet. */
struct SaveFault
{
    QString fileName; // the name without folder, compared without regard to case
    SaveStage stage = SaveStage::Open;
    qint64 failAfter = 0; // for SaveStage::Write: the bytes written before writing fails
};

/** Makes the saves of a file name fail as described, or with nothing, lets every save go through. */
void SetSaveFault(const std::optional<SaveFault>& fault);

/**
 * A file saved through a temporary file beside it that Commit() renames into place (QSaveFile): the previous
 * file stays whole until the new one is complete, and a failed save leaves no temporary file. Every file the
 * program writes goes through this class, so tests can make any save fail at any stage (SetSaveFault).
 */
class SaveFile : public QSaveFile
{
public:
    explicit SaveFile(const QString& path);

    bool open(OpenMode mode) override;
    /** Puts the file in place; false (and the temporary file removed) when it cannot. */
    bool commit();

protected:
    qint64 writeData(const char* data, qint64 length) override;

private:
    std::optional<SaveFault> m_fault;
    qint64 m_written = 0;
};

} // namespace platform
