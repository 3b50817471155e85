// CPreProcesser: the preprocessor engine. Converts one item at a time:
// reads the source a piece at a time as its lines are needed, backs up the old destination,
// runs the line pass (directives, conditional blocks, inclusion, word
// expansion) into a new file beside the destination, written a piece at a
// time as the pass goes, and replaces the destination with it in one step.
// One object serves one conversion run: a destination is backed up at most
// once in its life, so the backup keeps what was there before the run. No
// allocation failure escapes: each ends the item with the out-of-memory
// message.
#pragma once

#include <cstddef>
#include <cstdint>

#include "foundation/File.h"
#include "foundation/FileSystem.h"
#include "engine/ByteClasses.h"
#include "engine/DestinationMatch.h"
#include "foundation/Array.h"
#include "engine/LineBlock.h"
#include "engine/MacroTable.h"
#include "foundation/Memory.h"
#include "engine/PendingLines.h"
#include "foundation/ReplacingFile.h"
#include "foundation/SourceEncoding.h"
#include "foundation/String.h"
#include "engine/TextBuffer.h"

enum class Directive;
struct TextSpan;

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
  static constexpr int kMaxIncludeDepth = CPendingLines::kMaxFrames;
  // The inclusions of one item may bring in this many bytes in all, each
  // counted with kInclusionCost for its lookup and open, so that a few
  // small headers that include each other many times cannot make an item
  // run without end: at most 16,384 inclusions of small files.
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
  // Fuzz inputs chain one item's destination into the next item's
  // inclusions, each pass multiplying its size: a lower bound keeps every
  // run small enough to be worth fuzzing.
  static constexpr std::uint64_t kMaxIncludedBytes = 16 * 1024 * 1024;
#else
  static constexpr std::uint64_t kMaxIncludedBytes = Core::kMaxBlockSize;
