// sort_words: the order of a plain exchange sort (for each i, exchange slot i
// with every later slot j whose name is smaller), computed in O(n log n).
//
// Names greater than a name k never change the relative order of the names
// up to k, so each group of equal names can be placed on its own. Walking the
// exchange sort shows what happens to a group at original positions
// p1 < ... < pm: its order starts as [p1]; before each next member p(t) joins
// at the end, the order so far turns left once for every smaller name that
// stands between p(t-1) and p(t); after pm it turns once more for every
// smaller name after pm. Groups are taken in increasing name order so that a
// Fenwick tree over positions counts the smaller names. The turning order is
// kept as a circle with a moving head: joining at the end is an insertion just
// before the head, and the insertions are placed afterwards, last first, each
// into the free slot of its rank.
#include "utils.h"

#include <algorithm>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

namespace {

// Counts of 0/1 over slots 0..size-1.
class Fenwick {
  public:
    Fenwick(LONG *tree, LONG size) : tree_(tree), size_(size) {}

    void Clear() { std::fill(tree_, tree_ + size_ + 1, 0); }
    // Every slot set to 1, built in linear time.
    void Fill() {
        for (LONG i = 1; i <= size_; i++)
            tree_[i] = i & -i;
    }
    void Add(LONG slot, LONG delta) {
        for (LONG i = slot + 1; i <= size_; i += i & -i)
            tree_[i] += delta;
    }
    LONG Total() const { return CountBelow(size_); }
    // The number of set slots below `slot`.
    LONG CountBelow(LONG slot) const {
        LONG count = 0;
        for (LONG i = slot; i > 0; i -= i & -i)
            count += tree_[i];
        return count;
    }
    // The slot of the set slot with the given rank (0 = the first).
    LONG FindRank(LONG rank) const {
        LONG position = 0, step = 1;
        while (step * 2 <= size_)
            step *= 2;
        for (; step > 0; step /= 2)
            if (position + step <= size_ && tree_[position + step] <= rank) {
                position += step;
                rank -= tree_[position];
            }
        return position;
    }

  private:
    LONG *tree_;
    LONG size_;
};

// The working memory of one sort, in one block.
struct SortSpace {
    LONG *order;     // original positions by (name, position)
    LONG *positions; // Fenwick tree over positions of smaller names
    LONG *slots;     // Fenwick tree over a group's free slots
    LONG *insertAt;  // per group member: its insertion index in the circle
    LONG *circle;    // per group: the members in circle order
    STRPTR *names;   // the sorted result
    STRPTR *paths;
};

void *allocate_space(SortSpace &space, LONG count) {
    const size_t n = static_cast<size_t>(count);
    const size_t longs = 5 * n + 2;
    void *block = malloc(longs * sizeof(LONG) + 2 * n * sizeof(STRPTR));
    if (!block)
        return NULL;
    auto *pointers = reinterpret_cast<STRPTR *>(block);
    space.names = pointers;
    space.paths = pointers + n;
    auto *numbers = reinterpret_cast<LONG *>(pointers + 2 * n);
    space.order = numbers;
    space.positions = numbers + n;
    space.slots = numbers + 2 * n + 1;
    space.insertAt = numbers + 3 * n + 2;
    space.circle = numbers + 4 * n + 2;
    return block;
}

// The plain exchange sort, for when the working memory cannot be had.
void exchange_sort(STRPTR *names, STRPTR *paths, LONG count) {
    for (LONG i = 0; i < count - 1; i++)
        for (LONG j = i + 1; j < count; j++)
            if (strcmp(names[i], names[j]) > 0) {
                swap(&names[i], &names[j]);
                swap(&paths[i], &paths[j]);
            }
}

// Places the group order[first..first+size) (equal names, ascending
// positions) into the result at slots first..first+size.
void place_group(const SortSpace &space, Fenwick &smaller, LONG first, LONG size, STRPTR *names,
                 STRPTR *paths) {
    const LONG *member = space.order + first;
    LONG head = 0;
    space.insertAt[0] = 0;
    for (LONG t = 1; t < size; t++) {
        const LONG turns = smaller.CountBelow(member[t]) - smaller.CountBelow(member[t - 1] + 1);
        head = (head + turns) % t;
        space.insertAt[t] = head++;
    }
    const LONG after = smaller.Total() - smaller.CountBelow(member[size - 1] + 1);
    head = (head + after) % size;

    Fenwick open(space.slots, size);
    open.Fill();
    for (LONG t = size - 1; t >= 0; t--) {
        const LONG slot = open.FindRank(space.insertAt[t]);
        open.Add(slot, -1);
        space.circle[slot] = member[t];
    }
    for (LONG i = 0; i < size; i++) {
        const LONG from = space.circle[(head + i) % size];
        space.names[first + i] = names[from];
        space.paths[first + i] = paths[from];
    }
}

// A name's first 8 bytes as one number, in byte order (zeros after its end):
// names compare as their heads do unless the heads are equal.
uint64_t head_of(CONST_STRPTR name) {
    uint64_t head = 0;
    int i = 0;
    for (; i < 8 && name[i]; i++)
        head = head << 8 | static_cast<unsigned char>(name[i]);
    return head << 8 * (8 - i);
}

// Sorts positions by (name, position). The names' heads are compared first,
// which spares most string comparisons and their look-ups.
void order_by_name(LONG *order, STRPTR *names, LONG count) {
    auto *heads = static_cast<uint64_t *>(malloc(sizeof(uint64_t) * static_cast<size_t>(count)));
    if (!heads) {
        std::sort(order, order + count, [names](LONG a, LONG b) {
            const int byName = strcmp(names[a], names[b]);
            return byName != 0 ? byName < 0 : a < b;
        });
        return;
    }
    for (LONG i = 0; i < count; i++)
        heads[i] = head_of(names[i]);
    std::sort(order, order + count, [names, heads](LONG a, LONG b) {
        if (heads[a] != heads[b])
            return heads[a] < heads[b];
        // Equal heads: names that end inside them are equal too.
        const int byName = (heads[a] & 0xFF) ? strcmp(names[a] + 8, names[b] + 8) : 0;
        return byName != 0 ? byName < 0 : a < b;
    });
    free(heads);
}

} // namespace

void swap(STRPTR *a, STRPTR *b) {
    STRPTR kept = *a;
    *a = *b;
    *b = kept;
}

void sort_words(STRPTR *names, STRPTR *paths, LONG count) {
    if (count < 2)
        return;
    SortSpace space;
    void *block = allocate_space(space, count);
    if (!block) {
        exchange_sort(names, paths, count);
        return;
    }
    for (LONG i = 0; i < count; i++)
        space.order[i] = i;
    order_by_name(space.order, names, count);

    Fenwick smaller(space.positions, count);
    smaller.Clear();
    for (LONG first = 0, next; first < count; first = next) {
        next = first + 1;
        while (next < count && strcmp(names[space.order[first]], names[space.order[next]]) == 0)
            next++;
        place_group(space, smaller, first, next - first, names, paths);
        for (LONG i = first; i < next; i++)
            smaller.Add(space.order[i], 1);
    }
    memcpy(names, space.names, sizeof(STRPTR) * static_cast<size_t>(count));
    memcpy(paths, space.paths, sizeof(STRPTR) * static_cast<size_t>(count));
    free(block);
}
