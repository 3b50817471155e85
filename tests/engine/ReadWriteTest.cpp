// Reading a source into lines, the backup of the old destination, and
// writing the result; including the faults an item must survive.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/engine/EngineTestSupport.h"
#include "engine/PreProcesser.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#endif

using EngineTest::CrLf;
using EngineTest::Lf;

namespace {

namespace fs = std::filesystem;

class ReadWriteTest : public EngineTest::Fixture {};

struct ReadCase {
  const char* name;
  std::string source;
  std::string output;
};

// Enough lines that the output reaches the destination in several pieces.
std::string ManyLines(const char* lineEnd) {
  std::string text;
  for (int i = 0; i < 30000; ++i) text += "line" + std::to_string(i) + lineEnd;
  return text;
}

}  // namespace

TEST_F(ReadWriteTest, SourceBytesFormLines) {
  const std::string block(1023, 'x');
  const std::string piece(256 * 1024, 'x');
  const ReadCase cases[] = {
      {"an empty file gives an empty destination", "", ""},
      {"a missing final LF is supplied", "a\nb", "a\r\nb\r\n"},
      {"CR is dropped before LF", "a\r\r\nb\r\n", "a\r\nb\r\n"},
      {"a CR alone does not end a line", "a\rb", "ab\r\n"},
      {"a trailing CR leaves an empty last line", "abc\n\r", "abc\r\n\r\n"},
      {"empty lines are kept", "\n\n", "\r\n\r\n"},
      {"NUL disappears and the line goes on", std::string("a\0b\nc", 5), "ab\r\nc\r\n"},
      {"a trailing NUL leaves an empty last line", std::string("a\n\0", 3), "a\r\n\r\n"},
      {"1024 bytes without LF keep the last line", block + "y", block + "y\r\n"},
      {"LF right after the first 1024 bytes", block + "y\nz", block + "y\r\nz\r\n"},
      {"CR LF across the 1024th byte", block + "\r\nz", block + "\r\nz\r\n"},
      {"a double-byte character across the 1024th byte", block + "\x82\xa0\n",
       block + "\x82\xa0\r\n"},
      {"a lead byte at the end of the file takes a space", "a\n\x82", "a\r\n\x82 \r\n"},
      {"a byte order mark stays in front and makes it UTF-8",
       "\xef\xbb\xbf"
       "a\n\xe3\x81\x82",
       "\xef\xbb\xbf"
       "a\r\n\xe3\x81\x82\r\n"},
      {"a mark alone is an empty line", "\xef\xbb\xbf", "\xef\xbb\xbf\r\n"},
      {"a mark after the start is text", "a\n\xef\xbb\xbf", "a\r\n\xef\xbb\xbf\r\n"},
      {"lines written in several pieces keep their order", ManyLines("\n"), ManyLines("\r\n")},
      // A source is read 256 KiB at a time.
      {"CR LF across the first piece's end", piece.substr(1) + "\r\nz",
       piece.substr(1) + "\r\nz\r\n"},
      {"a line longer than three pieces", piece + piece + piece + "y\na",
       piece + piece + piece + "y\r\na\r\n"},
      {"a last CR after several pieces leaves an empty last line", ManyLines("\n") + "\r",
       ManyLines("\r\n") + "\r\n"},
      {"NUL at a piece's end", piece.substr(1) + std::string("\0b\n", 3),
       piece.substr(1) + "b\r\n"},
  };
  for (const ReadCase& row : cases) {
    SCOPED_TRACE(row.name);
    const EngineTest::Outcome outcome = Convert(row.source);
    EXPECT_EQ(outcome.result, 1);
    EXPECT_EQ(outcome.messages, "");
    EXPECT_EQ(outcome.output, row.output);
  }
}

TEST_F(ReadWriteTest, BinarySourcePassesThroughLineByLine) {
  std::string bytes;
  for (int c = 0; c < 256; ++c) bytes += static_cast<char>(c);
  std::string second;
  for (int c = 0x0b; c < 256; ++c) {
    if (c != '\r') second += static_cast<char>(c);
  }
  const EngineTest::Outcome outcome = Convert(bytes + bytes);
  EXPECT_EQ(outcome.result, 1);
  // NUL and CR vanish; the quote opens a string that the next copy closes.
  EXPECT_EQ(outcome.output, "\x01\x02\x03\x04\x05\x06\x07\x08\t\r\n" + second +
                                "\x01\x02\x03\x04\x05\x06\x07\x08\t\r\n" + second + "\r\n");
}

TEST_F(ReadWriteTest, ExistingDestinationIsBackedUpThenReplaced) {
  Write("out.txt", "old\n");
  Write("out.txt.bak", "older\n");
  const EngineTest::Outcome outcome = Convert(Lf({"new"}));
  EXPECT_EQ(outcome.result, 1);
  EXPECT_EQ(outcome.output, CrLf({"new"}));
  EXPECT_EQ(Read("out.txt.bak"), "old\n");
}

