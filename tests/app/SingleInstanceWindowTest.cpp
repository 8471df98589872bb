#include "support/MediaFiles.h"
#include "support/WindowFlow.h"
#include "support/WindowProcess.h"

#include <QFileInfo>
#include <QLocalSocket>
#include <QTest>
#include <QtEndian>

#include <csignal>

using namespace talwyn;
using app::MainWindow;
using test::WindowProcess;

namespace {

constexpr int kWait = 30000;

// Three copies of the short tone; the middle one's name needs more than ASCII.
struct Inputs {
    QTemporaryDir folder;
    QString a = copy("a.wav"), b = copy("b 二.wav"), c = copy("c.wav");

    QString copy(const QString& name) const {
        const QString path = folder.filePath(name);
        QFile::copy(test::MediaFiles::get().tone, path);
        return path;
    }
};

// A later start that handed its arguments over and ended by itself.
bool handedOver(QProcess& start) {
    return start.waitForFinished(kWait) && start.exitStatus() == QProcess::NormalExit &&
           start.exitCode() == 0;
}

// Ends a window as a logout would.
bool stop(QProcess& window) {
    window.terminate();
    return window.waitForFinished(kWait) && window.exitStatus() == QProcess::NormalExit &&
           window.exitCode() == 128 + SIGTERM;
}

QByteArray openMessage(const QStringList& paths) {
    QByteArray payload;
    for (const QString& path : paths) {
        payload += QFile::encodeName(path) + '\0';
    }
    QByteArray length(4, '\0');
    qToBigEndian<quint32>(quint32(payload.size()), length.data());
    return "TWAVOPN1" + length + payload;
}

}  // namespace

class SingleInstanceWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void secondStartHandsItsFilesToTheFirst();
    void socketLeftByACrashIsTakenOver();
    void strayClientsDoNotHoldTheWindowUp();
    void filesOfALaterStartWaitUntilTheListTakesFiles();
};

void SingleInstanceWindowTest::secondStartHandsItsFilesToTheFirst() {
    WindowProcess run;
    Inputs in;
    auto first = run.start({in.a});
    QTRY_COMPARE_WITH_TIMEOUT(run.rows(), QStringList{in.a}, kWait);

    // A relative name means the folder the second start was made in.
    auto second = run.start({QStringLiteral("b 二.wav"), in.c}, in.folder.path());
    QVERIFY(handedOver(*second));
    QTRY_COMPARE_WITH_TIMEOUT(run.rows(), (QStringList{in.a, in.b, in.c}), kWait);

    // Without files a start only brings the window forward.
    QFile::remove(run.rowsFile);
    auto third = run.start();
    QVERIFY(handedOver(*third));
    QTRY_VERIFY_WITH_TIMEOUT(run.rowsWritten(), kWait);
    QCOMPARE(run.rows(), (QStringList{in.a, in.b, in.c}));

    QCOMPARE(first->state(), QProcess::Running);
    QVERIFY(stop(*first));
    QVERIFY(!QFileInfo::exists(run.socketPath()));
}

void SingleInstanceWindowTest::socketLeftByACrashIsTakenOver() {
    WindowProcess run;
    Inputs in;
    auto crashed = run.start();
    QTRY_VERIFY_WITH_TIMEOUT(run.rowsWritten(), kWait);
    crashed->kill();
    QVERIFY(crashed->waitForFinished(kWait));
    QVERIFY(QFileInfo::exists(run.socketPath()));

    auto first = run.start({in.a});
    QTRY_COMPARE_WITH_TIMEOUT(run.rows(), QStringList{in.a}, kWait);
    auto second = run.start({in.b});
    QVERIFY(handedOver(*second));
    QTRY_COMPARE_WITH_TIMEOUT(run.rows(), (QStringList{in.a, in.b}), kWait);
    QVERIFY(stop(*first));
}

