#include "cli/RunReport.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace talwyn::cli {
namespace {

// Names are bytes; the report is UTF-8, as the system's file names are meant to be.
QJsonValue text(const std::string& bytes) {
    return QFile::decodeName(QByteArray::fromStdString(bytes));
}

QJsonValue known(double value) {
    return value >= 0 ? QJsonValue(value) : QJsonValue(QJsonValue::Null);
}

}  // namespace

RunReport::~RunReport() {
    if (file_) {
        std::fclose(file_);
    }
}

bool RunReport::open(const std::string& path, const std::string& shard, std::string& error) {
    file_ = std::fopen(path.c_str(), "a");
    if (!file_) {
        error = "无法写入报告 " + path + ": " + std::strerror(errno);
        return false;
    }
    char host[256] = {};
    ::gethostname(host, sizeof host - 1);
    host_ = host;
    shard_ = shard;
    return true;
}

void RunReport::write(const Entry& entry) {
    if (!file_) {
        return;
    }
    QJsonObject line;
    line.insert(QStringLiteral("input"), text(entry.input));
    line.insert(QStringLiteral("output"),
                entry.output.empty() ? QJsonValue(QJsonValue::Null) : text(entry.output));
    line.insert(QStringLiteral("status"), QString::fromStdString(entry.status));
    line.insert(QStringLiteral("error"), QString::fromStdString(entry.error));
    line.insert(QStringLiteral("input_duration"), known(entry.inputDuration));
    line.insert(QStringLiteral("output_duration"), known(entry.outputDuration));
    line.insert(QStringLiteral("bytes"),
                entry.bytes >= 0 ? QJsonValue(qint64(entry.bytes)) : QJsonValue(QJsonValue::Null));
    line.insert(QStringLiteral("seconds"), entry.seconds);
    line.insert(QStringLiteral("host"), QString::fromStdString(host_));
    line.insert(QStringLiteral("shard"), shard_.empty()
                                             ? QJsonValue(QJsonValue::Null)
                                             : QJsonValue(QString::fromStdString(shard_)));
    const QByteArray json = QJsonDocument(line).toJson(QJsonDocument::Compact) + '\n';
    std::fwrite(json.constData(), 1, size_t(json.size()), file_);
    std::fflush(file_);
}

}  // namespace talwyn::cli
