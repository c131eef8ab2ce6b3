#pragma once
// Type-safe replacements for the Amiga varargs calls. Every argument of
// SetAttrs, IDoMethod, NewObject, MUI_NewObject and MUI_MakeObject becomes one
// pointer-sized slot (IPTR): pointers keep all their bits, signed integers are
// sign-extended (so -1 stays -1 on a 64-bit host), unsigned ones zero-extended.
// Nothing goes through C's `...`; an argument of any other type (a double, a
// std::string) does not compile.
#include <exec/types.h>
#include <utility/tagitem.h>

#include <array>
#include <concepts>
#include <cstddef>
#include <initializer_list>
#include <type_traits>
#include <vector>

template <class T>
concept TagArgument = std::is_pointer_v<std::decay_t<T>> || std::is_integral_v<std::decay_t<T>> ||
    std::is_enum_v<std::decay_t<T>> || std::is_null_pointer_v<std::decay_t<T>>;

template <TagArgument T> constexpr IPTR ToIPTR(T value) {
    using V = std::decay_t<T>;
    if constexpr (std::is_null_pointer_v<V>)
        return 0;
    else if constexpr (std::is_pointer_v<V>)
        return reinterpret_cast<IPTR>(value);
    else if constexpr (std::is_enum_v<V>)
        return ToIPTR(static_cast<std::underlying_type_t<V>>(value));
    else if constexpr (std::is_same_v<V, bool>)
        return value ? 1 : 0;
    else if constexpr (std::is_signed_v<V>)
        return static_cast<IPTR>(static_cast<SIPTR>(value));
    else
        return static_cast<IPTR>(value);
}

// One element of a braced tag list: {MUIA_Group_Child, child, TAG_DONE}.
// Elements of a braced list are evaluated left to right, so nested object
// creations inside one are made in their written order.
class TagArg {
  public:
    template <TagArgument T> constexpr TagArg(T value) : value_(ToIPTR(value)) {}
    constexpr IPTR value() const { return value_; }

  private:
    IPTR value_;
};

namespace tagargs {

// Pairs up a flat run of tag, value, tag, value ... into `out`, ending at
// TAG_DONE or at the end of the run (a lone last tag gets the value 0), and
// always ends `out` with TAG_DONE. `out` needs count / 2 + 2 items.
inline void PairInto(const IPTR *flat, std::size_t count, TagItem *out) {
    for (std::size_t i = 0; i < count; i += 2) {
        const Tag tag = static_cast<Tag>(flat[i]);
        if (tag == TAG_DONE)
            break;
        *out++ = {tag, i + 1 < count ? flat[i + 1] : 0};
    }
    *out = {TAG_DONE, 0};
}

// A tag list on the stack, for a call with N arguments.
template <std::size_t N> struct TagArray {
    std::array<TagItem, N / 2 + 2> items;
    TagItem *data() { return items.data(); }
    // A copy that ends at the TAG_DONE, for callers that keep the list.
    operator std::vector<TagItem>() const {
        std::size_t n = 0;
        while (items[n].ti_Tag != TAG_DONE)
            ++n;
        return std::vector<TagItem>(items.begin(), items.begin() + n + 1);
    }
};

template <TagArgument... A> TagArray<sizeof...(A)> Pair(A... args) {
    const std::array<IPTR, sizeof...(A) + 1> flat{ToIPTR(args)..., 0};
    TagArray<sizeof...(A)> list;
    PairInto(flat.data(), sizeof...(A), list.data());
    return list;
}

inline std::vector<TagItem> Pair(std::initializer_list<TagArg> list) {
    std::vector<IPTR> flat;
    flat.reserve(list.size());
    for (const TagArg &arg : list)
        flat.push_back(arg.value());
    std::vector<TagItem> items(list.size() / 2 + 2);
    PairInto(flat.data(), flat.size(), items.data());
    return items;
}

} // namespace tagargs
