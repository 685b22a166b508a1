// Placing text on the system clipboard.
#pragma once

// Puts the text on the clipboard as CF_TEXT, marked with the Chinese locale
// so that the platform offers the right Unicode text too. False for a null
// text or when the clipboard cannot be opened or the block not allocated.
bool SetClipboardText(const char* text);
