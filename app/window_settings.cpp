#include "app/window_settings.h"

#include <utility>

#include "runtime/codepage.h"

namespace {

WindowSettings g_active;

}  // namespace

std::optional<WindowSettings> ParseWindowTestArguments(const std::vector<std::wstring>& arguments) {
  WindowSettings settings;
  for (size_t i = 0; i < arguments.size(); i += 2) {
    if (i + 1 == arguments.size()) return std::nullopt;  // an option without its value
    std::string value = WideToGbk(arguments[i + 1]);
    if (arguments[i] == L"--online-check-url") {
      settings.onlineCheckUrl = value;
    } else if (arguments[i] == L"--base-site") {
      settings.baseSite = value;
    } else {
      return std::nullopt;
    }
  }
  return settings;
}

void UseWindowSettings(WindowSettings settings) { g_active = std::move(settings); }

const WindowSettings& ActiveWindowSettings() { return g_active; }
