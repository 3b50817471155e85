// tovi.ini rules: defaults, order, maximised and off-screen windows, and
// the history keys.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "app/core/AppSettings.h"

namespace {

// An INI file in memory that records every call in order.
class CFakeProfile : public IProfile {
 public:
  std::uint32_t GetNumber(const char* section, const char* key, int defaultValue) override {
    m_calls.push_back(std::string("read ") + section + "/" + key);
    const auto it = m_values.find(Key(section, key));
    if (it == m_values.end()) return static_cast<std::uint32_t>(defaultValue);
    return static_cast<std::uint32_t>(std::strtoll(it->second.c_str(), nullptr, 10));
  }
  Core::CString GetText(const char* section, const char* key, const char* defaultValue) override {
    m_calls.push_back(std::string("read ") + section + "/" + key);
    const auto it = m_values.find(Key(section, key));
    if (it == m_values.end()) return defaultValue;
    return it->second.c_str();
  }
  void WriteText(const char* section, const char* key, const char* text) override {
    if (text) {
      m_calls.push_back(std::string("write ") + section + "/" + key + "=" + text);
      m_values[Key(section, key)] = text;
    } else {
      m_calls.push_back(std::string("remove ") + section + "/" + key);
      m_values.erase(Key(section, key));
    }
  }

  void Set(const char* section, const char* key, const std::string& value) {
    m_values[Key(section, key)] = value;
  }
  bool Has(const char* section, const char* key) const {
    return m_values.count(Key(section, key)) != 0;
  }
  std::string Get(const char* section, const char* key) const {
    return m_values.at(Key(section, key));
  }

  std::vector<std::string> m_calls;

 private:
  static std::string Key(const char* section, const char* key) {
    return std::string(section) + "/" + key;
  }
  std::map<std::string, std::string> m_values;
};

EndPlacement NormalWindow(int left, int top, int right, int bottom) {
  EndPlacement placement;
  placement.showCmd = kShowNormal;
  placement.normal = {left, top, right, bottom};
  placement.window = {left, top, right, bottom};
  return placement;
}

TEST(AppSettingsTest, StartsWithThreeEmptyEntriesAndRestoreOn) {
  const CAppSettings settings;
  EXPECT_EQ(1, settings.m_bRestoreWindowState);
  EXPECT_EQ(3, settings.m_nHistoryCount);
  ASSERT_EQ(3, settings.m_aHistory.GetSize());
  for (int i = 0; i < 3; ++i) EXPECT_EQ(nullptr, settings.m_aHistory[i].GetBuffer());
}

TEST(AppSettingsTest, EmptyFileGivesDefaultPlacementSplitAndHistory) {
  CFakeProfile ini;
  CAppSettings settings;
  const StartPlacement placement = settings.Load(ini);
  EXPECT_EQ(kUseDefault, placement.x);
  EXPECT_EQ(kUseDefault, placement.y);
  EXPECT_EQ(kUseDefault, placement.width);
  EXPECT_EQ(kUseDefault, placement.height);
  EXPECT_EQ(kShowNormal, placement.showCmd);
  EXPECT_DOUBLE_EQ(50.0, settings.m_dSplitRate);
  EXPECT_EQ(3, settings.m_nHistoryCount);
  EXPECT_EQ(3, settings.m_nHistoryShown);
  const std::vector<std::string> want = {"read Window/RestoreWindowState",
                                         "read Window/Pos_X",
                                         "read Window/Pos_Y",
                                         "read Window/Wnd_Width",
                                         "read Window/Wnd_Height",
                                         "read Window/Dpi",
                                         "read Window/ShowCmd",
                                         "read Window/SplitBarRate",
                                         "read FileHist/Size",
                                         "read FileHist/Path_2",
                                         "read FileHist/Path_1",
                                         "read FileHist/Path_0"};
  EXPECT_EQ(want, ini.m_calls);
}

TEST(AppSettingsTest, StoredPlacementAndRateAreRead) {
  CFakeProfile ini;
  ini.Set("Window", "Pos_X", "120");
  ini.Set("Window", "Pos_Y", "0");
  ini.Set("Window", "Wnd_Width", "640");
  ini.Set("Window", "Wnd_Height", "480");
  ini.Set("Window", "ShowCmd", "3");
  ini.Set("Window", "SplitBarRate", "30");
  CAppSettings settings;
  const StartPlacement placement = settings.Load(ini);
  EXPECT_EQ(120, placement.x);
  EXPECT_EQ(0, placement.y);
  EXPECT_EQ(640, placement.width);
  EXPECT_EQ(480, placement.height);
  EXPECT_EQ(kShowMaximized, placement.showCmd);
  EXPECT_DOUBLE_EQ(30.0, settings.m_dSplitRate);
}

TEST(AppSettingsTest, SplitRateIsReadAsAnUnsignedNumber) {
  CFakeProfile ini;
  ini.Set("Window", "SplitBarRate", "-1");
  CAppSettings settings;
  settings.Load(ini);
  EXPECT_DOUBLE_EQ(4294967295.0, settings.m_dSplitRate);
}

TEST(AppSettingsTest, OnlyMaximisedOrNormalShowStatesStart) {
  const char* const values[] = {"0", "1", "2", "6", "7", "3"};
  const int want[] = {kShowNormal, kShowNormal, kShowNormal,
                      kShowNormal, kShowNormal, kShowMaximized};
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(values[i]);
    CFakeProfile ini;
    ini.Set("Window", "ShowCmd", values[i]);
    CAppSettings settings;
    EXPECT_EQ(want[i], settings.Load(ini).showCmd);
  }
}

