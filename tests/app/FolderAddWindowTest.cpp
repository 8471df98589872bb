#include "joblist/JobColumns.h"
#include "media/TaskOptions.h"
#include "support/AlbumTree.h"
#include "support/FileBytes.h"
#include "support/MediaMaker.h"
#include "support/WindowFlow.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QTest>

#include <sys/stat.h>

using namespace talwyn;
using app::MainWindow;
using test::column;

namespace {

using Flow = test::WindowFlow;

// A short tone, made once for the whole program.
const QString& tone() {
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString file = dir.filePath(QStringLiteral("tone.wav"));
        test::MediaSpec sound;
        sound.seconds = 0.3;
        sound.video = false;
        const std::string problem = test::makeMedia(file.toStdString(), sound);
        if (!problem.empty()) {
            qFatal("cannot make the test tone: %s", problem.c_str());
        }
        return file;
    }();
    return path;
}

// The album tree as flow.in/Music.
QString albumTree(Flow& flow) {
    const QString top = flow.in.filePath(QStringLiteral("Music"));
    const std::string problem = test::makeAlbumTree(QFile::encodeName(top).toStdString(),
                                                    QFile::encodeName(tone()).toStdString());
    if (!problem.empty()) {
        qFatal("cannot make the album tree: %s", problem.c_str());
    }
    return top;
}

// The rows' input files, relative to the flow's input folder.
QStringList rows(Flow& flow, MainWindow& window) {
    QStringList paths;
    for (const QString& path : column(window, joblist::InputFile)) {
        paths << QDir(flow.in.path()).relativeFilePath(path);
    }
    return paths;
}

const QStringList kTreeInOrder = {
    "Music/Zebra.wav",
    "Music/Album 2/2 x.wav",
    "Music/Album 2/10 x.wav",
    "Music/Album 2/Disc 1/1 x.wav",
    "Music/Album 2/Disc 2/1 x.wav",
    "Music/Album 10/2 x.wav",
    "Music/Album 10/10 x.wav",
};

void drop(MainWindow& window, const QStringList& paths) {
    QList<QUrl> urls;
    for (const QString& path : paths) {
        urls << QUrl::fromLocalFile(path);
    }
    QMimeData data;
    data.setUrls(urls);
    QWidget* target = window.ui().emptyPicture;
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent event(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// The lines of the one box the add showed, once the event that started it is over.
QStringList boxLines(Flow& flow) {
    QCoreApplication::sendPostedEvents();
    if (flow.dialogs.informations.size() != 1) {
        return {QStringLiteral("%1 boxes: ").arg(flow.dialogs.informations.size()) +
                flow.dialogs.informations.join(QStringLiteral(" | "))};
    }
    return flow.dialogs.informations[0].split(QLatin1Char('\n'));
}

const QString kNotMedia = QStringLiteral("：不是可以转换的视频或音频文件（");

}  // namespace

class FolderAddWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void aDroppedTreeComesTopToBottomAndOneBoxNamesWhatWasLeft();
    void theCommandLineTakesFilesAndFoldersInItsOrder();
    void addDirectoryStillTakesTheFoldersOwnFilesOnly();
    void aFullListNamesEveryFileNotTaken();
    void aLongListIsCutAfterTwentyEntries();
};

void FolderAddWindowTest::aDroppedTreeComesTopToBottomAndOneBoxNamesWhatWasLeft() {
    Flow flow;
    MainWindow& window = flow.startWith();
    const QString top = albumTree(flow);
    const QString a = flow.copy(tone(), QStringLiteral("a.wav"));
    const QString b = flow.copy(tone(), QStringLiteral("b.wav"));
    drop(window, {a, top, b});
    // The box waits until the drop is over, so the file manager is not held up.
    QVERIFY(flow.dialogs.informations.isEmpty());
    // Plain files keep the order of the several-files command: last to first, after the folders.
    QCOMPARE(rows(flow, window), QStringList(kTreeInOrder) << "b.wav"
                                                           << "a.wav");
    QCOMPARE(window.selectedRow(), window.jobs().rowCount() - 1);

    const QStringList lines = boxLines(flow);
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[0], QStringLiteral("以下 1 项没有加入列表："));
    QVERIFY2(lines[1].startsWith(top + QStringLiteral("/notes.txt") + kNotMedia),
             qPrintable(lines[1]));
    QVERIFY(lines[1].size() >
            (top + QStringLiteral("/notes.txt") + kNotMedia).size());  // the converter's reason

    // Nothing was skipped: no box at all.
    flow.dialogs.informations.clear();
    drop(window, {flow.copy(tone(), QStringLiteral("c.wav"))});
    QCoreApplication::sendPostedEvents();
    QCOMPARE(rows(flow, window).last(), QStringLiteral("c.wav"));
    QVERIFY(flow.dialogs.informations.isEmpty());
}

