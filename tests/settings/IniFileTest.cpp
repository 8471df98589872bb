#include "settings/IniFile.h"
#include "support/FileBytes.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using talwyn::settings::IniFile;
using talwyn::test::readBytes;
using talwyn::test::writeBytes;

namespace {}  // namespace

TEST(IniFile, ReadsLikeTheWindowsProfileFunctions) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("option.ini"));
    writeBytes(path,
               "\xEF\xBB\xBF[Options]\r\n"
               "Thread_Count = 3 \r\n"
               "; After_Done=2\r\n"
               "after_done=1\r\n"
               "After_Done=2\r\n"
               "Quoted=\"  x \"\r\n"
               "Empty=\r\n"
               "Sentinel=Error\r\n"
               "[outpath]\r\n"
               "OutPath=/home/用户/Talwyn视频软件/输出\r\n");
    const IniFile ini(path);
    const struct {
        const char* section;
        const char* key;
        const char* expected;  // nullptr: missing
    } cases[] = {
        {"Options", "Thread_Count", "3"},  // blanks around keys and values go
        {"OPTIONS", "After_Done", "1"},    // names match without case; first line wins
        {"Options", "Quoted", "  x "},     // one pair of quotes is taken off
        {"Options", "Empty", nullptr},     // empty counts as missing
        {"Options", "Sentinel", nullptr},  // so does the sentinel itself
        {"Options", "Absent", nullptr},    //
        {"OutPath", "OutPath", "/home/用户/Talwyn视频软件/输出"},  // UTF-8
        {"Skin", "SetSkin", nullptr},
    };
    for (const auto& c : cases) {
        const auto value = ini.value(QString::fromUtf8(c.section), QString::fromUtf8(c.key));
        if (c.expected) {
            ASSERT_TRUE(value.has_value()) << c.key;
            EXPECT_EQ(*value, QString::fromUtf8(c.expected)) << c.key;
        } else {
            EXPECT_FALSE(value.has_value()) << c.key;
        }
    }
    EXPECT_EQ(ini.read(QStringLiteral("Options"), QStringLiteral("Empty"), QStringLiteral("Error")),
              QString());
    EXPECT_EQ(ini.read(QStringLiteral("Nope"), QStringLiteral("x"), QStringLiteral("Error")),
              QStringLiteral("Error"));
}

TEST(IniFile, WritesKeepEverythingElse) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("option.ini"));
    const QByteArray original =
        "; kept comment\n"
        "[Other]\n"
        "Name=值\n"
        "\n"
        "[Options]\n"
        "Thread_Count=4\n"
        "Show_Preview=1\n"
        "\n"
        "[Tail]\n"
        "A=1\n";
    writeBytes(path, original);
    IniFile ini(path);
    EXPECT_TRUE(
        ini.write(QStringLiteral("Options"), QStringLiteral("thread_count"), QStringLiteral("0")));
    EXPECT_TRUE(
        ini.write(QStringLiteral("Options"), QStringLiteral("After_Done"), QStringLiteral("2")));
    EXPECT_TRUE(ini.write(QStringLiteral("Skin"), QStringLiteral("SetSkin"), QStringLiteral("5")));
    EXPECT_EQ(readBytes(path), QByteArray("; kept comment\n"
                                          "[Other]\n"
                                          "Name=值\n"
                                          "\n"
                                          "[Options]\n"
                                          "thread_count=0\n"
                                          "Show_Preview=1\n"
                                          "After_Done=2\n"
                                          "\n"
                                          "[Tail]\n"
                                          "A=1\n"
                                          "[Skin]\n"
                                          "SetSkin=5\n"));
}

TEST(IniFile, KeepsWindowsLineEndsAndUnreadableBytes) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("option.ini"));
    const QByteArray garbage("\x00\xff\xfe\x81garbage\x01\r\n", 14);
    writeBytes(path, garbage + "[Options]\r\nA=1\r\n");
    IniFile ini(path);
    EXPECT_TRUE(ini.write(QStringLiteral("Options"), QStringLiteral("B"), QStringLiteral("2")));
    EXPECT_EQ(readBytes(path), garbage + "[Options]\r\nA=1\r\nB=2\r\n");
}

