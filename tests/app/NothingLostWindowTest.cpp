#include "joblist/TextFormats.h"
#include "media/Probe.h"
#include "support/FileBytes.h"
#include "support/MediaFiles.h"
#include "support/MediaMaker.h"
#include "support/WindowFlow.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

#include <functional>
#include <map>

using namespace talwyn;
using namespace talwyn::joblist;
using app::MainWindow;
using test::MediaFiles;

namespace {

// What a case leaves to check: the user's files that must stay as they were, and what the rows
// must say when the batch is over.
struct Expected {
    std::map<QString, QByteArray> untouched;
    QStringList progress;
    QStringList outputs;  // empty: not checked
    int converted = 0;    // files that must exist under the rows' names, probed
};

using Case = std::function<Expected(test::WindowFlow&, MainWindow&)>;

// Calls back once when the row first reports progress: its task has begun.
void whenRowStarts(MainWindow& window, int row, std::function<void()> act) {
    auto* connection = new QMetaObject::Connection;
    *connection = QObject::connect(
        &window.jobs(), &QAbstractItemModel::dataChanged,
        [&window, row, act, connection](const QModelIndex& from, const QModelIndex&) {
            if (from.row() == row && from.column() == Progress &&
                !window.jobs().text(row, Progress).isEmpty()) {
                QObject::disconnect(*connection);
                delete connection;
                act();
            }
        });
}

}  // namespace

Q_DECLARE_METATYPE(Case)

class NothingLostWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void userFilesStayAndFailuresSaySo_data();
    void userFilesStayAndFailuresSaySo();
};

void NothingLostWindowTest::userFilesStayAndFailuresSaySo_data() {
    QTest::addColumn<QByteArray>("options");
    QTest::addColumn<Case>("steps");
    const MediaFiles& media = MediaFiles::get();
    const QByteArray keep = "After_Done=3\nThread_Count=1\nOverwrite_File=1\n";

    QTest::newRow("the output folder switched to one that holds the name")
        << keep << Case([&media](test::WindowFlow& flow, MainWindow& window) {
               window.addFiles({flow.copy(media.tone, QStringLiteral("song.wav"))}, false);
               const QString other = flow.in.filePath(QStringLiteral("other"));
               QDir().mkpath(other);
               test::writeBytes(other + QStringLiteral("/song.wav"), "mine");
               flow.dialogs.folderAnswer = other;
               window.BrowseOutputFolder();
               return Expected{
                   {{other + QStringLiteral("/song.wav"), "mine"}}, {"100%"}, {"song_1.wav"}, 1};
           });
    QTest::newRow("a row renamed to a name that exists")
        << keep << Case([&media](test::WindowFlow& flow, MainWindow& window) {
               test::writeBytes(flow.out.filePath(QStringLiteral("mine.wav")), "mine");
               window.show();  // the rename box works in a shown window
               window.addFiles({flow.copy(media.tone, QStringLiteral("song.wav"))}, false);
               window.StartRename();
               window.ui().edt->setText(QStringLiteral("mine"));
               window.CommitRename();
               return Expected{{{flow.out.filePath(QStringLiteral("mine.wav")), "mine"}},
                               {"100%"},
                               {"mine_1.wav"},
                               1};
           });
    QTest::newRow("a file made after the row was added")
        << keep << Case([&media](test::WindowFlow& flow, MainWindow& window) {
               window.addFiles({flow.copy(media.tone, QStringLiteral("song.wav"))}, false);
               test::writeBytes(flow.out.filePath(QStringLiteral("song.wav")), "late");
               return Expected{{{flow.out.filePath(QStringLiteral("song.wav")), "late"}},
                               {"100%"},
                               {"song_1.wav"},
                               1};
           });
    QTest::newRow("a file made while its task runs")
        << keep << Case([&media](test::WindowFlow& flow, MainWindow& window) {
               window.selectCategory(1);  // MP3
               window.addFiles({flow.copy(media.longTone, QStringLiteral("long.wav"))}, false);
               const QString name = flow.out.filePath(QStringLiteral("long.mp3"));
               whenRowStarts(window, 0, [name] { test::writeBytes(name, "at the last moment"); });
               return Expected{{{name, "at the last moment"}}, {"100%"}, {"long_1.mp3"}, 1};
           });
    QTest::newRow("an output folder that is the input's folder by a link, overwriting")
        << QByteArray("After_Done=3\nThread_Count=1\nOverwrite_File=0\n")
        << Case([&media](test::WindowFlow& flow, MainWindow& window) {
               const QString input = flow.copy(media.tone, QStringLiteral("song.wav"));
               const QString alias = flow.out.filePath(QStringLiteral("alias"));
               QFile::link(flow.in.path(), alias);
               flow.dialogs.folderAnswer = alias;
               window.BrowseOutputFolder();
               window.addFiles({input}, false);
               return Expected{{{input, test::readBytes(media.tone)}}, {"100%"}, {"song_1.wav"}, 1};
           });
    QTest::newRow("the output folder deleted during a task")
        << keep << Case([&media](test::WindowFlow& flow, MainWindow& window) {
               window.selectCategory(1);
               window.addFiles({flow.copy(media.longTone, QStringLiteral("a.wav")),
                                flow.copy(media.longTone, QStringLiteral("b.wav"))},
                               false);
               const QString folder = flow.out.path();
               whenRowStarts(window, 0, [folder] { QDir(folder).removeRecursively(); });
               return Expected{{}, {"失败", "失败"}, {}, 0};
           });
    QTest::newRow("inputs cut short or damaged")
        << keep << Case([&media](test::WindowFlow& flow, MainWindow& window) {
               test::MediaSpec spec;
               spec.seconds = 10;
               spec.width = 176;
               spec.height = 144;
               // A container that states its duration (Matroska), cut in half; and an AVI whose
               // data turns to noise after 64 KiB.
               const QString clip = flow.in.filePath(QStringLiteral("ten.mkv"));
               const QString avi = flow.in.filePath(QStringLiteral("ten.avi"));
               [&] {
                   QCOMPARE(test::makeMedia(clip.toStdString(), spec), std::string());
                   QCOMPARE(test::makeMedia(avi.toStdString(), spec), std::string());
               }();
               const QByteArray whole = test::readBytes(clip);
               const QString half = flow.in.filePath(QStringLiteral("half.mkv"));
               test::writeBytes(half, whole.left(whole.size() / 2));
               QByteArray spoiled = test::readBytes(avi);
               for (qsizetype i = 64 * 1024; i < spoiled.size(); ++i) {
                   spoiled[i] = char((i * 7919) % 251);
               }
               const QString garbage = flow.in.filePath(QStringLiteral("garbage.avi"));
               test::writeBytes(garbage, spoiled);
               window.selectCategory(1);  // MP3
               window.addFiles({half, garbage, flow.copy(media.tone, QStringLiteral("whole.wav"))},
                               false);
               return Expected{{{half, whole.left(whole.size() / 2)}, {garbage, spoiled}},
                               {"不完整", "不完整", "100%"},
                               {},
                               3};
           });
    QTest::newRow("every task failing, with shut-down chosen")
        << QByteArray("After_Done=1\nThread_Count=2\nOverwrite_File=1\n")
        << Case([&media](test::WindowFlow& flow, MainWindow& window) {
               const QStringList doomed = {flow.copy(media.tone, QStringLiteral("a.wav")),
                                           flow.copy(media.tone, QStringLiteral("b.wav"))};
               window.addFiles(doomed, false);
               for (const QString& file : doomed) {
                   QFile::remove(file);
               }
               return Expected{{}, {"失败", "失败"}, {}, 0};
           });
}

