#pragma once
// An index by name over a store's records, for a long run of INISetString
// calls such as loading a file: each call finds its section and variable
// without scanning the records, so the run takes time in proportion to its
// length. It knows only the changes made through it, so it lives for one
// such run; the store itself stays as INIFile.h describes it.
#include "INIFile.h"

#include <string>
#include <unordered_map>
#include <vector>

class INIIndex {
  public:
    explicit INIIndex(struct INIFile *ini);

    // INISetString on the store, with the same results in the same order.
    // When the index runs out of memory it is dropped and the records are
    // scanned instead.
    void SetString(CONST_STRPTR section, CONST_STRPTR var, CONST_STRPTR value);

    // The lookups that INISetString's steps use; positions, -1 when missing.
    LONG Section(struct INIFile *ini, CONST_STRPTR name);
    LONG Var(struct INISection *record, LONG section, CONST_STRPTR name);
    void Added(const struct INISection &section, LONG position);
    void Added(const struct INIVar &var, LONG section, LONG position);

  private:
    void Build();

    struct INIFile *ini_;
    bool built_ = false;
    bool usable_ = true;
    std::unordered_map<std::string, LONG> sections_;          // first record of a name
    std::vector<std::unordered_map<std::string, LONG>> vars_; // by section position
};
