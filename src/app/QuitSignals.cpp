#include "app/QuitSignals.h"

#include <QSocketNotifier>

#include <atomic>
#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace talwyn::app {
namespace {

// The handler may run on any thread, at any moment: it reads this and calls write(), nothing else.
std::atomic<int> writeEnd{-1};
static_assert(std::atomic<int>::is_always_lock_free);

void onSignal(int signal) {
    const int saved = errno;
    const int fd = writeEnd.load(std::memory_order_relaxed);
    if (fd >= 0) {
        const auto number = static_cast<unsigned char>(signal);
        // A full pipe already holds a signal the window has yet to take.
        [[maybe_unused]] const ssize_t written = ::write(fd, &number, 1);
    }
    errno = saved;
}

}  // namespace

QuitSignals::QuitSignals(QObject* parent) : QObject(parent) {
    int ends[2];
    if (writeEnd.load() >= 0 || ::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    readEnd_ = ends[0];
    writeEnd.store(ends[1]);
    notifier_ = new QSocketNotifier(readEnd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &QuitSignals::readPipe);
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < std::size(kSignals); ++i) {
        if (::sigaction(kSignals[i], nullptr, &previous_[i]) != 0 ||
            previous_[i].sa_handler == SIG_IGN) {
            continue;
        }
        installed_[i] = ::sigaction(kSignals[i], &action, nullptr) == 0;
    }
}

QuitSignals::~QuitSignals() {
    for (size_t i = 0; i < std::size(kSignals); ++i) {
        if (installed_[i]) {
            ::sigaction(kSignals[i], &previous_[i], nullptr);
        }
    }
    if (notifier_) {
        delete notifier_;
        ::close(writeEnd.exchange(-1));
        ::close(readEnd_);
    }
}

void QuitSignals::readPipe() {
    unsigned char numbers[16];
    ssize_t count = 0;
    while ((count = ::read(readEnd_, numbers, sizeof numbers)) > 0) {
        for (ssize_t i = 0; i < count; ++i) {
            emit caught(numbers[i]);
        }
    }
}

}  // namespace talwyn::app
