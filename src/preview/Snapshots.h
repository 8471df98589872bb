#pragma once

#include <QImage>
#include <QString>

namespace talwyn::settings {
class IniFile;
}

// The snapshot folder and file type, read from option.ini every time, and the saving itself.

namespace talwyn::preview {

class Snapshots {
  public:
    explicit Snapshots(settings::IniFile& ini) : ini_(ini) {}

    static QString defaultFolder();
    // The stored folder, made again when it is gone; else the default, made and stored.
    QString folder();
    // "BMP", "JPG", "GIF" or "PNG"; anything else is stored back as "BMP".
    QString type();
    void setType(const QString& type);
    void setFolder(const QString& folder);

    // Saves the picture as base_N.ext in the folder, N the first free number for that
    // extension. Returns the path, or an empty text when nothing was saved (an empty picture,
    // or a failure, which is put into error).
    QString save(const QImage& picture, const QString& previewFile, QString* error = nullptr);

  private:
    settings::IniFile& ini_;
};

}  // namespace talwyn::preview