TEST(AppSettingsTest, RestoreOffIgnoresStoredPlacementButStillWritesIt) {
  CFakeProfile ini;
  ini.Set("Window", "RestoreWindowState", "0");
  ini.Set("Window", "Pos_X", "120");
  ini.Set("Window", "ShowCmd", "3");
  ini.Set("Window", "SplitBarRate", "30");
  CAppSettings settings;
  const StartPlacement placement = settings.Load(ini);
  EXPECT_EQ(0, settings.m_bRestoreWindowState);
  EXPECT_EQ(kUseDefault, placement.x);
  EXPECT_EQ(kShowNormal, placement.showCmd);
  EXPECT_DOUBLE_EQ(50.0, settings.m_dSplitRate);
  EXPECT_EQ("read FileHist/Size", ini.m_calls[1]);

  settings.Save(ini, NormalWindow(10, 20, 510, 420));
  EXPECT_EQ("0", ini.Get("Window", "RestoreWindowState"));
  EXPECT_EQ("10", ini.Get("Window", "Pos_X"));
  EXPECT_EQ("500", ini.Get("Window", "Wnd_Width"));
  EXPECT_EQ("50", ini.Get("Window", "SplitBarRate"));
}

TEST(AppSettingsTest, SaveWritesEveryKeyInOrder) {
  CFakeProfile ini;
  CAppSettings settings;
  settings.Load(ini);
  settings.m_dSplitRate = 33.5;
  settings.AddToHistory("C:\\a.tvx");
  ini.m_calls.clear();
  settings.Save(ini, NormalWindow(10, 20, 510, 420));
  const std::vector<std::string> want = {"write Window/RestoreWindowState=1",
                                         "write Window/Wnd_Width=500",
                                         "write Window/Wnd_Height=400",
                                         "write Window/Dpi=96",
                                         "write Window/ShowCmd=1",
                                         "write Window/Pos_X=10",
                                         "write Window/Pos_Y=20",
                                         "write Window/SplitBarRate=34",
                                         "write FileHist/Size=3",
                                         "write FileHist/Path_0=C:\\a.tvx",
                                         "remove FileHist/Path_1",
                                         "remove FileHist/Path_2"};
  EXPECT_EQ(want, ini.m_calls);
}

// The sizes a maximised window leaves alone keep the DPI they were saved at.
TEST(AppSettingsTest, MaximisedWindowKeepsStoredSizes) {
  CFakeProfile ini;
  ini.Set("Window", "Wnd_Width", "640");
  ini.Set("Window", "Wnd_Height", "480");
  ini.Set("Window", "Dpi", "144");
  CAppSettings settings;
  settings.Load(ini);
  EndPlacement placement;
  placement.showCmd = kShowMaximized;
  placement.dpi = 96;
  placement.normal = {100, 80, 740, 560};
  placement.window = {-4, -4, 1028, 772};
  settings.Save(ini, placement);
  EXPECT_EQ("3", ini.Get("Window", "ShowCmd"));
  EXPECT_EQ("640", ini.Get("Window", "Wnd_Width"));
  EXPECT_EQ("480", ini.Get("Window", "Wnd_Height"));
  EXPECT_EQ("144", ini.Get("Window", "Dpi"));
  EXPECT_EQ("100", ini.Get("Window", "Pos_X"));
  EXPECT_EQ("80", ini.Get("Window", "Pos_Y"));
}

