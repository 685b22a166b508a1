// The program's command-line arguments after its own name, as UTF-16.
#pragma once
#include <string>
#include <vector>

std::vector<std::wstring> CommandArguments();
