// The texts the engine writes to the log, and their formatting.
#pragma once

#include <cstddef>
#include <initializer_list>

#include "foundation/String.h"
#include "engine/TextBuffer.h"

namespace EngineText {

// Item-level errors: the argument is a path as the engine used it.
inline constexpr char kSourceOpenFailed[] = "ERROR   : '%s' のOPENに失敗しました.\r\n";
inline constexpr char kCreateFailed[] = "ERROR   : '%s' が作成できませんでした.\r\n";
inline constexpr char kSameFile[] =
    "ERROR   : '%s' は変換元と同じファイルのため作成できません.\r\n";
inline constexpr char kBackupFailed[] = "ERROR   : '%s' のバックアップが作成できませんでした.\r\n";
inline constexpr char kWriteFailed[] = "ERROR   : '%s' への書き込みに失敗しました.\r\n";
inline constexpr char kSourceReadFailed[] = "ERROR   : '%s' の読み込みに失敗しました.\r\n";
inline constexpr char kOutOfMemory[] = "ERROR   : '%s' の変換中にメモリが不足しました.\r\n";

// Line messages: the line number, the whole line, then the further texts.
inline constexpr char kMissingName[] =
    "WARNNING : Line %d:%s\r\n           %s "
    "の後にキーワードを指定してください.この行は無視されます.\r\n";
inline constexpr char kExtraText[] =
    "WARNNING : Line %d:%s\r\n           余分な文字があります.\r\n";
inline constexpr char kNotDefined[] =
    "WARNNING : Line %d:%s\r\n           %s 定義されていません.この行は無視されます.\r\n";
inline constexpr char kIdentifierExpected[] =
    "ERROR    : Line %d:%s\r\n           %s の後に識別子が必要です.\r\n";
inline constexpr char kUnmatched[] =
    "ERROR    : Line %d:%s\r\n           対応した%s or %sがありません.\r\n";
inline constexpr char kIncludeSyntax[] =
    "ERROR    : Line %d:%s\r\n           %s の後は\"\"で囲んでファイルを指定してください.\r\n";
inline constexpr char kIncludeNotFound[] =
    "ERROR    : Line %d:%s\r\n           %s ファイルがが見つかりません.\r\n";
inline constexpr char kIncludeOpenFailed[] =
    "ERROR    : Line %d:%s\r\n           '%s' のOPENに失敗しました.\r\n";
inline constexpr char kIncludeReadFailed[] =
    "ERROR    : Line %d:%s\r\n           '%s' の読み込みに失敗しました.\r\n";
inline constexpr char kIncludeCycle[] =
    "ERROR    : Line %d:%s\r\n           '%s' のインクルードが循環しています.\r\n";
inline constexpr char kIncludeTooDeep[] =
    "ERROR    : Line %d:%s\r\n           インクルードのネストが深すぎます.\r\n";
inline constexpr char kIncludeTooMuch[] =
    "ERROR    : Line %d:%s\r\n           インクルードするファイルの合計が大きすぎます.\r\n";

// The conversion run.
inline constexpr char kRunStart[] = "変換処理中...\r\n";
inline constexpr char kPathLine[] = "%s  →  %s\r\n";
inline constexpr char kCompleted[] = "    変換が完了しました.\r\n";
// In place of kCompleted when the destination already held the output.
inline constexpr char kUnchanged[] = "    変更はありません.\r\n";
inline constexpr char kAborted[] = "    変換を中止しました.\r\n";
inline constexpr char kRunEnd[] = "\r\n";

// Messages are limited to the 1023 bytes of the log's formatting.
inline constexpr std::size_t kMessageLimit = 1023;

// Expands %d (the number) and each %s (the texts in order) of a pattern and
// appends the result. Up to kMessageLimit bytes the result is what Format
// gives; a longer one keeps the pattern's own words and its line break, and
// the texts are shortened (at character boundaries) to make it fit.
// Without memory for all of it, nothing is appended.
void AppendFormatted(CTextBuffer& out, const char* pattern, int number,
                     std::initializer_list<const char*> texts);
Core::CString Formatted(const char* pattern, int number, std::initializer_list<const char*> texts);

}  // namespace EngineText
