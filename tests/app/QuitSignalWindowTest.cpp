#include "app/QuitSignals.h"
#include "support/MediaMaker.h"
#include "support/WindowProcess.h"

#include <QSignalSpy>
#include <QTest>

#include <csignal>

using namespace talwyn;
using test::WindowProcess;

namespace {

constexpr int kWait = 60000;

// The signal's disposition as it stands.
void (*disposition(int signal))(int) {
    struct sigaction now = {};
    sigaction(signal, nullptr, &now);
    return now.sa_handler;
}

}  // namespace

class QuitSignalWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void signalMidBatchLeavesNoHiddenFile_data();
    void signalMidBatchLeavesNoHiddenFile();
    void signalArrivesOnTheEventLoop();
    void signalStartedIgnoredStaysIgnored();

  private:
    QTemporaryDir media_;
    QString longClip_ = media_.filePath(QStringLiteral("long.avi"));
};

void QuitSignalWindowTest::initTestCase() {
    // Long enough at 1280x720 H.264 to be caught in the middle.
    test::MediaSpec spec;
    spec.seconds = 20;
    spec.width = 640;
    spec.height = 480;
    QCOMPARE(test::makeMedia(longClip_.toStdString(), spec), std::string());
}

void QuitSignalWindowTest::signalMidBatchLeavesNoHiddenFile_data() {
    QTest::addColumn<int>("number");
    QTest::newRow("SIGTERM") << SIGTERM;
    QTest::newRow("SIGINT") << SIGINT;
    QTest::newRow("SIGHUP") << SIGHUP;
}

void QuitSignalWindowTest::signalMidBatchLeavesNoHiddenFile() {
    QFETCH(int, number);
    WindowProcess run;
    QProcessEnvironment environment = run.environment();
    environment.insert(QStringLiteral("TALWYN_TEST_PROFILE"), QStringLiteral("2601"));
    auto window = run.start({longClip_}, environment);
    QTRY_VERIFY_WITH_TIMEOUT(!run.outputs().isEmpty(), kWait);  // its hidden files being written
    QCOMPARE(window->state(), QProcess::Running);

    QCOMPARE(::kill(pid_t(window->processId()), number), 0);
    QVERIFY(window->waitForFinished(kWait));
    QCOMPARE(window->exitStatus(), QProcess::NormalExit);
    QCOMPARE(window->exitCode(), 128 + number);
    QCOMPARE(run.outputs(), QStringList());
}

void QuitSignalWindowTest::signalArrivesOnTheEventLoop() {
    // Qt Test has handlers of its own for some of them.
    const auto hangUp = disposition(SIGHUP);
    const auto terminate = disposition(SIGTERM);
    {
        app::QuitSignals quit;
        QVERIFY(quit.isActive());
        app::QuitSignals another;
        QVERIFY(!another.isActive());
        QSignalSpy caught(&quit, &app::QuitSignals::caught);
        QCOMPARE(std::raise(SIGHUP), 0);
        QVERIFY(caught.wait(kWait));
        QCOMPARE(caught.size(), 1);
        QCOMPARE(caught[0][0].toInt(), SIGHUP);
    }
    QVERIFY(disposition(SIGHUP) == hangUp);
    QVERIFY(disposition(SIGTERM) == terminate);
}

void QuitSignalWindowTest::signalStartedIgnoredStaysIgnored() {
    struct sigaction ignore = {};
    ignore.sa_handler = SIG_IGN;
    struct sigaction before = {};
    sigaction(SIGINT, &ignore, &before);
    {
        app::QuitSignals quit;
        QSignalSpy caught(&quit, &app::QuitSignals::caught);
        QCOMPARE(std::raise(SIGINT), 0);
        QCOMPARE(std::raise(SIGTERM), 0);
        QVERIFY(caught.wait(kWait));
        QCOMPARE(caught.size(), 1);
        QCOMPARE(caught[0][0].toInt(), SIGTERM);
    }
    QVERIFY(disposition(SIGINT) == SIG_IGN);
    sigaction(SIGINT, &before, nullptr);
}

QTEST_MAIN(QuitSignalWindowTest)
#include "QuitSignalWindowTest.moc"
