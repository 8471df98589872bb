#pragma once

#include <QByteArray>

// The catalogue as text: one JSON object for programs, and a listing for people.

namespace talwyn::catalogue {

// {"categories":[{"index","caption","group","icon","profiles":[{"code","title","caption",
// "title_ext","settings":{…},"presets":{…}}]}]}, UTF-8, keys in that order.
QByteArray catalogueJson();
// One line per profile: category, code, title.
QByteArray catalogueListing();

}  // namespace talwyn::catalogue