TEST_F(ReadWriteTest, NoDestinationLeavesNoBackup) {
  EXPECT_EQ(Convert(Lf({"new"})).result, 1);
  EXPECT_FALSE(TestSupport::FileExists(Path("out.txt.bak")));
}

TEST_F(ReadWriteTest, FailedPassLeavesOldDestinationOnlyInBackup) {
  // The second stops after pieces of its output were written.
  for (const std::string& source : {Lf({"#endif"}), ManyLines("\n") + "#endif\n"}) {
    Write("out.txt", "old\n");
    const EngineTest::Outcome outcome = Convert(source);
    EXPECT_EQ(outcome.result, 0);
    EXPECT_EQ(outcome.output, "<missing>");
    EXPECT_EQ(Read("out.txt.bak"), "old\n");
    for (const auto& entry : fs::directory_iterator(m_dir.Dir())) {
      EXPECT_EQ(entry.path().filename().string().find(".tovi-"), std::string::npos)
          << "a temporary was left behind";
    }
  }
}

TEST_F(ReadWriteTest, MissingSourceTouchesNothing) {
  Write("out.txt", "old\n");
  Write("out.txt.bak", "older\n");
  const EngineTest::Outcome outcome = ConvertFiles("missing.txt", "out.txt");
  EXPECT_EQ(outcome.result, 0);
  EXPECT_EQ(outcome.messages, "ERROR   : '" + Path("missing.txt") + "' のOPENに失敗しました.\r\n");
  EXPECT_EQ(Read("out.txt"), "old\n");
  EXPECT_EQ(Read("out.txt.bak"), "older\n");
}

TEST_F(ReadWriteTest, DirectoryAsSourceCannotBeOpened) {
  fs::create_directory(Path("dir"));
  const EngineTest::Outcome outcome = ConvertFiles("dir", "out.txt");
  EXPECT_EQ(outcome.result, 0);
  EXPECT_EQ(outcome.messages, "ERROR   : '" + Path("dir") + "' のOPENに失敗しました.\r\n");
}

TEST_F(ReadWriteTest, RelativeDestinationIsTakenBesideTheSource) {
  fs::create_directory(Path("sub"));
  Write("sub/src.txt", "text\n");
  CPreProcesser engine;
  const std::string source = Path("sub") + TestSupport::kSeparator + "src.txt";
  EXPECT_EQ(engine.ConvertFile(source.c_str(), "out.txt", 1), 1);
  EXPECT_EQ(Read("sub/out.txt"), "text\r\n");
  EXPECT_FALSE(TestSupport::FileExists(Path("out.txt")));
}

TEST_F(ReadWriteTest, DestinationInMissingDirectoryIsReported) {
  Write("src.txt", "#undef X\n");
  const EngineTest::Outcome created = ConvertFiles("src.txt", "none/out.txt");
  EXPECT_EQ(created.result, 0);
  EXPECT_EQ(created.messages,
            EngineTest::Warning(1, "#undef X", "X 定義されていません.この行は無視されます.") +
                "ERROR   : '" + Path("none/out.txt") + "' が作成できませんでした.\r\n");
}

TEST_F(ReadWriteTest, DestinationNamingTheSourceIsRefusedBeforeAnythingChanges) {
  Write("src.txt", "#define X 1\nX\n");
  const EngineTest::Outcome same = ConvertFiles("src.txt", "src.txt");
  EXPECT_EQ(same.result, 0);
  EXPECT_EQ(same.messages,
            "ERROR   : '" + Path("src.txt") + "' は変換元と同じファイルのため作成できません.\r\n");
  EXPECT_EQ(Read("src.txt"), "#define X 1\nX\n");
  EXPECT_FALSE(TestSupport::FileExists(Path("src.txt.bak")));

  // A relative destination is resolved beside the source: the same file again.
  CPreProcesser engine;
  EXPECT_EQ(engine.ConvertFile(PathString("src.txt"), "src.txt", 1), 0);
  EXPECT_EQ(std::string(engine.GetMessages().GetText()),
            "ERROR   : 'src.txt' は変換元と同じファイルのため作成できません.\r\n");
  EXPECT_EQ(Read("src.txt"), "#define X 1\nX\n");
}

TEST_F(ReadWriteTest, SourceNamedLikeTheBackupIsNotOverwritten) {
  Write("out.txt", "old\n");
  Write("out.txt.bak", "source\n");
  const EngineTest::Outcome outcome = ConvertFiles("out.txt.bak", "out.txt");
  EXPECT_EQ(outcome.result, 0);
  EXPECT_EQ(outcome.messages,
            "ERROR   : '" + Path("out.txt") + "' のバックアップが作成できませんでした.\r\n");
  EXPECT_EQ(Read("out.txt.bak"), "source\n");
  EXPECT_EQ(Read("out.txt"), "old\n");
}

TEST_F(ReadWriteTest, FailedBackupKeepsTheDestination) {
  Write("out.txt", "old\n");
  fs::create_directory(Path("out.txt.bak"));
  const EngineTest::Outcome outcome = Convert(Lf({"new"}));
  EXPECT_EQ(outcome.result, 0);
  EXPECT_EQ(outcome.messages,
            "ERROR   : '" + Path("out.txt") + "' のバックアップが作成できませんでした.\r\n");
  EXPECT_EQ(outcome.output, "old\n");
}

