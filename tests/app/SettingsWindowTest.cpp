#include "settings/OptionsDialog.h"
#include "settings/SkinCatalog.h"
#include "support/WindowFixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>

using namespace talwyn;
using settings::IniFile;
using settings::OptionsDialog;
using settings::SkinCatalog;

namespace {

QString stored(const test::WindowFixture& fixture, const char* section, const char* key) {
    return IniFile(fixture.iniPath)
        .read(QString::fromLatin1(section), QString::fromLatin1(key), QStringLiteral("<none>"));
}

template <typename T>
T* childWithText(QWidget* parent, const QString& text) {
    for (T* child : parent->findChildren<T*>()) {
        if (child->text() == text) {
            return child;
        }
    }
    return nullptr;
}

QString checkedOption(QWidget* dialog, const QStringList& group) {
    for (const QString& text : group) {
        if (childWithText<QRadioButton>(dialog, text)->isChecked()) {
            return text;
        }
    }
    return {};
}

const QStringList kAfterDone = {QStringLiteral("自动打开输出文件夹"),
                                QStringLiteral("自动关闭计算机"), QStringLiteral(" 播放提示音乐"),
                                QStringLiteral("不进行任何操作")};

}  // namespace

class SettingsWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void firstStartWritesTheDefaults();
    void optionsAreReadFromTheFile_data();
    void optionsAreReadFromTheFile();
    void unwritableConfigurationStillStarts();
    void outputFolderIsRestored();
    void optionsDialogOkAndCancel();
    void skinIsRestored_data();
    void skinIsRestored();
    void skinSelection();
    void browseChoosesTheOutputFolder();
    void folderBoxPassesTheFocusOn();
};

void SettingsWindowTest::firstStartWritesTheDefaults() {
    test::WindowFixture fixture;
    app::MainWindow& window = fixture.start();
    const QString folder = fixture.home.path() + QStringLiteral("/Talwyn视频软件/输出");

    QVERIFY(QFileInfo(folder).isDir());
    QCOMPARE(stored(fixture, "OutPath", "OutPath"), folder);
    QCOMPARE(window.ui().folderEdit->text(), folder);
    QCOMPARE(window.fields().FileOutPutPath, folder);
    const struct {
        const char* key;
        const char* value;
    } options[] = {{"Thread_Count", "0"},
                   {"After_Done", "0"},
                   {"Show_Preview", "0"},
                   {"Thread_Priority", "3"},
                   {"Overwrite_File", "1"}};
    for (const auto& option : options) {
        QCOMPARE(stored(fixture, "Options", option.key), QString::fromLatin1(option.value));
    }
    QCOMPARE(stored(fixture, "Skin", "SetSkin"), QStringLiteral("0"));
    QCOMPARE(window.skinIndex(), 0);

    OptionsDialog& dialog = window.options();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("选项"));
    QCOMPARE(checkedOption(&dialog, kAfterDone), QStringLiteral("自动打开输出文件夹"));
    QCOMPARE(dialog.threadCount(), 1);
    QCOMPARE(dialog.threadPriority(), 3);
    QVERIFY(!dialog.overwriteFile());
    QVERIFY(!dialog.showPreview());
    QCOMPARE(dialog.threadCountBox()->count(), 19);
}

