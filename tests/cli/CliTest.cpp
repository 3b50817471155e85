// tovi-cli's commands, run in-process with the streams captured.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "foundation/Cp932Utf8.h"
#include "project/Document.h"
#include "foundation/File.h"
#include "foundation/FileSystem.h"
#include "tests/support/TempDir.h"
#include "ToviVersion.h"

namespace {

using TestSupport::Listing;
using TestSupport::ReadBytes;
using TestSupport::TempDir;
using TestSupport::WriteBytes;

class CStringConsole : public IConsole {
 public:
  bool Out(const char* bytes, std::size_t size) override {
    out.append(bytes, size);
    return !outFails;
  }
  void Err(const std::string& bytes) override { err += bytes; }
  std::string out;
  std::string err;
  bool outFails = false;
};

struct Result {
  int status;
  std::string out;
  std::string err;
};

Result RunTool(std::vector<std::string> args, OutputEncoding encoding = OutputEncoding::kCp932) {
  std::vector<Core::CString> texts;
  for (const std::string& arg : args) texts.push_back(arg.c_str());
  CStringConsole console;
  const int status = RunCli(texts, console, encoding);
  return {status, console.out, console.err};
}

// Runs with the current directory set to `dir` for the call.
Result RunIn(const std::string& dir, std::vector<std::string> args) {
  const TestSupport::CurrentDirGuard guard;
  EXPECT_TRUE(Core::SetCurrentDir(dir.c_str())) << dir;
  return RunTool(std::move(args));
}

std::string Join(const std::string& dir, const std::string& name) {
  return dir + TestSupport::kSeparator + name;
}

const std::string kOpening = "変換処理中...\r\n";
const std::string kDone = "    変換が完了しました.\r\n";
const std::string kAbandoned = "    変換を中止しました.\r\n";

TEST(CliTest, HelpVersionAndUsageErrors) {
  const Result help = RunTool({"--help"});
  EXPECT_EQ(kExitOk, help.status);
  for (const char* command : {"pp", "convert", "list", "info", "new", "add", "set"}) {
    EXPECT_NE(std::string::npos, help.out.find(std::string("  ") + command + " ")) << command;
  }
  EXPECT_EQ(std::string("tovi-cli ") + TOVI_VERSION_TEXT + "\n", RunTool({"--version"}).out);
  EXPECT_EQ(kExitOk, RunTool({"pp", "--help"}).status);

  struct Row {
    std::vector<std::string> args;
    const char* error;
  };
  const Row rows[] = {
      {{}, "usage: tovi-cli COMMAND"},
      {{"frobnicate"}, "unknown command 'frobnicate'"},
      {{"pp", "only-one"}, "pp needs SOURCE and DEST"},
      {{"pp", "--bogus", "a", "b"}, "unknown option --bogus"},
      {{"pp", "--disposition", "x", "a", "b"}, "--disposition must be 0, 1 or 2"},
      {{"pp", "--disposition", "3", "a", "b"}, "--disposition must be 0, 1 or 2"},
      {{"new", "--disposition=-1", "p.tvx"}, "--disposition must be 0, 1 or 2"},
      {{"pp", "a", "b", "--disposition"}, "option --disposition needs a value"},
      {{"pp", "--encoding", "latin1", "a", "b"}, "--encoding must be utf-8 or cp932"},
      {{"convert"}, "convert needs PROJECT"},
      {{"convert", "--check"}, "convert needs PROJECT"},
      {{"convert", "--check=yes", "p.tvx"}, "--check"},
      {{"add", "p.tvx", "a"}, "add needs PROJECT, SOURCE and DEST"},
      {{"info", "p.tvx", "extra"}, "unexpected argument 'extra'"},
      {{"pp", "a", "b", "c"}, "unexpected argument 'c'"},
      {{"--version", "x"}, "unexpected argument 'x'"},
      {{"help", "pp", "x"}, "unexpected argument 'x'"},
      {{"add", "p.tvx", "", "b"}, "SOURCE must not be empty"},
      {{"pp", "--source-encoding", "utf-16", "a", "b"}, "--source-encoding must be cp932 or utf-8"},
      {{"new", "--source-encoding=", "p.tvx"}, "--source-encoding must be cp932 or utf-8"},
      {{"set", "p.tvx"}, "set needs --relative, --absolute, --disposition or --source-encoding"},
      {{"set", "--relative", "--absolute", "p.tvx"},
       "--relative and --absolute exclude each other"},
      {{"set", "--disposition", "3", "p.tvx"}, "--disposition must be 0, 1 or 2"},
      {{"set", "--source-encoding", "sjis", "p.tvx"}, "--source-encoding must be cp932 or utf-8"},
      {{"set", "--relative"}, "set needs PROJECT"},
      {{"convert", "--check", "--deps", "d.d", "p.tvx"}, "--check writes nothing"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.error);
    const Result result = RunTool(row.args);
    EXPECT_EQ(kExitUsage, result.status);
    EXPECT_NE(std::string::npos, result.err.find(row.error)) << result.err;
    EXPECT_TRUE(result.out.empty());
  }
}

TEST(CliTest, PpPrintsTheWholeLogAndConverts) {
  TempDir dir;
  WriteBytes(dir.Path("in.c"), "#define X 10\nx = X;\n");
  const std::string in = dir.Path("in.c"), out = dir.Path("out.c");
  const Result result = RunTool({"pp", "--disposition", "0", in, out});
  EXPECT_EQ(kExitOk, result.status);
  EXPECT_EQ(kOpening + in + "  →  " + out + "\r\n" + kDone + "\r\n", result.out);
  EXPECT_EQ("x = 10;\r\n", ReadBytes(out));

  const Result defaults = RunTool({"pp", in, out});
  EXPECT_EQ("//#define X 10\r\nx = /*X*/10;\r\n", ReadBytes(out));
  EXPECT_EQ(result.out, defaults.out);

  // Read as code page 932, the last bytes of あ and 本 swallow the quote
  // after them, and FOO stays "in the string"; the project setting and the
  // option read it as UTF-8.
  const std::string utf8 = dir.Path("u.c");
  WriteBytes(
      utf8,
      "#define FOO bar\nputs(\"\xe3\x81\x82\"); FOO;\nputs(\"\xe6\x97\xa5\xe6\x9c\xac\"); FOO;\n");
  const std::string replaced =
      "puts(\"\xe3\x81\x82\"); bar;\r\nputs(\"\xe6\x97\xa5\xe6\x9c\xac\"); bar;\r\n";
  for (const char* encoding : {"cp932", "utf-8", "utf8", "UTF-8", "CP932"}) {
    SCOPED_TRACE(encoding);
    const Result chosen =
        RunTool({"pp", "--disposition", "0", "--source-encoding", encoding, utf8, out});
    EXPECT_EQ(kExitOk, chosen.status) << chosen.err;
    const bool asUtf8 = std::string(encoding).find('8') != std::string::npos;
    EXPECT_EQ(asUtf8, ReadBytes(out) == replaced) << ReadBytes(out);
  }
  const std::string project = dir.Path("p.tvx");
  ASSERT_EQ(kExitOk,
            RunTool({"new", "--source-encoding", "utf-8", "--disposition", "0", project}).status);
  ASSERT_EQ(kExitOk, RunTool({"add", project, utf8, out}).status);
  ASSERT_EQ(kExitOk, RunTool({"convert", project}).status);
  EXPECT_EQ(replaced, ReadBytes(out));
}

TEST(CliTest, PpLogIsUtf8OnRequest) {
  TempDir dir;
  WriteBytes(dir.Path("in.c"), "a\n");
  const std::string in = dir.Path("in.c"), out = dir.Path("out.c");
  const Result cp932 = RunTool({"pp", in, out}, OutputEncoding::kCp932);
  const Result utf8 = RunTool({"pp", "--encoding", "utf-8", in, out}, OutputEncoding::kCp932);
  std::string converted;
  Core::Cp932ToUtf8(cp932.out.data(), cp932.out.size(), &converted);
  EXPECT_EQ(converted, utf8.out);
  EXPECT_NE(std::string::npos, utf8.out.find("\xe5\xa4\x89\xe6\x8f\x9b"));  // 変換 in UTF-8
  EXPECT_EQ(utf8.out, RunTool({"pp", in, out}, OutputEncoding::kUtf8).out);
}

TEST(CliTest, PpReportsAnAbandonedItem) {
  TempDir dir;
  const std::string in = dir.Path("missing.c"), out = dir.Path("out.c");
  const Result result = RunTool({"pp", in, out});
  EXPECT_EQ(kExitAbandoned, result.status);
  EXPECT_EQ(kOpening + in + "  →  " + out + "\r\n" + "ERROR   : '" + in +
                "' のOPENに失敗しました.\r\n" + kAbandoned + "\r\n",
            result.out);
}

// A project with three items whose middle one fails.
std::string MakeProject(const TempDir& dir) {
  WriteBytes(dir.Path("a.c"), "a\n");
  WriteBytes(dir.Path("c.c"), "c\n");
  CDocument doc;
  doc.AddItem(CItem(dir.PathString("a.c"), dir.PathString("a.out")));
  doc.AddItem(CItem(dir.PathString("b.c"), dir.PathString("b.out")));
  doc.AddItem(CItem(dir.PathString("c.c"), dir.PathString("c.out")));
  EXPECT_TRUE(doc.Save(dir.Path("p.tvx").c_str()));
  return dir.Path("p.tvx");
}

TEST(CliTest, ConvertRunsTheProjectOrTheChosenItems) {
  TempDir dir;
  const std::string project = MakeProject(dir);
  const Result all = RunTool({"convert", project});
  EXPECT_EQ(kExitAbandoned, all.status);
  EXPECT_EQ("a\r\n", ReadBytes(dir.Path("a.out")));
  EXPECT_EQ("c\r\n", ReadBytes(dir.Path("c.out")));
  EXPECT_EQ(kOpening + dir.Path("a.c") + "  →  " + dir.Path("a.out") + "\r\n" + kDone +
                dir.Path("b.c") + "  →  " + dir.Path("b.out") + "\r\n" + "ERROR   : '" +
                dir.Path("b.c") + "' のOPENに失敗しました.\r\n" + kAbandoned + dir.Path("c.c") +
                "  →  " + dir.Path("c.out") + "\r\n" + kDone + "\r\n",
            all.out);

  // A repeated number converts the item once, so its backup keeps what was
  // there before the run.
  const Result chosen = RunTool({"convert", "--items", "2,0,2", project});
  EXPECT_EQ(kExitOk, chosen.status);
  EXPECT_EQ(kOpening + dir.Path("c.c") + "  →  " + dir.Path("c.out") + "\r\n" + kDone +
                dir.Path("a.c") + "  →  " + dir.Path("a.out") + "\r\n" + kDone + "\r\n",
            chosen.out);
  EXPECT_EQ("c\r\n", ReadBytes(dir.Path("c.out.bak")));

  for (const char* items : {"3", "-1", "1,,2", "x"}) {
    SCOPED_TRACE(items);
    EXPECT_EQ(kExitUsage, RunTool({"convert", "--items", items, project}).status);
  }
  EXPECT_NE(std::string::npos,
            RunTool({"convert", "--items", "3", project}).err.find("(it has 3 items)"));
  CDocument one;
  one.AddItem(CItem(dir.PathString("a.c"), dir.PathString("a.out")));
  ASSERT_TRUE(one.Save(dir.Path("one.tvx").c_str()));
  const Result single = RunTool({"convert", "--items", "1", dir.Path("one.tvx")});
  EXPECT_NE(std::string::npos, single.err.find("(it has 1 item)")) << single.err;
}

// --check: one line per destination that is not up to date, a failed
// item's messages after its line, and not a file touched.
TEST(CliTest, ConvertCheckReportsOutOfDateDestinationsAndWritesNothing) {
  TempDir dir;
  const std::string project = MakeProject(dir);
  WriteBytes(dir.Path("a.out"), "a\r\n");
  const std::string failed = "failed: " + dir.Path("b.out") + "\nERROR   : '" + dir.Path("b.c") +
                             "' のOPENに失敗しました.\r\n";
  std::string failedUtf8;
  Core::Cp932ToUtf8(failed.data(), failed.size(), &failedUtf8);
  struct Row {
    std::vector<std::string> options;
    int status;
    std::string out;
  };
  const Row rows[] = {
      {{}, kExitAbandoned, failed + "missing: " + dir.Path("c.out") + "\n"},
      {{"--items", "0"}, kExitOk, ""},
      {{"--items", "2,0,2"}, kExitAbandoned, "missing: " + dir.Path("c.out") + "\n"},
      {{"--encoding", "utf-8", "--items", "1"}, kExitAbandoned, failedUtf8},
  };
  for (const bool stale : {false, true}) {
    if (stale) WriteBytes(dir.Path("c.out"), "c\n");
    const std::string before = Listing(dir.Dir());
    for (const Row& row : rows) {
      std::vector<std::string> args = {"convert", "--check"};
      args.insert(args.end(), row.options.begin(), row.options.end());
      args.push_back(project);
      std::string out = row.out;
      if (stale) {
        const std::size_t missing = out.find("missing: ");
        if (missing != std::string::npos) out.replace(missing, 9, "stale: ");
      }
      SCOPED_TRACE(out);
      const Result result = RunTool(args);
      EXPECT_EQ(row.status, result.status);
      EXPECT_EQ(out, result.out);
      EXPECT_EQ("", result.err);
      EXPECT_EQ(before, Listing(dir.Dir()));
    }
  }
  std::filesystem::remove(dir.Path("c.out"));
  std::filesystem::create_directory(dir.Path("c.out"));
  EXPECT_EQ("not a file: " + dir.Path("c.out") + "\n",
            RunTool({"convert", "--check", "--items", "2", project}).out);
}

// Destinations that convert has just written check as up to date, a
// changed include makes its item's destination stale, and the destination
// is named as the project holds it.
TEST(CliTest, ConvertCheckFindsWhatConvertWroteUpToDate) {
  TempDir dir;
  const std::string project = dir.Path("p.tvx");
  ASSERT_EQ(kExitOk, RunTool({"new", "--disposition", "2", project}).status);
  WriteBytes(dir.Path("a.c"), "#include \"h.h\"\nFOO;\n");
  WriteBytes(dir.Path("h.h"), "#define FOO bar\n");
  WriteBytes(dir.Path("b.c"), "\xef\xbb\xbfputs(\"\xe3\x81\x82\"); FOO;\n");
  ASSERT_EQ(kExitOk, RunIn(dir.Dir(), {"add", project, "a.c", "a.out"}).status);
  ASSERT_EQ(kExitOk, RunIn(dir.Dir(), {"add", project, "b.c", "b.out"}).status);
  ASSERT_EQ(kExitOk, RunTool({"convert", project}).status);
  const std::string converted = Listing(dir.Dir());
  const Result check = RunTool({"convert", "--check", project});
  EXPECT_EQ(kExitOk, check.status);
  EXPECT_EQ("", check.out + check.err);
  EXPECT_EQ(converted, Listing(dir.Dir()));

  WriteBytes(dir.Path("h.h"), "#define FOO baz\n");
  const Result stale = RunTool({"convert", "--check", project});
  EXPECT_EQ(kExitAbandoned, stale.status);
  EXPECT_EQ(std::string("stale: .") + TestSupport::kSeparator + "a.out\n", stale.out);
}

TEST(CliTest, UnloadableProjectGoesToStandardError) {
  TempDir dir;
  WriteBytes(dir.Path("bad.tvx"), "XYZ");
  for (const char* command : {"convert", "list", "info"}) {
    SCOPED_TRACE(command);
    const Result result = RunTool({command, dir.Path("bad.tvx")});
    EXPECT_EQ(kExitUsage, result.status);
    EXPECT_EQ("ERROR  : ファイルの形式が不正です.\r\n          処理を中断します.\r\n", result.err);
    EXPECT_TRUE(result.out.empty());
  }
}

// --deps: one rule per completed item naming every file it read, as make
// and ninja read them: escaped, UTF-8 on Linux, the program's bytes on
// Windows; a dependency file that cannot be written fails the run alone.
TEST(CliTest, DepsFileHasARuleForEachCompletedItem) {
  TempDir dir;
  const std::string project = MakeProject(dir);
  const std::string rules = dir.Path("a.out") + ": " + dir.Path("a.c") + "\n" + dir.Path("c.out") +
                            ": " + dir.Path("c.c") + "\n";
  Core::FileLook written;
  for (const char* mode : {"--items=0,1,2", "--changed"}) {
    SCOPED_TRACE(mode);
    const Result converted = RunTool({"convert", mode, "--deps", dir.Path("deps.d"), project});
    EXPECT_EQ(kExitAbandoned, converted.status);  // b.c is missing
    EXPECT_EQ(rules, ReadBytes(dir.Path("deps.d")));
    // The same rules again leave the file as it was: same identity and time.
    const Core::FileLook now = Core::LookAtFile(dir.Path("deps.d").c_str());
    if (written.state == Core::PathState::kPresent) {
      EXPECT_TRUE(now == written);
    }
    written = now;
  }

  // A folder beginning with a space, with '#', '$' and 日本 in its name.
  std::filesystem::create_directory(std::filesystem::path(dir.Dir()) /
                                    std::filesystem::u8path(" d#$\xe6\x97\xa5\xe6\x9c\xac"));
  const std::string folder = dir.Path(" d#$\x93\xfa\x96\x7b");
  for (const auto& [name, bytes] :
       {std::pair<const char*, const char*>{"b c.c", "#include \"h.h\"\nX\n"},
        {"h.h", "#define X 1\n"}}) {
    Core::CFile file;
    ASSERT_TRUE(file.Open(Join(folder, name).c_str(), true, true));
    ASSERT_TRUE(file.Write(bytes, static_cast<int>(std::strlen(bytes))));
  }
#ifdef _WIN32
  const std::string escaped = dir.Dir() + "\\\\\\ d\\#$$\x93\xfa\x96\x7b\\";
#else
  const std::string escaped = dir.Dir() + "/\\ d\\#$$\xe6\x97\xa5\xe6\x9c\xac/";
#endif
  const Result pp = RunTool({"pp", "--disposition", "0", "--deps", dir.Path("deps.d"),
                             Join(folder, "b c.c"), Join(folder, "b c.out")});
  EXPECT_EQ(kExitOk, pp.status) << pp.out;
  EXPECT_EQ(escaped + "b\\ c.out: " + escaped + "b\\ c.c " + escaped + "h.h\n",
            ReadBytes(dir.Path("deps.d")));

  const Result unwritable =
      RunTool({"pp", "--deps", Join(dir.Path("none"), "d.d"), dir.Path("a.c"), dir.Path("a.out")});
  EXPECT_EQ(kExitAbandoned, unwritable.status);
  EXPECT_NE(std::string::npos, unwritable.err.find("cannot write the dependency file"))
      << unwritable.err;
  EXPECT_NE(std::string::npos, unwritable.out.find(kDone));
}

TEST(CliTest, ListAndInfoShowTheProject) {
  TempDir dir;
  const std::string project = MakeProject(dir);
  const Result list = RunTool({"list", project});
  EXPECT_EQ(dir.Path("a.c") + "\t" + dir.Path("a.out") + "\n" + dir.Path("b.c") + "\t" +
                dir.Path("b.out") + "\n" + dir.Path("c.c") + "\t" + dir.Path("c.out") + "\n",
            list.out);
  EXPECT_EQ("path-mode=0\ndisposition=1\nitems=3\nsource-encoding=cp932\n",
            RunTool({"info", project}).out);
}

TEST(CliTest, NewWritesDefaultsAndRefusesToOverwrite) {
  TempDir dir;
  const std::string project = dir.Path("new.tvx");
  EXPECT_EQ(kExitOk, RunTool({"new", project}).status);
  EXPECT_EQ("path-mode=1\ndisposition=1\nitems=0\nsource-encoding=cp932\n",
            RunTool({"info", project}).out);

  const Result again = RunTool({"new", "--absolute", project});
  EXPECT_EQ(kExitAbandoned, again.status);
  EXPECT_NE(std::string::npos, again.err.find("--force"));

  EXPECT_EQ(kExitOk,
            RunTool({"new", "--absolute", "--disposition", "2", "--force", project}).status);
  EXPECT_EQ("path-mode=0\ndisposition=2\nitems=0\nsource-encoding=cp932\n",
            RunTool({"info", project}).out);
  EXPECT_EQ(kExitUsage, RunTool({"new", "--absolute", "--relative", "--force", project}).status);

  const std::string cp932 = ReadBytes(project);
  EXPECT_EQ(kExitOk, RunTool({"new", "--absolute", "--disposition", "2", "--source-encoding",
                              "utf-8", "--force", project})
                         .status);
  EXPECT_EQ("path-mode=0\ndisposition=2\nitems=0\nsource-encoding=utf-8\n",
            RunTool({"info", project}).out);
  EXPECT_EQ(cp932 + std::string("\xE9\xFD\x00\x00", 4), ReadBytes(project));
  EXPECT_EQ(kExitOk, RunTool({"new", "--absolute", "--disposition", "2", "--source-encoding",
                              "cp932", "--force", project})
                         .status);
  EXPECT_EQ(cp932, ReadBytes(project));
}

TEST(CliTest, SetChangesTheGivenSettingsAndConvertsPaths) {
  TempDir dir;
  const std::string project = MakeProject(dir);
  const std::string absolute = RunTool({"list", project}).out;
  const std::string dot = std::string(".") + TestSupport::kSeparator;
  const std::string relative = dot + "a.c\t" + dot + "a.out\n" + dot + "b.c\t" + dot + "b.out\n" +
                               dot + "c.c\t" + dot + "c.out\n";
  struct Row {
    std::vector<std::string> options;
    const char* info;
    const std::string& list;
  };
  const Row rows[] = {
      {{"--relative"}, "path-mode=1\ndisposition=1\nitems=3\nsource-encoding=cp932\n", relative},
      {{"--source-encoding", "utf-8", "--disposition", "0"},
       "path-mode=1\ndisposition=0\nitems=3\nsource-encoding=utf-8\n",
       relative},
      {{"--absolute"}, "path-mode=0\ndisposition=0\nitems=3\nsource-encoding=utf-8\n", absolute},
      {{"--disposition=2", "--relative", "--source-encoding=cp932"},
       "path-mode=1\ndisposition=2\nitems=3\nsource-encoding=cp932\n",
       relative},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.info);
    std::vector<std::string> args = {"set"};
    args.insert(args.end(), row.options.begin(), row.options.end());
    args.push_back(project);
    const Result set = RunTool(args);
    EXPECT_EQ(kExitOk, set.status) << set.err;
    EXPECT_EQ(row.info, RunTool({"info", project}).out);
    EXPECT_EQ(row.list, RunTool({"list", project}).out);
  }

