#pragma once

#include <QString>

namespace talwyn::app {

class MainWindow;

// What lets a test drive the real program as a process of its own, through two environment
// variables that nothing else sets:
// - TALWYN_TEST_PROFILE=<ProfileCode>: the profile is selected before the command line's files are
//   added, and converting them starts at once;
// - TALWYN_TEST_ROWS_FILE=<path>: after each add of the files of a command line (this start's or
//   a later one's), the input paths of all rows, one per line, replace the file's contents.
class TestHooks {
  public:
    explicit TestHooks(MainWindow& window);

    void selectProfile();
    void writeRows();
    void startConverting();

  private:
    MainWindow& window_;
    int profile_ = -1;
    QString rowsFile_;
};

}  // namespace talwyn::app
