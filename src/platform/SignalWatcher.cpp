#include "platform/SignalWatcher.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

namespace lv {
namespace {

int gWriteFd = -1;
const int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

void OnSignal(int number) {
    int saved = errno;
    unsigned char byte = static_cast<unsigned char>(number);
    [[maybe_unused]] ssize_t n = write(gWriteFd, &byte, 1);
    errno = saved;
}

} // namespace

SignalWatcher::SignalWatcher() {
    int fds[2];
    if (pipe2(fds, O_NONBLOCK | O_CLOEXEC) != 0) {
        throw std::runtime_error("cannot create the signal pipe");
    }
    readFd_ = fds[0];
    gWriteFd = fds[1];
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : kSignals) {
        sigaction(number, &action, nullptr);
    }
}

SignalWatcher::~SignalWatcher() {
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (int number : kSignals) {
        sigaction(number, &action, nullptr);
    }
    close(readFd_);
    close(gWriteFd);
    gWriteFd = -1;
}

int SignalWatcher::TakeSignal() {
    unsigned char byte = 0;
    return read(readFd_, &byte, 1) == 1 ? byte : 0;
}

} // namespace lv
