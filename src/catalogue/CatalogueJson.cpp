#include "catalogue/CatalogueJson.h"

#include "catalogue/Catalogue.h"

#include <QString>

#include <nlohmann/json.hpp>

namespace talwyn::catalogue {
namespace {

// Keys stay in the order written: programs and people read the catalogue in that order.
using Json = nlohmann::ordered_json;

Json settingsJson(const ProfileSettings& s) {
    return {
        {"ext", s.ext},
        {"FileExt", s.FileExt},
        {"VideoCodec", s.VideoCodec},
        {"VideoTag", s.VideoTag},
        {"FrameSize", s.FrameSize},
        {"VideoBitrate", s.VideoBitrate},
        {"FrameRate", s.FrameRate},
        {"FrameAspectRatio", s.FrameAspectRatio},
        {"AudioCodec", s.AudioCodec},
        {"AudioChannels", s.AudioChannels},
        {"AudioSampleRate", s.AudioSampleRate},
        {"AudioBitrate", s.AudioBitrate},
        {"TargetType", s.TargetType},
        {"NormType", s.NormType},
        {"DisableVideo", s.DisableVideo},
    };
}

Json cellJson(const PresetCell& cell) {
    Json entries = Json::array();
    for (const char* entry : cell.list->entries) {
        entries.push_back(entry);
    }
    return {{"entries", std::move(entries)}, {"selected", cell.selected}};
}

Json presetsJson(const PresetRow& row) {
    return {
        {"frame_size", cellJson(row.frameSize)},   {"video_bitrate", cellJson(row.videoBitrate)},
        {"frame_rate", cellJson(row.frameRate)},   {"audio_bitrate", cellJson(row.audioBitrate)},
        {"sample_rate", cellJson(row.sampleRate)}, {"aspect", cellJson(row.aspect)},
    };
}

}  // namespace

QByteArray catalogueJson() {
    Json categories = Json::array();
    for (int index = 0; index < kCategoryCount; ++index) {
        const CategoryInfo& category = kCategories[index];
        Json profiles = Json::array();
        for (const ProfileRecord& profile : profilesOf(index)) {
            profiles.push_back({
                {"code", profile.code},
                {"title", profile.title},
                {"caption", profile.caption},
                {"title_ext", titleExtension(QString::fromUtf8(profile.title)).toStdString()},
                {"settings", settingsJson(profile.settings)},
                {"presets", presetsJson(profile.presets)},
            });
        }
        categories.push_back({
            {"index", index},
            {"caption", category.caption},
            {"group", category.group},
            {"icon", category.icon},
            {"profiles", std::move(profiles)},
        });
    }
    const Json catalogue = {{"categories", std::move(categories)}};
    return QByteArray::fromStdString(catalogue.dump() + "\n");
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