void NothingLostWindowTest::userFilesStayAndFailuresSaySo() {
    QFETCH(QByteArray, options);
    QFETCH(Case, steps);
    test::WindowFlow flow;
    MainWindow& window = flow.startWith(options);
    const Expected expected = steps(flow, window);
    window.btnStartClick();
    QVERIFY(test::waitForBatchEnd(window));

    for (const auto& [path, bytes] : expected.untouched) {
        QCOMPARE(test::readBytes(path), bytes);
    }
    QCOMPARE(test::column(window, Progress), expected.progress);
    if (!expected.outputs.isEmpty()) {
        QCOMPARE(test::column(window, OutputFile), expected.outputs);
    }
    const QString folder = window.ui().folderEdit->text();
    for (int row = 0; row < expected.converted; ++row) {
        media::Probe probe;
        const QString output = folder + QLatin1Char('/') + window.jobs().text(row, OutputFile);
        QVERIFY2(probe.LoadFile(output.toStdString()), qPrintable(output));
    }
    for (int row = 0; row < window.jobs().rowCount(); ++row) {
        const QString shown = window.jobs().text(row, Progress);
        const QString tip =
            window.jobs().data(window.jobs().index(row, Progress), Qt::ToolTipRole).toString();
        if (shown == QStringLiteral("失败") || shown == QStringLiteral("不完整")) {
            QVERIFY2(tip != shown && !tip.isEmpty(), qPrintable(tip));  // the reason, in full
        }
        if (shown == QStringLiteral("不完整")) {
            QVERIFY(window.jobs().text(row, CurrentTime).contains(QStringLiteral(" / ")));
        }
    }
    // Nothing waited on the user; failures are told once, at the end.
    QVERIFY(flow.dialogs.warnings.isEmpty());
    QVERIFY(flow.dialogs.informations.isEmpty());
    const int failed = int(expected.progress.count(QStringLiteral("失败")) +
                           expected.progress.count(QStringLiteral("不完整")));
    QCOMPARE(flow.dialogs.notices.size(), failed > 0 ? 1 : 0);
    if (failed > 0) {
        QVERIFY(
            flow.dialogs.notices[0].startsWith(QStringLiteral("转换结束：成功 %1 个，失败 %2 个")
                                                   .arg(expected.progress.size() - failed)
                                                   .arg(failed)));
    }
    const bool anyConverted = expected.progress.contains(QStringLiteral("100%"));
    QCOMPARE(flow.dialogs.shutdownAsked, anyConverted && options.contains("After_Done=1") ? 1 : 0);
    QCOMPARE(flow.desktop.powerOffs, flow.dialogs.shutdownAsked);
    // Nothing half-written is left anywhere the batch wrote.
    for (const QString& place : {folder, flow.out.path()}) {
        for (const QString& name : QDir(place).entryList(QDir::Files | QDir::Hidden)) {
            QVERIFY2(!name.endsWith(QStringLiteral(".part")), qPrintable(name));
        }
    }
}

QTEST_MAIN(NothingLostWindowTest)
#include "NothingLostWindowTest.moc"
