#pragma once

namespace quendra {

// Window and command ids, kept as the program has always had them: the settings key the terminals
// use is named after their window id, and tests and scripts find windows and actions by them.
enum WindowId : int {
    kTelnetTerminalId = 59649,
    kPacketTerminalId = 59650,
};

enum CommandId : int {
    kCmdConnect = 32772,
    kCmdDisconnect = 32773,
    kCmdExit = 32774,
    kCmdProperties = 32775,
    kCmdAbout = 57664,
    kCmdNew = 57600,
    kCmdUndo = 57643,
    kCmdCut = 57635,
    kCmdCopy = 57634,
    kCmdPaste = 57637,
};

enum TabIndex : int { kTabTelnet = 0, kTabPacket = 1, kTabCluster = 2 };

}  // namespace quendra
