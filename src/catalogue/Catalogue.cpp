#include "catalogue/Catalogue.h"

#include <algorithm>
#include <cstring>

namespace talwyn::catalogue {

int groupOf(int category) {
    return category >= 0 && category < kCategoryCount ? kCategories[category].group : -1;
}

std::span<const ProfileRecord> profilesOf(int category) {
    if (category < 0 || category >= kCategoryCount) {
        return {};
    }
    const CategoryInfo& info = kCategories[category];
    return std::span(kProfiles).subspan(info.firstProfile, info.profileCount);
}

const ProfileRecord* findProfile(int code) {
    const auto it = std::find_if(kProfiles.begin(), kProfiles.end(),
                                 [code](const ProfileRecord& p) { return p.code == code; });
    return it == kProfiles.end() ? nullptr : &*it;
}

int profileCode(int category, int profileIndex) {
    const auto profiles = profilesOf(category);
    if (profileIndex < 0 || profileIndex >= int(profiles.size())) {
        return -1;
    }
    return groupOf(category) * 100 + profileIndex;
}

QString titleExtension(const QString& title) {
    const int close = title.lastIndexOf(QLatin1Char(')'));
    const QString tail = title.mid(std::max(0, close - 4), std::min(4, std::max(0, close)));
    if (tail == QLatin1String("flac")) {
        return QStringLiteral(".flac");
    }
    if (tail == QLatin1String("aiff")) {
        return QStringLiteral(".aiff");
    }
    if (tail == QLatin1String("*.rm")) {
        return QStringLiteral(".rm");
    }
    if (tail == QLatin1String("*.ra")) {
        return QStringLiteral(".ra");
    }
    return tail;
}

int selectedPosition(const PresetCell& cell) {
    if (!cell.list) {
        return -1;
    }
    const auto& entries = cell.list->entries;
    const auto it = std::find_if(entries.begin(), entries.end(), [&](const char* entry) {
        return std::strcmp(entry, cell.selected) == 0;
    });
    return it == entries.end() ? -1 : int(it - entries.begin());
}

bool isAudioOnly(const PresetRow& row) {
    return row.frameSize.list && std::strcmp(row.frameSize.list->name, "SIZE-NONE") == 0;
}

}  // namespace talwyn::catalogue