  // Switching the encoding back leaves the bytes a code page 932 project had.
  const std::string cp932 = ReadBytes(project);
  ASSERT_EQ(kExitOk, RunTool({"set", "--source-encoding", "utf-8", project}).status);
  EXPECT_EQ(cp932 + std::string("\xE9\xFD\x00\x00", 4), ReadBytes(project));
  ASSERT_EQ(kExitOk, RunTool({"set", "--source-encoding", "cp932", project}).status);
  EXPECT_EQ(cp932, ReadBytes(project));

  // A bad value or a missing project changes nothing.
  EXPECT_EQ(kExitUsage, RunTool({"set", "--disposition", "7", project}).status);
  EXPECT_EQ(cp932, ReadBytes(project));
  const Result missing = RunTool({"set", "--relative", dir.Path("none.tvx")});
  EXPECT_EQ(kExitUsage, missing.status);
  EXPECT_NE(std::string::npos, missing.err.find("のOPENに失敗しました"));
  EXPECT_FALSE(std::filesystem::exists(dir.Path("none.tvx")));
}

TEST(CliTest, AddStoresPathsInTheProjectsForm) {
  TempDir dir;
  const std::string project = dir.Path("p.tvx");
  ASSERT_EQ(kExitOk, RunTool({"new", project}).status);
  const Result added = RunIn(dir.Dir(), {"add", project, "a.c", dir.Path("out.c")});
  EXPECT_EQ(kExitOk, added.status) << added.err;
  const std::string dot = std::string(".") + TestSupport::kSeparator;
  EXPECT_EQ(dot + "a.c\t" + dot + "out.c\n", RunTool({"list", project}).out);
  EXPECT_EQ(kExitUsage, RunTool({"add", dir.Path("none.tvx"), "a", "b"}).status);
}

}  // namespace

