#pragma once

#include "joblist/JobColumns.h"

#include <QAbstractTableModel>
#include <QString>

#include <array>
#include <vector>

// The job list: one row per job, 25 text columns. A row also remembers the job slot it was given
// when its file was added, so its slot moves with it.

namespace talwyn::joblist {

struct JobRow {
    std::array<QString, kJobColumnCount> text;
    int slot = -1;
    quint64 id = 0;  // given by the model; tells the job apart whatever its position
    QString note;    // why the last batch failed it or left it incomplete: its progress cell's tip
};

class JobListModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    const JobRow& row(int position) const { return rows_.at(position); }
    QString text(int position, JobColumn column) const;
    void setText(int position, JobColumn column, const QString& value);
    void setNote(int position, const QString& note);
    // The folder the outputs are written to; the output names' tips give their full paths.
    void setOutputFolder(const QString& folder);

    // Appends a complete row and returns its position.
    int appendRow(const JobRow& row);
    // The position of the row with this id, or -1.
    int positionOf(quint64 id) const;

    // Removes the row and renumbers the rest: every row whose sequence number is above the
    // removed one's moves down by one. Returns the removed row's slot.
    int removeJob(int position);

    // Exchanges the row with its neighbour; the rows take their slots with them.
    bool moveRow(int from, int to);

    void clear();
    bool isEmpty() const { return rows_.empty(); }

  private:
    std::vector<JobRow> rows_;
    QString outputFolder_;
    quint64 nextId_ = 1;
};

}  // namespace talwyn::joblist
