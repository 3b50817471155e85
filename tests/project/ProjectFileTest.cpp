// Reading and writing .tvx files through CDocument::Load and Save.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "project/Document.h"
#include "foundation/File.h"
#include "foundation/Memory.h"
#include "project/ProjectFile.h"
#include "tests/support/TempDir.h"
#include "ToviVersion.h"

namespace {

using TestSupport::ReadBytes;
using TestSupport::TempDir;
using TestSupport::WriteBytes;

std::string Int(int value) {
  std::string out;
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>(value >> shift));
  return out;
}

std::string Text(const std::string& text) { return Int(static_cast<int>(text.size())) + text; }

// The program version without its point: "0.35" gives 35 (two minor digits).
constexpr int kFileVersion = TOVI_VERSION_MAJOR * 100 + TOVI_VERSION_MINOR;

const char kFormatError[] = "ERROR  : ファイルの形式が不正です.\r\n          処理を中断します.\r\n";

TEST(ProjectFileTest, SavesMagicCountPathsVersionAndSettingsAsLittleEndianFields) {
  TempDir dir;
  CDocument doc;
  doc.AddItem(CItem("C:\\a.c", "C:\\b.c"));
  ASSERT_TRUE(doc.Save(dir.Path("p.tvx").c_str()));
  const std::string want =
      "TVX" + Int(1) + Text("C:\\a.c") + Text("C:\\b.c") + Int(kFileVersion) + Int(0) + Int(1);
  EXPECT_EQ(39u, want.size());
  EXPECT_EQ(want, ReadBytes(dir.Path("p.tvx")));
  EXPECT_EQ(0, doc.m_nModified);
  EXPECT_STREQ(dir.Path("p.tvx").c_str(), doc.m_strPath.GetText());
  EXPECT_EQ(1, std::distance(std::filesystem::directory_iterator(dir.Dir()),
                             std::filesystem::directory_iterator()));

  // A UTF-8 project is the same bytes plus its code page, which readers
  // that stop after the settings never see; back in code page 932 it is
  // the 39 bytes again.
  doc.m_nSourceCodePage = kSourceUtf8;
  ASSERT_TRUE(doc.Save(dir.Path("p.tvx").c_str()));
  EXPECT_EQ(want + Int(65001), ReadBytes(dir.Path("p.tvx")));
  CDocument back;
  ASSERT_EQ(1, back.Load(dir.Path("p.tvx").c_str()));
  EXPECT_EQ(kSourceUtf8, back.m_nSourceCodePage);
  back.m_nSourceCodePage = kSourceCp932;
  ASSERT_TRUE(back.Save());
  EXPECT_EQ(want, ReadBytes(dir.Path("p.tvx")));
}

TEST(ProjectFileTest, VersionTextGivesVersionNumber) {
  EXPECT_EQ(kFileVersion, ProjectFileVersion());
}

struct BadFile {
  const char* what;
  std::string bytes;
};

