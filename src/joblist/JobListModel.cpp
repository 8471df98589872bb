#include "joblist/JobListModel.h"

namespace talwyn::joblist {

int JobListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
}

int JobListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kJobColumnCount;
}

QVariant JobListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= kJobColumnCount) {
        return {};
    }
    const JobRow& row = rows_[index.row()];
    if (role == Qt::ToolTipRole && index.column() == Progress && !row.note.isEmpty()) {
        return row.note;
    }
    // The cell shows only the name; its tip says where the file goes.
    if (role == Qt::ToolTipRole && index.column() == OutputFile && !outputFolder_.isEmpty() &&
        !row.text[OutputFile].isEmpty()) {
        return outputFolder_ + QLatin1Char('/') + row.text[OutputFile];
    }
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        return row.text[index.column()];
    }
    return {};
}

QVariant JobListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < kJobColumnCount) {
        return QString::fromUtf8(kJobColumns[section].caption);
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags JobListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void JobListModel::setOutputFolder(const QString& folder) {
    if (outputFolder_ == folder) {
        return;
    }
    outputFolder_ = folder;
    if (!rows_.empty()) {
        emit dataChanged(index(0, OutputFile), index(rowCount() - 1, OutputFile),
                         {Qt::ToolTipRole});
    }
}

QString JobListModel::text(int position, JobColumn column) const {
    return rows_.at(position).text[column];
}

void JobListModel::setNote(int position, const QString& note) {
    rows_.at(position).note = note;
    const QModelIndex changed = index(position, Progress);
    emit dataChanged(changed, changed, {Qt::ToolTipRole});
}

void JobListModel::setText(int position, JobColumn column, const QString& value) {
    QString& cell = rows_.at(position).text[column];
    if (cell == value) {
        return;
    }
    cell = value;
    const QModelIndex changed = index(position, column);
    emit dataChanged(changed, changed);
}

int JobListModel::appendRow(const JobRow& row) {
    const int position = rowCount();
    beginInsertRows({}, position, position);
    rows_.push_back(row);
    rows_.back().id = nextId_++;
    endInsertRows();
    return position;
}

int JobListModel::positionOf(quint64 id) const {
    for (int i = 0; i < rowCount(); ++i) {
        if (rows_[i].id == id) {
            return i;
        }
    }
    return -1;
}

int JobListModel::removeJob(int position) {
    const JobRow removed = rows_.at(position);
    beginRemoveRows({}, position, position);
    rows_.erase(rows_.begin() + position);
    endRemoveRows();

    bool ok = false;
    const int number = removed.text[Sequence].toInt(&ok);
    if (ok) {
        for (int i = 0; i < rowCount(); ++i) {
            bool rowOk = false;
            const int rowNumber = rows_[i].text[Sequence].toInt(&rowOk);
            if (rowOk && rowNumber > number) {
                setText(i, Sequence, QString::number(rowNumber - 1));
            }
        }
    }
    return removed.slot;
}

bool JobListModel::moveRow(int from, int to) {
    const int count = rowCount();
    if (from < 0 || from >= count || to < 0 || to >= count || from == to) {
        return false;
    }
    // Qt's move notation names the position before which the row lands.
    const int destination = to > from ? to + 1 : to;
    beginMoveRows({}, from, from, {}, destination);
    JobRow moving = std::move(rows_[from]);
    rows_.erase(rows_.begin() + from);
    rows_.insert(rows_.begin() + to, std::move(moving));
    endMoveRows();
    return true;
}

void JobListModel::clear() {
    beginResetModel();
    rows_.clear();
    endResetModel();
}

}  // namespace talwyn::joblist
