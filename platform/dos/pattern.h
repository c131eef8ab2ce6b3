#pragma once
// Platform-internal: AmigaDOS wildcard patterns, compiled once and matched
// against many names, ignoring case (ASCII letters).
#include <string>
#include <string_view>
#include <vector>

namespace platform::dos {

class Pattern {
  public:
    // False when the pattern is malformed (an unclosed group or class, a
    // '#', '~' or quote with nothing after it, a stray ')').
    bool Compile(std::string_view pattern);
    bool Matches(std::string_view name) const;
    // True when the pattern holds a wildcard (not only literal characters).
    bool IsWild() const { return wild_; }

  private:
    // Positions 0..n of a name; a set of places a match can reach.
    class Positions;

    struct Node {
        enum class Kind { Char, Any, Empty, Class, Repeat, Not, Group };
        explicit Node(Kind k) : kind(k) {}
        Kind kind;
        char ch = 0;                                                 // Char
        bool negated = false;                                        // Class
        std::vector<std::pair<unsigned char, unsigned char>> ranges; // Class
        int child = -1;                        // Repeat, Not: the node repeated or negated
        std::vector<std::vector<int>> choices; // Group: alternative sequences of nodes
    };

    struct Parser;

    void Step(int node, std::string_view name, const Positions &from, Positions &to) const;
    void StepSequence(const std::vector<int> &sequence, std::string_view name,
                      const Positions &from, Positions &to) const;
    bool ClassHas(const Node &node, unsigned char c) const;
    bool Literals(int node, std::vector<std::string> &texts) const;
    void FindEndings();

    std::vector<Node> nodes_;
    int root_ = -1;
    bool wild_ = false;
    // For a pattern that is "#?" and then only literal text, with or without
    // alternatives ("#?.(rom|zip)"): every ending it allows, in lower case. A
    // name matches when it ends in one; no positions need be followed.
    std::vector<std::string> endings_;
};

} // namespace platform::dos