TEST(ProjectFileTest, DamagedFilesFailWithTheFormatErrorAndChangeNothing) {
  const std::string item = Text("Q:\\a.c") + Text("Q:\\b.c");
  const BadFile rows[] = {
      {"empty file", ""},
      {"shorter than the magic", "TV"},
      {"magic in lower case", "tvx" + Int(0)},
      {"no item count", "TVX"},
      {"source length 0", "TVX" + Int(1) + Int(0) + Text("Q:\\b.c")},
      {"negative length", "TVX" + Int(1) + Int(-5) + "abc"},
      {"missing destination", "TVX" + Int(1) + Text("Q:\\a.c")},
      {"second item missing", "TVX" + Int(2) + item},
      {"length beyond the file", "TVX" + Int(1) + Text("Q:\\a.c") + Int(1 << 30) + "Q:"},
      {"final string cut short", "TVX" + Int(1) + Text("Q:\\a.c") + Int(6) + "Q:\\"},
      {"count beyond the file", "TVX" + Int(0x7FFFFFFF) + item},
      {"NUL inside a path", "TVX" + Int(1) + Int(3) + std::string("Q:\0", 3) + Text("Q:\\b.c")},
  };
  for (const BadFile& row : rows) {
    SCOPED_TRACE(row.what);
    TempDir dir;
    WriteBytes(dir.Path("bad.tvx"), row.bytes);
    CDocument doc("Q:\\old.tvx");
    doc.m_nPathMode = 1;
    doc.m_nDirectiveMode = 2;
    doc.m_nSourceCodePage = kSourceUtf8;
    doc.AddItem(CItem("Q:\\x", "Q:\\y"));
    EXPECT_EQ(0, doc.Load(dir.Path("bad.tvx").c_str()));
    EXPECT_STREQ(kFormatError, doc.m_strMessage.GetText());
    EXPECT_STREQ("Q:\\old.tvx", doc.m_strPath.GetText());
    ASSERT_EQ(1, doc.GetItemCount());
    EXPECT_STREQ("Q:\\x", doc.GetItem(0).m_strSource.GetText());
    EXPECT_EQ(1, doc.m_nModified);
    EXPECT_EQ(1, doc.m_nPathMode);
    EXPECT_EQ(2, doc.m_nDirectiveMode);
    EXPECT_EQ(kSourceUtf8, doc.m_nSourceCodePage);
  }
}

TEST(ProjectFileTest, LoadNamesTheFileItCannotOpen) {
  TempDir dir;
  CDocument doc;
  const std::string path = dir.Path("missing.tvx");
  EXPECT_EQ(0, doc.Load(path.c_str()));
  const std::string want = "ERROR  : '" + path +
                           "' のOPENに失敗しました.\r\n"
                           "          処理を中断します.\r\n";
  EXPECT_EQ(want, doc.m_strMessage.GetText());
}

TEST(ProjectFileTest, NoNameAsksForOne) {
  const std::string want = "ERROR  : ファイル名を指定してください.\r\n";
  CDocument doc;
  EXPECT_EQ(0, doc.Load(nullptr));
  EXPECT_EQ(want, doc.m_strMessage.GetText());
  EXPECT_FALSE(doc.Save());
  EXPECT_EQ(want, doc.m_strMessage.GetText());
}

TEST(ProjectFileTest, SettingsBlockIsReadFromVersionThirtyOn) {
  struct Row {
    std::string tail;
    int pathMode;
    int directiveMode;
    int codePage;
  };
  constexpr int kCp932 = kSourceCp932;
  constexpr int kUtf8 = kSourceUtf8;
  const std::string settings = Int(kFileVersion) + Int(0) + Int(1);
  // The document starts with path mode 7, disposition 9 (values are not
  // checked) and UTF-8, so that a setting left as it was shows.
  const Row rows[] = {
      {"", 7, 9, kUtf8},                         // no version field at all
      {Int(29) + Int(1) + Int(2), 7, 9, kUtf8},  // too old to carry settings
      {Int(29) + Int(1) + Int(2) + Int(65001), 7, 9, kUtf8},
      {Int(30) + Int(1) + Int(2), 1, 2, kCp932},                     // settings without a code page
      {Int(kFileVersion) + Int(0) + Int(0) + "junk", 0, 0, kCp932},  // trailing bytes ignored
      {std::string("\x23\x00", 2), 7, 9, kUtf8},                     // version cut short
      {Int(kFileVersion), 7, 9, kCp932},                             // settings cut short: kept
      {Int(kFileVersion) + Int(1), 1, 9, kCp932},
      {Int(kFileVersion) + Int(1) + "\x02", 1, 2, kCp932},  // one byte read over 9
      {settings + Int(65001), 0, 1, kUtf8},
      {settings + Int(65001) + "junk", 0, 1, kUtf8},
      {settings + Int(932), 0, 1, kCp932},
      {settings + Int(1200), 0, 1, kCp932},
      {settings + Int(0), 0, 1, kCp932},
      {settings + Int(-1), 0, 1, kCp932},
      {settings + Int(65001 + (1 << 16)), 0, 1, kCp932},
      {settings + Int(65001).substr(0, 3), 0, 1, kCp932},  // code page cut short
      {settings + Int(65001).substr(0, 2), 0, 1, kCp932},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(&row - rows);
    TempDir dir;
    WriteBytes(dir.Path("p.tvx"), "TVX" + Int(1) + Text("Q:\\a.c") + Text("Q:\\b.c") + row.tail);
    CDocument doc;
    doc.m_nPathMode = 7;
    doc.m_nDirectiveMode = 9;
    doc.m_nSourceCodePage = kSourceUtf8;
    ASSERT_EQ(1, doc.Load(dir.Path("p.tvx").c_str())) << doc.m_strMessage.GetText();
    EXPECT_EQ(1, doc.GetItemCount());
    EXPECT_STREQ("Q:\\b.c", doc.GetItem(0).m_strDestination.GetText());
    EXPECT_EQ(row.pathMode, doc.m_nPathMode);
    EXPECT_EQ(row.directiveMode, doc.m_nDirectiveMode);
    EXPECT_EQ(row.codePage, doc.m_nSourceCodePage);
  }
}