void SingleInstanceWindowTest::strayClientsDoNotHoldTheWindowUp() {
    WindowProcess run;
    Inputs in;
    auto first = run.start();
    QTRY_VERIFY_WITH_TIMEOUT(run.rowsWritten(), kWait);

    QLocalSocket silent;
    silent.connectToServer(run.socketPath());
    QVERIFY(silent.waitForConnected(kWait));
    QLocalSocket garbled;
    garbled.connectToServer(run.socketPath());
    QVERIFY(garbled.waitForConnected(kWait));
    garbled.write("GET / HTTP/1.0\r\n\r\n");
    garbled.flush();
    QVERIFY(garbled.waitForDisconnected(kWait));
    QLocalSocket boastful;
    boastful.connectToServer(run.socketPath());
    QVERIFY(boastful.waitForConnected(kWait));
    boastful.write(QByteArray("TWAVOPN1\xff\xff\xff\xff", 12));
    boastful.flush();
    QVERIFY(boastful.waitForDisconnected(kWait));

    // A message that arrives in two parts is still whole.
    QLocalSocket halting;
    halting.connectToServer(run.socketPath());
    QVERIFY(halting.waitForConnected(kWait));
    const QByteArray message = openMessage({in.a});
    halting.write(message.left(10));
    QVERIFY(halting.waitForBytesWritten(kWait));
    QTest::qWait(100);
    halting.write(message.mid(10));
    QVERIFY(halting.waitForReadyRead(kWait));
    QCOMPARE(halting.readAll(), QByteArray("OK\n"));
    QTRY_COMPARE_WITH_TIMEOUT(run.rows(), QStringList{in.a}, kWait);

    auto second = run.start({in.b});
    QVERIFY(handedOver(*second));
    QTRY_COMPARE_WITH_TIMEOUT(run.rows(), (QStringList{in.a, in.b}), kWait);
    // The one that never says anything is let go in the end.
    QVERIFY(silent.state() != QLocalSocket::ConnectedState || silent.waitForDisconnected(kWait));
    QVERIFY(stop(*first));
}

void SingleInstanceWindowTest::filesOfALaterStartWaitUntilTheListTakesFiles() {
    test::WindowFlow flow;
    MainWindow& window = flow.startWith();
    window.selectCategory(1);
    window.addFiles({test::MediaFiles::get().longTone}, false);
    window.btnStartClick();
    window.btnPauseClick();
    QVERIFY(window.batchRunning());
    const QString later = flow.copy(test::MediaFiles::get().tone, QStringLiteral("later.wav"));
    window.addFromAnotherStart({later});
    QCOMPARE(window.jobs().rowCount(), 1);
    QCOMPARE(flow.dialogs.notices.size(), 1);
    QVERIFY(flow.dialogs.notices[0].contains(later + QStringLiteral("：正在转换")));

    window.btnStopClick();
    QVERIFY(test::waitForBatchEnd(window));
    window.addFromAnotherStart({later});
    QCOMPARE(window.jobs().rowCount(), 1);
    QCOMPARE(flow.dialogs.notices.size(), 2);
    QVERIFY(flow.dialogs.notices[1].contains(later + QStringLiteral("：请先清空")));

    // Once the list takes files again, a folder comes with its tree, as on the command line.
    window.btnClearClick();
    QTemporaryDir tree;
    QDir(tree.path()).mkdir(QStringLiteral("sub"));
    QFile::copy(later, tree.filePath(QStringLiteral("sub/2.wav")));
    QFile::copy(later, tree.filePath(QStringLiteral("1.wav")));
    window.addFromAnotherStart({tree.path()});
    QCOMPARE(test::column(window, joblist::InputFile),
             (QStringList{tree.filePath(QStringLiteral("1.wav")),
                          tree.filePath(QStringLiteral("sub/2.wav"))}));
    QCOMPARE(flow.dialogs.notices.size(), 2);
    QVERIFY(flow.dialogs.informations.isEmpty());
}

QTEST_MAIN(SingleInstanceWindowTest)
#include "SingleInstanceWindowTest.moc"
