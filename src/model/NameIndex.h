// Names and a number for each: the loader's index of class names and of
// field names.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

/// Maps names, held as views into texts that outlive the index, to 32-bit
/// numbers. It is one flat table with open addressing, sized once for the
/// names to come where their count is known, so that a million names cost
/// neither a million allocations nor a regrowth. Each slot keeps 32 bits of
/// its name's hash, so that most probes end without reading a name.
class TNameIndex {
 public:
  /// Makes room for `names` names in all. A hint: without the room the
  /// table grows as names come.
  void Reserve(std::size_t names);
  /// The number of `name`, or null when the name is not in the index.
  const std::uint32_t* Find(std::string_view name) const;
  /// The number of `name`, which is added with `initial` when it is not in
  /// the index yet. The reference holds until the next call of Entry.
  /// Throws std::length_error for a name of 4 GiB or more.
  std::uint32_t& Entry(std::string_view name, std::uint32_t initial);
  std::size_t Size() const { return count_; }

 private:
  struct Slot {
    const char* data = nullptr;  // null for a free slot
    std::uint32_t size = 0;
    std::uint32_t hash = 0;
    std::uint32_t number = 0;
  };

  /// The slot that holds `name`, or the free slot where it belongs.
  std::size_t SlotOf(std::string_view name, std::uint32_t hash) const;
  void Rebuild(std::size_t slots);

  std::vector<Slot> slots_;
  std::size_t count_ = 0;
};
