// A range of whole numbers given by its first and last member, both included.
#pragma once

namespace vldr {

template <typename Number>
struct ClosedRange {
    Number first;
    Number last;

    // True when value lies in the range, at either end included.
    constexpr bool contains(Number value) const { return value >= first && value <= last; }

    // How many whole numbers the range holds.
    constexpr Number count() const { return last - first + 1; }
};

}  // namespace vldr
