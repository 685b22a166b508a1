// The numbered service entry that the runtime hands to support modules.
#pragma once
#include <windows.h>

INT_PTR RuntimeService(int number, INT_PTR argument, INT_PTR second);