TEST(IniFile, CreatesTheFileAndItsFolder) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a/b/option.ini"));
    IniFile ini(path);
    EXPECT_FALSE(ini.exists());
    EXPECT_TRUE(
        ini.write(QStringLiteral("OutPath"), QStringLiteral("OutPath"), QStringLiteral("/x")));
    EXPECT_TRUE(ini.exists());
    EXPECT_EQ(readBytes(path), QByteArray("[OutPath]\nOutPath=/x\n"));
}

// The file is read once, however large, and again only when it changes on disk.
TEST(IniFile, ReadOnceAndAgainWhenChanged) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("option.ini"));
    QByteArray big = "[Options]\nThread_Count=3\n";
    for (int i = 0; i < 200000; ++i) {
        big += "Filler" + QByteArray::number(i) + "=some text that nobody reads\n";
    }
    big += "[Skin]\nSetSkin=4\n";
    writeBytes(path, big);
    IniFile ini(path);
    for (int i = 0; i < 1000; ++i) {  // each read would parse 10 MB again if nothing were kept
        ASSERT_EQ(ini.value(QStringLiteral("Skin"), QStringLiteral("SetSkin")),
                  QStringLiteral("4"));
    }
    writeBytes(path, "[Skin]\nSetSkin=7\n");  // changed by someone else, size and all
    EXPECT_EQ(ini.value(QStringLiteral("Skin"), QStringLiteral("SetSkin")), QStringLiteral("7"));
    EXPECT_FALSE(ini.value(QStringLiteral("Options"), QStringLiteral("Thread_Count")));
    EXPECT_TRUE(
        ini.write(QStringLiteral("Options"), QStringLiteral("Thread_Count"), QStringLiteral("2")));
    EXPECT_EQ(readBytes(path), QByteArray("[Skin]\nSetSkin=7\n[Options]\nThread_Count=2\n"));
    EXPECT_EQ(ini.value(QStringLiteral("options"), QStringLiteral("thread_count")),
              QStringLiteral("2"));
}

TEST(IniFile, UnwritableFileKeepsValuesInMemoryAndLogsOnce) {
    QTemporaryDir dir;
    // A plain file where the folder should be: no one, not even root, can write below it.
    writeBytes(dir.filePath(QStringLiteral("blocked")), "not a folder");
    const QString path = dir.filePath(QStringLiteral("blocked/option.ini"));
    QStringList log, reported;
    IniFile ini(path, [&](const QString& line) { log << line; });
    ini.setFailureReporter([&](const QString& reason) { reported << reason; });
    EXPECT_FALSE(ini.write(QStringLiteral("Options"), QStringLiteral("A"), QStringLiteral("1")));
    EXPECT_FALSE(ini.write(QStringLiteral("Options"), QStringLiteral("B"), QStringLiteral("2")));
    EXPECT_FALSE(ini.exists());
    EXPECT_EQ(ini.value(QStringLiteral("options"), QStringLiteral("a")), QStringLiteral("1"));
    EXPECT_EQ(ini.value(QStringLiteral("Options"), QStringLiteral("B")), QStringLiteral("2"));
    EXPECT_EQ(log.size(), 1);
    EXPECT_EQ(reported.size(), 1);

    // Once the folder can be made, the values kept in memory are written with the next one.
    QFile::remove(dir.filePath(QStringLiteral("blocked")));
    EXPECT_TRUE(ini.write(QStringLiteral("Skin"), QStringLiteral("SetSkin"), QStringLiteral("0")));
    EXPECT_EQ(IniFile(path).value(QStringLiteral("Options"), QStringLiteral("B")),
              QStringLiteral("2"));
}
