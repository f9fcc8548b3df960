#pragma once
// The document's objects by id. Every read starts with this lookup, so the index is a flat
// open-addressing table (one probe, usually) over a deque, which keeps references to objects
// valid while new ones are added.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <utility>
#include <vector>

namespace automerge::detail {

using ObjKey = std::pair<std::uint64_t, std::uint32_t>;  // (counter, actor index)

template <class T>
class ObjTable {
 public:
  ObjTable() : slots_(16) {}

  const T* find(ObjKey key) const {
    for (std::size_t i = home(key);; i = (i + 1) & mask()) {
      const Slot& s = slots_[i];
      if (s.index == 0) return nullptr;
      if (s.counter == key.first && s.actor == key.second) return &items_[s.index - 1];
    }
  }
  T* find(ObjKey key) { return const_cast<T*>(std::as_const(*this).find(key)); }

  // Adds the item unless the key is taken; the item at the key either way.
  T& emplace(ObjKey key, T item) {
    if (T* found = find(key)) return *found;
    if ((items_.size() + 1) * 2 > slots_.size()) grow();
    items_.push_back(std::move(item));
    place(key, items_.size());
    return items_.back();
  }

  std::size_t size() const { return items_.size(); }

  // Calls f(key, item) for every item, in no particular order.
  template <class F>
  void for_each(F&& f) const {
    for (const Slot& s : slots_) {
      if (s.index != 0) f(ObjKey{s.counter, s.actor}, items_[s.index - 1]);
    }
  }

 private:
  struct Slot {
    std::uint64_t counter = 0;
    std::uint32_t actor = 0;
    std::uint32_t index = 0;  // 1 + position in items_; 0 marks a free slot
  };

  std::size_t mask() const { return slots_.size() - 1; }
  std::size_t home(ObjKey key) const {
    std::uint64_t h = (key.first ^ (static_cast<std::uint64_t>(key.second) << 40)) * 0x9e3779b97f4a7c15ull;
    return static_cast<std::size_t>(h >> 32) & mask();
  }
  void place(ObjKey key, std::size_t index) {
    std::size_t i = home(key);
    while (slots_[i].index != 0) i = (i + 1) & mask();
    slots_[i] = Slot{key.first, key.second, static_cast<std::uint32_t>(index)};
  }
  void grow() {
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(old.size() * 2, Slot{});
    for (const Slot& s : old) {
      if (s.index != 0) place({s.counter, s.actor}, s.index);
    }
  }

  std::vector<Slot> slots_;  // a power of two in size, at most half full
  std::deque<T> items_;
};

}  // namespace automerge::detail
