#pragma once
// TSet<E>: a set of enumeration values stored as bits by ordinal, usable in constant expressions.
// TSet<TGridOption>{goEditing, goTabs}.Contains(goTabs); a + b (union), a - b (difference), a * b (intersection).

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <stdexcept>

namespace plat {

template <class E, std::size_t MaxOrdinal = 255>
class TSet {
  static constexpr std::size_t kWords = MaxOrdinal / 64 + 1;

 public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> Elements) {
    for (E e : Elements) Include(e);
  }

  constexpr bool Contains(E Element) const {
    const std::size_t o = Ordinal(Element);
    return o <= MaxOrdinal && (FBits[o / 64] >> (o % 64)) & 1u;
  }
  constexpr TSet& Include(E Element) {
    const std::size_t o = Checked(Element);
    FBits[o / 64] |= uint64_t{1} << (o % 64);
    return *this;
  }
  constexpr TSet& Exclude(E Element) {
    const std::size_t o = Ordinal(Element);
    if (o <= MaxOrdinal) FBits[o / 64] &= ~(uint64_t{1} << (o % 64));
    return *this;
  }
  constexpr bool Empty() const {
    for (uint64_t w : FBits)
      if (w) return false;
    return true;
  }

  friend constexpr TSet operator+(TSet A, const TSet& B) {
    for (std::size_t i = 0; i < kWords; ++i) A.FBits[i] |= B.FBits[i];
    return A;
  }
  friend constexpr TSet operator-(TSet A, const TSet& B) {
    for (std::size_t i = 0; i < kWords; ++i) A.FBits[i] &= ~B.FBits[i];
    return A;
  }
  friend constexpr TSet operator*(TSet A, const TSet& B) {
    for (std::size_t i = 0; i < kWords; ++i) A.FBits[i] &= B.FBits[i];
    return A;
  }
  constexpr TSet& operator+=(const TSet& B) { return *this = *this + B; }
  constexpr TSet& operator-=(const TSet& B) { return *this = *this - B; }
  constexpr TSet& operator*=(const TSet& B) { return *this = *this * B; }
  friend constexpr bool operator==(const TSet&, const TSet&) = default;

 private:
  static constexpr std::size_t Ordinal(E Element) { return static_cast<std::size_t>(Element); }
  static constexpr std::size_t Checked(E Element) {
    const std::size_t o = Ordinal(Element);
    if (o > MaxOrdinal) throw std::out_of_range("set element ordinal out of range");
    return o;
  }

  std::array<uint64_t, kWords> FBits{};
};

}  // namespace plat
