#include <gtest/gtest.h>

#include "app/window_settings.h"

TEST(WindowSettings, TestBuildArguments) {
  using Settings = std::pair<std::optional<std::string>, std::string>;  // online-check URL, base site
  struct Case {
    std::vector<std::wstring> arguments;
    std::optional<Settings> settings;
  };
  const Case cases[] = {
      {{}, Settings(std::nullopt, DefaultBaseSite)},
      {{L"--online-check-url", L"http://127.0.0.1:81/", L"--base-site", L"https://localhost:82"},
       Settings("http://127.0.0.1:81/", "https://localhost:82")},
      {{L"--base-site", L"https://localhost:82"}, Settings(std::nullopt, "https://localhost:82")},
      {{L"--base-site"}, std::nullopt},
      {{L"--password", L"x"}, std::nullopt},
      {{L"http://127.0.0.1/"}, std::nullopt},
  };
  for (const Case& c : cases) {
    std::optional<WindowSettings> settings = ParseWindowTestArguments(c.arguments);
    ASSERT_EQ(settings.has_value(), c.settings.has_value()) << testing::PrintToString(c.arguments);
    if (settings) {
      EXPECT_EQ(Settings(settings->onlineCheckUrl, settings->baseSite), *c.settings);
    }
  }
}