void SettingsWindowTest::optionsAreReadFromTheFile_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("afterDone");
    QTest::addColumn<bool>("overwrite");
    QTest::addColumn<int>("priority");
    QTest::addColumn<int>("threads");
    QTest::addColumn<bool>("preview");
    // Thread_Count, After_Done, Show_Preview, Thread_Priority, Overwrite_File afterwards
    QTest::addColumn<QStringList>("written");

    const QStringList defaults = {"0", "0", "0", "3", "1"};
    QTest::newRow("empty file") << QByteArray() << 0 << false << 3 << 1 << false << defaults;
    QTest::newRow("sentinel and empty values")
        << QByteArray(
               "[Options]\nThread_Count=Error\nAfter_Done=\nShow_Preview=Error\n"
               "Thread_Priority=\nOverwrite_File=Error\n")
        << 0 << false << 3 << 1 << false << defaults;
    QTest::newRow("stored choices")
        << QByteArray(
               "[Options]\nThread_Count=4\nAfter_Done=2\nShow_Preview=1\n"
               "Thread_Priority=1\nOverwrite_File=0\n")
        << 2 << true << 1 << 4 << true << QStringList{"4", "2", "1", "1", "0"};
    QTest::newRow("out of range")
        << QByteArray(
               "[Options]\nThread_Count=25\nAfter_Done=7\nShow_Preview=3\n"
               "Thread_Priority=9\nOverwrite_File=2\n")
        << 0 << false << 3 << 1 << false << defaults;
    QTest::newRow("zero threads means one")
        << QByteArray("[Options]\nThread_Count=0\nAfter_Done=3\n") << 3 << false << 3 << 1 << false
        << QStringList{"0", "3", "0", "3", "1"};
    QTest::newRow("garbage around")
        << QByteArray(
               "\x01\xff\xfe junk\n[Options]\nThread_Count= 19 \nAfter_Done=abc\n"
               "Thread_Priority=-1\n\x80\x80\n")
        << 0 << false << 3 << 19 << false << QStringList{"19", "0", "0", "3", "1"};
    QTest::newRow("case of the text matters")
        << QByteArray("[Options]\nThread_Count=O\nShow_Preview=TRUE\n") << 0 << false << 3 << 1
        << false << defaults;
}

void SettingsWindowTest::optionsAreReadFromTheFile() {
    QFETCH(QByteArray, file);
    QFETCH(int, afterDone);
    QFETCH(bool, overwrite);
    QFETCH(int, priority);
    QFETCH(int, threads);
    QFETCH(bool, preview);
    QFETCH(QStringList, written);

    test::WindowFixture fixture;
    fixture.writeIni(file);
    app::MainWindow& window = fixture.start();
    OptionsDialog& dialog = window.options();
    QCOMPARE(dialog.afterDone(), afterDone);
    QCOMPARE(dialog.overwriteFile(), overwrite);
    QCOMPARE(dialog.threadPriority(), priority);
    QCOMPARE(dialog.threadCount(), threads);
    QCOMPARE(dialog.showPreview(), preview);
    QCOMPARE(window.livePreview(), preview);  // the converter's live preview follows at start

    QStringList actual;
    for (const char* key :
         {"Thread_Count", "After_Done", "Show_Preview", "Thread_Priority", "Overwrite_File"}) {
        actual << stored(fixture, "Options", key);
    }
    QCOMPARE(actual, written);
}

