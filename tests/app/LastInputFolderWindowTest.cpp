#include "settings/IniFile.h"
#include "support/WindowFlow.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace talwyn;
using app::MainWindow;

namespace {

using Flow = test::WindowFlow;

// option.ini with keys of other programs' making around the program's own.
QByteArray iniWithForeignKeys(const Flow& flow) {
    return "; kept as written\r\n[OutPath]\r\nOutPath=" + flow.out.path().toUtf8() +
           "\r\n[Paths]\r\nRecent=其他程序的值\r\n[Elsewhere]\r\nKey = spaced  \r\n";
}

enum Command { OneFile, SeveralFiles, Folder };

// Runs the command with the dialog answering `answer` (a file, or for the folder command a
// folder); an empty answer cancels.
void run(Flow& flow, MainWindow& window, Command command, const QString& answer) {
    flow.dialogs.fileAnswer.reset();
    flow.dialogs.filesAnswer.clear();
    flow.dialogs.folderAnswer.reset();
    if (!answer.isEmpty()) {
        flow.dialogs.fileAnswer = answer;
        flow.dialogs.filesAnswer = QStringList{answer};
        flow.dialogs.folderAnswer = answer;
    }
    switch (command) {
        case OneFile:
            window.btnAddClick();
            break;
        case SeveralFiles:
            window.AddSeveralFiles();
            break;
        case Folder:
            window.AddDirectory();
            break;
    }
}

}  // namespace

class LastInputFolderWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void theNextDialogStartsWhereTheLastEnded_data();
    void theNextDialogStartsWhereTheLastEnded();
    void aCancelledDialogRemembersNothing();
    void theFolderOutlivesTheRun();
    void aFolderRemovedSinceStartsInWhatIsLeft();
};

void LastInputFolderWindowTest::theNextDialogStartsWhereTheLastEnded_data() {
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");
    QTest::newRow("one file, then several") << int(OneFile) << int(SeveralFiles);
    QTest::newRow("several files, then a folder") << int(SeveralFiles) << int(Folder);
    QTest::newRow("a folder, then one file") << int(Folder) << int(OneFile);
}

void LastInputFolderWindowTest::theNextDialogStartsWhereTheLastEnded() {
    QFETCH(int, first);
    QFETCH(int, second);
    Flow flow;
    flow.writeIni(iniWithForeignKeys(flow));
    MainWindow& window = flow.start();
    // Not media: the probe refuses them, but the folder was the user's choice all the same.
    const QString folder = flow.in.filePath(QStringLiteral("专辑 一"));
    QVERIFY(QDir().mkpath(folder));
    const QString file = folder + QStringLiteral("/说明.txt");
    QFile(file).open(QIODevice::WriteOnly);

    run(flow, window, Command(first), Command(first) == Folder ? folder : file);
    run(flow, window, Command(second), {});

    QCOMPARE(flow.dialogs.startFolders, QStringList({QString(), folder}));
    const QByteArray ini = flow.iniText();
    QVERIFY2(ini.startsWith("; kept as written\r\n[OutPath]\r\nOutPath=" +
                            flow.out.path().toUtf8() + "\r\n[Paths]\r\n"),
             ini);
    QVERIFY2(ini.contains("\r\n[Paths]\r\nRecent=其他程序的值\r\n"), ini);
    QVERIFY2(ini.contains("\r\n[Elsewhere]\r\nKey = spaced  \r\n"), ini);
    QCOMPARE(settings::IniFile(flow.iniPath)
                 .read(QStringLiteral("Paths"), QStringLiteral("LastInputFolder"), {}),
             folder);
}

void LastInputFolderWindowTest::aCancelledDialogRemembersNothing() {
    Flow flow;
    MainWindow& window = flow.startWith();
    for (const Command command : {OneFile, SeveralFiles, Folder}) {
        run(flow, window, command, {});
    }
    QCOMPARE(flow.dialogs.startFolders, QStringList({QString(), QString(), QString()}));
    QVERIFY(!flow.iniText().contains("LastInputFolder"));
}

void LastInputFolderWindowTest::theFolderOutlivesTheRun() {
    Flow flow;
    flow.startWith();
    run(flow, *flow.window, Folder, flow.in.path());
    flow.window.reset();

    MainWindow& again = flow.start();
    run(flow, again, OneFile, {});
    QCOMPARE(flow.dialogs.startFolders.constLast(), flow.in.path());
}

void LastInputFolderWindowTest::aFolderRemovedSinceStartsInWhatIsLeft() {
    Flow flow;
    const QString gone = flow.in.filePath(QStringLiteral("a/b/c"));
    flow.writeIni("[OutPath]\nOutPath=" + flow.out.path().toUtf8() +
                  "\n[Paths]\nLastInputFolder=" + gone.toUtf8() + "\n");
    MainWindow& window = flow.start();
    run(flow, window, SeveralFiles, {});
    QCOMPARE(flow.dialogs.startFolders, QStringList({flow.in.path()}));

    // A value that names no absolute folder is not used.
    flow.writeIni("[Paths]\nLastInputFolder=relative/folder\n");
    run(flow, window, Folder, {});
    QCOMPARE(flow.dialogs.startFolders.constLast(), QString());
}

QTEST_MAIN(LastInputFolderWindowTest)
#include "LastInputFolderWindowTest.moc"
