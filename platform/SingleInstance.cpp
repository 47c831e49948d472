#include "platform/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QRegularExpression>
#include <QUrl>

namespace platform {

namespace {

// A request is one line: "raise", or "open " and the file as an encoded URL (so no path can break the line).
constexpr char kRaise[] = "raise";
constexpr char kOpen[] = "open ";
// Longer lines are not requests of this program; the connection is dropped unanswered.
constexpr qsizetype kLongestRequest = 64 * 1024;
// The key names a socket file in the temporary folder, whose whole path must stay within about 100 bytes.
constexpr qsizetype kLongestKeyPart = 24;

/** A part of the key as letters, digits, '.' and '-', other bytes as "_" and two hex digits; a long one as
 * a hash of it. */
QString KeyPart(const QString& text)
{
    QString part;
    for (const char c : text.toUtf8()) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9') ||
            byte == '.' || byte == '-')
            part += QLatin1Char(c);
        else
            part += u'_' + QString::number(byte, 16).rightJustified(2, u'0');
    }
    if (part.size() > kLongestKeyPart)
        return QString::fromLatin1(
            QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha1).toHex().left(kLongestKeyPart));
    return part;
}

} // namespace

QString SingleInstance::SessionKey(const QString& program)
{
    QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (display.isEmpty()) {
        display = qEnvironmentVariable("DISPLAY");
        // ":0" and ":0.0" name the same screen.
        static const QRegularExpression screenZero(QStringLiteral("^(.*:\\d+)\\.0$"));
        display.replace(screenZero, QStringLiteral("\\1"));
    }
    QString key = program + u'-' + KeyPart(qEnvironmentVariable("USER", QStringLiteral("user")));
    if (!display.isEmpty())
        key += u'-' + KeyPart(display);
    return key;
}

SingleInstance::SingleInstance(const QString& key, QObject* parent) : QObject(parent), m_key(key) {}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::Acquire()
{
    m_lock = std::make_unique<QLockFile>(QDir::temp().filePath(m_key + QStringLiteral(".lock")));
    m_lock->setStaleLockTime(0); // a lock left by a crashed instance is taken over
    if (!m_lock->tryLock(100))
        return false;
    m_server = new QLocalServer(this);
    // Only this user's later starts may talk to the running instance.
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(m_key);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->canReadLine()) {
                    const QByteArray line = socket->readLine(kLongestRequest);
                    if (!line.endsWith('\n')) {
                        socket->abort();
                        return;
                    }
                    // The answer goes out first: what the request starts may take a while (a question to
                    // save changes), and the later start only waits for the answer.
                    socket->write("ok");
                    socket->flush();
                    socket->disconnectFromServer();
                    handleRequest(line.trimmed());
                    return;
                }
                if (socket->bytesAvailable() > kLongestRequest)
                    socket->abort();
            });
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
    m_server->listen(m_key);
    return true;
}

void SingleInstance::handleRequest(const QByteArray& line)
{
    if (line == kRaise) {
        Q_EMIT raiseRequested();
    } else if (line.startsWith(kOpen)) {
        const QUrl url = QUrl::fromEncoded(line.mid(qsizetype(sizeof(kOpen)) - 1), QUrl::StrictMode);
        Q_EMIT raiseRequested();
        if (url.isValid() && url.isLocalFile() && !url.toLocalFile().isEmpty())
            Q_EMIT openRequested(url.toLocalFile());
    }
}

bool SingleInstance::RaiseRunning(const QString& file) const
{
    QLocalSocket socket;
    socket.connectToServer(m_key);
    if (!socket.waitForConnected(1000))
        return false;
    if (file.isEmpty())
        socket.write(kRaise);
    else
        socket.write(kOpen + QUrl::fromLocalFile(file).toEncoded());
    socket.write("\n");
    socket.flush();
    return socket.waitForReadyRead(1000);
}

} // namespace platform
