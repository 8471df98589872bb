#include "app/FittedTextDelegate.h"
#include "app/Glyphs.h"
#include "joblist/TextFormats.h"
#include "support/WindowFixture.h"

#include <QDir>
#include <QLabel>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTableView>
#include <QTest>

using namespace talwyn;
using namespace talwyn::joblist;
using app::MainWindow;

namespace {

JobRow rowOf(const QString& input, const QString& output, const QString& size) {
    JobRow row;
    row.text[InputFile] = input;
    row.text[OutputFile] = output;
    row.text[InputSize] = size;
    row.text[OutputSize] = size;
    return row;
}

QString tip(MainWindow& window, int row, JobColumn column) {
    return window.jobs().data(window.jobs().index(row, column), Qt::ToolTipRole).toString();
}

}  // namespace

class JobListTextsWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void largeSizesFitTheirColumns_data();
    void largeSizesFitTheirColumns();
    void pathsAreInTheTips();
    void theEmptyListSaysFilesAndFoldersCanBeDropped();
};

void JobListTextsWindowTest::largeSizesFitTheirColumns_data() {
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("asWritten");  // drawn in the list's own font
    QTest::newRow("3.5MB") << qint64(3670016) << QStringLiteral("3.5MB") << true;
    QTest::newRow("10.1MB") << qint64(10590617) << QStringLiteral("10.1MB") << true;
    QTest::newRow("117.74MB") << qint64(123456789) << QStringLiteral("117.74MB") << false;
    QTest::newRow("888.88MB") << qint64(932055367) << QStringLiteral("888.88MB") << false;
    QTest::newRow("just below 1000MB") << qint64(1048570757) << QStringLiteral("999.99MB") << false;
    QTest::newRow("1000MB") << qint64(1048576000) << QStringLiteral("0.98GB") << true;
    QTest::newRow("a film") << qint64(4700000000) << QStringLiteral("4.38GB") << true;
    QTest::newRow("888.88GB") << qint64(954427623588) << QStringLiteral("888.88GB") << true;
}

void JobListTextsWindowTest::largeSizesFitTheirColumns() {
    QFETCH(qint64, bytes);
    QFETCH(QString, text);
    QFETCH(bool, asWritten);
    QCOMPARE(SizeText(bytes), text);

    test::WindowFixture fixture;
    MainWindow& window = fixture.start();
    window.jobs().appendRow(rowOf(QStringLiteral("/in/a.wav"), QStringLiteral("a.wav"), text));
    QTableView* list = window.ui().lvFiles;
    const int margin = list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
    for (const JobColumn column : {InputSize, OutputSize}) {
        const QModelIndex index = window.jobs().index(0, column);
        QVERIFY(qobject_cast<app::FittedTextDelegate*>(list->itemDelegateForIndex(index)));
        QStyleOptionViewItem cell;
        cell.initFrom(list->viewport());
        cell.rect = list->visualRect(index);
        cell.font = list->font();
        cell.widget = list;
        cell.text = text;
        const QFont font = app::FittedTextDelegate::fittingFont(cell);
        const int room = cell.rect.width() - 2 * margin;
        const int width = QFontMetrics(font).horizontalAdvance(text);
        QVERIFY2(width <= room, qPrintable(QStringLiteral("%1 in column %2: %3 > %4")
                                               .arg(text)
                                               .arg(column)
                                               .arg(width)
                                               .arg(room)));
        // Narrowed only when the column needs it; the small sizes look as they always did.
        if (column == InputSize) {
            QCOMPARE(font == list->font(), asWritten);
        }
        QVERIFY(font.stretch() == 0 || font.stretch() > 70);
    }
}

void JobListTextsWindowTest::pathsAreInTheTips() {
    test::WindowFixture fixture;
    MainWindow& window = fixture.start();
    const QString input = QStringLiteral("/音乐/很长的专辑名称/01 第一首歌.flac");
    window.jobs().appendRow(rowOf(input, QStringLiteral("01 第一首歌.wav"), QStringLiteral("1MB")));
    QCOMPARE(tip(window, 0, InputFile), input);
    QCOMPARE(tip(window, 0, OutputFile),
             window.fields().FileOutPutPath + QStringLiteral("/01 第一首歌.wav"));

    // Another output folder: the tips follow it.
    QTemporaryDir other;
    fixture.dialogs.folderAnswer = other.path();
    window.BrowseOutputFolder();
    QCOMPARE(tip(window, 0, OutputFile), QDir::cleanPath(other.path()) + "/01 第一首歌.wav");
    window.jobs().setText(0, OutputFile, QStringLiteral("改名.wav"));
    QCOMPARE(tip(window, 0, OutputFile), QDir::cleanPath(other.path()) + "/改名.wav");
}

void JobListTextsWindowTest::theEmptyListSaysFilesAndFoldersCanBeDropped() {
    const QStringList texts = app::Glyphs::emptyListTexts();
    QCOMPARE(texts.constFirst(), QStringLiteral("列表中还没有文件"));
    const QString all = texts.join(QLatin1Char('\n'));
    QVERIFY(all.contains(QStringLiteral("“添加”")));
    QVERIFY(all.contains(QStringLiteral("拖放")));
    QVERIFY(all.contains(QStringLiteral("文件夹")));

    test::WindowFixture fixture;
    MainWindow& window = fixture.start();
    QLabel* picture = window.ui().emptyPicture;
    QCOMPARE(picture->accessibleName(), all);
    // The picture holds the words: the lines below the heading are drawn, not left blank.
    const QImage drawn = picture->pixmap().toImage();
    const QImage plain = app::Glyphs::emptyListPicture(picture->size()).toImage();
    QCOMPARE(drawn, plain);
    int inked = 0;  // dark pixels in the band of the last line
    for (int y = 202; y < 220; ++y) {
        for (int x = 0; x < drawn.width(); ++x) {
            inked += drawn.pixelColor(x, y).lightness() < 200 ? 1 : 0;
        }
    }
    QVERIFY2(inked > 20, qPrintable(QString::number(inked)));
}

QTEST_MAIN(JobListTextsWindowTest)
#include "JobListTextsWindowTest.moc"
