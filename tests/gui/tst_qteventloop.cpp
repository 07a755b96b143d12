#include "gui/QtEventLoop.h"
#include "gui/TWaitView.h"
#include "web/TWait.h"

#include <QLineEdit>
#include <QtTest>

#include <atomic>
#include <chrono>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace std::chrono_literals;

namespace {

// Pumps the loop until done() holds, for at most five seconds.
template <typename Pred> bool PumpUntil(lv::EventLoop& loop, Pred done) {
    const auto end = std::chrono::steady_clock::now() + 5s;
    while (!done() && std::chrono::steady_clock::now() < end) {
        loop.ProcessPending(50ms);
    }
    return done();
}

struct SocketPair {
    int fd[2] = {-1, -1};
    SocketPair() { ::socketpair(AF_UNIX, SOCK_STREAM, 0, fd); }
    ~SocketPair() {
        ::close(fd[0]);
        ::close(fd[1]);
    }
};

} // namespace

class TstQtEventLoop : public QObject {
    Q_OBJECT

private slots:
    void postedCallsRunLaterAndInOrder() {
        lv::QtEventLoop loop;
        std::string trace;
        loop.Post([&] {
            trace += "a";
            loop.Post([&] { trace += "c"; });
        });
        loop.Post([&] { trace += "b"; });
        QCOMPARE(trace, std::string()); // never inside the posting call
        QVERIFY(PumpUntil(loop, [&] { return trace.size() == 3; }));
        QCOMPARE(trace, std::string("abc"));
    }

    void postFromWorkerThreads() {
        lv::QtEventLoop loop;
        std::vector<int> seen;
        std::vector<std::thread> workers;
        for (int t = 0; t < 4; ++t) {
            workers.emplace_back([&loop, &seen, t] {
                for (int i = 0; i < 50; ++i) {
                    loop.Post([&seen, t] { seen.push_back(t); });
                }
            });
        }
        for (auto& w : workers) {
            w.join();
        }
        QVERIFY(PumpUntil(loop, [&] { return seen.size() == 200; }));
    }

    void timersOnceRepeatAndStopFromInside() {
        lv::QtEventLoop loop;
        int once = 0;
        int repeated = 0;
        lv::EventLoop::TimerId repeatId = 0;
        loop.StartTimer(10ms, false, [&] { ++once; });
        repeatId = loop.StartTimer(5ms, true, [&] {
            if (++repeated == 3) {
                loop.StopTimer(repeatId);
            }
        });
        const auto stopped = loop.StartTimer(1ms, false, [] { QFAIL("stopped timer ran"); });
        loop.StopTimer(stopped);
        loop.StopTimer(9999); // unknown: ignored
        QVERIFY(PumpUntil(loop, [&] { return once == 1 && repeated == 3; }));
        // Neither runs again.
        const auto end = std::chrono::steady_clock::now() + 60ms;
        while (std::chrono::steady_clock::now() < end) {
            loop.ProcessPending(10ms);
        }
        QCOMPARE(once, 1);
        QCOMPARE(repeated, 3);
    }

    void socketWatchIsLevelTriggeredAndUpdatable() {
        lv::QtEventLoop loop;
        SocketPair pair;
        unsigned last = 0;
        int calls = 0;
        const auto id = loop.WatchSocket(pair.fd[0], lv::EventLoop::Writable, [&](unsigned ready) {
            last = ready;
            ++calls;
        });
        QVERIFY(PumpUntil(loop, [&] { return calls > 0; }));
        QCOMPARE(last, unsigned(lv::EventLoop::Writable));

        loop.UpdateWatch(id, lv::EventLoop::Readable);
        calls = 0;
        QVERIFY(!loop.ProcessPending(20ms)); // nothing to read yet
        QCOMPARE(calls, 0);
        QCOMPARE(::write(pair.fd[1], "x", 1), ssize_t(1));
        QVERIFY(PumpUntil(loop, [&] { return calls > 0; }));
        QCOMPARE(last, unsigned(lv::EventLoop::Readable));
        // Level-triggered: unread data keeps reporting.
        calls = 0;
        QVERIFY(PumpUntil(loop, [&] { return calls > 1; }));

        loop.Unwatch(id);
        calls = 0;
        loop.ProcessPending(20ms);
        QCOMPARE(calls, 0);
    }

    void watchMayRemoveItselfAndPeerCloseReadsAsReadable() {
        lv::QtEventLoop loop;
        SocketPair pair;
        unsigned last = 0;
        lv::EventLoop::WatchId id = 0;
        id = loop.WatchSocket(pair.fd[0], lv::EventLoop::Readable, [&](unsigned ready) {
            last = ready;
            loop.Unwatch(id);
        });
        ::shutdown(pair.fd[1], SHUT_RDWR);
        QVERIFY(PumpUntil(loop, [&] { return last != 0; }));
        QVERIFY((last & lv::EventLoop::Readable) != 0);
    }

    void processPendingWaitsAtMostMaxWait() {
        lv::QtEventLoop loop;
        const auto start = std::chrono::steady_clock::now();
        QVERIFY(!loop.ProcessPending(100ms));
        const auto waited = std::chrono::steady_clock::now() - start;
        QVERIFY(waited >= 90ms);
        QVERIFY(waited < 2s);

        // A post from another thread wakes a waiting pass early.
        bool ran = false;
        std::thread poster([&] { loop.Post([&] { ran = true; }); });
        QVERIFY(PumpUntil(loop, [&] { return ran; }));
        poster.join();
    }

    void waitViewCountsDownAndSwallowsInputWhileWaiting() {
        lv::QtEventLoop loop;
        lv::TWait wait(loop);
        wait.Interval = 20ms;
        lv::TWaitView view(wait);
        QLineEdit edit;
        edit.show();
        edit.setFocus();
        QVERIFY(view.isHidden());

        QString shownWhileRunning;
        loop.Post([&] {
            shownWhileRunning = view.isHidden() ? QString("hidden") : view.text();
            QTest::keyClick(&edit, Qt::Key_A);
            QTest::mouseClick(&edit, Qt::LeftButton);
        });
        QVERIFY(!wait.Run(2, [] { return false; }));
        QCOMPARE(shownWhileRunning, QString("2"));
        QCOMPARE(edit.text(), QString()); // swallowed
        QCOMPARE(view.text(), QString("Timeout"));
        QVERIFY(view.isHidden());

        QTest::keyClick(&edit, Qt::Key_B); // input flows again after the wait
        QCOMPARE(edit.text(), QString("b"));
    }

    void queuedCallsDieWithTheLoop() {
        bool ran = false;
        {
            lv::QtEventLoop loop;
            loop.Post([&] { ran = true; });
        }
        QCoreApplication::processEvents();
        QVERIFY(!ran);
    }
};

QTEST_MAIN(TstQtEventLoop)
#include "tst_qteventloop.moc"