TEST(ProjectFileTest, EmptyItemListLoadsWithSettingsUnchanged) {
  TempDir dir;
  WriteBytes(dir.Path("p.tvx"), "TVX" + Int(0));
  CDocument doc;
  doc.m_nDirectiveMode = 2;
  ASSERT_EQ(1, doc.Load(dir.Path("p.tvx").c_str()));
  EXPECT_EQ(0, doc.GetItemCount());
  EXPECT_EQ(2, doc.m_nDirectiveMode);
}

TEST(ProjectFileTest, FailedSaveKeepsTheOldFile) {
  TempDir dir;
  CDocument doc;
  doc.AddItem(CItem("Q:\\a.c", "Q:\\b.c"));
  // A directory in the way: the new bytes cannot replace it.
  const std::string blocked = dir.Path("blocked.tvx");
  std::filesystem::create_directory(blocked);
  EXPECT_FALSE(doc.Save(blocked.c_str()));
  const std::string writeFailed = "ERROR  : '" + blocked +
                                  "' の書き込みに失敗しました.\r\n"
                                  "         処理を中断します.\r\n";
  EXPECT_EQ(writeFailed, doc.m_strMessage.GetText());
  EXPECT_TRUE(std::filesystem::is_directory(blocked));
  EXPECT_EQ(1, doc.m_nModified);
  EXPECT_TRUE(doc.m_strPath.IsEmpty());

  // A directory that does not exist: the file cannot be created at all.
  const std::string nowhere = dir.Path("no-such-dir") + TestSupport::kSeparator + "p.tvx";
  EXPECT_FALSE(doc.Save(nowhere.c_str()));
  const std::string openFailed = "ERROR  : '" + nowhere +
                                 "' のOPENに失敗しました.\r\n"
                                 "         処理を中断します.\r\n";
  EXPECT_EQ(openFailed, doc.m_strMessage.GetText());

  // An existing project survives a failed save next to it unchanged.
  ASSERT_TRUE(doc.Save(dir.Path("good.tvx").c_str()));
  const std::string before = ReadBytes(dir.Path("good.tvx"));
  EXPECT_FALSE(doc.Save(blocked.c_str()));
  EXPECT_EQ(before, ReadBytes(dir.Path("good.tvx")));

  // A project file another opener holds is not replaced under it.
  Core::CFile holder;
  ASSERT_TRUE(holder.Open(dir.PathString("good.tvx"), false, false));
  doc.AddItem(CItem("Q:\\c.c", "Q:\\d.c"));
  EXPECT_FALSE(doc.Save(dir.Path("good.tvx").c_str()));
  holder.Close();
  EXPECT_EQ(before, ReadBytes(dir.Path("good.tvx")));

  // A read-only project is refused, not replaced by a writable copy.
  namespace fs = std::filesystem;
  fs::permissions(dir.Path("good.tvx"), fs::perms::all, fs::perm_options::remove);
  fs::permissions(dir.Path("good.tvx"), fs::perms::owner_read, fs::perm_options::add);
  EXPECT_FALSE(doc.Save(dir.Path("good.tvx").c_str()));
  EXPECT_EQ("ERROR  : '" + dir.Path("good.tvx") +
                "' の書き込みに失敗しました.\r\n"
                "         処理を中断します.\r\n",
            doc.m_strMessage.GetText());
  EXPECT_EQ(before, ReadBytes(dir.Path("good.tvx")));
  fs::permissions(dir.Path("good.tvx"), fs::perms::owner_write, fs::perm_options::add);
  // Whatever failed, no temporary is left beside the projects.
  EXPECT_EQ(2, std::distance(fs::directory_iterator(dir.Dir()), fs::directory_iterator()));
}

