#include "ui/core/property_map.h"

#include <cmath>
#include <cstring>
#include <cwchar>

struct PropertyMap::Entry {
  uint32_t hash;
  std::string key;  // the key's bytes (an integer key's own bytes)
  INT_PTR value;    // the integer, or the address of `copy`
  std::string copy;
  std::unique_ptr<Entry> next;
};

namespace {

std::string_view CountedBytes(const void* block) {
  if (!block) return {};
  uint32_t count;
  std::memcpy(&count, block, sizeof count);
  return std::string_view(static_cast<const char*>(block) + sizeof count, count);
}

std::wstring_view WideView(std::string_view bytes) {
  return std::wstring_view(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
}

}  // namespace

MapItem::MapItem(const wchar_t* text)
    : bytes_(reinterpret_cast<const char*>(text ? text : L""), (text ? std::wcslen(text) : 0) * sizeof(wchar_t)) {}

MapItem MapItem::Counted(const void* block) { return MapItem(CountedBytes(block)); }

PropertyMap::PropertyMap(MapKind keyKind, MapKind valueKind)
    : buckets_(kInitialBuckets), keyKind_(keyKind), valueKind_(valueKind) {}

PropertyMap::~PropertyMap() = default;

size_t PropertyMap::Threshold() const {
  return static_cast<size_t>(std::floor(kLoadFactor * static_cast<float>(buckets_.size())));
}

// Texts compared ignoring case hash their upper-case form, so that keys
// that compare equal always land in the same bucket.
uint32_t PropertyMap::Hash(std::string_view keyBytes) const {
  std::wstring upper;
  if (keyKind_ == MapKind::WideText) {
    upper.assign(WideView(keyBytes));
    CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    keyBytes = std::string_view(reinterpret_cast<const char*>(upper.data()), keyBytes.size());
  }
  uint32_t h = 0;
  for (unsigned char b : keyBytes) h = h * 31 + b;
  return h;
}

bool PropertyMap::SameKey(const Entry& entry, uint32_t hash, std::string_view keyBytes) const {
  if (entry.hash != hash) return false;
  if (keyKind_ != MapKind::WideText) return entry.key == keyBytes;
  std::wstring_view a = WideView(entry.key), b = WideView(keyBytes);
  return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
         CSTR_EQUAL;
}

std::string_view PropertyMap::KeyBytes(const MapItem& key) const {
  return keyKind_ == MapKind::Integer ? key.IntegerBytes() : key.bytes();
}

PropertyMap::Entry* PropertyMap::Find(MapItem key) const {
  std::string_view bytes = KeyBytes(key);
  uint32_t hash = Hash(bytes);
  for (Entry* e = buckets_[(hash & 0x7FFFFFFF) % buckets_.size()].get(); e; e = e->next.get())
    if (SameKey(*e, hash, bytes)) return e;
  return nullptr;
}

INT_PTR PropertyMap::Get(MapItem key) const {
  Entry* entry = Find(key);
  return entry ? entry->value : 0;
}

// Copying kinds keep their own copy: texts with their terminator (two zero
// bytes for UTF-16), counted blocks with their count.
void PropertyMap::Store(Entry& entry, MapItem value) const {
  std::string_view bytes = value.bytes();
  switch (valueKind_) {
    case MapKind::Integer: entry.value = value.integer(); return;
    case MapKind::CountedBlock: {
      auto count = static_cast<uint32_t>(bytes.size());
      entry.copy.assign(reinterpret_cast<const char*>(&count), sizeof count).append(bytes);
      break;
    }
    case MapKind::WideText: entry.copy.assign(bytes).push_back('\0'); break;
    default: entry.copy.assign(bytes); break;
  }
  entry.value = reinterpret_cast<INT_PTR>(entry.copy.data());
}

bool PropertyMap::Set(MapItem key, MapItem value) {
  if (Entry* entry = Find(key)) {
    Store(*entry, value);
    return true;
  }
  if (count_ >= Threshold()) Grow();
  std::string_view bytes = KeyBytes(key);
  auto entry = std::make_unique<Entry>(Entry{Hash(bytes), std::string(bytes), 0, {}, nullptr});
  Store(*entry, value);
  auto& head = buckets_[(entry->hash & 0x7FFFFFFF) % buckets_.size()];
  entry->next = std::move(head);
  head = std::move(entry);
  ++count_;
  return false;
}

bool PropertyMap::Remove(MapItem key) {
  std::string_view bytes = KeyBytes(key);
  uint32_t hash = Hash(bytes);
  for (auto* link = &buckets_[(hash & 0x7FFFFFFF) % buckets_.size()]; *link; link = &(*link)->next) {
    if (!SameKey(**link, hash, bytes)) continue;
    *link = std::move((*link)->next);
    --count_;
    return true;
  }
  return false;
}

void PropertyMap::Grow() {
  std::vector<std::unique_ptr<Entry>> grown(2 * buckets_.size() + 1);
  for (auto& chain : buckets_) {
    while (chain) {
      std::unique_ptr<Entry> entry = std::move(chain);
      chain = std::move(entry->next);
      auto& head = grown[(entry->hash & 0x7FFFFFFF) % grown.size()];
      entry->next = std::move(head);
      head = std::move(entry);
    }
  }
  buckets_ = std::move(grown);
}

std::vector<std::string_view> PropertyMap::Keys() const {
  std::vector<std::string_view> keys;
  keys.reserve(count_);
  for (const auto& chain : buckets_)
    for (const Entry* e = chain.get(); e; e = e->next.get()) keys.emplace_back(e->key);
  return keys;
}
