#pragma once

#include "platform/PrintableText.h"

#include <QString>

#include <stdexcept>

namespace persist {

/** A failure of reading or writing an object stream; the message is the one shown to the user. */
class StreamError : public std::runtime_error
{
public:
    explicit StreamError(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message)
    {}
    const QString& message() const { return m_message; }

private:
    QString m_message;
};

inline const QString kStreamReadError = QStringLiteral("Stream read error");
inline const QString kInvalidStreamFormat = QStringLiteral("Invalid stream format");
inline const QString kInvalidPropertyValue = QStringLiteral("Invalid property value");
inline const QString kPropertyDoesNotExist = QStringLiteral("Property does not exist");
inline const QString kPropertyIsReadOnly = QStringLiteral("Property is read-only");
inline const QString kStreamWriteError = QStringLiteral("Stream write error");
/** "Class %s not found" with the class name, shown printable and short: it comes from the file. */
inline QString ClassNotFound(const QString& name)
{
    return QStringLiteral("Class %1 not found").arg(platform::PrintableName(name));
}

} // namespace persist