// The size is kept for the DPI it was saved at and comes back as large on
// the screen at another; the position stays in screen pixels.
TEST(AppSettingsTest, PlacementSavedAtOneDpiRestoresAtAnother) {
  struct Row {
    int savedDpi;  // 0: a file written before the key existed
    int width, height;
    int startDpi;
    int wantWidth, wantHeight;
  } const rows[] = {
      {144, 960, 720, 96, 640, 480},    {96, 640, 480, 144, 960, 720},
      {0, 640, 480, 192, 1280, 960},    {120, 801, 601, 96, 641, 481},  // 640.8, 480.8
      {192, 1000, 700, 192, 1000, 700},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.savedDpi * 1000 + row.startDpi);
    CFakeProfile ini;
    CAppSettings settings;
    EndPlacement end = NormalWindow(100, 80, 100 + row.width, 80 + row.height);
    end.dpi = row.savedDpi;
    settings.Save(ini, end);
    if (row.savedDpi == 0) {
      ini.WriteText("Window", "Dpi", nullptr);
    } else {
      EXPECT_EQ(std::to_string(row.savedDpi), ini.Get("Window", "Dpi"));
    }
    CAppSettings next;
    const StartPlacement at = PlacementAtDpi(next.Load(ini), row.startDpi);
    EXPECT_EQ(100, at.x);
    EXPECT_EQ(80, at.y);
    EXPECT_EQ(row.wantWidth, at.width);
    EXPECT_EQ(row.wantHeight, at.height);
    EXPECT_EQ(row.startDpi, at.dpi);
  }
  // Nothing stored: the system still chooses.
  CFakeProfile empty;
  CAppSettings settings;
  const StartPlacement at = PlacementAtDpi(settings.Load(empty), 144);
  EXPECT_EQ(kUseDefault, at.width);
  EXPECT_EQ(kUseDefault, at.height);
}

TEST(AppSettingsTest, MinimisedWindowStoresItsNormalSize) {
  CFakeProfile ini;
  CAppSettings settings;
  EndPlacement placement;
  placement.showCmd = kShowMinimized;
  placement.normal = {100, 80, 740, 560};
  placement.window = {0, 740, 160, 768};
  settings.Save(ini, placement);
  EXPECT_EQ("1", ini.Get("Window", "ShowCmd"));
  EXPECT_EQ("640", ini.Get("Window", "Wnd_Width"));
  EXPECT_EQ("480", ini.Get("Window", "Wnd_Height"));

  CFakeProfile maximizedIni;
  placement.restoreToMaximized = true;
  settings.Save(maximizedIni, placement);
  EXPECT_EQ("3", maximizedIni.Get("Window", "ShowCmd"));
  EXPECT_FALSE(maximizedIni.Has("Window", "Wnd_Width"));
}

TEST(AppSettingsTest, OffScreenLeftAndTopAreStoredAsZero) {
  CFakeProfile ini;
  CAppSettings settings;
  settings.Save(ini, NormalWindow(-30, -1, 470, 399));
  EXPECT_EQ("0", ini.Get("Window", "Pos_X"));
  EXPECT_EQ("0", ini.Get("Window", "Pos_Y"));
  EXPECT_EQ("500", ini.Get("Window", "Wnd_Width"));
}

TEST(AppSettingsTest, HistoryIsReadMostRecentFirst) {
  CFakeProfile ini;
  ini.Set("FileHist", "Path_0", "C:\\new.tvx");
  ini.Set("FileHist", "Path_1", "C:\\old.tvx");
  ini.Set("FileHist", "Path_2", "");
  ini.Set("FileHist", "Path_3", "C:\\beyond.tvx");
  CAppSettings settings;
  settings.Load(ini);
  ASSERT_EQ(3, settings.m_aHistory.GetSize());
  EXPECT_STREQ("C:\\new.tvx", settings.m_aHistory[0].GetText());
  EXPECT_STREQ("C:\\old.tvx", settings.m_aHistory[1].GetText());
  EXPECT_TRUE(settings.m_aHistory[2].IsEmpty());
}

