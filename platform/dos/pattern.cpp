// Wildcard matching by sets of reachable positions: each element of the
// pattern maps the set of positions where it may start to the set where it
// may end. This never backtracks, so no pattern costs more than
// (pattern length) x (name length)^2 steps.
#include "pattern.h"

#include <algorithm>

namespace platform::dos {

namespace {

unsigned char Lower(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
}
unsigned char Upper(unsigned char c) {
    return c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c;
}

} // namespace

// One byte per position, held inline for names as long as a directory entry's
// (the matcher's every call), so that matching a name allocates nothing. The
// set positions all lie in [lo_, hi_), so that steps after the first few look
// at a few positions only.
class Pattern::Positions {
  public:
    explicit Positions(size_t size) : size_(size), lo_(size), hi_(0) {
        if (size > sizeof inline_)
            heap_.resize(size);
        std::fill_n(data(), size_, 0);
    }
    Positions(const Positions &other) : Positions(other.size_) { Or(other); }
    Positions &operator=(const Positions &) = delete;

    char operator[](size_t p) const { return data()[p]; }
    size_t size() const { return size_; }
    size_t lo() const { return lo_; }
    size_t hi() const { return hi_; }
    bool Empty() const { return lo_ >= hi_; }

    void Set(size_t p) {
        data()[p] = 1;
        lo_ = std::min(lo_, p);
        hi_ = std::max(hi_, p + 1);
    }
    void Or(const Positions &other) {
        for (size_t p = other.lo_; p < other.hi_; ++p)
            if (other[p])
                Set(p);
    }
    void Clear() {
        if (!Empty())
            std::fill(data() + lo_, data() + hi_, 0);
        lo_ = size_;
        hi_ = 0;
    }

  private:
    char *data() { return heap_.empty() ? inline_ : heap_.data(); }
    const char *data() const { return heap_.empty() ? inline_ : heap_.data(); }

    size_t size_, lo_, hi_;
    char inline_[257]; // every position of a directory entry's longest name
    std::vector<char> heap_;
};

// Recursive descent over: choices := sequence ('|' sequence)*;
// element := '#' element | '~' element | '(' choices ')' | '[' class ']' | '?'
//          | '%' | '\'' char | char.
struct Pattern::Parser {
    Pattern &out;
    std::string_view text;
    size_t pos = 0;

    bool AtEnd() const { return pos >= text.size(); }
    char Peek() const { return text[pos]; }

    int Add(Node node) {
        out.nodes_.push_back(std::move(node));
        return static_cast<int>(out.nodes_.size()) - 1;
    }

    // A group of alternatives up to ')' or the end; -1 when malformed.
    int Choices() {
        Node group{Node::Kind::Group};
        group.choices.emplace_back();
        while (!AtEnd() && Peek() != ')') {
            if (Peek() == '|') {
                ++pos;
                group.choices.emplace_back();
                continue;
            }
            const int element = Element();
            if (element < 0)
                return -1;
            group.choices.back().push_back(element);
        }
        if (group.choices.size() > 1)
            out.wild_ = true;
        return Add(std::move(group));
    }

    int Element() {
        const char c = text[pos++];
        switch (c) {
        case '#':
        case '~': {
            out.wild_ = true;
            if (AtEnd())
                return -1;
            const int child = Element();
            if (child < 0)
                return -1;
            Node node{c == '#' ? Node::Kind::Repeat : Node::Kind::Not};
            node.child = child;
            return Add(std::move(node));
        }
        case '(': {
            const int group = Choices();
            if (group < 0 || AtEnd())
                return -1;
            ++pos; // ')'
            return group;
        }
        case '[':
            out.wild_ = true;
            return Class();
        case '?':
            out.wild_ = true;
            return Add(Node{Node::Kind::Any});
        case '%':
            out.wild_ = true;
            return Add(Node{Node::Kind::Empty});
        case '\'':
            if (AtEnd())
                return -1;
            return Literal(text[pos++]);
        default:
            return Literal(c);
        }
    }

    int Literal(char c) {
        Node node{Node::Kind::Char};
        node.ch = c;
        return Add(std::move(node));
    }

    // After '[': items up to ']'; "~" or "^" first negates; 'x escapes x.
    int Class() {
        Node node{Node::Kind::Class};
        if (!AtEnd() && (Peek() == '~' || Peek() == '^')) {
            node.negated = true;
            ++pos;
        }
        while (!AtEnd() && Peek() != ']') {
            unsigned char first;
            if (!ClassChar(first))
                return -1;
            unsigned char last = first;
            if (pos + 1 < text.size() && Peek() == '-' && text[pos + 1] != ']') {
                ++pos;
                if (!ClassChar(last))
                    return -1;
            }
            node.ranges.emplace_back(first, last);
        }
        if (AtEnd())
            return -1;
        ++pos; // ']'
        return Add(std::move(node));
    }

