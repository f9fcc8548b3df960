#pragma once
// Reading a recorded scene in tests of the map layers: items of one kind, their shapes and
// colours.

#include <variant>
#include <vector>

#include "zarn_ui/scene.hpp"

namespace maps::layer_test {

namespace scene = zarn_ui::scene;

template <class T>
std::vector<T> items_of(const zarn_ui::Scene& s) {
  std::vector<T> out;
  for (const auto& it : s.items()) {
    if (const T* v = std::get_if<T>(&it)) out.push_back(*v);
  }
  return out;
}

template <class Shape, class Item>
const Shape* shape_of(const Item& item) {
  return std::get_if<Shape>(&item.shape);
}

// Fills of circles with this radius, in drawing order.
inline std::vector<scene::Fill> discs(const zarn_ui::Scene& s, double radius) {
  std::vector<scene::Fill> out;
  for (const scene::Fill& f : items_of<scene::Fill>(s)) {
    if (const auto* c = shape_of<zarn_ui::Circle>(f); c && c->radius == radius) out.push_back(f);
  }
  return out;
}

inline std::vector<scene::Stroke> rings(const zarn_ui::Scene& s, double radius) {
  std::vector<scene::Stroke> out;
  for (const scene::Stroke& st : items_of<scene::Stroke>(s)) {
    if (const auto* c = shape_of<zarn_ui::Circle>(st); c && c->radius == radius) out.push_back(st);
  }
  return out;
}

}  // namespace maps::layer_test
