#include "prefs/library_merge.h"

#include <deque>
#include <string_view>
#include <unordered_map>

namespace prefs {
namespace {

using Index = std::ptrdiff_t;

// trace[d][k + d]: the furthest `from` index reached on diagonal k = x - y
// with d edits.
using Trace = std::vector<std::vector<Index>>;

// Myers' greedy step: whether diagonal k is best reached by moving down
// (an insertion) from diagonal k + 1 rather than right from k - 1.
bool ComesDown(const std::vector<Index>& previous, Index k, Index d) {
    return k == -d || (k != d && previous[k - 1 + d - 1] < previous[k + 1 + d - 1]);
}

// Walks the trace back from the end, marking the diagonal runs (equal rows).
std::vector<Index> KeptFromTrace(const Trace& trace, const DiodeRows& from, const DiodeRows& to) {
    std::vector<Index> kept(from.size(), -1);
    Index x = static_cast<Index>(from.size());
    Index y = static_cast<Index>(to.size());
    for (Index d = static_cast<Index>(trace.size()) - 1; d > 0; --d) {
        const std::vector<Index>& previous = trace[static_cast<std::size_t>(d - 1)];
        const Index k = x - y;
        const bool down = ComesDown(previous, k, d);
        const Index previousK = down ? k + 1 : k - 1;
        const Index previousX = previous[previousK + d - 1];
        const Index previousY = previousX - previousK;
        const Index runX = down ? previousX : previousX + 1;
        while (x > runX && y > (down ? previousY + 1 : previousY)) {
            kept[static_cast<std::size_t>(--x)] = --y;
        }
        x = previousX;
        y = previousY;
    }
    while (x > 0 && y > 0) {
        kept[static_cast<std::size_t>(--x)] = --y;
    }
    return kept;
}

} // namespace

std::vector<std::ptrdiff_t> KeptRows(const DiodeRows& from, const DiodeRows& to) {
    const Index n = static_cast<Index>(from.size());
    const Index m = static_cast<Index>(to.size());
    Trace trace;
    for (Index d = 0; d <= n + m; ++d) {
        std::vector<Index> reached(static_cast<std::size_t>(2 * d + 1), 0);
        for (Index k = -d; k <= d; k += 2) {
            Index x = 0;
            if (d > 0) {
                const std::vector<Index>& previous = trace.back();
                x = ComesDown(previous, k, d) ? previous[k + 1 + d - 1]
                                              : previous[k - 1 + d - 1] + 1;
            }
            Index y = x - k;
            while (x < n && y < m &&
                   from[static_cast<std::size_t>(x)] == to[static_cast<std::size_t>(y)]) {
                ++x;
                ++y;
            }
            reached[static_cast<std::size_t>(k + d)] = x;
            if (x >= n && y >= m) {
                trace.push_back(std::move(reached));
                return KeptFromTrace(trace, from, to);
            }
        }
        trace.push_back(std::move(reached));
    }
    return std::vector<Index>(from.size(), -1); // not reached: d = n + m always ends
}

DiodeRows MergeDiodeRows(const DiodeRows& read, const DiodeRows& current, const DiodeRows& onDisk) {
    // This copy's edits: which rows it read it still has, and which are new.
    const std::vector<Index> keptAt = KeptRows(read, current);
    std::vector<Index> readIndexOf(current.size(), -1);
    for (std::size_t r = 0; r < read.size(); ++r) {
        if (keptAt[r] >= 0) {
            readIndexOf[static_cast<std::size_t>(keptAt[r])] = static_cast<Index>(r);
        }
    }

    // Where the rows this copy read stand in the file now: the k-th row of a
    // text that it read is the k-th row of that text in the file, if any.
    std::unordered_map<std::string_view, std::vector<Index>> placesOf;
    for (std::size_t p = 0; p < onDisk.size(); ++p) {
        placesOf[onDisk[p]].push_back(static_cast<Index>(p));
    }
    std::unordered_map<std::string_view, std::size_t> seen;
    std::vector<Index> placeOfRead(read.size(), -1);
    std::vector<Index> readAtPlace(onDisk.size(), -1);
    for (std::size_t r = 0; r < read.size(); ++r) {
        const auto places = placesOf.find(read[r]);
        const std::size_t rank = seen[read[r]]++;
        if (places != placesOf.end() && rank < places->second.size()) {
            placeOfRead[r] = places->second[rank];
            readAtPlace[static_cast<std::size_t>(placeOfRead[r])] = static_cast<Index>(r);
        }
    }

    // Rows the other copy added or changed, by text; one this copy added
    // alike is already there, and later additions follow it.
    std::unordered_map<std::string_view, std::deque<Index>> othersOwn;
    for (std::size_t p = 0; p < onDisk.size(); ++p) {
        if (readAtPlace[p] < 0) {
            othersOwn[onDisk[p]].push_back(static_cast<Index>(p));
        }
    }

    // Each added row goes after the place of the read row it follows, or of
    // the nearest read row before that which the file still has.
    std::vector<DiodeRows> addedAfter(onDisk.size() + 1); // [place + 1]
    Index anchor = -1;                                    // a place in the file
    for (std::size_t i = 0; i < current.size(); ++i) {
        const Index r = readIndexOf[i];
        if (r >= 0) {
            if (placeOfRead[static_cast<std::size_t>(r)] >= 0) {
                anchor = placeOfRead[static_cast<std::size_t>(r)];
            }
            continue;
        }
        const auto same = othersOwn.find(current[i]);
        if (same != othersOwn.end() && !same->second.empty()) {
            anchor = same->second.front();
            same->second.pop_front();
            continue;
        }
        addedAfter[static_cast<std::size_t>(anchor + 1)].push_back(current[i]);
    }

    DiodeRows merged(addedAfter[0]);
    for (std::size_t p = 0; p < onDisk.size(); ++p) {
        const Index r = readAtPlace[p];
        if (r < 0 || keptAt[static_cast<std::size_t>(r)] >= 0) {
            merged.push_back(onDisk[p]);
        }
        const DiodeRows& added = addedAfter[p + 1];
        merged.insert(merged.end(), added.begin(), added.end());
    }
    return merged;
}

} // namespace prefs
