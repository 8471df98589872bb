#include "app/TestHooks.h"

#include "app/MainWindow.h"
#include "catalogue/Catalogue.h"

#include <QSaveFile>

#include <cstdio>

namespace talwyn::app {

TestHooks::TestHooks(MainWindow& window)
    : window_(window), rowsFile_(qEnvironmentVariable("TALWYN_TEST_ROWS_FILE")) {
    bool number = false;
    const int code = qEnvironmentVariableIntValue("TALWYN_TEST_PROFILE", &number);
    if (number) {
        profile_ = code;
    }
}

void TestHooks::selectProfile() {
    if (profile_ < 0) {
        return;
    }
    for (int category = 0; category < catalogue::kCategoryCount; ++category) {
        for (int index = 0; index < int(catalogue::profilesOf(category).size()); ++index) {
            if (catalogue::profileCode(category, index) == profile_) {
                window_.selectCategory(category);
                window_.selectProfile(index);
                return;
            }
        }
    }
    std::fprintf(stderr, "talwynwav: TALWYN_TEST_PROFILE names no profile: %d\n", profile_);
    profile_ = -1;
}

void TestHooks::writeRows() {
    if (rowsFile_.isEmpty()) {
        return;
    }
    QSaveFile file(rowsFile_);
    if (!file.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "talwynwav: cannot write %s\n", qPrintable(rowsFile_));
        return;
    }
    for (int row = 0; row < window_.jobs().rowCount(); ++row) {
        file.write(window_.jobs().text(row, joblist::InputFile).toUtf8() + '\n');
    }
    file.commit();
}

void TestHooks::startConverting() {
    if (profile_ >= 0) {
        window_.btnStartClick();
    }
}

}  // namespace talwyn::app
