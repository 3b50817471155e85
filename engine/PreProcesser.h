// CPreProcesser: the preprocessor engine. Converts one item at a time:
// reads the source into the working line list, backs up the old
// destination, runs the line pass (directives, conditional blocks,
// inclusion, word expansion) and replaces the destination with the lines
// and CR LF. One object serves one conversion run: a destination is backed
// up at most once in its life, so the backup keeps what was there before.
#pragma once

#include <cstddef>

#include "Array.h"
#include "File.h"
#include "LineVector.h"
#include "MacroTable.h"
#include "PendingLines.h"
#include "ReplacingFile.h"
#include "String.h"
#include "TextBuffer.h"

enum class Directive;

class CPreProcesser {
 public:
  // Values of the line pass's state field.
  enum State {
    kCode = 0,
    kString = 1,
    kBlockComment = 2,
    kLineComment = 3,
    kSkipping = 4,
    kActiveBranch = 5,
  };

  // Inclusions nested deeper than this stop the item.
  static constexpr int kMaxIncludeDepth = 64;

  CPreProcesser() = default;
  CPreProcesser(const CPreProcesser&) = delete;
  CPreProcesser& operator=(const CPreProcesser&) = delete;
  virtual ~CPreProcesser() = default;

  // Converts one item. Paths are absolute or relative to the current
  // directory; the source's directory becomes the current directory before
  // the destination is looked at, and stays current afterwards.
  // directiveMode: 0 removes directive lines and replaces a defined word by
  // its value; 1 keeps directive lines behind "//" and writes "/*word*/"
  // before the value; any other value as 1 but with the comment after it.
  // Returns non-zero when the destination was written; GetMessages() holds
  // the item's warnings and errors either way.
  int ConvertFile(const Core::CString& source, const Core::CString& destination, int directiveMode);

  // Runs the line pass over text in memory, read by the rules for a source
  // file; no file is backed up or written. #include names are looked up
  // relative to the current directory. Same result as ConvertFile's pass.
  int ConvertText(const char* bytes, std::size_t size, int directiveMode);

  // The current item's messages, each ending with CR LF.
  const Core::CString& GetMessages() const { return m_strMessages; }
  // The working line list: the converted lines after a complete pass.
  const Core::CArray<Core::CString>& GetLines() const { return m_aLines; }

 private:
  // One item
  void BeginItem(int directiveMode);
  int ConvertItem(const Core::CString& source, const Core::CString& destination);
  void EnterSourceDirectory(const Core::CString& source);
  bool IsSourceFile(const Core::CString& path) const;
  bool IsReplaceable(const Core::CString& destination) const;
  bool WrittenThisRun(const Core::CString& destination) const;
  bool BackUpDestination(const Core::CString& destination);
  void DropDestination(const Core::CString& destination);
  int WriteDestination(const Core::CString& destination);
  bool WriteLines(Core::CReplacingFile& file);

  // The line pass
  int ProcessLines();
  bool ProcessLine(Core::CString& line);
  bool Dispatch(Core::CString& line);
  bool RunHandler(Directive directive, const Core::CString& line, int lineNumber);
  void SkipLine(Core::CString& line);
  void Dispose(const Core::CString& line);
  void ScanAndEmit(Core::CString& line);
  void Emit(Core::CString& line);
  void EmitCommented(const Core::CString& line, const char* suffix);
  void KeepUnprocessed(Core::CString& line);
  void PublishLines();
  int NextLineNumber() const { return m_output.GetSize() + 1; }

  // The scanner and word expansion
  struct ScanOutput;
  bool ScanLine(const char* text, std::size_t length);
  void FlushWord(ScanOutput& scan, std::size_t start, std::size_t end);
  void ExpandWord(const CDictionary& entry, const char* word, std::size_t length,
                  CTextBuffer& out) const;

  // Directive handlers: true to go on, false to stop the item.
  bool OnDefine(const Core::CString& line, int lineNumber);
  bool OnUndef(const Core::CString& line, int lineNumber);
  bool OnIfdef(const Core::CString& line, int lineNumber);
  bool OnIfndef(const Core::CString& line, int lineNumber);
  bool OnCondition(const Core::CString& line, int lineNumber, Directive directive);
  bool OnElse(const Core::CString& line, int lineNumber);
  bool OnEndif(const Core::CString& line, int lineNumber);
  bool OnInclude(const Core::CString& line, int lineNumber);
  bool FindIncludeFile(const Core::CString& name, Core::CString* path) const;
  bool SpliceFile(Core::CFile& file, const Core::CString& line, int lineNumber);
  void CheckExtraText(const Core::CString& line, int lineNumber, int token);

  // Messages
  void AddLineMessage(const char* pattern, int lineNumber, const Core::CString& line,
                      const char* text1 = nullptr, const char* text2 = nullptr);
  void AddItemMessage(const char* pattern, const Core::CString& path);
  void PublishMessages();

  Core::CString m_strMessages;
  Core::CString m_strSourceDir;
  Core::CArray<Core::CString> m_aLines;
  CMacroTable m_dictionary;
  int m_nState = kCode;
  int m_nSavedState = -1;
  int m_nDirectiveMode = 1;

  // Working storage of the current item.
  Core::CString m_strSource;
  Core::FileId m_sourceId;
  bool m_bSourceHasId = false;
  CTextBuffer m_messages;
  CPendingLines m_pending;
  CLineVector m_output;
  CTextBuffer m_scanOut;
  CTextBuffer m_word;
  bool m_bOutOfMemory = false;
  // The destinations this run has written.
  Core::CArray<Core::FileId> m_aWritten;
};
