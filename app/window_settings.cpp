#include "app/window_settings.h"

#include "runtime/codepage.h"

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
