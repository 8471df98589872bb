#pragma once

#include <array>

class QObject;

// The main window's named commands: each is a parameterless public slot of the window, carried by
// the caption of the hidden button it once had. Other code triggers them by name.

namespace talwyn::app {

struct Command {
    const char* name;
    const char* caption;  // UTF-8
};

inline constexpr std::array<Command, 27> kMainCommands{{
    {"InitValues", "初始化数值"},
    {"ReadMainSettings", "读ini文件"},
    {"WriteMainSettings", "写ini文件"},
    {"PrepareOpenDialog", "OpenDialog1"},
    {"ReadSkinSettings", "读入皮肤ini"},
    {"WriteSkinSettings", "写入皮肤ini"},
    {"FillProfileList", "添加combox"},
    {"ResetProfileSettings", "初始化数据"},
    {"ApplyProfileSettings", "根据combox添加数据"},
    {"FillPresetLists", "根据combox添加预设选项"},
    {"ConfirmPresetChoices", "确认预置选项数据"},
    {"btnAddClick", "Open添加一个文件"},
    {"AddSeveralFiles", "打开多个文件"},
    {"AddDirectory", "添加整个目录"},
    {"btnRemoveClick", "Remove"},
    {"btnClearClick", "Clear"},
    {"BuildConversionTasks", "新添加"},
    {"btnStartClick", "Start"},
    {"btnStopClick", "Stop"},
    {"btnPauseClick", "Pause"},
    {"btnResumeClick", "Resume"},
    {"DisableControlsForWork", "工作中设置为不能"},
    {"EnableControlsAfterWork", "工作完成设置为能"},
    {"OpenOutputFolder", "转换后打开文件夹"},
    {"ShutDownComputer", "关机"},
    {"PlayPromptSound", " 播放提示音"},
    {"OpenPreview", "打开播放视频"},
}};

// Runs the named command on the window; false when the name is not in the table or the window
// has no such slot.
bool runCommand(QObject* window, const char* name);

}  // namespace talwyn::app