void FolderAddWindowTest::theCommandLineTakesFilesAndFoldersInItsOrder() {
    Flow flow;
    MainWindow& window = flow.startWith();
    const QString top = albumTree(flow);
    flow.copy(tone(), QStringLiteral("loose.wav"));
    const QString pipe = flow.in.filePath(QStringLiteral("pipe.wav"));
    QVERIFY(::mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0);
    // Names as a shell passes them: relative to the folder the program was started in.
    const QString before = QDir::currentPath();
    QDir::setCurrent(flow.in.path());
    window.addCommandLine({"loose.wav", "missing.wav", "Music", "pipe.wav"});
    QDir::setCurrent(before);

    QCOMPARE(rows(flow, window), QStringList("loose.wav") << kTreeInOrder);
    QCOMPARE(column(window, joblist::InputFile).first(), flow.in.filePath("loose.wav"));
    const QStringList lines = boxLines(flow);
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines[0], QStringLiteral("以下 3 项没有加入列表："));
    QCOMPARE(lines[1],
             flow.in.filePath(QStringLiteral("missing.wav")) + QStringLiteral("：文件不存在"));
    QVERIFY2(lines[2].startsWith(top + QStringLiteral("/notes.txt") + kNotMedia),
             qPrintable(lines[2]));
    QCOMPARE(lines[3], pipe + QStringLiteral("：不是普通文件（管道、设备等不能转换）"));
}

void FolderAddWindowTest::addDirectoryStillTakesTheFoldersOwnFilesOnly() {
    Flow flow;
    MainWindow& window = flow.startWith();
    const QString top = albumTree(flow);
    flow.dialogs.folderAnswer = top;
    window.AddDirectory();
    // Hidden files too, last to first by name; no subfolder is entered and nothing is told.
    QCOMPARE(rows(flow, window), QStringList({"Music/Zebra.wav", "Music/.hidden.wav"}));
    QCoreApplication::sendPostedEvents();
    QVERIFY(flow.dialogs.informations.isEmpty());

    // A folder that holds only folders has nothing of its own.
    flow.dialogs.folderAnswer = flow.in.path();
    window.AddDirectory();
    QCOMPARE(window.jobs().rowCount(), 2);
    QCOMPARE(flow.dialogs.informations,
             QStringList({QStringLiteral("在该目录没有发现可以用的视频或音频文件！")}));
}

void FolderAddWindowTest::aFullListNamesEveryFileNotTaken() {
    Flow flow;
    MainWindow& window = flow.startWith();
    const QString top = albumTree(flow);
    while (window.jobSlots().freeCount() > 2) {
        window.jobSlots().allocate(media::TInputOptions{}, media::TOutputOptions{});
    }
    drop(window, {top});
    QCOMPARE(rows(flow, window), kTreeInOrder.mid(0, 2));
    // Not the menu commands' own box about the full list: every file not taken is named.
    QStringList expected = {QStringLiteral("以下 6 项没有加入列表：")};
    for (const QString& file : kTreeInOrder.mid(2)) {
        expected << flow.in.filePath(file) + QStringLiteral("：任务列表已满");
    }
    QStringList lines = boxLines(flow);
    QVERIFY2(
        lines.size() == 7 && lines[1].startsWith(top + QStringLiteral("/notes.txt") + kNotMedia),
        qPrintable(lines.join('\n')));
    lines.removeAt(1);
    QCOMPARE(lines, expected);
}

void FolderAddWindowTest::aLongListIsCutAfterTwentyEntries() {
    Flow flow;
    MainWindow& window = flow.startWith();
    const QString empty = flow.in.filePath(QStringLiteral("empty"));
    const QString notes = flow.in.filePath(QStringLiteral("notes"));
    QVERIFY(QDir().mkpath(empty) && QDir().mkpath(notes));
    for (int i = 1; i <= 22; ++i) {
        QVERIFY(test::writeBytes(notes + QStringLiteral("/%1.txt").arg(i), "no sound\n"));
    }
    drop(window, {empty, notes});
    QCOMPARE(window.jobs().rowCount(), 0);
    const QStringList lines = boxLines(flow);
    QCOMPARE(lines.size(), 22);
    QCOMPARE(lines[0], QStringLiteral("以下 23 项没有加入列表："));
    QCOMPARE(lines[1], empty + QStringLiteral("：该目录中没有可以添加的文件"));
    QVERIFY2(lines[2].startsWith(notes + QStringLiteral("/1.txt") + kNotMedia),
             qPrintable(lines[2]));
    QVERIFY2(lines[20].startsWith(notes + QStringLiteral("/19.txt") + kNotMedia),
             qPrintable(lines[20]));
    QCOMPARE(lines[21], QStringLiteral("… 还有 3 项未列出"));
}

QTEST_MAIN(FolderAddWindowTest)
#include "FolderAddWindowTest.moc"
