#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;

namespace platform {

/**
 * Keeps the program to one running instance per user and display: the first start holds a lock and listens
 * for later starts, which ask it to raise its window (and to open the file they were given) and then end.
 */
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    /** key names the instance (tests use their own); the lock lives in the temporary folder. */
    explicit SingleInstance(const QString& key, QObject* parent = nullptr);
    ~SingleInstance() override;

    /**
     * The key of the program's instance for this user on this display: a start on another X display or on
     * another Wayland display runs its own instance, since it could not see a window elsewhere. The Wayland
     * display counts where there is one (an X display beside it belongs to it); screen 0 of an X
     * display is the display itself.
     */
    static QString SessionKey(const QString& program);

    /** True when this process is now the running instance; false when another one already runs. */
    bool Acquire();
    /** Asks the running instance to raise its window and, given a path, to open it; true when it answered. */
    bool RaiseRunning(const QString& file = QString()) const;

Q_SIGNALS:
    /** A later start asked this instance to come to the front. */
    void raiseRequested();
    /** A later start named a file for this instance to open (after raiseRequested). */
    void openRequested(const QString& path);

private:
    void handleRequest(const QByteArray& line);

    QString m_key;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
};

} // namespace platform
