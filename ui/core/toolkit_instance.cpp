#include "ui/core/toolkit_instance.h"

namespace {
HINSTANCE g_instance = nullptr;
}

HINSTANCE ToolkitInstance() { return g_instance ? g_instance : GetModuleHandleW(nullptr); }

void SetToolkitInstance(HINSTANCE instance) { g_instance = instance; }
