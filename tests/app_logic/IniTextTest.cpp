// tovi.ini changed key by key in memory, and saved whole or not at all.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/core/IniText.h"
#include "tests/support/TempDir.h"

namespace {

using namespace std::string_literals;

struct Update {
  const char* section;
  const char* key;
  const char* value;  // nullptr: remove the key
};

Core::CArray<IniUpdate> MakeUpdates(const std::vector<Update>& updates) {
  Core::CArray<IniUpdate> result;
  for (const Update& update : updates) {
    IniUpdate item;
    item.section = update.section;
    item.key = update.key;
    item.value = update.value ? update.value : "";
    item.remove = update.value == nullptr;
    result.Add(item);
  }
  return result;
}

struct IniRow {
  const char* name;
  std::string text;
  std::vector<Update> updates;
  std::string want;
};

TEST(IniTextTest, UpdatesChangeOnlyTheirKeys) {
  const IniRow rows[] = {
      {"empty file",
       "",
       {{"Window", "A", "1"},
        {"Window", "B", "2"},
        {"FileHist", "Size", "3"},
        {"FileHist", "Path_0", nullptr},
        {"Gone", "X", nullptr}},
       "[Window]\r\nA=1\r\nB=2\r\n[FileHist]\r\nSize=3\r\n"},
      {"replaced in place, foreign lines kept",
       "; note\r\n[Window]\r\nA=1\r\nX=keep\r\n\r\n[Other]\r\nA=v\r\n",
       {{"Window", "A", "2"}},
       "; note\r\n[Window]\r\nA=2\r\nX=keep\r\n\r\n[Other]\r\nA=v\r\n"},
      {"names match in any case, spaced, spelt as in the file",
       "[ window ] ; x\r\n  pos_x = 5  \r\n",
       {{"Window", "Pos_X", "7"}},
       "[ window ] ; x\r\npos_x=7\r\n"},
      {"new key after the section's last non-blank line",
       "[Window]\r\nA=1\r\n; end\r\n\r\n[FileHist]\r\nSize=3\r\n",
       {{"Window", "B", "2"}},
       "[Window]\r\nA=1\r\n; end\r\nB=2\r\n\r\n[FileHist]\r\nSize=3\r\n"},
      {"new key in an empty section",
       "[Window]\r\n[Other]\r\n",
       {{"Window", "A", "1"}},
       "[Window]\r\nA=1\r\n[Other]\r\n"},
      {"new section after a last line without end",
       "[Other]\r\nk=v",
       {{"Window", "A", "1"}},
       "[Other]\r\nk=v\r\n[Window]\r\nA=1\r\n"},
      {"last line without end replaced", "[W]\r\nA=1", {{"W", "A", "2"}}, "[W]\r\nA=2\r\n"},
      {"removed key, LF ends kept",
       "[W]\nA=1\nB=2\n",
       {{"W", "a", nullptr}, {"W", "C", nullptr}},
       "[W]\nB=2\n"},
      {"first of two sections and keys",
       "[W]\r\nA=1\r\nA=2\r\n[W]\r\nB=1\r\n",
       {{"W", "A", "3"}, {"W", "B", "4"}},
       "[W]\r\nA=3\r\nA=2\r\nB=4\r\n[W]\r\nB=1\r\n"},
      {"section name runs to the last bracket",
       "[W]]\r\nA=1\r\n",
       {{"W", "A", "2"}},
       "[W]]\r\nA=1\r\n[W]\r\nA=2\r\n"},
      {"double-byte names keep their case",
       "[W]\r\n\x83\x41=1\r\n",
       {{"W", "\x83\x61", "2"}},
       "[W]\r\n\x83\x41=1\r\n\x83\x61=2\r\n"},
      {"bracket as a second byte closes no section",
       "[W\x83]\r\nA=1\r\n",
       {{"W\x83", "A", "2"}},
       "[W\x83]\r\nA=1\r\n[W\x83]\r\nA=2\r\n"},
      {"CR line ends", "[W]\rA=1\r", {{"W", "A", "2"}}, "[W]\rA=2\r\n"},
      {"UTF-8 mark before the first section",
       "\xEF\xBB\xBF[W]\r\nA=1\r\n",
       {{"W", "A", "2"}},
       "\xEF\xBB\xBF[W]\r\nA=2\r\n"},
      {"NUL bytes kept", "[W]\r\nX=\0y\r\nA=1\r\n"s, {{"W", "A", "2"}}, "[W]\r\nX=\0y\r\nA=2\r\n"s},
  };
  for (const IniRow& row : rows) {
    SCOPED_TRACE(row.name);
    Core::CArray<char> out;
    ASSERT_TRUE(UpdateIniText(row.text.data(), row.text.size(), MakeUpdates(row.updates), &out));
    EXPECT_EQ(row.want, std::string(out.GetData() ? out.GetData() : "",
                                    static_cast<std::size_t>(out.GetSize())));
  }
  // Single bytes written into UTF-16 text would spoil it.
  Core::CArray<char> out;
  EXPECT_FALSE(UpdateIniText("\xFF\xFE[\0W\0", 6, MakeUpdates({{"W", "A", "1"}}), &out));
}

// A file that would not open or read, standing for one held elsewhere or
// on a failing disk.
class CFailingFile : public Core::CFile {
 public:
  explicit CFailingFile(bool failOpen) : m_bFailOpen(failOpen) {}
  bool Open(const Core::CString& path, bool write, bool create) override {
    return !m_bFailOpen && Core::CFile::Open(path, write, create);
  }
  int Read(void*, int) override { return -1; }

 private:
  bool m_bFailOpen;
};

// A missing file is created; one that is there but cannot be read is never
// taken for an empty one.
TEST(IniTextTest, OnlyAMissingFileReadsAsEmpty) {
  TestSupport::TempDir dir;
  const std::string path = dir.Path("tovi.ini");
  ASSERT_TRUE(SaveIniUpdates(path.c_str(), MakeUpdates({{"W", "A", "2"}})));
  EXPECT_EQ("[W]\r\nA=2\r\n", TestSupport::ReadBytes(path));
  TestSupport::WriteBytes(path, "; kept\r\n[W]\r\nA=1\r\n");
  ASSERT_TRUE(SaveIniUpdates(path.c_str(), MakeUpdates({{"W", "A", "3"}})));
  EXPECT_EQ("; kept\r\n[W]\r\nA=3\r\n", TestSupport::ReadBytes(path));

  Core::CArray<char> bytes;
  for (const bool failOpen : {true, false}) {
    CFailingFile file(failOpen);
    EXPECT_FALSE(ReadIniFile(file, path.c_str(), &bytes)) << failOpen;
  }
  CFailingFile file(true);
  EXPECT_TRUE(ReadIniFile(file, dir.Path("missing.ini").c_str(), &bytes));
  EXPECT_EQ(0, bytes.GetSize());
}

}  // namespace
