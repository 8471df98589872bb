#include "app/OpenFilter.h"
#include "app/ProductInfo.h"
#include "app/QtDialogs.h"
#include "app/QtTranslations.h"
#include "settings/SkinCatalog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace talwyn;

namespace {

// What a shown dialog offered: its caption, its buttons' texts (mnemonics removed) and, for a
// file dialog, the entries of its type list, the entry filtering the view and its folder.
struct Seen {
    bool shown = false;
    QString caption;
    QStringList buttons;
    QStringList types;
    QString typeFilter;
    QString folder;
};

QString withoutMnemonic(QString text) {
    static const QRegularExpression bracketed(QStringLiteral("\\(&.\\)"));
    return text.remove(bracketed).remove(QLatin1Char('&'));
}

QDialog* shownDialog() {
    if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
        return modal;
    }
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<QDialog*>(widget); dialog && dialog->isVisible()) {
            return dialog;
        }
    }
    return nullptr;
}

// Runs `open`, which shows a modal dialog, notes what the dialog shows once it is up and closes
// it with `pick` (by default: cancelled).
Seen seeDialog(const std::function<void()>& open, const std::function<void(QDialog&)>& pick = {}) {
    Seen seen;
    QTimer::singleShot(0, [&] {
        QDialog* dialog = shownDialog();
        if (!dialog) {
            return;
        }
        seen.shown = true;
        seen.caption = dialog->windowTitle();
        for (auto* box : dialog->findChildren<QDialogButtonBox*>()) {
            for (QAbstractButton* button : box->buttons()) {
                seen.buttons << withoutMnemonic(button->text());
            }
        }
        if (auto* files = qobject_cast<QFileDialog*>(dialog)) {
            if (auto* types = files->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))) {
                for (int i = 0; i < types->count(); ++i) {
                    seen.types << types->itemText(i);
                }
            }
            seen.typeFilter = files->selectedNameFilter();
            seen.folder = files->directory().absolutePath();
        }
        if (pick) {
            pick(*dialog);
        }
        if (dialog->isVisible()) {
            dialog->done(QDialog::Rejected);
        }
    });
    open();
    return seen;
}

// The descriptions of the filter as the program states it: every other "|"-separated text.
QStringList statedDescriptions() {
    const QStringList parts = app::OpenFilterText().split(QLatin1Char('|'), Qt::SkipEmptyParts);
    QStringList descriptions;
    for (int i = 0; i < parts.size(); i += 2) {
        descriptions << parts[i];
    }
    return descriptions;
}

}  // namespace

class DialogTextsWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void aMissingTranslationIsNoFailure();
    void messageBoxesSpeakChinese_data();
    void messageBoxesSpeakChinese();
    void openDialogsShowTheStatedTexts_data();
    void openDialogsShowTheStatedTexts();
    void aTypeStillFiltersByItsPatterns();
    void folderAndSkinDialogs();
};

void DialogTextsWindowTest::initTestCase() {
    QVERIFY(app::InstallQtTranslations(*qApp));
}

void DialogTextsWindowTest::aMissingTranslationIsNoFailure() {
    QTemporaryDir empty;
    QVERIFY(!app::InstallQtTranslations(*qApp, empty.path()));
    QVERIFY(!app::InstallQtTranslations(*qApp, empty.filePath(QStringLiteral("no/such/folder"))));
}

void DialogTextsWindowTest::messageBoxesSpeakChinese_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("caption");
    QTest::newRow("information") << 0 << QStringLiteral("提示");
    QTest::newRow("warning") << 1 << app::kProductName;
    QTest::newRow("Qt's own box") << 2 << QStringLiteral("提示");
}

