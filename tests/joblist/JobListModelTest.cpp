#include "joblist/JobListModel.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

using namespace talwyn::joblist;

namespace {

JobRow rowWith(const QString& input, int sequence, int slot) {
    JobRow row;
    row.text[InputFile] = input;
    row.text[Sequence] = QString::number(sequence);
    row.slot = slot;
    return row;
}

QStringList sequenceNumbers(const JobListModel& model) {
    QStringList numbers;
    for (int i = 0; i < model.rowCount(); ++i) {
        numbers << model.text(i, Sequence);
    }
    return numbers;
}

}  // namespace

TEST(JobListModel, ColumnsAndHeaders) {
    JobListModel model;
    EXPECT_EQ(model.columnCount(), 25);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("输入文件"));
    EXPECT_EQ(model.headerData(5, Qt::Horizontal).toString(), QString());
    EXPECT_EQ(model.headerData(24, Qt::Horizontal).toString(), QStringLiteral("NormType"));
    model.appendRow(rowWith(QStringLiteral("/a.mp3"), 1, 0));
    EXPECT_FALSE(model.flags(model.index(0, 3)) & Qt::ItemIsEditable);
    EXPECT_TRUE(model.flags(model.index(0, 3)) & Qt::ItemIsSelectable);
}

TEST(JobListModel, RemovalRenumbersTheRowsAbove) {
    const struct {
        QList<int> numbers;
        int removePosition;
        QStringList expected;
        int expectedSlot;
    } cases[] = {
        {{1, 2, 3}, 1, {QStringLiteral("1"), QStringLiteral("2")}, 11},
        {{1, 2, 3}, 0, {QStringLiteral("1"), QStringLiteral("2")}, 10},
        {{1, 2, 3}, 2, {QStringLiteral("1"), QStringLiteral("2")}, 12},
        // after moves the numbers are out of list order; only larger numbers move down
        {{3, 1, 2}, 1, {QStringLiteral("2"), QStringLiteral("1")}, 11},
    };
    for (const auto& c : cases) {
        JobListModel model;
        for (int i = 0; i < c.numbers.size(); ++i) {
            model.appendRow(rowWith(QStringLiteral("/f%1").arg(i), c.numbers[i], 10 + i));
        }
        EXPECT_EQ(model.removeJob(c.removePosition), c.expectedSlot);
        EXPECT_EQ(sequenceNumbers(model), c.expected);
    }
}

TEST(JobListModel, MovedRowsKeepTheirSlots) {
    JobListModel model;
    model.appendRow(rowWith(QStringLiteral("/a"), 1, 0));
    model.appendRow(rowWith(QStringLiteral("/b"), 2, 1));
    model.appendRow(rowWith(QStringLiteral("/c"), 3, 2));

    EXPECT_TRUE(model.moveRow(2, 1));
    EXPECT_EQ(model.text(1, InputFile), QStringLiteral("/c"));
    EXPECT_EQ(model.row(1).slot, 2);
    EXPECT_EQ(model.row(2).slot, 1);
    EXPECT_TRUE(model.moveRow(0, 1));
    EXPECT_EQ(model.text(0, InputFile), QStringLiteral("/c"));
    EXPECT_EQ(model.row(1).slot, 0);

    EXPECT_FALSE(model.moveRow(0, -1));
    EXPECT_FALSE(model.moveRow(2, 3));
    EXPECT_FALSE(model.moveRow(1, 1));
}

TEST(JobListModel, SetTextSignalsOnlyRealChanges) {
    JobListModel model;
    model.appendRow(rowWith(QStringLiteral("/a"), 1, 0));
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    model.setText(0, Progress, QStringLiteral("50%"));
    model.setText(0, Progress, QStringLiteral("50%"));
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(model.data(model.index(0, Progress)).toString(), QStringLiteral("50%"));
    model.clear();
    EXPECT_TRUE(model.isEmpty());
}