TEST_F(ReadWriteTest, ReadOnlyDestinationIsRefusedAndKept) {
  Write("out.txt", "old\n");
  fs::permissions(Path("out.txt"),
                  fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  const EngineTest::Outcome outcome = Convert(Lf({"new"}));
  EXPECT_EQ(outcome.result, 0);
  EXPECT_EQ(outcome.messages, "ERROR   : '" + Path("out.txt") + "' が作成できませんでした.\r\n");
  EXPECT_EQ(outcome.output, "old\n");
  EXPECT_EQ(Read("out.txt.bak"), "<missing>");
  fs::permissions(Path("out.txt"), fs::perms::owner_write, fs::perm_options::add);
}

TEST_F(ReadWriteTest, ReplacedDestinationKeepsItsPermissionBits) {
  Write("out.txt", "old\n");
  fs::permissions(Path("out.txt"), fs::perms::owner_read | fs::perms::owner_write,
                  fs::perm_options::replace);
  const EngineTest::Outcome outcome = Convert(Lf({"new"}));
  EXPECT_EQ(outcome.result, 1);
  EXPECT_EQ(outcome.output, "new\r\n");
#ifndef _WIN32
  EXPECT_EQ(fs::status(Path("out.txt")).permissions(),
            fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(fs::status(Path("out.txt.bak")).permissions(),
            fs::perms::owner_read | fs::perms::owner_write);
#endif
}

#ifndef _WIN32
// A file-size limit makes a write fail part way, as a full disk would:
// neither the destination nor an earlier backup may be cut.
TEST_F(ReadWriteTest, FailedWritesKeepDestinationAndBackupWhole) {
  struct Row {
    const char* name;
    std::string destination;
    const char* message;
  };
  const Row rows[] = {
      {"the destination write fails", "old\n", "' への書き込みに失敗しました.\r\n"},
      {"the backup copy fails", std::string(100000, 'o'),
       "' のバックアップが作成できませんでした.\r\n"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Write("out.txt", row.destination);
    Write("out.txt.bak", "earlier backup\n");
    Write("src.txt", std::string(100000, 'x') + "\n");
    struct rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    void (*savedHandler)(int) = signal(SIGXFSZ, SIG_IGN);
    struct rlimit limited = saved;
    limited.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const EngineTest::Outcome outcome = ConvertFiles("src.txt", "out.txt");
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, savedHandler);
    EXPECT_EQ(outcome.result, 0);
    EXPECT_EQ(outcome.messages, "ERROR   : '" + Path("out.txt") + row.message);
    EXPECT_EQ(outcome.output, row.destination);
    EXPECT_EQ(Read("out.txt.bak"),
              row.destination.size() < 4096 ? row.destination : "earlier backup\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir.Dir()), fs::directory_iterator()), 3)
        << "a temporary was left behind";
  }
}

// Nothing that is not a regular file is opened or written through: a FIFO
// would block, a symlink would carry the write elsewhere.
TEST_F(ReadWriteTest, SpecialFilesAreNeitherBlockedOnNorWrittenThrough) {
  Write("elsewhere.txt", "not mine\n");
  Write("out.txt", "old\n");
  fs::create_symlink(Path("elsewhere.txt"), Path("out.txt.bak"));
  EngineTest::Outcome outcome = Convert(Lf({"new"}));
  EXPECT_EQ(outcome.result, 1);
  EXPECT_EQ(Read("elsewhere.txt"), "not mine\n");
  EXPECT_FALSE(fs::is_symlink(Path("out.txt.bak")));
  EXPECT_EQ(Read("out.txt.bak"), "old\n");

  ASSERT_EQ(mkfifo(Path("fifo.bak").c_str(), 0600), 0);
  Write("fifo", "old\n");
  outcome = ConvertFiles("src.txt", "fifo");
  EXPECT_EQ(outcome.result, 0);
  EXPECT_EQ(Read("fifo"), "old\n");

  ASSERT_EQ(mkfifo(Path("fifo.out").c_str(), 0600), 0);
  CPreProcesser engine;
  EXPECT_EQ(engine.ConvertFile(PathString("src.txt"), PathString("fifo.out"), 1), 0);
  EXPECT_EQ(std::string(engine.GetMessages().GetText()),
            "ERROR   : '" + Path("fifo.out") + "' が作成できませんでした.\r\n");
  EXPECT_TRUE(fs::is_fifo(Path("fifo.out")));
}
#endif

TEST_F(ReadWriteTest, LineOfSeveralMegabytesConverts) {
  const std::string longLine = std::string(3 * 1024 * 1024, 'a') + " X";
  const EngineTest::Outcome outcome = Convert("#define X 1\n" + longLine + "\n", 0);
  EXPECT_EQ(outcome.result, 1);
  EXPECT_EQ(outcome.output, std::string(3 * 1024 * 1024, 'a') + " 1\r\n");
}
