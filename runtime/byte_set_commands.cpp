#include "runtime/byte_set_commands.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "runtime/array.h"
#include "runtime/heap.h"
#include "runtime/program_end.h"
#include "runtime/value_bytes.h"

namespace {

constexpr uint32_t kReadKinds[] = {ValueType::Byte,    ValueType::Short,   ValueType::Int,
                                   ValueType::Long,    ValueType::Float,   ValueType::Double,
                                   ValueType::Logical, ValueType::DateTime, ValueType::Routine,
                                   ValueType::Text};
constexpr int kBadKindError = 100;

ReadValue Read(const void* bytes, int kind, int64_t offset, int* positionVariable) {
  if (kind < 1 || kind > static_cast<int>(std::size(kReadKinds))) RaiseRuntimeError(kBadKindError, {0, 0});
  ReadValue result;
  result.value.type = kReadKinds[kind - 1];
  std::string_view data = Bytes::ViewOf(bytes);
  if (offset < 0 || offset >= static_cast<int64_t>(data.size())) {
    if (positionVariable) *positionVariable = -1;
    return result;
  }
  std::string_view rest = data.substr(static_cast<size_t>(offset));
  size_t consumed;
  if (result.value.type == ValueType::Text) {
    std::string_view text = rest.substr(0, rest.find('\0'));
    result.text = Text::Copy(text);
    result.value.value = reinterpret_cast<UINT_PTR>(result.text.get());
    consumed = text.size() + 1;
  } else {
    // A value cut off by the end of the data reads as if zero-padded.
    consumed = ValueSize(result.value.type);
    uint64_t bits = 0;
    std::memcpy(&bits, rest.data(), std::min(consumed, rest.size()));
    if (result.value.type == ValueType::Logical) bits = bits != 0;
    result.value = TypedArg::FromBits(bits, result.value.type);
  }
  if (positionVariable) {
    int64_t next = offset + 1 + static_cast<int64_t>(consumed);
    *positionVariable = next > static_cast<int64_t>(data.size()) ? -1 : static_cast<int>(next);
  }
  return result;
}

}  // namespace

int BytesLength(const void* bytes) { return static_cast<int>(Bytes::SizeOf(bytes)); }

Bytes ZeroBytes(int n) { return n > 0 ? Bytes::Allocate(static_cast<size_t>(n), true) : Bytes(); }

Bytes BytesFromMemory(const void* address, int n) {
  return address && n > 0 ? Bytes::Copy(address, static_cast<size_t>(n)) : Bytes();
}

Bytes MidBytes(const void* bytes, int start, int n) {
  std::string_view data = Bytes::ViewOf(bytes);
  size_t from = start > 1 ? static_cast<size_t>(start - 1) : 0;
  if (n <= 0 || from >= data.size()) return Bytes();
  return Bytes::Copy(data.substr(from, static_cast<size_t>(n)));
}

ReadValue ReadValueFromBytes(const void* bytes, int kind) { return Read(bytes, kind, 0, nullptr); }

ReadValue ReadValueFromBytes(const void* bytes, int kind, int position) {
  return Read(bytes, kind, int64_t{position} - 1, nullptr);
}

ReadValue ReadValueFromBytes(const void* bytes, int kind, int* positionVariable) {
  if (!positionVariable) return ReadValueFromBytes(bytes, kind);
  return Read(bytes, kind, int64_t{*positionVariable} - 1, positionVariable);
}

void WriteValueToMemory(const TypedArg& value, void* address, std::optional<int> maxLength) {
  if (!address || (value.IsReference() && value.BaseType() != ValueType::Byte)) return;
  uint64_t scalar;
  std::string_view bytes = ValueBytes(value, scalar);
  size_t size = bytes.size();
  if (value.type == ValueType::Text && size) ++size;  // the terminator too
  if (maxLength) size = std::min(size, static_cast<size_t>(std::max(*maxLength, 0)));
  if (size) std::memcpy(address, bytes.data(), size);
}

void MakeArrayWritable(int elementSize, void** arrayVariable) {
  if (!arrayVariable || !*arrayVariable || !IsInProgramImage(*arrayVariable)) return;
  const void* block = *arrayVariable;
  auto headerSize = static_cast<size_t>(ArrayElements(block) - static_cast<const uint8_t*>(block));
  size_t size = headerSize + ArrayElementCount(block) * static_cast<size_t>(std::max(elementSize, 0));
  void* copy = RuntimeAllocRaw(size);
  std::memcpy(copy, block, size);
  *arrayVariable = copy;
}