namespace {

// A relative project made on Windows, named relative to the current
// directory, converts on every platform.
TEST(CliTest, ConvertsAWindowsMadeRelativeProjectNamedRelatively) {
  TempDir dir;
  std::filesystem::create_directories(dir.Path("proj") + TestSupport::kSeparator + "src");
  std::filesystem::create_directories(dir.Path("proj") + TestSupport::kSeparator + "out");
  WriteBytes(dir.Path("proj") + TestSupport::kSeparator + "src" + TestSupport::kSeparator + "a.c",
             "#define N 1\nn = N;\n");
  CDocument doc;
  doc.m_nPathMode = 1;
  doc.m_nDirectiveMode = 0;
  doc.AddItem(CItem(".\\src\\a.c", ".\\out\\a.c"));
  ASSERT_TRUE(doc.Save((dir.Path("proj") + TestSupport::kSeparator + "p.tvx").c_str()));

  const Result result = RunIn(dir.Dir(), {"convert", "proj/p.tvx"});
  EXPECT_EQ(kExitOk, result.status) << result.out;
  EXPECT_EQ(kOpening + ".\\src\\a.c  →  .\\out\\a.c\r\n" + kDone + "\r\n", result.out);
  EXPECT_EQ("n = 1;\r\n", ReadBytes(dir.Path("proj") + TestSupport::kSeparator + "out" +
                                    TestSupport::kSeparator + "a.c"));
}

}  // namespace

