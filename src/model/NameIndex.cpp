#include "model/NameIndex.h"

#include <functional>
#include <limits>
#include <new>
#include <stdexcept>

namespace {

// At most three quarters of the slots are used, so that a probe stays short.
std::size_t SlotsFor(std::size_t names) { return names + names / 3 + 1; }

std::uint32_t HashOf(std::string_view name) {
  const std::size_t hash = std::hash<std::string_view>()(name);
  return static_cast<std::uint32_t>(hash ^ (hash >> 16 >> 16));
}

// A name that refers to nothing is the empty text all the same; it is given
// data so that it is told apart from a free slot.
std::string_view Stored(std::string_view name) { return name.data() ? name : std::string_view(""); }

}  // namespace

void TNameIndex::Reserve(std::size_t names) {
  if (SlotsFor(names) <= slots_.size()) return;
  try {
    Rebuild(SlotsFor(names));
  } catch (const std::bad_alloc&) {
  }
}

const std::uint32_t* TNameIndex::Find(std::string_view name) const {
  if (slots_.empty()) return nullptr;
  name = Stored(name);
  const std::size_t at = SlotOf(name, HashOf(name));
  return slots_[at].data ? &slots_[at].number : nullptr;
}

std::uint32_t& TNameIndex::Entry(std::string_view name, std::uint32_t initial) {
  name = Stored(name);
  if (name.size() > std::numeric_limits<std::uint32_t>::max())
    throw std::length_error("a name of 4 GiB or more");
  if (SlotsFor(count_ + 1) > slots_.size()) Rebuild(2 * SlotsFor(count_ + 1));
  const std::uint32_t hash = HashOf(name);
  const std::size_t at = SlotOf(name, hash);
  if (!slots_[at].data) {
    slots_[at] = {name.data(), static_cast<std::uint32_t>(name.size()), hash, initial};
    ++count_;
  }
  return slots_[at].number;
}

std::size_t TNameIndex::SlotOf(std::string_view name, std::uint32_t hash) const {
  const std::size_t slots = slots_.size();
  // The hash scaled to the table's size: its top bits choose the first slot.
  auto at = static_cast<std::size_t>((std::uint64_t{hash} * slots) >> 32);
  for (;; at = at + 1 == slots ? 0 : at + 1) {
    const Slot& slot = slots_[at];
    if (!slot.data || (slot.hash == hash && std::string_view(slot.data, slot.size) == name))
      return at;
  }
}

void TNameIndex::Rebuild(std::size_t slots) {
  std::vector<Slot> old(slots);
  old.swap(slots_);
  for (const Slot& slot : old)
    if (slot.data) slots_[SlotOf({slot.data, slot.size}, slot.hash)] = slot;
}
