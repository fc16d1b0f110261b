#pragma once
// Iterator over a container of owning pointers that yields the records
// themselves, so callers write `for (const Target& t : targets)`.

#include <cstddef>
#include <iterator>
#include <memory>

template <class T, class Inner>
class OwnedIterator {
public:
    using iterator_category = std::bidirectional_iterator_tag;
    using value_type = T;
    using difference_type = std::ptrdiff_t;
    using pointer = T*;
    using reference = T&;

    explicit OwnedIterator(Inner it) : it(it) {}
    T& operator*() const { return **it; }
    T* operator->() const { return it->get(); }
    OwnedIterator& operator++() { ++it; return *this; }
    OwnedIterator operator++(int) { OwnedIterator old = *this; ++it; return old; }
    OwnedIterator& operator--() { --it; return *this; }
    OwnedIterator operator--(int) { OwnedIterator old = *this; --it; return old; }
    bool operator==(const OwnedIterator& other) const { return it == other.it; }
    bool operator!=(const OwnedIterator& other) const { return it != other.it; }

private:
    Inner it;
};