    bool ClassChar(unsigned char &c) {
        if (Peek() == '\'' && ++pos >= text.size())
            return false;
        c = static_cast<unsigned char>(text[pos++]);
        return true;
    }
};

bool Pattern::Compile(std::string_view pattern) {
    nodes_.clear();
    wild_ = false;
    Parser parser{*this, pattern};
    root_ = parser.Choices();
    if (root_ >= 0 && !parser.AtEnd())
        root_ = -1; // a ')' without its '('
    FindEndings();
    return root_ >= 0;
}

// The texts a node matches when they are a few literal ones (a character, or
// a group of sequences of such); false when it matches anything else.
bool Pattern::Literals(int index, std::vector<std::string> &texts) const {
    constexpr size_t kMostTexts = 64;
    const Node &node = nodes_[static_cast<size_t>(index)];
    if (node.kind == Node::Kind::Char) {
        for (std::string &text : texts)
            text += static_cast<char>(Lower(static_cast<unsigned char>(node.ch)));
        return true;
    }
    if (node.kind != Node::Kind::Group)
        return false;
    std::vector<std::string> all;
    for (const std::vector<int> &choice : node.choices) {
        std::vector<std::string> grown = texts;
        for (const int element : choice)
            if (!Literals(element, grown))
                return false;
        all.insert(all.end(), grown.begin(), grown.end());
        if (all.size() > kMostTexts)
            return false;
    }
    texts = std::move(all);
    return true;
}

void Pattern::FindEndings() {
    endings_.clear();
    if (root_ < 0 || nodes_[static_cast<size_t>(root_)].choices.size() != 1)
        return;
    const std::vector<int> &sequence = nodes_[static_cast<size_t>(root_)].choices.front();
    if (sequence.empty() || nodes_[static_cast<size_t>(sequence[0])].kind != Node::Kind::Repeat ||
        nodes_[static_cast<size_t>(nodes_[static_cast<size_t>(sequence[0])].child)].kind !=
            Node::Kind::Any)
        return;
    std::vector<std::string> endings{""};
    for (size_t i = 1; i < sequence.size(); ++i)
        if (!Literals(sequence[i], endings))
            return;
    endings_ = std::move(endings);
}

bool Pattern::Matches(std::string_view name) const {
    if (root_ < 0)
        return false;
    if (!endings_.empty()) {
        for (const std::string &ending : endings_)
            if (name.size() >= ending.size() &&
                std::equal(ending.begin(), ending.end(), name.end() - ending.size(),
                           [](char e, char c) { return e == char(Lower((unsigned char)c)); }))
                return true;
        return false;
    }
    Positions start(name.size() + 1), end(name.size() + 1);
    start.Set(0);
    Step(root_, name, start, end);
    return end[name.size()] != 0;
}

bool Pattern::ClassHas(const Node &node, unsigned char c) const {
    bool found = false;
    for (const auto &[first, last] : node.ranges)
        for (unsigned char variant : {c, Lower(c), Upper(c)})
            found = found || (variant >= first && variant <= last);
    return found != node.negated;
}

void Pattern::StepSequence(const std::vector<int> &sequence, std::string_view name,
                           const Positions &from, Positions &to) const {
    Positions first = from, second(from.size());
    Positions *current = &first, *next = &second;
    for (const int element : sequence) {
        next->Clear();
        Step(element, name, *current, *next);
        std::swap(current, next);
        if (current->Empty())
            return;
    }
    to.Or(*current);
}

void Pattern::Step(int index, std::string_view name, const Positions &from, Positions &to) const {
    const Node &node = nodes_[static_cast<size_t>(index)];
    const size_t length = name.size();
    auto single = [&](auto accepts) {
        for (size_t p = from.lo(); p < std::min(from.hi(), length); ++p)
            if (from[p] && accepts(static_cast<unsigned char>(name[p])))
                to.Set(p + 1);
    };
    switch (node.kind) {
    case Node::Kind::Char:
        single([&](unsigned char c) { return Lower(c) == Lower(node.ch); });
        break;
    case Node::Kind::Any:
        single([](unsigned char) { return true; });
        break;
    case Node::Kind::Class:
        single([&](unsigned char c) { return ClassHas(node, c); });
        break;
    case Node::Kind::Empty:
        to.Or(from);
        break;
    case Node::Kind::Group:
        for (const auto &choice : node.choices)
            StepSequence(choice, name, from, to);
        break;
    case Node::Kind::Repeat: {
        if (nodes_[static_cast<size_t>(node.child)].kind == Node::Kind::Any) {
            // "#?": every position from the first start on.
            for (size_t p = from.Empty() ? length + 1 : from.lo(); p <= length; ++p)
                to.Set(p);
            break;
        }
        // Everything reachable by zero or more repetitions, frontier by frontier.
        Positions reached = from, frontier = from, next(from.size());
        while (!frontier.Empty()) {
            next.Clear();
            Step(node.child, name, frontier, next);
            frontier.Clear();
            for (size_t p = next.lo(); p < next.hi(); ++p)
                if (next[p] && !reached[p]) {
                    frontier.Set(p);
                    reached.Set(p);
                }
        }
        to.Or(reached);
        break;
    }
    case Node::Kind::Not:
        // From each start, any end that the negated element cannot reach.
        for (size_t p = from.lo(); p < from.hi(); ++p) {
            if (!from[p])
                continue;
            Positions start(from.size()), ends(from.size());
            start.Set(p);
            Step(node.child, name, start, ends);
            for (size_t q = p; q <= length; ++q)
                if (!ends[q])
                    to.Set(q);
        }
        break;
    }
}

} // namespace platform::dos
