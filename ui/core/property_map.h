// ui/core holds the toolkit's object model: property maps, the window
// registry, bindings with their level chain, and the window object.
//
// PropertyMap: the hash table in which every toolkit window keeps its state.
// Separate chaining; a new map has 11 buckets and load factor 0.75; adding a
// new key when the entry count has reached the threshold (floor of load
// factor x buckets) rebuilds it with 2n+1 buckets; new entries go to the head
// of their chain. The key hash is h = h * 31 + byte over the key's bytes.
#pragma once
#include <windows.h>

#include <concepts>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

enum class MapKind : uint32_t {
  Integer = 3,        // pointer-sized integer, compared by value
  Text = 10,          // zero-terminated GBK text, compared case-sensitively
  Block = 11,         // bytes with a length, compared by length and bytes
  CountedBlock = 20,  // a block that begins with its 32-bit byte count
  WideText = 21,      // zero-terminated UTF-16 text, compared ignoring case
};

// A key or value as handed to a map: an integer or the bytes of a text or
// block. Use the form that matches the map's kind.
class MapItem {
 public:
  template <std::integral T>
  MapItem(T integer) : integer_(static_cast<INT_PTR>(integer)) {}
  MapItem(const char* text) : bytes_(text ? text : "") {}
  MapItem(const wchar_t* text);
  static MapItem Block(std::string_view bytes) { return MapItem(bytes); }
  // A counted block: the 32-bit count, then that many bytes.
  static MapItem Counted(const void* block);

  INT_PTR integer() const { return integer_; }
  // The bytes that are hashed and compared (a counted block's without its count).
  std::string_view bytes() const { return bytes_; }
  // An integer key's bytes: those of the integer itself.
  std::string_view IntegerBytes() const { return {reinterpret_cast<const char*>(&integer_), sizeof integer_}; }

 private:
  explicit MapItem(std::string_view bytes) : bytes_(bytes) {}
  INT_PTR integer_ = 0;
  std::string_view bytes_;
};

class PropertyMap {
 public:
  static constexpr size_t kInitialBuckets = 11;
  static constexpr float kLoadFactor = 0.75f;

  PropertyMap(MapKind keyKind, MapKind valueKind);
  PropertyMap(const PropertyMap&) = delete;
  PropertyMap& operator=(const PropertyMap&) = delete;
  ~PropertyMap();

  // The value under the key: the integer, or for the copying value kinds
  // the address of the map's copy (zero-terminated for texts, with its
  // count for counted blocks). 0 when the key is absent.
  INT_PTR Get(MapItem key) const;
  // Inserts or replaces; true when a value was replaced.
  bool Set(MapItem key, MapItem value);
  // True when the key was present.
  bool Remove(MapItem key);
  bool Has(MapItem key) const { return Find(HashKey(key)) != nullptr; }
  // The keys' bytes, bucket by bucket, each chain from its head.
  std::vector<std::string_view> Keys() const;

  size_t BucketCount() const { return buckets_.size(); }
  // Entries the buckets take before the next new key grows the table.
  size_t Threshold() const;

 private:
  struct Entry;
  // A key's bytes (viewing the caller's item) and their hash.
  struct HashedKey {
    std::string_view bytes;
    uint32_t hash;
  };
  using Buckets = std::vector<std::unique_ptr<Entry>>;

  HashedKey HashKey(const MapItem& key) const;
  bool SameKey(const Entry& entry, const HashedKey& key) const;
  Entry* Find(const HashedKey& key) const;
  void Store(Entry& entry, MapItem value) const;
  static void PushFront(Buckets& buckets, std::unique_ptr<Entry> entry);
  void Grow();

  Buckets buckets_;
  size_t count_ = 0;
  MapKind keyKind_;
  MapKind valueKind_;
};