#ifndef _WIN32
// Saved through a symlink, the linked file is updated and the link stays;
// a stray symlink never carries the new bytes elsewhere; the permission
// bits of the replaced file are kept.
TEST(ProjectFileTest, SaveUpdatesLinkedFileAndKeepsLinkAndMode) {
  namespace fs = std::filesystem;
  TempDir dir;
  fs::create_directory(dir.Path("real"));
  WriteBytes(dir.Path("real/p.tvx"), "old");
  fs::permissions(dir.Path("real/p.tvx"), fs::perms::owner_read | fs::perms::owner_write,
                  fs::perm_options::replace);
  fs::create_symlink(dir.Path("real/p.tvx"), dir.Path("link.tvx"));
  WriteBytes(dir.Path("victim"), "victim");
  fs::create_symlink(dir.Path("victim"), dir.Path("link.tvx.tovi-tmp"));
  fs::create_symlink(dir.Path("victim"), dir.Path("real/p.tvx.tovi-tmp"));
  CDocument doc;
  doc.AddItem(CItem("Q:\\a.c", "Q:\\b.c"));
  ASSERT_TRUE(doc.Save(dir.Path("link.tvx").c_str()));
  EXPECT_TRUE(fs::is_symlink(dir.Path("link.tvx")));
  EXPECT_EQ(39u, ReadBytes(dir.Path("real/p.tvx")).size());
  EXPECT_EQ(fs::status(dir.Path("real/p.tvx")).permissions(),
            fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ("victim", ReadBytes(dir.Path("victim")));
}
#endif

// Fails the first, second, third ... allocation of a load and of a save
// until the operation completes: each failure is reported as such, and
// the document and the file stay exactly as they were.
TEST(ProjectFileTest, AllocationFailureAtAnyPointChangesNothing) {
  TempDir dir;
  const std::string path = dir.Path("p.tvx");
  CDocument original;
  original.m_nPathMode = 1;  // loading then turns every path relative: more to fail
  for (int i = 0; i < 3; ++i) {
    const std::string name = "item-with-a-long-name-" + std::to_string(i);
    original.AddItem(CItem(dir.PathString(name + ".c"), dir.PathString(name + ".out")));
  }
  ASSERT_TRUE(original.Save(path.c_str()));
  const std::string bytes = ReadBytes(path);
  const std::string outOfMemory =
      "ERROR  : メモリが不足しました.\r\n          処理を中断します.\r\n";

  CDocument reference;
  ASSERT_EQ(1, reference.Load(path.c_str()));
  bool loaded = false;
  for (int n = 0; !loaded; ++n) {
    SCOPED_TRACE("load, allocation " + std::to_string(n));
    CDocument doc;
    doc.AddItem(CItem("Q:\\kept.c", "Q:\\kept.out"));
    Core::Testing::FailAllocationAfter(n);
    loaded = doc.Load(path.c_str()) != 0;
    const bool failed = !Core::Testing::AllocationFailurePending();
    Core::Testing::FailAllocationAfter(-1);
    ASSERT_NE(loaded, failed);
    if (loaded) {
      ASSERT_EQ(3, doc.GetItemCount());
      for (int i = 0; i < 3; ++i) {
        EXPECT_STREQ(reference.GetItem(i).m_strSource.GetText(),
                     doc.GetItem(i).m_strSource.GetText());
        EXPECT_STREQ(reference.GetItem(i).m_strDestination.GetText(),
                     doc.GetItem(i).m_strDestination.GetText());
      }
    } else {
      EXPECT_EQ(outOfMemory, doc.m_strMessage.GetText());
      ASSERT_EQ(1, doc.GetItemCount());
      EXPECT_STREQ("Q:\\kept.out", doc.GetItem(0).m_strDestination.GetText());
      EXPECT_TRUE(doc.m_strPath.IsEmpty());
    }
  }

  bool saved = false;
  for (int n = 0; !saved; ++n) {
    SCOPED_TRACE("save, allocation " + std::to_string(n));
    CDocument doc;
    ASSERT_EQ(1, doc.Load(path.c_str()));
    doc.AddItem(CItem(dir.PathString("one-more.c"), dir.PathString("one-more.out")));
    Core::Testing::FailAllocationAfter(n);
    saved = doc.Save(dir.Path("p.tvx").c_str());
    const bool failed = !Core::Testing::AllocationFailurePending();
    Core::Testing::FailAllocationAfter(-1);
    ASSERT_NE(saved, failed);
    if (!saved) {
      EXPECT_EQ(outOfMemory, doc.m_strMessage.GetText());
      EXPECT_EQ(bytes, ReadBytes(path));
      EXPECT_EQ(1, doc.m_nModified);
    }
  }
  EXPECT_NE(bytes, ReadBytes(path));
  EXPECT_EQ(1, std::distance(std::filesystem::directory_iterator(dir.Dir()),
                             std::filesystem::directory_iterator()));
}

// Random projects come back item for item and setting for setting.
TEST(ProjectFileTest, RandomProjectsRoundTrip) {
  std::mt19937 random(20261207);
  TempDir dir;
  for (int round = 0; round < 200; ++round) {
    CDocument doc;
    doc.m_nPathMode = static_cast<int>(random() % 2);
    doc.m_nDirectiveMode = static_cast<int>(random() % 3);
    doc.m_nSourceCodePage = random() % 2 ? kSourceUtf8 : kSourceCp932;
    const int count = static_cast<int>(random() % 20);
    for (int i = 0; i < count; ++i) {
      // A drive no test machine uses, so neither path mode rewrites the paths.
      std::string source = "Q:\\", destination = "Q:\\";
      for (int n = 1 + random() % 40; n > 0; --n) source += static_cast<char>(1 + random() % 255);
      for (int n = 1 + random() % 40; n > 0; --n)
        destination += static_cast<char>(1 + random() % 255);
      doc.AddItem(CItem(source.c_str(), destination.c_str()));
    }
    ASSERT_TRUE(doc.Save(dir.Path("r.tvx").c_str()));
    CDocument back;
    ASSERT_EQ(1, back.Load(dir.Path("r.tvx").c_str()));
    ASSERT_EQ(doc.GetItemCount(), back.GetItemCount());
    for (int i = 0; i < count; ++i) {
      EXPECT_STREQ(doc.GetItem(i).m_strSource.GetText(), back.GetItem(i).m_strSource.GetText());
      EXPECT_STREQ(doc.GetItem(i).m_strDestination.GetText(),
                   back.GetItem(i).m_strDestination.GetText());
    }
    EXPECT_EQ(doc.m_nPathMode, back.m_nPathMode);
    EXPECT_EQ(doc.m_nDirectiveMode, back.m_nDirectiveMode);
    EXPECT_EQ(doc.m_nSourceCodePage, back.m_nSourceCodePage);
  }
}

}  // namespace
