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

    // Each X display and each Wayland display runs its own instance; a later start on the same one is refused
    // the lock and hands over to the running one.
    void oneInstancePerDisplay_data()
    {
        QTest::addColumn<QByteArrayList>("first"); // WAYLAND_DISPLAY, DISPLAY
        QTest::addColumn<QByteArrayList>("later");
        QTest::addColumn<bool>("handedOver");
        const QByteArray no;
        QTest::newRow("same X display") << QByteArrayList{no, ":0"} << QByteArrayList{no, ":0"} << true;
        QTest::newRow("another X display") << QByteArrayList{no, ":0"} << QByteArrayList{no, ":1"} << false;
        QTest::newRow("screen 0 named two ways")
            << QByteArrayList{no, ":0"} << QByteArrayList{no, ":0.0"} << true;
        QTest::newRow("displays of two hosts")
            << QByteArrayList{no, "host:10.0"} << QByteArrayList{no, "host1:0"} << false;
        QTest::newRow("another Wayland display")
            << QByteArrayList{"wayland-0", ":0"} << QByteArrayList{"wayland-1", ":0"} << false;
        QTest::newRow("X display beside Wayland")
            << QByteArrayList{"wayland-0", ":0"} << QByteArrayList{no, ":0"} << false;
        QTest::newRow("Wayland sockets by path")
            << QByteArrayList{"/tmp/wl-0", no} << QByteArrayList{"/run/user/1000/" + QByteArray(99, 'w'), no}
            << false;
    }
    void oneInstancePerDisplay()
    {
        QFETCH(QByteArrayList, first);
        QFETCH(QByteArrayList, later);
        QFETCH(bool, handedOver);
        const QString program = u"datoria-test-"_s + QUuid::createUuid().toString(QUuid::Id128);
        QStringList keys;
        for (const QByteArrayList& display : {first, later}) {
            testsupport::ScopedEnvironment wayland("WAYLAND_DISPLAY", display[0]);
            testsupport::ScopedEnvironment x("DISPLAY", display[1]);
            keys.append(platform::SingleInstance::SessionKey(program));
            QVERIFY(keys.last().size() < 80); // a socket's path in the temporary folder has room for it
        }
        platform::SingleInstance running(keys[0]);
        QVERIFY(running.Acquire());
        QCOMPARE(platform::SingleInstance(keys[1]).Acquire(), !handedOver);
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
