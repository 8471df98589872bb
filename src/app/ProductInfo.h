#pragma once

#include <QString>

namespace talwyn::app {

inline const QString kProductName = QStringLiteral("TalwynWAV格式转换器");
inline const QString kVersionText = QStringLiteral("Ver:1.0.0.0");
inline const QString kWebSite = QStringLiteral("https://www.talwynwav.example/");
inline const QString kSupportMail = QStringLiteral("support@talwynwav.example");
inline const QString kHelpFile = QStringLiteral("help.html");

}  // namespace talwyn::app
