#include "model/NameSet.h"

#include <functional>

namespace {

// At most three quarters of the slots are used, so that a probe stays short.
std::size_t SlotsFor(std::size_t names) { return names + names / 3 + 1; }

// A name that refers to nothing is the empty text all the same; it is given
// data so that it is told apart from a free slot.
std::string_view Stored(std::string_view name) { return name.data() ? name : std::string_view(""); }

}  // namespace

void TNameSet::Reserve(std::size_t names) {
  if (SlotsFor(names) > slots_.size()) Rebuild(SlotsFor(names));
}

bool TNameSet::Insert(std::string_view name) {
  name = Stored(name);
  if (SlotsFor(count_ + 1) > slots_.size()) Rebuild(2 * SlotsFor(count_ + 1));
  const std::size_t slot = SlotOf(name);
  if (slots_[slot].data()) return false;
  slots_[slot] = name;
  ++count_;
  return true;
}

bool TNameSet::Contains(std::string_view name) const {
  return !slots_.empty() && slots_[SlotOf(Stored(name))].data() != nullptr;
}

std::size_t TNameSet::SlotOf(std::string_view name) const {
  std::size_t slot = std::hash<std::string_view>()(name) % slots_.size();
  while (slots_[slot].data() && slots_[slot] != name) slot = (slot + 1) % slots_.size();
  return slot;
}

void TNameSet::Rebuild(std::size_t slots) {
  std::vector<std::string_view> old(slots);
  old.swap(slots_);
  for (std::string_view name : old)
    if (name.data()) slots_[SlotOf(name)] = name;
}
