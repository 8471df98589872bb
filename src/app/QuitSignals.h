#pragma once

#include <QObject>

#include <csignal>
#include <iterator>

class QSocketNotifier;

namespace talwyn::app {

// SIGTERM, SIGINT and SIGHUP as a Qt signal on the thread that made this object, so that a logout,
// a Ctrl-C or a kill closes the window the way "退出" does instead of leaving hidden files behind.
// The handler only writes the signal's number to a pipe, which is all a handler may safely do;
// a signal the program was started to ignore (nohup) stays ignored. One object at a time.
class QuitSignals : public QObject {
    Q_OBJECT
  public:
    explicit QuitSignals(QObject* parent = nullptr);
    ~QuitSignals() override;

    // False when the pipe could not be made or another object already listens.
    bool isActive() const { return notifier_ != nullptr; }

  signals:
    void caught(int signal);

  private:
    void readPipe();

    static constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
    int readEnd_ = -1;
    QSocketNotifier* notifier_ = nullptr;
    struct sigaction previous_[std::size(kSignals)] = {};
    bool installed_[std::size(kSignals)] = {};
};

}  // namespace talwyn::app
