// The set of field names the loader has seen, for its redefinition test.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

/// A set of names held as views into texts that outlive it. It is one flat
/// table with open addressing, sized once for the names to come, so that a
/// million names cost neither a million allocations nor a regrowth.
class TNameSet {
 public:
  /// Makes room for `names` names in all.
  void Reserve(std::size_t names);
  /// Adds `name`; false when it was there already.
  bool Insert(std::string_view name);
  bool Contains(std::string_view name) const;
  std::size_t Size() const { return count_; }

 private:
  /// The slot that holds `name`, or the free slot where it belongs.
  std::size_t SlotOf(std::string_view name) const;
  void Rebuild(std::size_t slots);

  std::vector<std::string_view> slots_;  // a free slot is a view without data
  std::size_t count_ = 0;
};
