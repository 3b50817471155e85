// The project file's messages, as the log pane shows them.
#pragma once

inline constexpr const char* kMissingNameMessage = "ERROR  : ファイル名を指定してください.\r\n";
inline constexpr const char* kLoadOpenFailedMessage =
    "ERROR  : '%s' のOPENに失敗しました.\r\n          処理を中断します.\r\n";
inline constexpr const char* kLoadReadFailedMessage =
    "ERROR  : '%s' の読み込みに失敗しました.\r\n          処理を中断します.\r\n";
inline constexpr const char* kFormatErrorMessage =
    "ERROR  : ファイルの形式が不正です.\r\n          処理を中断します.\r\n";
// The save texts indent their second line by nine spaces, not ten.
inline constexpr const char* kSaveOpenFailedMessage =
    "ERROR  : '%s' のOPENに失敗しました.\r\n         処理を中断します.\r\n";
inline constexpr const char* kSaveWriteFailedMessage =
    "ERROR  : '%s' の書き込みに失敗しました.\r\n         処理を中断します.\r\n";
inline constexpr const char* kOutOfMemoryMessage =
    "ERROR  : メモリが不足しました.\r\n          処理を中断します.\r\n";