TEST(AppSettingsTest, SizeCarriesTheHistoryCount) {
  struct Row {
    const char* size;
    int want;
  } rows[] = {{"0", 0}, {"1", 1}, {"5", 5}, {"9", 9}, {"10", 9}, {"-1", 0}, {"x", 0}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.size);
    CFakeProfile ini;
    ini.Set("FileHist", "Size", row.size);
    for (int i = 0; i < 10; ++i) {
      Core::CString key;
      key.Format("Path_%d", i);
      ini.Set("FileHist", key.GetText(), std::string("C:\\p") + char('0' + i) + ".tvx");
    }
    CAppSettings settings;
    settings.Load(ini);
    EXPECT_EQ(row.want, settings.m_nHistoryCount);
    EXPECT_EQ(row.want, settings.m_nHistoryShown);
    ASSERT_EQ(row.want, settings.m_aHistory.GetSize());
    // Exactly Path_0 .. Path_(count - 1) are read, in order.
    for (int i = 0; i < row.want; ++i) {
      EXPECT_EQ(std::string("C:\\p") + char('0' + i) + ".tvx", settings.m_aHistory[i].GetText());
    }
    ini.m_calls.clear();
    settings.Save(ini, NormalWindow(0, 0, 100, 100));
    EXPECT_EQ(std::to_string(row.want), ini.Get("FileHist", "Size"));
  }
}

TEST(AppSettingsTest, ChangedCountIsWrittenAndKeysBeyondItStay) {
  CFakeProfile ini;
  ini.Set("FileHist", "Path_0", "C:\\a.tvx");
  ini.Set("FileHist", "Path_1", "C:\\b.tvx");
  ini.Set("FileHist", "Path_2", "C:\\c.tvx");
  CAppSettings settings;
  settings.Load(ini);
  settings.SetHistoryCount(1);
  settings.Save(ini, NormalWindow(0, 0, 100, 100));
  EXPECT_EQ("1", ini.Get("FileHist", "Size"));
  EXPECT_EQ("C:\\a.tvx", ini.Get("FileHist", "Path_0"));
  EXPECT_EQ("C:\\b.tvx", ini.Get("FileHist", "Path_1"));  // untouched
  EXPECT_EQ("C:\\c.tvx", ini.Get("FileHist", "Path_2"));

  CAppSettings next;
  next.Load(ini);
  EXPECT_EQ(1, next.m_nHistoryCount);
  ASSERT_EQ(1, next.m_aHistory.GetSize());
  EXPECT_STREQ("C:\\a.tvx", next.m_aHistory[0].GetText());
}

TEST(AppSettingsTest, NeverSetEntryRemovesItsKeyAndEmptiedEntryWritesIt) {
  CFakeProfile ini;
  ini.Set("FileHist", "Path_0", "old");
  ini.Set("FileHist", "Path_1", "old");
  ini.Set("FileHist", "Path_2", "old");
  CAppSettings fresh;
  fresh.Save(ini, NormalWindow(0, 0, 100, 100));
  EXPECT_FALSE(ini.Has("FileHist", "Path_0"));
  EXPECT_FALSE(ini.Has("FileHist", "Path_1"));
  EXPECT_FALSE(ini.Has("FileHist", "Path_2"));

  // The only entry dropped (its project vanished): entry 0 took the empty
  // value of entry 1 but keeps its block, so its key stays, empty.
  CAppSettings settings;
  settings.AddToHistory("C:\\a.tvx");
  settings.m_aHistory.RemoveAt(0);
  settings.Save(ini, NormalWindow(0, 0, 100, 100));
  ASSERT_TRUE(ini.Has("FileHist", "Path_0"));
  EXPECT_EQ("", ini.Get("FileHist", "Path_0"));
  EXPECT_FALSE(ini.Has("FileHist", "Path_1"));
  EXPECT_FALSE(ini.Has("FileHist", "Path_2"));
}

TEST(AppSettingsTest, DroppedEntryLeavesItsKeyRemovedAtTheEnd) {
  CFakeProfile ini;
  CAppSettings settings;
  settings.AddToHistory("C:\\a.tvx");
  settings.AddToHistory("C:\\b.tvx");
  settings.AddToHistory("C:\\c.tvx");
  settings.m_aHistory.RemoveAt(1);  // what opening a vanished entry does
  settings.Save(ini, NormalWindow(0, 0, 100, 100));
  EXPECT_EQ("C:\\c.tvx", ini.Get("FileHist", "Path_0"));
  EXPECT_EQ("C:\\a.tvx", ini.Get("FileHist", "Path_1"));
  EXPECT_FALSE(ini.Has("FileHist", "Path_2"));
}

}  // namespace
