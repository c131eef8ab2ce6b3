#pragma once
// What the model knows about an attribute's values, the tables in which each
// class lists its attributes, and the store that keeps an object's attributes.
#include <exec/types.h>
#include <utility/tagitem.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform::mui {

enum class ValueKind {
    Raw,  // kept as given: pointers, ids, image specs
    Bool, // any non-zero value is TRUE (1)
    Int,  // a signed 32-bit number, sign-extended to IPTR
    Char, // one character, 0..255
    Text, // a string the object copies; the kept value points at the copy
};

struct EntryRules; // active_entry.h

// One attribute a class adds: how its values are kept and, when it has one,
// the value an object takes at creation unless the caller gives another.
// An entry attribute (a list's or a cycle gadget's active entry) indexes the
// strings of another attribute: a value that names no entry is ignored. A
// creation-only attribute is given when the object is made and never set
// later. An attribute no class lists is kept as given (Raw), without a
// default.
struct AttributeSpec {
    Tag tag;
    ValueKind kind;
    std::optional<IPTR> initial = std::nullopt;
    const EntryRules *entry = nullptr;
    bool creationOnly = false;
};

// The value as the model keeps it: booleans become 0 or 1, 32-bit numbers are
// sign-extended, characters are cut to 8 bits. Text and raw values pass.
IPTR Normalise(ValueKind kind, IPTR value);

// True when a kept value equals a value given for comparison (a notification's
// trigger value): texts compare by their characters.
bool SameValue(ValueKind kind, IPTR kept, IPTR given);

// An object's attributes: one entry per attribute ever set.
class AttributeStore {
  public:
    // Takes the value; false when the attribute already held it.
    bool Set(Tag attribute, IPTR value, ValueKind kind);
    // The kept value; false when the attribute was never set.
    bool Get(Tag attribute, IPTR *value) const;
    // The kept value, or `fallback` when the attribute was never set.
    IPTR Value(Tag attribute, IPTR fallback = 0) const;
    // Replaces a value, as given, without comparing (a value the class
    // computes itself).
    void Put(Tag attribute, IPTR value);

  private:
    struct Entry {
        Tag tag;
        IPTR value;
        std::unique_ptr<std::string> text; // the copy a Text value points at
    };
    Entry *Find(Tag attribute);
    const Entry *Find(Tag attribute) const;
    std::vector<Entry> entries_;
};

} // namespace platform::mui
