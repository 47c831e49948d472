#include "platform/SingleInstance.h"

#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QUuid>

#include <atomic>

class TestSingleInstance : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The second start finds the first, asks it to raise its window and is refused the lock.
    void secondStartRaisesTheFirst()
    {
        const QString key = QStringLiteral("datoria-test-") + QUuid::createUuid().toString(QUuid::Id128);
        platform::SingleInstance first(key);
        QVERIFY(first.Acquire());
        QSignalSpy raised(&first, &platform::SingleInstance::raiseRequested);

        platform::SingleInstance second(key);
        QVERIFY(!second.Acquire());
        std::atomic<bool> answered = false;
        // The running instance answers from its event loop, so the later start asks from another thread.
        QThread* asker = QThread::create([&] { answered = second.RaiseRunning(); });
        asker->start();
        QTRY_COMPARE(raised.count(), 1);
        QVERIFY(asker->wait(5000));
        delete asker;
        QVERIFY(answered);
    }

    void nobodyRunning()
    {
        platform::SingleInstance lone(QStringLiteral("datoria-test-") +
                                      QUuid::createUuid().toString(QUuid::Id128));
        QVERIFY(!lone.RaiseRunning());
    }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
