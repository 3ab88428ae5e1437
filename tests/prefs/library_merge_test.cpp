// Saving when another copy of the program saved first: this copy's own
// changes to the diode library go on top of what the file holds now.

#include "prefs/library_merge.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

using prefs::DiodeRows;

namespace {

struct MergeCase {
    const char* what;
    DiodeRows read;    // what this copy read at start
    DiodeRows current; // its library now
    DiodeRows onDisk;  // the file when it saves
    DiodeRows merged;

    friend void PrintTo(const MergeCase& c, std::ostream* out) { *out << c.what; }
};

class MergeDiodeRows : public testing::TestWithParam<MergeCase> {};

TEST_P(MergeDiodeRows, KeepsWhatEitherCopyChanged) {
    const MergeCase& c = GetParam();
    EXPECT_EQ(prefs::MergeDiodeRows(c.read, c.current, c.onDisk), c.merged);
}

INSTANTIATE_TEST_SUITE_P(
    Library, MergeDiodeRows,
    testing::Values(
        MergeCase{"alone: added, renamed and deleted rows stand as this copy has them",
                  {"A,1", "B,2", "C,3", "D,4"},
                  {"A,1", "X,2", "D,4", "N,5"},
                  {"A,1", "B,2", "C,3", "D,4"},
                  {"A,1", "X,2", "D,4", "N,5"}},
        MergeCase{"alone with twins: the deleted twin goes, order stays",
                  {"D,1", "E,2", "D,1"},
                  {"E,2", "D,1"},
                  {"D,1", "E,2", "D,1"},
                  {"E,2", "D,1"}},
        MergeCase{"this copy changed nothing: the file stays as the other copy left it",
                  {"A,1", "B,2"},
                  {"A,1", "B,2"},
                  {"B,2", "O,9"},
                  {"B,2", "O,9"}},
        MergeCase{"both added a diode: both are kept",
                  {"A,1"},
                  {"A,1", "OnlyInB,2"},
                  {"A,1", "OnlyInA,3"},
                  {"A,1", "OnlyInB,2", "OnlyInA,3"}},
        MergeCase{"one deleted a row, the other renamed another",
                  {"A,1", "B,2", "C,3"},
                  {"A,1", "C,3"},
                  {"A,1", "B,2", "Z,3"},
                  {"A,1", "Z,3"}},
        MergeCase{"both changed one diode: both versions are kept",
                  {"A,1", "B,2"},
                  {"A,1", "B,7"},
                  {"A,1", "B,8"},
                  {"A,1", "B,7", "B,8"}},
        MergeCase{"this copy changed a diode the other deleted: the change is kept",
                  {"A,1", "B,2"},
                  {"A,1", "B,7"},
                  {"A,1"},
                  {"A,1", "B,7"}},
        MergeCase{"this copy deleted a diode the other changed: the change is kept",
                  {"A,1", "B,2"},
                  {"A,1"},
                  {"A,1", "B,8"},
                  {"A,1", "B,8"}},
        MergeCase{"both added the same row: it is kept once",
                  {"A,1"},
                  {"A,1", "N,5"},
                  {"A,1", "N,5"},
                  {"A,1", "N,5"}},
        MergeCase{"both started without a file: the built-in diodes are not doubled",
                  {},
                  {"1N4004,1", "1N4148,2", "Mine,3"},
                  {"1N4004,1", "1N4148,2"},
                  {"1N4004,1", "1N4148,2", "Mine,3"}},
        MergeCase{"the row this copy's addition followed is gone: it goes after the one before",
                  {"A,1", "B,2", "C,3"},
                  {"A,1", "B,2", "N,5", "C,3"},
                  {"A,1", "C,3"},
                  {"A,1", "N,5", "C,3"}},
        MergeCase{"every row deleted while the other copy added one",
                  {"A,1", "B,2"},
                  {},
                  {"A,1", "B,2", "O,9"},
                  {"O,9"}}),
    [](const testing::TestParamInfo<MergeCase>& info) {
        return "case" + std::to_string(info.index);
    });

// The rows kept are a longest common subsequence, in order, whatever the
// edits: compared with the textbook table on random libraries with twins.
TEST(KeptRows, AreALongestCommonSubsequence) {
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> length(0, 12);
    std::uniform_int_distribution<int> letter(0, 3);
    for (int round = 0; round < 2000; ++round) {
        DiodeRows from(static_cast<std::size_t>(length(random)));
        DiodeRows to(static_cast<std::size_t>(length(random)));
        for (DiodeRows* rows : {&from, &to}) {
            std::generate(rows->begin(), rows->end(),
                          [&] { return std::string(1, static_cast<char>('a' + letter(random))); });
        }
        std::vector<std::vector<int>> table(from.size() + 1, std::vector<int>(to.size() + 1, 0));
        for (std::size_t i = from.size(); i-- > 0;) {
            for (std::size_t j = to.size(); j-- > 0;) {
                table[i][j] = from[i] == to[j] ? table[i + 1][j + 1] + 1
                                               : std::max(table[i + 1][j], table[i][j + 1]);
            }
        }

        const std::vector<std::ptrdiff_t> kept = prefs::KeptRows(from, to);
        ASSERT_EQ(kept.size(), from.size());
        int count = 0;
        std::ptrdiff_t last = -1;
        for (std::size_t i = 0; i < from.size(); ++i) {
            if (kept[i] < 0) {
                continue;
            }
            ASSERT_GT(kept[i], last) << "round " << round;
            ASSERT_LT(kept[i], static_cast<std::ptrdiff_t>(to.size()));
            ASSERT_EQ(from[i], to[static_cast<std::size_t>(kept[i])]);
            last = kept[i];
            ++count;
        }
        ASSERT_EQ(count, table[0][0]) << "round " << round;
    }
}

} // namespace