namespace {

// Paths on the command line are taken against the current directory as the
// system takes them, DEST of pp included (not against SOURCE's folder).
TEST(CliTest, CommandLinePathsFollowTheSystem) {
  TempDir dir;
  std::filesystem::create_directories(dir.Path("src"));
  std::filesystem::create_directories(dir.Path("out"));
  WriteBytes(Join(dir.Path("src"), "a.c"), "#define N 1\nn = N;\n");
  const Result pp = RunIn(dir.Dir(), {"pp", "--disposition", "0", "src/a.c", "out/a.c"});
  EXPECT_EQ(kExitOk, pp.status) << pp.out;
  EXPECT_EQ("n = 1;\r\n", ReadBytes(Join(dir.Path("out"), "a.c")));
  EXPECT_EQ(kOpening + Join(dir.Path("src"), "a.c") + "  →  " + Join(dir.Path("out"), "a.c") +
                "\r\n" + kDone + "\r\n",
            pp.out);

  ASSERT_EQ(kExitOk, RunTool({"new", dir.Path("p.tvx")}).status);
  std::vector<std::string> spellings = {"src/../p.tvx", dir.Path("p.tvx")};
#ifdef _WIN32
  spellings.push_back(dir.Path("p.tvx").substr(2));  // on the current drive's root
  std::string slashed = dir.Path("p.tvx");
  for (char& c : slashed) c = c == '\\' ? '/' : c;
  spellings.push_back(slashed);
#endif
  for (const std::string& spelling : spellings) {
    SCOPED_TRACE(spelling);
    const Result info = RunIn(dir.Dir(), {"info", spelling});
    EXPECT_EQ(kExitOk, info.status) << info.err;
    EXPECT_EQ("path-mode=1\ndisposition=1\nitems=0\nsource-encoding=cp932\n", info.out);
  }
}

// A folder whose name ends in 表 (second byte 0x5C): the project opens,
// items are stored and converted by their own names.
TEST(CliTest, WorksInAFolderEndingInATrailByte5C) {
  TempDir dir;
  std::filesystem::create_directory(std::filesystem::path(dir.Dir()) /
                                    std::filesystem::u8path("\xe8\xa1\xa8"));
  const std::string folder = dir.Path("\x95\x5c");
  Core::CFile source;
  ASSERT_TRUE(source.Open(Join(folder, "a.c").c_str(), true, true));
  source.Write("#define N 1\nn = N;\n", 19);
  source.Close();
  ASSERT_EQ(kExitOk, RunIn(folder, {"new", "--absolute", "--disposition", "0", "p.tvx"}).status);
  const Result info = RunIn(folder, {"info", "p.tvx"});
  EXPECT_EQ(kExitOk, info.status) << info.err;
  const Result added = RunIn(folder, {"add", "p.tvx", "a.c", "b.c"});
  EXPECT_EQ(kExitOk, added.status) << added.err;
  EXPECT_EQ(Join(folder, "a.c") + "\t" + Join(folder, "b.c") + "\n",
            RunIn(folder, {"list", "p.tvx"}).out);
  const Result converted = RunIn(folder, {"convert", "p.tvx"});
  EXPECT_EQ(kExitOk, converted.status) << converted.out;
  Core::CFile destination;
  ASSERT_TRUE(destination.Open(Join(folder, "b.c").c_str(), false, false));
  char bytes[16] = "";
  EXPECT_EQ("n = 1;\r\n",
            std::string(bytes, static_cast<std::size_t>(destination.Read(bytes, sizeof bytes))));
}

TEST(CliTest, UnwritableStandardOutputIsAnError) {
  TempDir dir;
  const std::string project = MakeProject(dir);
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"list", project}, {"--help"}, {"convert", project}}) {
    SCOPED_TRACE(args[0]);
    std::vector<Core::CString> texts;
    for (const std::string& arg : args) texts.push_back(arg.c_str());
    CStringConsole console;
    console.outFails = true;
    EXPECT_EQ(kExitUsage, RunCli(texts, console, OutputEncoding::kCp932));
    EXPECT_EQ("tovi-cli: standard output could not be written\n", console.err);
  }
  EXPECT_EQ("c\r\n", ReadBytes(dir.Path("c.out")));  // the conversion itself went on
}