#endif
  static constexpr std::uint64_t kInclusionCost = 64 * 1024;
  // Sets that bound (kMaxIncludedBytes unless changed), so that a test can
  // reach it with a few inclusions.
  void SetMaxIncludedBytes(std::uint64_t bytes) { m_nMaxIncludedBytes = bytes; }

  // Keeps room for the messages, so that the lack of memory can be reported.
  CPreProcesser();
  CPreProcesser(const CPreProcesser&) = delete;
  CPreProcesser& operator=(const CPreProcesser&) = delete;
  virtual ~CPreProcesser() = default;

  // The encoding of sources and included files that do not begin with the
  // UTF-8 byte order mark (kSourceCp932 unless set; any other value than
  // kSourceUtf8 means kSourceCp932). A file with the mark is read as UTF-8,
  // and a source's destination keeps the mark. Messages quote the lines of
  // UTF-8 files in code page 932.
  void SetSourceCodePage(int codePage) { m_nSourceCodePage = codePage; }

  // Converts one item. Paths are absolute or relative to the current
  // directory; the source's directory becomes the current directory before
  // the destination is looked at, and stays current afterwards.
  // directiveMode: 0 removes directive lines and replaces a defined word by
  // its value; 1 keeps directive lines behind "//" and writes "/*word*/"
  // before the value; any other value as 1 but with the comment after it.
  // Returns non-zero when the destination was written; GetMessages() holds
  // the item's warnings and errors either way.
  int ConvertFile(const Core::CString& source, const Core::CString& destination, int directiveMode);

  // What UpdateFile did with the destination.
  enum class UpdateResult { kFailed, kWritten, kUnchanged };
  // Converts one item as ConvertFile does (the same steps, messages and
  // failures), but a destination that already holds the output byte for
  // byte is left as it is: nothing is created, backed up or replaced.
  UpdateResult UpdateFile(const Core::CString& source, const Core::CString& destination,
                          int directiveMode);

  // Every file the current item opened for reading, or tried to: the
  // source first, then each included file once in the order it was first
  // looked for (one that was not found or did not open too, named where it
  // was looked for first). Absolute: a relative name is taken against the
  // source's folder.
  const Core::CArray<Core::CString>& GetInputs() const { return m_aInputs; }
  // When set, each input is looked at as it is first looked for, before
  // it is read: GetInputLooks()[i] is how GetInputs()[i] stood then (for
  // a watch, which must not take a change made during the read for the
  // text it converted). Off by default: it costs a look per file.
  void SetLookAtInputs(bool look) { m_bLookAtInputs = look; }
  const Core::CArray<Core::FileLook>& GetInputLooks() const { return m_aInputLooks; }

  // Runs the line pass over text in memory, read by the rules for a source
  // file; no file is backed up or written. #include names are looked up
  // relative to the current directory. Same result as ConvertFile's pass.
  int ConvertText(const char* bytes, std::size_t size, int directiveMode);

  // The current item's messages, each ending with CR LF.
  const Core::CString& GetMessages() const { return m_strMessages; }
  // The converted text of ConvertText, each line ended by CR LF (after the
  // byte order mark of a source that has one), after a complete pass;
  // after a stopped one the lines processed, the line that stopped it and
  // the lines never reached. (ConvertFile hands it over to the
  // destination.)
  const CTextBuffer& GetOutput() const { return m_output; }

  // What CheckFile found.
  enum class CheckResult {
    kUpToDate,    // the destination holds exactly the converted text
    kStale,       // the destination differs from it
    kMissing,     // there is no destination
    kNotAFile,    // the destination is a directory, FIFO, device ...
    kUnreadable,  // the destination is a file that cannot be read
    kFailed,      // the item stopped; GetMessages() says why
  };
  // Runs one item exactly as ConvertFile does (the same current directory,
  // line pass and messages) but writes nothing: the converted text stays
  // in GetOutput() and is compared with the destination's bytes.
  CheckResult CheckFile(const Core::CString& source, const Core::CString& destination,
                        int directiveMode);

 private:
  // One item
  void BeginItem(int directiveMode);
  UpdateResult RunItem(const Core::CString& source, const Core::CString& destination,
                       int directiveMode, bool onlyChanged);
  int ConvertItem(const Core::CString& source, const Core::CString& destination);
  bool CheckReplaceable(const Core::CString& source, const Core::CString& destination);
  int ConvertOpened(Core::CFile& file, const Core::CString& destination);
  UpdateResult UpdateItem(const Core::CString& source, const Core::CString& destination);
  void EndMatch();
  void Diverge(CDestinationMatch::Match match);
  void DropFailedDestination(const Core::CString& destination);
  bool RecordSource(const Core::CString& source);
  bool RecordInput(const Core::CString& name);
  bool AddInput(Core::CString& path);
  bool OpenSource(const Core::CString& source, const Core::CString& destination, Core::CFile& file);
  void ReadSource(Core::CFile& file);
  void EndSource(Core::CFile& file);
  bool PrepareSourceDirectory(const Core::CString& source);
  void EnterSourceDirectory();
  bool IsSourceFile(const Core::CString& path, bool* same) const;
  bool IsReplaceable(const Core::CString& destination) const;
  bool WrittenThisRun(const Core::CString& destination, bool* written) const;
  bool BackUpDestination(const Core::CString& destination);
  void DropDestination(const Core::CString& destination);
  void OpenDestination(const Core::CString& destination, Core::CReplacingFile& file);
  int WriteDestination(const Core::CString& destination, Core::CReplacingFile& file);
  void FlushOutput();
  CheckResult CheckItem(const Core::CString& source, const Core::CString& destination);
  CheckResult CompareDestination(const Core::CString& destination);

  // The line pass
  void StartSource(const Core::FileId* id);
  bool SetEncoding(CLineBlock& lines) const;
  int ProcessLines();
  bool ProcessLine(const char* line, std::size_t length);
  bool Dispatch(const char* line, std::size_t length);
  bool RunHandler(Directive directive, const char* line, int lineNumber);
  void SkipLine(const char* line, std::size_t length);
  void Dispose(const char* line, std::size_t length);
  void Emit(const char* line, std::size_t length);
  void EmitCommented(const char* line, std::size_t length, const char* suffix);
  void KeepUnprocessed(const char* line, std::size_t length);
  int NextLineNumber() const { return m_nOutputLines + 1; }

  // The scanner and word expansion: the scanned line goes to the output.
  void ScanAndEmit(const char* line, std::size_t length);
  std::size_t ScanCode(const char* line, std::size_t length, std::size_t j, std::size_t* copied);
  std::size_t ScanPlainCode(const char* line, std::size_t length, std::size_t j,
                            std::size_t* copied);
  std::size_t ScanString(const char* line, std::size_t length, std::size_t j);
  std::size_t ScanBlockComment(const char* line, std::size_t length, std::size_t j);
  std::size_t NextCandidate(const char* line, std::size_t length, std::size_t j, char stop,
                            bool* prevDouble) const;
  std::size_t ScanLineComment(const char* line, std::size_t length, std::size_t j);
  void NoteWord(const char* line, std::size_t start, std::size_t end, std::size_t* copied);
  void NoteLastWord(const char* line, std::size_t length, std::size_t start, std::size_t end,
                    std::size_t* copied);
  void ExpandNotedWords(const char* line, std::size_t* copied);
  void ExpandWord(const CMacroTable::Value& value, const char* word, std::size_t length,
                  CTextBuffer& out) const;

  // Directive handlers: true to go on, false to stop the item.
  bool OnDefine(const char* line, int lineNumber);
  void PrefetchDefinitionsAhead();
  bool OnUndef(const char* line, int lineNumber);
  bool OnIfdef(const char* line, int lineNumber);
  bool OnIfndef(const char* line, int lineNumber);
  bool OnCondition(const char* line, int lineNumber, Directive directive);
  bool OnElse(const char* line, int lineNumber);
  bool OnEndif(const char* line, int lineNumber);
  bool OnInclude(const char* line, std::size_t length, int lineNumber);
  bool IncludePathName(const TextSpan& span, Core::CString* name);
  bool OpenIncludeFile(const Core::CString& name, Core::CFile& file, Core::CString* path);
  bool SpliceFile(Core::CFile& file, const char* line, std::size_t length, int lineNumber);
  void CheckExtraText(const char* line, int lineNumber, int token);

  // True once an allocation failed in this item: every step that finds
  // it so ends the item with the out-of-memory message.
  bool OutOfMemory() const { return m_memory.Failed(); }

  // Messages
  void AddLineMessage(const char* pattern, int lineNumber, const char* line,
                      const char* text1 = nullptr, const char* text2 = nullptr);
  const char* LogText(const char* text, CTextBuffer& converted);
  void AddItemMessage(const char* pattern, const Core::CString& path);
  void AddOutOfMemoryMessage(const Core::CString& path);
  bool ReserveMessages();
  void PublishMessages();

  Core::CString m_strMessages;
  Core::CString m_strSourceDir;
  CLineBlock m_aLines;  // the source's lines
  CMacroTable m_dictionary;
  int m_nState = kCode;
  int m_nSavedState = -1;
  int m_nDirectiveMode = 1;
  int m_nSourceCodePage = kSourceCp932;
  // The byte classes of the file the current line comes from.
  const CByteClasses* m_pByteClasses = &kCp932ByteClasses;
  bool m_bSourceMarked = false;  // the source began with the byte order mark

  // Working storage of the current item; the blocks are kept for the next.
  Core::CString m_strSource;
  Core::FileId m_sourceId;
  bool m_bSourceHasId = false;
  CTextBuffer m_messages;
  CPendingLines m_pending;
  CTextBuffer m_output;
  // Where the output goes as it is made (ConvertFile), or null: it is then
  // kept whole in m_output.
  Core::CReplacingFile* m_pOutputFile = nullptr;
  // The destination the output is compared with as it is made (UpdateFile),
  // until the first difference; null when it is not (any more).
  CDestinationMatch* m_pMatch = nullptr;
  // The new file UpdateFile writes once the output differs.
  Core::CReplacingFile* m_pUpdateFile = nullptr;
  // Where that went wrong, or kDivergeNone: the item fails after its pass.
  // (A destination that could not be read could not be backed up either.)
  enum Diverged { kDivergeNone, kDivergeCreateFailed, kDivergeReadFailed };
  Diverged m_nDivergeFailure = kDivergeNone;
  // The output is flushed a piece at a time (to m_pOutputFile or m_pMatch,
  // or dropped after a failed change over to writing).
  bool m_bOutputInPieces = false;
  int m_nOutputLines = 0;
  CTextBuffer m_scratch;
  // Words of the current line that may be defined, looked up together.
  struct NotedWord {
    std::size_t start;
    std::size_t end;
    std::uint32_t hash;
  };
  static constexpr int kNotedWords = 32;
  NotedWord m_aNoted[kNotedWords];
  int m_nNoted = 0;
  CTextBuffer m_logLine;  // a quoted line converted for the log
  CTextBuffer m_logText;
  std::uint64_t m_nIncludedBytes = 0;
  std::uint64_t m_nMaxIncludedBytes = kMaxIncludedBytes;
  // Watches the item: any allocation that fails ends it, out of memory.
  Core::CAllocationWatch m_memory;
  // A read of the source or of an included file failed: the item stops,
  // and its old destination stays where it is.
  bool m_bReadFailed = false;
  // GetInputs(), and the source's absolute folder the included names are
  // taken against.
  Core::CArray<Core::CString> m_aInputs;
  Core::CArray<Core::FileLook> m_aInputLooks;  // empty unless m_bLookAtInputs
  bool m_bLookAtInputs = false;
  CNameIndex m_inputIndex;  // each input's hash -> its place in m_aInputs, plus one
  Core::CString m_strInputDir;
  // The destinations this run has written.
  Core::CArray<Core::FileId> m_aWritten;
};
