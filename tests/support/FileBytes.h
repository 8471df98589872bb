#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// A file's bytes, read and written whole.

namespace talwyn::test {

// Empty when the file cannot be read.
inline QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// False when the file cannot be written.
inline bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace talwyn::test
