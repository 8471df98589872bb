#include "media/OutputTarget.h"
#include "support/FileBytes.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>

#include <sys/wait.h>
#include <unistd.h>

using namespace talwyn;

namespace {}  // namespace

// Which name a task takes when it starts.
TEST(OutputTarget, ANameIsTakenOnlyWhenNothingStandsThere) {
    QTemporaryDir dir;
    const auto at = [&](const char* name) { return dir.filePath(name).toStdString(); };
    test::writeBytes(dir.filePath("user.wav"), "user");
    test::writeBytes(dir.filePath("input.wav"), "input");
    ASSERT_TRUE(QFile::link(dir.filePath("nowhere"), dir.filePath("link.wav")));
    ASSERT_TRUE(QDir(dir.path()).mkdir("sub"));
    ASSERT_TRUE(QFile::link(dir.path(), dir.filePath("sub/alias")));  // a folder by another road
    const auto isInput = [&](const std::string& path) {
        return QFileInfo(QString::fromStdString(path)).canonicalFilePath() ==
               QFileInfo(dir.filePath("input.wav")).canonicalFilePath();
    };
    const struct {
        const char* wanted;
        bool replace;
        const char* taken;
    } cases[] = {
        {"free.wav", false, "free.wav"},
        {"user.wav", false, "user_1.wav"},
        {"user.wav", true, "user.wav"},      // the user chose to replace
        {"link.wav", false, "link_1.wav"},   // a link leading nowhere is something
        {"input.wav", true, "input_1.wav"},  // never an input
        {"sub/alias/input.wav", true, "sub/alias/input_1.wav"},
    };
    for (const auto& c : cases) {
        media::OutputNames names;
        EXPECT_EQ(names.claim(at(c.wanted), c.replace, isInput), at(c.taken)) << c.wanted;
    }
    media::OutputNames names;
    const std::string first = names.claim(at("same.wav"), false, isInput);
    EXPECT_EQ(names.claim(at("same.wav"), true, isInput), at("same_1.wav"));
    names.release(first);
    EXPECT_EQ(names.claim(at("same.wav"), false, isInput), at("same.wav"));
}

// A file that appears at the name while the task runs is kept; the output takes the next name.
TEST(OutputTarget, TheFinalNameNeverReplacesALateFile) {
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    const auto none = [](const std::string&) { return false; };
    media::OutputNames names;
    const std::string claimed = names.claim(folder + "/late.wav", false, none);
    const std::string temporary = media::temporaryPathIn(folder);
    test::writeBytes(QString::fromStdString(temporary), "output");
    test::writeBytes(dir.filePath("late.wav"), "late");
    std::string error;
    const std::string named = media::commitOutput(temporary, claimed, false, names, none, error);
    EXPECT_EQ(named, folder + "/late_1.wav") << error;
    EXPECT_EQ(test::readBytes(dir.filePath("late.wav")), QByteArray("late"));
    EXPECT_EQ(test::readBytes(dir.filePath("late_1.wav")), QByteArray("output"));

    // Replacing, when chosen, replaces.
    const std::string again = media::temporaryPathIn(folder);
    test::writeBytes(QString::fromStdString(again), "newer");
    EXPECT_EQ(media::commitOutput(again, folder + "/late.wav", true, names, none, error),
              folder + "/late.wav");
    EXPECT_EQ(test::readBytes(dir.filePath("late.wav")), QByteArray("newer"));
}

// Hidden files are short whatever the name, and those of a run that was killed are removed.
TEST(OutputTarget, TemporariesOfDeadRunsAreRemoved) {
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    const std::string mine = media::temporaryPathIn(folder);
    EXPECT_LT(mine.size() - folder.size(), 40u);
    EXPECT_TRUE(media::isTemporaryName(mine.substr(folder.size() + 1)));
    const pid_t child = fork();
    if (child == 0) {
        _exit(0);
    }
    ASSERT_GT(child, 0);
    waitpid(child, nullptr, 0);
    const QString dead = QStringLiteral(".talwyn-%1-3.part").arg(child);
    for (const QString& name : {dead, QString::fromStdString(mine.substr(folder.size() + 1)),
                                QStringLiteral("song.part"), QStringLiteral(".talwyn-x.part")}) {
        test::writeBytes(dir.filePath(name), "x");
    }
    EXPECT_EQ(media::removeStaleTemporaries(folder), 1);
    EXPECT_FALSE(QFile::exists(dir.filePath(dead)));
    EXPECT_TRUE(QFile::exists(QString::fromStdString(mine)));
    EXPECT_TRUE(QFile::exists(dir.filePath("song.part")));
}

// Separate processes claiming the same names in one folder (workers sharing a folder) never take
// the same one; a claim left by a killed process is taken over, one of a living process is not.
TEST(OutputTarget, ProcessesNeverClaimTheSameName) {
    QTemporaryDir dir;
    const std::string wanted = dir.filePath("take.wav").toStdString();
    const auto never = [](const std::string&) { return false; };
    constexpr int kWorkers = 6, kClaims = 4;
    int results[2], release[2];
    ASSERT_EQ(pipe(results), 0);
    ASSERT_EQ(pipe(release), 0);
    std::vector<pid_t> workers;
    for (int w = 0; w < kWorkers; ++w) {
        const pid_t child = fork();
        if (child == 0) {
            close(results[0]);
            close(release[1]);
            media::OutputNames names;
            std::vector<std::string> taken;
            for (int c = 0; c < kClaims; ++c) {
                taken.push_back(names.claim(wanted, false, never));
                const std::string line = taken.back() + "\n";
                if (write(results[1], line.data(), line.size()) != ssize_t(line.size())) {
                    _exit(2);
                }
            }
            char ignored;
            (void)!read(release[0], &ignored, 1);  // held until every worker has claimed
            for (const std::string& name : taken) {
                names.release(name);
            }
            _exit(0);
        }
        ASSERT_GT(child, 0);
        workers.push_back(child);
    }
    close(results[1]);
    close(release[0]);
    std::string text;
    char buffer[4096];
    for (int lines = 0; lines < kWorkers * kClaims;) {
        const ssize_t got = read(results[0], buffer, sizeof buffer);
        ASSERT_GT(got, 0);
        text.append(buffer, size_t(got));
        lines = int(std::count(text.begin(), text.end(), '\n'));
    }
    close(release[1]);
    for (const pid_t child : workers) {
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    close(results[0]);
    QStringList names = QString::fromStdString(text).split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(names.size(), kWorkers * kClaims);
    names.removeDuplicates();
    EXPECT_EQ(names.size(), kWorkers * kClaims) << text;
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());

    // A claim whose owner was killed is taken over; a living owner's is respected.
    const std::string orphan = dir.filePath("orphan.wav").toStdString();
    const pid_t killed = fork();
    if (killed == 0) {
        media::OutputNames names;
        names.claim(orphan, false, never);
        _exit(0);  // no destructor: the claim file stays, as after SIGKILL
    }
    waitpid(killed, nullptr, 0);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    media::OutputNames mine;
    EXPECT_EQ(mine.claim(orphan, false, never), orphan);
    media::OutputNames other;
    EXPECT_EQ(other.claim(orphan, false, never), dir.filePath("orphan_1.wav").toStdString());
}