void SettingsWindowTest::unwritableConfigurationStillStarts() {
    test::WindowFixture fixture;
    QFile blocker(fixture.config.filePath(QStringLiteral("blocked")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    fixture.iniPath = blocker.fileName() + QStringLiteral("/option.ini");

    app::MainWindow& window = fixture.start();
    QVERIFY(!QFileInfo::exists(fixture.iniPath));
    QCOMPARE(window.fields().FileOutPutPath, app::MainWindow::defaultOutputFolder());
    QCOMPARE(window.options().threadCount(), 1);
    QCOMPARE(window.options().afterDone(), 0);
    QCOMPARE(window.skinIndex(), SkinCatalog::kStartSkin);
    const QStringList log = window.ui().mmoLog->toPlainText().split('\n', Qt::SkipEmptyParts);
    QCOMPARE(log.size(), 1);
    QVERIFY(log[0].contains(QStringLiteral("option.ini")));
    // The user is told once, in a box that waits for nobody.
    QCOMPARE(fixture.dialogs.notices.size(), 1);
    QVERIFY(fixture.dialogs.notices[0].contains(fixture.iniPath));

    // Choices made in this run are still in force in this run.
    window.ui().optionsButton->click();
    QCOMPARE(window.ini().value(QStringLiteral("Options"), QStringLiteral("After_Done")),
             QStringLiteral("0"));
    QCOMPARE(fixture.dialogs.notices.size(), 1);
}

void SettingsWindowTest::outputFolderIsRestored() {
    {
        test::WindowFixture fixture;
        const QString gone = fixture.home.filePath(QStringLiteral("删了/还有 一层"));
        fixture.writeIni("[OutPath]\nOutPath=" + gone.toUtf8() + "\n");
        app::MainWindow& window = fixture.start();
        QVERIFY(QFileInfo(gone).isDir());
        QCOMPARE(window.ui().folderEdit->text(), gone);
        QCOMPARE(stored(fixture, "OutPath", "OutPath"), gone);
    }
    {
        // A folder of another system is not created relative to wherever the program runs.
        test::WindowFixture fixture;
        fixture.writeIni("[OutPath]\nOutPath=C:\\Talwyn视频软件\\输出\n");
        app::MainWindow& window = fixture.start();
        QCOMPARE(window.fields().FileOutPutPath, app::MainWindow::defaultOutputFolder());
        QCOMPARE(stored(fixture, "OutPath", "OutPath"), app::MainWindow::defaultOutputFolder());
    }
}

void SettingsWindowTest::optionsDialogOkAndCancel() {
    test::WindowFixture fixture;
    app::MainWindow& window = fixture.start();
    OptionsDialog& dialog = window.options();

    fixture.dialogs.onModal = [&](QDialog& shown) {
        childWithText<QRadioButton>(&shown, QStringLiteral("不进行任何操作"))->click();
        childWithText<QRadioButton>(&shown, QStringLiteral("直接覆盖输出文件"))->click();
        childWithText<QRadioButton>(&shown, QStringLiteral("较低优先级进行"))->click();
        dialog.threadCountBox()->setCurrentIndex(2);
        childWithText<QCheckBox>(&shown, QStringLiteral("转换时进行实时视频预览"))->click();
        childWithText<QPushButton>(&shown, QStringLiteral("确定"))->click();
        return shown.result();
    };
    window.ui().optionsButton->click();
    QCOMPARE(fixture.dialogs.modalShown, QStringList({QStringLiteral("Form5")}));
    QCOMPARE(stored(fixture, "Options", "After_Done"), QStringLiteral("3"));
    QCOMPARE(stored(fixture, "Options", "Overwrite_File"), QStringLiteral("0"));
    QCOMPARE(stored(fixture, "Options", "Thread_Priority"), QStringLiteral("2"));
    QCOMPARE(stored(fixture, "Options", "Thread_Count"), QStringLiteral("3"));
    QCOMPARE(stored(fixture, "Options", "Show_Preview"), QStringLiteral("1"));
    QVERIFY(window.livePreview());

    const QByteArray before = fixture.iniText();
    fixture.dialogs.onModal = [&](QDialog& shown) {
        childWithText<QRadioButton>(&shown, QStringLiteral("自动关闭计算机"))->click();
        childWithText<QRadioButton>(&shown, QStringLiteral("系统空闲时进行"))->click();
        dialog.threadCountBox()->setCurrentIndex(7);
        childWithText<QCheckBox>(&shown, QStringLiteral("转换时进行实时视频预览"))->click();
        childWithText<QPushButton>(&shown, QStringLiteral("取消"))->click();
        return shown.result();
    };
    window.ui().optionsItem->trigger();
    QCOMPARE(fixture.iniText(), before);
    QCOMPARE(dialog.afterDone(), 3);
    QCOMPARE(dialog.threadPriority(), 2);
    QCOMPARE(dialog.threadCount(), 3);
    QVERIFY(dialog.overwriteFile());
    QVERIFY(dialog.showPreview());
    QVERIFY(window.livePreview());

    // The next start takes the stored count.
    fixture.window.reset();
    QCOMPARE(fixture.start().options().threadCount(), 3);
}

void SettingsWindowTest::skinIsRestored_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("skin");
    QTest::addColumn<QString>("written");
    QTest::newRow("stored 3") << QByteArray("[Skin]\nSetSkin=3\n") << 3 << "3";
    QTest::newRow("missing") << QByteArray("[Options]\n") << 0 << "0";
    QTest::newRow("sentinel") << QByteArray("[Skin]\nSetSkin=Error\n") << 0 << "0";
    QTest::newRow("beyond the list keeps the start skin")
        << QByteArray("[Skin]\nSetSkin=42\n") << SkinCatalog::kStartSkin << "42";
    QTest::newRow("negative keeps the start skin")
        << QByteArray("[Skin]\nSetSkin=-1\n") << SkinCatalog::kStartSkin << "-1";
    QTest::newRow("not a number") << QByteArray("[Skin]\nSetSkin=blue\n") << 0 << "0";
}

void SettingsWindowTest::skinIsRestored() {
    QFETCH(QByteArray, file);
    QFETCH(int, skin);
    QFETCH(QString, written);
    test::WindowFixture fixture;
    fixture.writeIni(file);
    app::MainWindow& window = fixture.start();
    QCOMPARE(window.skinIndex(), skin);
    QCOMPARE(qApp->styleSheet(), SkinCatalog::styleSheet(skin));
    QCOMPARE(stored(fixture, "Skin", "SetSkin"), written);
}

void SettingsWindowTest::skinSelection() {
    test::WindowFixture fixture;
    fixture.writeIni("[Skin]\nSetSkin=42\n");
    app::MainWindow& window = fixture.start();

    // Cancelled: the skin in force is written back over the foreign value.
    window.ui().skinButton->click();
    QCOMPARE(fixture.dialogs.skinOffered, SkinCatalog::kStartSkin);
    QCOMPARE(fixture.dialogs.skinNames, SkinCatalog::displayNames());
    QCOMPARE(stored(fixture, "Skin", "SetSkin"), QString::number(SkinCatalog::kStartSkin));

    fixture.dialogs.skinAnswer = 7;
    window.ui().skinItem->trigger();
    QCOMPARE(window.skinIndex(), 7);
    QCOMPARE(qApp->styleSheet(), SkinCatalog::styleSheet(7));
    QCOMPARE(stored(fixture, "Skin", "SetSkin"), QStringLiteral("7"));

    fixture.window.reset();
    QCOMPARE(fixture.start().skinIndex(), 7);
}

void SettingsWindowTest::browseChoosesTheOutputFolder() {
    test::WindowFixture fixture;
    app::MainWindow& window = fixture.start();
    const QString original = window.fields().FileOutPutPath;

    window.ui().browseButton->click();  // cancelled
    QCOMPARE(fixture.dialogs.folderTitle, QStringLiteral("选择输出目录"));
    QCOMPARE(window.fields().FileOutPutPath, original);

    fixture.dialogs.folderAnswer = fixture.home.filePath(QStringLiteral("not there"));
    window.ui().browseButton->click();
    QCOMPARE(window.fields().FileOutPutPath, original);

    const QString chosen = fixture.home.filePath(QStringLiteral("输出 2"));
    QVERIFY(QDir().mkpath(chosen));
    fixture.dialogs.folderAnswer = chosen;
    window.ui().browseButton->click();
    QCOMPARE(window.fields().FileOutPutPath, chosen);
    QCOMPARE(window.ui().folderEdit->text(), chosen);
    QCOMPARE(stored(fixture, "OutPath", "OutPath"), chosen);
}

void SettingsWindowTest::folderBoxPassesTheFocusOn() {
    test::WindowFixture fixture;
    app::MainWindow& window = fixture.start();
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTest::mouseClick(window.ui().folderEdit, Qt::LeftButton);
    QTRY_COMPARE(QApplication::focusWidget(), window.ui().lvFiles);
}

QTEST_MAIN(SettingsWindowTest)
#include "SettingsWindowTest.moc"
