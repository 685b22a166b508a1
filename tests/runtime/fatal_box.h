// Fatal paths end the process, so they are checked as death tests: inside
// the child every box is printed to stderr in hex, which the parent matches
// byte for byte (GBK texts would not survive a regular expression).
#pragma once
#include <windows.h>

#include <cstdio>
#include <string>

#include "runtime/codepage.h"
#include "runtime/message_box.h"

inline std::string HexOf(const char* text) {
  std::string hex;
  char digits[3];
  for (const char* p = text ? text : ""; *p; ++p) {
    std::snprintf(digits, sizeof digits, "%02X", static_cast<unsigned char>(*p));
    hex += digits;
  }
  return hex;
}

inline std::string BoxRecord(const char* caption, const char* text, UINT style) {
  return "BOX " + HexOf(caption) + " " + std::to_string(style) + " " + HexOf(text) + " END";
}

inline int PrintBoxToStderr(HWND, const wchar_t* text, const wchar_t* caption, UINT style) {
  std::fprintf(stderr, "%s\n", BoxRecord(WideToGbk(caption).c_str(), WideToGbk(text).c_str(), style).c_str());
  std::fflush(stderr);
  return IDOK;
}

inline void CaptureBoxes() { SetMessageBoxHandler(PrintBoxToStderr); }
