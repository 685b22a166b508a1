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

size_t BucketIndex(uint32_t hash, size_t buckets) { return (hash & 0x7FFFFFFF) % buckets; }

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
PropertyMap::HashedKey PropertyMap::HashKey(const MapItem& key) const {
  std::string_view bytes = keyKind_ == MapKind::Integer ? key.IntegerBytes() : key.bytes();
  std::string_view hashed = bytes;
  std::wstring upper;
  if (keyKind_ == MapKind::WideText) {
    upper.assign(WideView(bytes));
    CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    hashed = std::string_view(reinterpret_cast<const char*>(upper.data()), bytes.size());
  }
  uint32_t h = 0;
  for (unsigned char b : hashed) h = h * 31 + b;
  return {bytes, h};
}

bool PropertyMap::SameKey(const Entry& entry, const HashedKey& key) const {
  if (entry.hash != key.hash) return false;
  if (keyKind_ != MapKind::WideText) return entry.key == key.bytes;
  std::wstring_view a = WideView(entry.key), b = WideView(key.bytes);
  return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
         CSTR_EQUAL;
}

PropertyMap::Entry* PropertyMap::Find(const HashedKey& key) const {
  for (Entry* e = buckets_[BucketIndex(key.hash, buckets_.size())].get(); e; e = e->next.get())
    if (SameKey(*e, key)) return e;
  return nullptr;
}

INT_PTR PropertyMap::Get(MapItem key) const {
  Entry* entry = Find(HashKey(key));
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
  HashedKey hashed = HashKey(key);
  if (Entry* entry = Find(hashed)) {
    Store(*entry, value);
    return true;
  }
  if (count_ >= Threshold()) Grow();
  auto entry = std::make_unique<Entry>(Entry{hashed.hash, std::string(hashed.bytes), 0, {}, nullptr});
  Store(*entry, value);
  PushFront(buckets_, std::move(entry));
  ++count_;
  return false;
}

bool PropertyMap::Remove(MapItem key) {
  HashedKey hashed = HashKey(key);
  for (auto* link = &buckets_[BucketIndex(hashed.hash, buckets_.size())]; *link; link = &(*link)->next) {
    if (!SameKey(**link, hashed)) continue;
    *link = std::move((*link)->next);
    --count_;
    return true;
  }
  return false;
}

void PropertyMap::PushFront(Buckets& buckets, std::unique_ptr<Entry> entry) {
  auto& head = buckets[BucketIndex(entry->hash, buckets.size())];
  entry->next = std::move(head);
  head = std::move(entry);
}

void PropertyMap::Grow() {
  Buckets grown(2 * buckets_.size() + 1);
  for (auto& chain : buckets_) {
    while (chain) {
      std::unique_ptr<Entry> entry = std::move(chain);
      chain = std::move(entry->next);
      PushFront(grown, std::move(entry));
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
