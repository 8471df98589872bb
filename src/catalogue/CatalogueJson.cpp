#include "catalogue/CatalogueJson.h"

#include "catalogue/Catalogue.h"

#include <QByteArrayList>
#include <QString>

namespace talwyn::catalogue {
namespace {

QByteArray quoted(const QString& text) {
    QByteArray out = "\"";
    for (const QChar c : text) {
        switch (c.unicode()) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c.unicode() < 0x20) {
                    out += QStringLiteral("\\u%1")
                               .arg(c.unicode(), 4, 16, QLatin1Char('0'))
                               .toLatin1();
                } else {
                    out += QString(c).toUtf8();
                }
        }
    }
    return out + '"';
}

QByteArray quoted(const char* utf8) {
    return quoted(QString::fromUtf8(utf8));
}

QByteArray field(const char* key, const QByteArray& value) {
    return quoted(key) + ':' + value;
}

QByteArray settingsJson(const ProfileSettings& s) {
    const QByteArray fields[] = {
        field("ext", quoted(s.ext)),
        field("FileExt", quoted(s.FileExt)),
        field("VideoCodec", quoted(s.VideoCodec)),
        field("VideoTag", quoted(s.VideoTag)),
        field("FrameSize", quoted(s.FrameSize)),
        field("VideoBitrate", QByteArray::number(s.VideoBitrate)),
        field("FrameRate", quoted(s.FrameRate)),
        field("FrameAspectRatio", quoted(s.FrameAspectRatio)),
        field("AudioCodec", quoted(s.AudioCodec)),
        field("AudioChannels", quoted(s.AudioChannels)),
        field("AudioSampleRate", quoted(s.AudioSampleRate)),
        field("AudioBitrate", QByteArray::number(s.AudioBitrate)),
        field("TargetType", quoted(s.TargetType)),
        field("NormType", quoted(s.NormType)),
        field("DisableVideo", s.DisableVideo ? "true" : "false"),
    };
    QByteArrayList parts(std::begin(fields), std::end(fields));
    return '{' + parts.join(',') + '}';
}

QByteArray cellJson(const PresetCell& cell) {
    QByteArrayList entries;
    for (const char* entry : cell.list->entries) {
        entries << quoted(entry);
    }
    return '{' + field("entries", '[' + entries.join(',') + ']') + ',' +
           field("selected", quoted(cell.selected)) + '}';
}

QByteArray presetsJson(const PresetRow& row) {
    const QByteArray fields[] = {
        field("frame_size", cellJson(row.frameSize)),
        field("video_bitrate", cellJson(row.videoBitrate)),
        field("frame_rate", cellJson(row.frameRate)),
        field("audio_bitrate", cellJson(row.audioBitrate)),
        field("sample_rate", cellJson(row.sampleRate)),
        field("aspect", cellJson(row.aspect)),
    };
    QByteArrayList parts(std::begin(fields), std::end(fields));
    return '{' + parts.join(',') + '}';
}

}  // namespace

QByteArray catalogueJson() {
    QByteArrayList categories;
    for (int index = 0; index < kCategoryCount; ++index) {
        const CategoryInfo& category = kCategories[index];
        QByteArrayList profiles;
        for (const ProfileRecord& profile : profilesOf(index)) {
            profiles << '{' + field("code", QByteArray::number(profile.code)) + ',' +
                            field("title", quoted(profile.title)) + ',' +
                            field("caption", quoted(profile.caption)) + ',' +
                            field("title_ext",
                                  quoted(titleExtension(QString::fromUtf8(profile.title)))) +
                            ',' + field("settings", settingsJson(profile.settings)) + ',' +
                            field("presets", presetsJson(profile.presets)) + '}';
        }
        categories << '{' + field("index", QByteArray::number(index)) + ',' +
                          field("caption", quoted(category.caption)) + ',' +
                          field("group", QByteArray::number(category.group)) + ',' +
                          field("icon", QByteArray::number(category.icon)) + ',' +
                          field("profiles", '[' + profiles.join(',') + ']') + '}';
    }
    return '{' + field("categories", '[' + categories.join(',') + ']') + "}\n";
}

QByteArray catalogueListing() {
    QByteArray out;
    for (int index = 0; index < kCategoryCount; ++index) {
        for (const ProfileRecord& profile : profilesOf(index)) {
            out += QString::fromUtf8(kCategories[index].caption).toUtf8() + '\t' +
                   QByteArray::number(profile.code) + '\t' + QByteArray(profile.title) + '\n';
        }
    }
    return out;
}

}  // namespace talwyn::catalogue
