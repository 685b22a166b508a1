// The GDI+ flat interface. <objidl.h> comes first because the GDI+ headers
// need PROPID, which the lean Windows headers leave out.
#pragma once
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
