#include "runtime/runtime_service.h"

#include <cstring>
#include <string>

#include "runtime/array.h"
#include "runtime/codepage.h"
#include "runtime/heap.h"
#include "runtime/message_box.h"
#include "runtime/program_end.h"
#include "runtime/typed_arg.h"

namespace {

// The program's directory (with trailing backslash) and file name, in GBK;
// both empty when the module name cannot be read.
struct ProgramPath {
  std::string directory;
  std::string fileName;
};

const ProgramPath& ProgramLocation() {
  static const ProgramPath path = [] {
    wchar_t buffer[MAX_PATH * 4];
    DWORD length = GetModuleFileNameW(nullptr, buffer, static_cast<DWORD>(std::size(buffer)));
    if (length == 0 || length >= std::size(buffer)) return ProgramPath{};
    std::string full = WideToGbk(std::wstring_view(buffer, length));
    size_t cut = full.rfind('\\') + 1;  // 0 when there is no backslash
    return ProgramPath{full.substr(0, cut), full.substr(cut)};
  }();
  return path;
}

INT_PTR CopyInto(INT_PTR buffer, const std::string& text) {
  std::memcpy(reinterpret_cast<char*>(buffer), text.c_str(), text.size() + 1);
  return buffer;
}

INT_PTR ProgramPathPart(INT_PTR which, INT_PTR buffer) {
  if (which == 1 || which == 2001) return CopyInto(buffer, ProgramLocation().directory);
  if (which == 2002) return CopyInto(buffer, ProgramLocation().fileName);
  return 0;
}

INT_PTR TypedArgAsInteger(const TypedArg* arg) {
  if (arg->type == ValueType::Float) return static_cast<INT_PTR>(arg->AsFloat());
  if (arg->type == ValueType::Double) return static_cast<INT_PTR>(arg->AsDouble());
  return static_cast<INT_PTR>(arg->value);
}

// The command line after the program's own name (quoted or not) and the
// blank that follows it, in GBK like every text of the program whatever the
// machine's code page.
const char* CommandLineArguments() {
  static const std::string arguments = [] {
    const std::wstring_view line = GetCommandLineW();
    size_t at = line.starts_with(L'"') ? line.find(L'"', 1) : line.find_first_of(L" \t");
    at = at == std::wstring_view::npos ? line.size() : at + (line.starts_with(L'"') ? 1 : 0);
    if (at < line.size() && (line[at] == L' ' || line[at] == L'\t')) ++at;
    return WideToGbk(line.substr(at));
  }();
  return arguments.c_str();
}

const char* ProgramDirectoryWithoutSlash() {
  static std::string directory;
  const ProgramPath& path = ProgramLocation();
  if (path.directory.empty() && path.fileName.empty()) return nullptr;
  directory = path.directory.substr(0, path.directory.empty() ? 0 : path.directory.size() - 1);
  return directory.c_str();
}

void DispatchPendingMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE) && message.message != WM_QUIT) {
    if (GetMessageA(&message, nullptr, 0, 0) <= 0) break;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

[[noreturn]] void FatalRuntimeText(const char* text) {
  char message[1100];
  wsprintfA(message, "Halcyon RunTime Error:\r\n\r\n%s", text);
  RuntimeMessageBox(nullptr, message, "ERROR", MB_ICONERROR);
  EndProgram(0);
}

INT_PTR Unsupported(int number) {
  char message[128];
  wsprintfA(message, "不支持系统功能函数%d. 请将此信息反馈给作者", number);
  RuntimeMessageBox(nullptr, message, "Halcyon", MB_ICONERROR);
  return 0;
}

}  // namespace

INT_PTR RuntimeService(int number, INT_PTR argument, INT_PTR second) {
  switch (number) {
    case 1004: return 1;
    case 1005: return 4;
    case 1006: return ProgramPathPart(argument, second);
    case 2001: return TypedArgAsInteger(reinterpret_cast<const TypedArg*>(argument));
    case 2002: return reinterpret_cast<INT_PTR>(CommandLineArguments());
    case 2003: return reinterpret_cast<INT_PTR>(ProgramDirectoryWithoutSlash());
    case 2004: {
      const ProgramPath& path = ProgramLocation();
      return path.fileName.empty() ? 0 : reinterpret_cast<INT_PTR>(path.fileName.c_str());
    }
    case 2018: DispatchPendingMessages(); return 0;
    case 2023: ReleaseArray(static_cast<uint32_t>(argument), reinterpret_cast<void*>(second)); return 0;
    case 2024: return reinterpret_cast<INT_PTR>(RuntimeAlloc(static_cast<size_t>(argument)));
    case 2025: RuntimeFree(reinterpret_cast<void*>(argument)); return 0;
    case 2026:
      return reinterpret_cast<INT_PTR>(RuntimeRealloc(reinterpret_cast<void*>(argument), static_cast<size_t>(second)));
    case 2027: FatalRuntimeText(reinterpret_cast<const char*>(argument));
    case 2028: EndProgram(static_cast<int>(argument));
    case 2030: return 3;
    case 2032:
    case 2033: return 0;
    default: return Unsupported(number);
  }
}
