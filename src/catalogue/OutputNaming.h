#pragma once

#include <QString>

#include <functional>

// Output file names: the input's name with the profile's extension, made unique in the folder.

namespace talwyn::catalogue::OutputNaming {

// Replaces the text from the last dot of the name by ext, or appends ext when there is no dot.
QString withExtension(const QString& fileName, const QString& ext);

// folder + "/" + the input's file name with the extension ext.
QString outputPath(const QString& inputPath, const QString& folder, const QString& ext);

// Whether anything stands at the path: a file, a folder, or a link, also one that leads nowhere.
bool occupied(const QString& path);

// The path itself when overwriting or when it is free; else stem_1.ext, stem_2.ext, … the first
// that is not taken.
QString uniquePath(const QString& path, bool overwrite,
                   const std::function<bool(const QString&)>& taken);

}  // namespace talwyn::catalogue::OutputNaming
