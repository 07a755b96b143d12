#include "gui/QtEventLoop.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QObject>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>
#include <QTimerEvent>

#include <poll.h>

namespace lv {

// Target of the posted calls and owner of the Qt timers; timerEvent hands each tick back.
class QtEventLoop::Receiver final : public QObject {
public:
    explicit Receiver(QtEventLoop& loop) : loop_(loop) {}

protected:
    void timerEvent(QTimerEvent* event) override { loop_.FireTimer(event->timerId()); }

private:
    QtEventLoop& loop_;
};

QtEventLoop::QtEventLoop() : receiver_(std::make_unique<Receiver>(*this)) {}

QtEventLoop::~QtEventLoop() {
    for (auto& [id, watch] : watches_) {
        DropNotifier(watch->read);
        DropNotifier(watch->write);
    }
    for (auto& [qtId, id] : timerByQtId_) {
        receiver_->killTimer(qtId);
    }
}

void QtEventLoop::Post(Callback fn) {
    QMetaObject::invokeMethod(
        receiver_.get(),
        [this, fn = std::move(fn)]() {
            ++ranCount_;
            fn();
        },
        Qt::QueuedConnection);
}

EventLoop::TimerId QtEventLoop::StartTimer(std::chrono::milliseconds interval, bool repeat,
                                           Callback fn) {
    auto timer = std::make_shared<Timer>();
    timer->repeat = repeat;
    timer->fn = std::move(fn);
    // Precise timers: the mail client's countdown shows whole seconds and must not drift.
    timer->qtId = receiver_->startTimer(interval, Qt::PreciseTimer);
    const TimerId id = nextId_++;
    timers_[id] = timer;
    timerByQtId_[timer->qtId] = id;
    return id;
}

void QtEventLoop::StopTimer(TimerId id) {
    auto it = timers_.find(id);
    if (it == timers_.end()) {
        return;
    }
    receiver_->killTimer(it->second->qtId);
    timerByQtId_.erase(it->second->qtId);
    timers_.erase(it);
}

void QtEventLoop::FireTimer(int qtId) {
    auto byQt = timerByQtId_.find(qtId);
    if (byQt == timerByQtId_.end()) {
        return;
    }
    const TimerId id = byQt->second;
    // Keep the callback alive even if it stops its own timer.
    std::shared_ptr<Timer> timer = timers_[id];
    if (!timer->repeat) {
        StopTimer(id);
    }
    ++ranCount_;
    timer->fn();
}

EventLoop::WatchId QtEventLoop::WatchSocket(int fd, unsigned events,
                                            std::function<void(unsigned)> fn) {
    auto watch = std::make_shared<Watch>();
    watch->fd = fd;
    watch->fn = std::move(fn);
    const WatchId id = nextId_++;
    watches_[id] = watch;
    watch->events = events;
    ApplyEvents(id, *watch);
    return id;
}

void QtEventLoop::UpdateWatch(WatchId id, unsigned events) {
    auto it = watches_.find(id);
    if (it == watches_.end()) {
        return;
    }
    it->second->events = events;
    ApplyEvents(id, *it->second);
}

void QtEventLoop::Unwatch(WatchId id) {
    auto it = watches_.find(id);
    if (it == watches_.end()) {
        return;
    }
    DropNotifier(it->second->read);
    DropNotifier(it->second->write);
    watches_.erase(it);
}

void QtEventLoop::ApplyEvents(WatchId id, Watch& watch) {
    auto ensure = [&](QSocketNotifier*& notifier, QSocketNotifier::Type type, bool wanted) {
        if (!wanted) {
            DropNotifier(notifier);
            return;
        }
        if (notifier == nullptr) {
            notifier = new QSocketNotifier(watch.fd, type, receiver_.get());
            QObject::connect(notifier, &QSocketNotifier::activated, receiver_.get(),
                             [this, id]() { FireWatch(id); });
        }
    };
    ensure(watch.read, QSocketNotifier::Read, (watch.events & Readable) != 0);
    ensure(watch.write, QSocketNotifier::Write, (watch.events & Writable) != 0);
}

void QtEventLoop::DropNotifier(QSocketNotifier*& notifier) {
    if (notifier == nullptr) {
        return;
    }
    // The notifier may be the one whose signal is running right now: disable it at once (so a
    // new notifier on a reused descriptor does not clash) and let Qt delete it later.
    notifier->setEnabled(false);
    QObject::disconnect(notifier, nullptr, nullptr, nullptr);
    notifier->deleteLater();
    notifier = nullptr;
}

void QtEventLoop::FireWatch(WatchId id) {
    auto it = watches_.find(id);
    if (it == watches_.end()) {
        return;
    }
    std::shared_ptr<Watch> watch = it->second;
    // Qt does not say which condition woke the notifier (an error wakes the read side too), so
    // ask the descriptor itself.
    pollfd pfd{};
    pfd.fd = watch->fd;
    pfd.events = static_cast<short>(((watch->events & Readable) != 0 ? POLLIN : 0) |
                                    ((watch->events & Writable) != 0 ? POLLOUT : 0));
    if (::poll(&pfd, 1, 0) <= 0) {
        return;
    }
    // Same reading as the poll loop: a hang-up wakes whatever was asked for, so the owner sees
    // end of stream or a failed connect the same way under both loops.
    unsigned ready = 0;
    if ((pfd.revents & (POLLIN | POLLHUP)) != 0) {
        ready |= Readable;
    }
    if ((pfd.revents & POLLOUT) != 0) {
        ready |= Writable;
    }
    if ((pfd.revents & (POLLERR | POLLNVAL)) != 0) {
        ready |= Error;
    }
    ready &= watch->events | Error;
    if ((pfd.revents & POLLHUP) != 0) {
        ready |= watch->events & (Readable | Writable);
    }
    if (ready == 0) {
        return;
    }
    ++ranCount_;
    watch->fn(ready);
}

bool QtEventLoop::ProcessPending(std::chrono::milliseconds maxWait) {
    const std::uint64_t before = ranCount_;
    if (maxWait.count() > 0) {
        // WaitForMoreEvents returns after the first batch of events; the single-shot timer bounds
        // the wait when nothing arrives.
        QTimer wake;
        wake.setSingleShot(true);
        wake.setTimerType(Qt::PreciseTimer);
        wake.start(maxWait);
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        // Whatever arrived together with the first event runs in this pass too.
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    } else {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    return ranCount_ != before;
}

} // namespace lv
