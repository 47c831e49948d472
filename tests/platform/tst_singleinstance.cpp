#include "platform/SingleInstance.h"
#include "tests/support/ScopedEnvironment.h"

#include <QLocalSocket>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QUuid>

#include <atomic>
#include <memory>

using namespace Qt::StringLiterals;

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

    // A later start hands over its file, whatever characters its path holds.
    void secondStartHandsOverItsFile_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("plain") << u"/home/ann/Dec2026.KVF"_s;
        QTest::newRow("spaces and unicode") << u"/home/ann/Kalender 2026 ÄÖ 日本.KVF"_s;
        QTest::newRow("URL characters") << u"/tmp/50%25 #1?x=y.KVF"_s;
        QTest::newRow("line break") << u"/tmp/two\nlines.KVF"_s;
    }

    void secondStartHandsOverItsFile()
    {
        QFETCH(QString, path);
        const QString key = u"datoria-test-"_s + QUuid::createUuid().toString(QUuid::Id128);
        platform::SingleInstance first(key);
        QVERIFY(first.Acquire());
        QSignalSpy raised(&first, &platform::SingleInstance::raiseRequested);
        QSignalSpy opened(&first, &platform::SingleInstance::openRequested);
        platform::SingleInstance second(key);
        std::atomic<bool> answered = false;
        std::unique_ptr<QThread> asker(QThread::create([&] { answered = second.RaiseRunning(path); }));
        asker->start();
        QTRY_COMPARE(opened.count(), 1);
        QCOMPARE(opened[0][0].toString(), path);
        QCOMPARE(raised.count(), 1);
        QVERIFY(asker->wait(5000));
        QVERIFY(answered);
    }

    // Whatever else reaches the channel asks for nothing: a foreign line, a link that is no local file, a
    // line without end that grows too long.
    void foreignRequestsAreIgnored_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<int>("raises");
        QTest::addColumn<bool>("answer");
        QTest::newRow("unknown") << QByteArray("delete everything\n") << 0 << true;
        QTest::newRow("web link") << QByteArray("open https://example.org/a.KVF\n") << 1 << true;
        QTest::newRow("bad encoding") << QByteArray("open file:///a%zz.KVF\n") << 1 << true;
        QTest::newRow("endless line") << QByteArray("open file:///") + QByteArray(200000, 'a') << 0 << false;
    }

    void foreignRequestsAreIgnored()
    {
        QFETCH(QByteArray, request);
        QFETCH(int, raises);
        QFETCH(bool, answer);
        const QString key = u"datoria-test-"_s + QUuid::createUuid().toString(QUuid::Id128);
        platform::SingleInstance first(key);
        QVERIFY(first.Acquire());
        QSignalSpy raised(&first, &platform::SingleInstance::raiseRequested);
        QSignalSpy opened(&first, &platform::SingleInstance::openRequested);
        std::atomic<bool> answered = false;
        std::atomic<bool> done = false;
        std::unique_ptr<QThread> asker(QThread::create([&] {
            QLocalSocket socket;
            socket.connectToServer(key);
            if (socket.waitForConnected(1000)) {
                socket.write(request);
                socket.flush();
                while (socket.bytesToWrite() > 0 && socket.waitForBytesWritten(1000)) {
                }
                answered = socket.waitForReadyRead(1000) && socket.readAll() == "ok";
            }
            done = true;
        }));
        asker->start();
        QTRY_VERIFY(done);
        QVERIFY(asker->wait(5000));
        QCOMPARE(answered, answer);
        QCOMPARE(raised.count(), raises);
        QCOMPARE(opened.count(), 0);
    }

    // Each X display and each Wayland session runs its own instance: a start on another one gets its own
    // window instead of handing its file to a window the user cannot see there.
    void oneInstancePerDisplay_data()
    {
        QTest::addColumn<QByteArray>("firstWayland");
        QTest::addColumn<QByteArray>("firstX");
        QTest::addColumn<QByteArray>("laterWayland");
        QTest::addColumn<QByteArray>("laterX");
        QTest::addColumn<bool>("handedOver");
        const QByteArray no;
        QTest::newRow("same X display") << no << ":0"_ba << no << ":0"_ba << true;
        QTest::newRow("another X display") << no << ":0"_ba << no << ":1"_ba << false;
        QTest::newRow("screen 0 named two ways") << no << ":0"_ba << no << ":0.0"_ba << true;
        QTest::newRow("forwarded X display") << no << ":0"_ba << no << "localhost:10.0"_ba << false;
        QTest::newRow("same Wayland session") << "wayland-0"_ba
                                              << ":0"_ba
                                              << "wayland-0"_ba << no << true;
        QTest::newRow("another Wayland session") << "wayland-0"_ba
                                                 << ":0"_ba
                                                 << "wayland-1"_ba
                                                 << ":0"_ba << false;
        QTest::newRow("X display beside Wayland") << "wayland-0"_ba
                                                  << ":0"_ba << no << ":0"_ba << false;
        QTest::newRow("long Wayland paths")
            << QByteArray(90, 'w') + '0' << no << QByteArray(90, 'w') + '1' << no << false;
        QTest::newRow("no display") << no << no << no << no << true;
    }

    void oneInstancePerDisplay()
    {
        QFETCH(QByteArray, firstWayland);
        QFETCH(QByteArray, firstX);
        QFETCH(QByteArray, laterWayland);
        QFETCH(QByteArray, laterX);
        QFETCH(bool, handedOver);
        const QString program = u"datoria-test-"_s + QUuid::createUuid().toString(QUuid::Id128);
        auto keyOn = [&program](const QByteArray& wayland, const QByteArray& x) {
            testsupport::ScopedEnvironment w("WAYLAND_DISPLAY", wayland);
            testsupport::ScopedEnvironment d("DISPLAY", x);
            return platform::SingleInstance::SessionKey(program);
        };
        platform::SingleInstance first(keyOn(firstWayland, firstX));
        QVERIFY(first.Acquire());
        platform::SingleInstance later(keyOn(laterWayland, laterX));
        QCOMPARE(!later.Acquire(), handedOver);
        // The next start on the later display reaches the instance running there, and only that one.
        platform::SingleInstance& running = handedOver ? first : later;
        QSignalSpy raisedFirst(&first, &platform::SingleInstance::raiseRequested);
        QSignalSpy raised(&running, &platform::SingleInstance::raiseRequested);
        platform::SingleInstance next(keyOn(laterWayland, laterX));
        std::unique_ptr<QThread> asker(QThread::create([&next] { next.RaiseRunning(); }));
        asker->start();
        QTRY_COMPARE(raised.count(), 1);
        QVERIFY(asker->wait(5000));
        QCOMPARE(raisedFirst.count(), handedOver ? 1 : 0);
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
