#include "runtime/message_box.h"

#include "runtime/codepage.h"

namespace {
MessageBoxHandler g_handler = nullptr;
}

int RuntimeMessageBox(HWND owner, const char* text, const char* caption, UINT style) {
  if (g_handler) return g_handler(owner, text, caption, style);
  std::wstring wideText = GbkToWide(text ? text : "");
  std::wstring wideCaption = GbkToWide(caption ? caption : "");
  return MessageBoxW(owner, wideText.c_str(), wideCaption.c_str(), style);
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
  MessageBoxHandler previous = g_handler;
  g_handler = handler;
  return previous;
}