#ifndef _WIN32
// Arguments are UTF-8 text that code page 932 can hold; other bytes would
// name another file.
TEST(CliTest, ArgumentsMustBeUtf8WithACodePage932Form) {
  TempDir dir;
  WriteBytes(dir.Path("\xe8\xa1\xa8.c"), "x\n");
  const struct {
    const char* name;
    const char* shown;  // in the message; null: accepted
  } rows[] = {
      {"\xe8\xa1\xa8.c", nullptr},
      {"sj\x95\x5c.c", "sj\\x95\\.c"},               // raw Shift-JIS
      {"\xf0\x9f\x98\x80.c", "\xf0\x9f\x98\x80.c"},  // no code page 932 form
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const std::string source = dir.Path(row.name);
    const std::string out = dir.Path("out.c");
    const char* argv[] = {"tovi-cli", "pp", source.c_str(), out.c_str()};
    CStringConsole console;
    const int status = RunCliArguments(4, argv, console, OutputEncoding::kUtf8);
    if (!row.shown) {
      EXPECT_EQ(kExitOk, status) << console.out;
      continue;
    }
    EXPECT_EQ(kExitUsage, status);
    EXPECT_EQ("tovi-cli: argument 2 '" + dir.Path(row.shown) +
                  "' is not UTF-8 text that code page 932 can hold\n",
              console.err);
    EXPECT_TRUE(console.out.empty());
  }
}

