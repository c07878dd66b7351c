// The set of field names the loader has seen, for its redefinition test.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

/// A set of names held as views into texts that outlive it. It is one flat
/// table with open addressing, sized once for the names to come, so that a
/// million names cost neither a million allocations nor a regrowth. Each
/// slot keeps 32 bits of its name's hash, so that most probes are settled
/// without reading a name.
class TNameSet {
 public:
  /// Makes room for `names` names in all. A hint: without the room the
  /// table grows as names come.
  void Reserve(std::size_t names);
  /// Adds `name`; false when it was there already. Throws std::length_error
  /// for a name of 4 GiB or more.
  bool Insert(std::string_view name);
  bool Contains(std::string_view name) const;
  std::size_t Size() const { return count_; }

 private:
  struct Slot {
    const char* data = nullptr;  // null for a free slot
    std::uint32_t size = 0;
    std::uint32_t hash = 0;
  };

  /// The slot that holds `name`, or the free slot where it belongs.
  std::size_t SlotOf(std::string_view name, std::uint32_t hash) const;
  void Rebuild(std::size_t slots);

  std::vector<Slot> slots_;
  std::size_t count_ = 0;
};
