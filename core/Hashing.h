#pragma once

#include <cstddef>
#include <functional>

namespace tilewise {

/// Combines the hashes of the given fields, in order, into one value.
template <typename... Fields>
std::size_t hashFields(const Fields&... fields) {
    std::size_t seed = 0;
    ((seed ^= std::hash<Fields>{}(fields) + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2)),
     ...);
    return seed;
}

}  // namespace tilewise

/// Declares the std::hash specialisation of a type; its call operator is defined with the
/// type's other functions, over all fields in their listed order.
#define TILEWISE_DECLARE_HASH(Type)                           \
    template <>                                               \
    struct std::hash<Type> {                                  \
        std::size_t operator()(const Type& v) const noexcept; \
    }
