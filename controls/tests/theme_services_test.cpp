#include <gtest/gtest.h>

#include "controls/theme_services.h"
#include "platform/graphics/themes.h"
#include "platform/rtl/exceptions.h"

using namespace controls;

namespace {

const QString k14 = "Software\\Microsoft\\Office\\14.0\\Common";
const QString k12 = "Software\\Microsoft\\Office\\12.0\\Common";

class ThemeFixture : public ::testing::Test {
 protected:
  void TearDown() override {
    OfficeRegistry().Clear();
    ThemeMessageSink() = nullptr;
  }
  plat::TPlatformFactsScope facts;
};

TEST_F(ThemeFixture, DetectOfficeThemeTable) {
  struct Case {
    int v14, v12;        // -1: value missing
    const char* colour;  // XP colour scheme name
    bool themes;
    TOfficeTheme want;
  } cases[] = {
      {2, 1, "NormalColor", true, ot2010Silver},  // the 2007 key is not looked at
      {1, -1, "NormalColor", true, ot2010Blue},
      {3, -1, "NormalColor", true, ot2010Black},
      {0, 3, "NormalColor", true, ot2003Blue},    // a 2010 value of 0 ends the search
      {4, -1, "Metallic", true, ot2003Blue},
      {-1, 1, "NormalColor", true, ot2007Blue},
      {-1, 2, "NormalColor", true, ot2007Silver},
      {-1, 3, "NormalColor", true, ot2007Black},
      {-1, 7, "Metallic", true, ot2003Blue},
      {-1, -1, "NormalColor", true, ot2003Blue},
      {-1, -1, "HomeStead", true, ot2003Olive},
      {-1, -1, "Metallic", true, ot2003Silver},
      {-1, -1, "Other", true, ot2003Classic},
      {-1, -1, "Metallic", false, ot2003Classic},  // no active theme: scheme 0
  };
  for (const auto& c : cases) {
    OfficeRegistry().Clear();
    if (c.v14 >= 0) OfficeRegistry().WriteInteger(k14, "Theme", c.v14);
    if (c.v12 >= 0) OfficeRegistry().WriteInteger(k12, "Theme", c.v12);
    plat::PlatformFacts().ColorSchemeName = c.colour;
    plat::PlatformFacts().ThemesActive = c.themes;
    EXPECT_EQ(DetectOfficeTheme(), c.want) << c.v14 << " " << c.v12 << " " << c.colour;
  }
}

TEST_F(ThemeFixture, FactsAndFonts) {
  EXPECT_EQ(InstalledOfficeGeneration(), 0);
  OfficeRegistry().CreateKey(k12 + "\\General");
  EXPECT_EQ(InstalledOfficeGeneration(), 1);
  OfficeRegistry().CreateKey(k14 + "\\General");
  EXPECT_EQ(InstalledOfficeGeneration(), 2);
  EXPECT_EQ(ReadOfficeThemeValue(OfficeRegistry(), k14), -1);  // key without the value

  EXPECT_EQ(DefaultUIFontName(), "Segoe UI");
  plat::PlatformFacts().VistaOrLater = false;
  EXPECT_EQ(DefaultUIFontName(), "Tahoma");
  plat::PlatformFacts().WindowsXPOrLater = false;
  EXPECT_EQ(XPColorScheme(), 0);
}

TEST_F(ThemeFixture, NotifierWithoutOfficeDoesNothing) {
  TThemeNotifier notifier(nullptr);
  EXPECT_EQ(notifier.RegMonitorThread(), nullptr);
  EXPECT_EQ(notifier.NotifierWindow(), nullptr);
  int dummy = 0;
  notifier.RegisterWindow(&dummy);  // no monitor: nothing to register with
  notifier.UnRegisterWindow(&dummy);
}

TEST_F(ThemeFixture, NotifierFollowsThemeChanges) {
  OfficeRegistry().CreateKey(k14 + "\\General");
  OfficeRegistry().WriteInteger(k14, "Theme", 1);
  int fired = 0;
  std::vector<std::pair<TThemeWindow, QString>> sent;
  ThemeMessageSink() = [&](TThemeWindow w, unsigned msg, std::intptr_t wp, const QString& key) {
    EXPECT_EQ(msg, WM_OFFICETHEMECHANGE);
    EXPECT_EQ(wp, HKEY_CURRENT_USER);
    sent.emplace_back(w, key);
  };
  {
    TThemeNotifier notifier(nullptr);
    ASSERT_NE(notifier.RegMonitorThread(), nullptr);
    EXPECT_EQ(notifier.RegMonitorThread()->Filter(), 4u);
    notifier.OnOfficeThemeChange = [&](plat::TObject* sender) {
      EXPECT_EQ(sender, &notifier);
      ++fired;
    };
    int a = 0, b = 0;
    notifier.RegisterWindow(&a);
    notifier.RegisterWindow(&a);  // kept once
    notifier.RegisterWindow(&b);
    notifier.UnRegisterWindow(&b);
    notifier.UnRegisterWindow(&b);  // not in the list: nothing happens
    EXPECT_EQ(notifier.RegMonitorThread()->WinList().Count(), 1);

    OfficeRegistry().WriteInteger(k14, "Theme", 2);
    EXPECT_EQ(fired, 1);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].first, &a);
    EXPECT_EQ(sent[0].second, k14);
    EXPECT_EQ(DetectOfficeTheme(), ot2010Silver);
    OfficeRegistry().WriteInteger("Software\\Other", "Theme", 2);  // outside the watched key
    EXPECT_EQ(fired, 1);
  }
  OfficeRegistry().WriteInteger(k14, "Theme", 3);  // the notifier is gone: nobody is called
  EXPECT_EQ(fired, 1);
  EXPECT_EQ(sent.size(), 1u);
}

TEST_F(ThemeFixture, MonitorRules) {
  TRegMonitorThread monitor;
  EXPECT_EQ(monitor.Filter(), 15u);
  monitor.Key = "Software\\Missing";
  EXPECT_FALSE(monitor.Resume());  // a key that does not open ends the monitor
  EXPECT_FALSE(monitor.Running());

  THandleList list;
  int x = 0, y = 0;
  list.Add(&x);
  list.Insert(0, &y);
  EXPECT_EQ(list.GetInteger(0), &y);
  list.DeleteValue(&x);
  EXPECT_FALSE(list.HasValue(&x));
  EXPECT_THROW(list.Delete(3), plat::EListError);
}

TEST(ThemeLibrary, LoadsOnce) {
  TThemeLibrary lib;
  LoadThemeLibrary(lib);
  LoadThemeLibrary(lib);
  EXPECT_TRUE(lib.Loaded);
  EXPECT_EQ(lib.LoadCount, 1);
  ASSERT_NE(lib.IsThemeActive, nullptr);
  FreeThemeLibrary(lib);
  EXPECT_FALSE(lib.Loaded);
  EXPECT_EQ(lib.IsThemeActive, nullptr);
  EXPECT_TRUE(XPVS().Loaded);
  EXPECT_TRUE(ATXPVS().Loaded);
}

}  // namespace