void DialogTextsWindowTest::messageBoxesSpeakChinese() {
    QFETCH(int, kind);
    QFETCH(QString, caption);
    app::QtDialogs dialogs;
    const Seen seen = seeDialog([&] {
        if (kind == 0) {
            dialogs.information(nullptr, QStringLiteral("文本"));
        } else if (kind == 1) {
            dialogs.warning(nullptr, QStringLiteral("文本"));
        } else {
            QMessageBox::question(
                nullptr, QStringLiteral("提示"), QStringLiteral("文本"),
                QMessageBox::Ok | QMessageBox::Cancel | QMessageBox::Yes | QMessageBox::No);
        }
    });
    QVERIFY(seen.shown);
    QCOMPARE(seen.caption, caption);
    QStringList buttons = seen.buttons;
    buttons.sort();
    QStringList expected = kind == 2 ? QStringList{QStringLiteral("确定"), QStringLiteral("取消"),
                                                   QStringLiteral("是"), QStringLiteral("否")}
                                     : QStringList{QStringLiteral("确定")};
    expected.sort();
    QCOMPARE(buttons, expected);
}

void DialogTextsWindowTest::openDialogsShowTheStatedTexts_data() {
    QTest::addColumn<bool>("several");
    QTest::newRow("one file") << false;
    QTest::newRow("several files") << true;
}

void DialogTextsWindowTest::openDialogsShowTheStatedTexts() {
    QFETCH(bool, several);
    QTemporaryDir start;
    app::QtDialogs dialogs;
    const QString filter = app::QtOpenFilter();
    const Seen seen = seeDialog([&] {
        if (several) {
            QVERIFY(dialogs.openFiles(nullptr, QStringLiteral("打开文件"), filter, start.path())
                        .isEmpty());
        } else {
            QVERIFY(!dialogs.openFile(nullptr, QStringLiteral("打开文件"), filter, start.path()));
        }
    });
    QVERIFY(seen.shown);
    QCOMPARE(seen.caption, QStringLiteral("打开文件"));
    QCOMPARE(seen.types.size(), 42);
    QCOMPARE(seen.types, statedDescriptions());
    QVERIFY(seen.types.contains(QStringLiteral("Flac无损压缩音频格式\u3000(*.flac)")));
    QCOMPARE(seen.types.constFirst(), QStringLiteral("所有文件格式 (*.*)"));
    QVERIFY(seen.buttons.contains(QStringLiteral("打开")));
    QVERIFY(seen.buttons.contains(QStringLiteral("取消")));
    QCOMPARE(QDir(seen.folder), QDir(start.path()));
}

void DialogTextsWindowTest::aTypeStillFiltersByItsPatterns() {
    QTemporaryDir start;
    app::QtDialogs dialogs;
    QStringList patterns;
    seeDialog(
        [&] {
            dialogs.openFile(nullptr, QStringLiteral("打开文件"), app::QtOpenFilter(),
                             start.path());
        },
        [&](QDialog& dialog) {
            auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            auto* files = dialog.findChild<QFileSystemModel*>();
            QVERIFY(types && files);
            // As the user picks it: the dialog follows the list's activation.
            const int wave = types->findText(QStringLiteral("WAVE音频格式 (*.wav)"));
            types->setCurrentIndex(wave);
            emit types->activated(wave);
            patterns = files->nameFilters();
        });
    QCOMPARE(patterns, QStringList({QStringLiteral("*.wav"), QStringLiteral("*.WAV")}));
}

void DialogTextsWindowTest::folderAndSkinDialogs() {
    app::QtDialogs dialogs;
    QTemporaryDir start;
    const Seen folder = seeDialog(
        [&] { QVERIFY(!dialogs.chooseFolder(nullptr, QStringLiteral("选择目录"), start.path())); });
    QVERIFY(folder.shown);
    QCOMPARE(folder.caption, QStringLiteral("选择目录"));
    QVERIFY(folder.buttons.contains(QStringLiteral("取消")));
    QCOMPARE(QDir(folder.folder), QDir(start.path()));

    const Seen skin = seeDialog(
        [&] { QVERIFY(!dialogs.chooseSkin(nullptr, settings::SkinCatalog::displayNames(), 3)); });
    QVERIFY(skin.shown);
    QCOMPARE(skin.caption, QStringLiteral("Select skin"));
    QCOMPARE(skin.buttons, QStringList({QStringLiteral("确定"), QStringLiteral("取消")}));
}

QTEST_MAIN(DialogTextsWindowTest)
#include "DialogTextsWindowTest.moc"