// Without a current directory nothing relative is stored or converted;
// a deep one is used in full.
TEST(CliTest, CurrentDirectoryIsKnownOrNothingRelativeIsUsed) {
  TempDir dir;
  const std::string project = dir.Path("p.tvx");
  ASSERT_EQ(kExitOk, RunTool({"new", "--absolute", project}).status);

  std::filesystem::create_directory(dir.Path("gone"));
  const TestSupport::CurrentDirGuard guard;
  ASSERT_TRUE(Core::SetCurrentDir(dir.PathString("gone")));
  std::filesystem::remove(dir.Path("gone"));
  const Result added = RunTool({"add", project, "a.c", "b.c"});
  const Result pp = RunTool({"pp", dir.Path("x.c"), "out.c"});
  Core::SetCurrentDir(guard.Previous());
  EXPECT_EQ(kExitUsage, added.status);
  EXPECT_EQ(
      "tovi-cli: the current directory cannot be determined, so 'a.c' cannot be made absolute\n",
      added.err);
  EXPECT_EQ(kExitUsage, pp.status);
  EXPECT_EQ("", RunTool({"list", project}).out);

  const std::string name(200, 'd');
  ASSERT_TRUE(Core::SetCurrentDir(dir.Dir().c_str()));
  const int entered = TestSupport::EnterNested(name, 25);
  const Result deep = RunTool({"add", project, "a.c", "b.c"});
  TestSupport::LeaveNested(entered);
  Core::SetCurrentDir(guard.Previous());
  ASSERT_EQ(25, entered);
  EXPECT_EQ(kExitOk, deep.status) << deep.err;
  std::string folder = dir.Dir();
  for (int i = 0; i < 25; ++i) folder += "/" + name;
  EXPECT_TRUE(folder + "/a.c\t" + folder + "/b.c\n" == RunTool({"list", project}).out);
}
#endif

}  // namespace
