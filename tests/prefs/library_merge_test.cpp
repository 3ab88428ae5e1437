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

// clang-format off
const MergeCase kMergeCases[] = {
    // what,                                                 read,            current,                 on disk,                 merged
    {"alone: this copy's adds, renames and deletes stand",   {"A", "B", "C", "D"}, {"A", "X", "D", "N"}, {"A", "B", "C", "D"}, {"A", "X", "D", "N"}},
    {"alone with twins: the deleted twin goes, order stays", {"D", "E", "D"}, {"E", "D"},              {"D", "E", "D"},         {"E", "D"}},
    {"this copy changed nothing: the other's file stays",    {"A", "B"},      {"A", "B"},              {"B", "O"},              {"B", "O"}},
    {"both added a diode: both are kept",                    {"A"},           {"A", "OnlyInB"},        {"A", "OnlyInA"},        {"A", "OnlyInB", "OnlyInA"}},
    {"one deleted a row, the other renamed another",         {"A", "B", "C"}, {"A", "C"},              {"A", "B", "Z"},         {"A", "Z"}},
    {"both changed one diode: both versions are kept",       {"A", "B,2"},    {"A", "B,7"},            {"A", "B,8"},            {"A", "B,7", "B,8"}},
    {"changed here, deleted there: the change is kept",      {"A", "B,2"},    {"A", "B,7"},            {"A"},                   {"A", "B,7"}},
    {"deleted here, changed there: the change is kept",      {"A", "B,2"},    {"A"},                   {"A", "B,8"},            {"A", "B,8"}},
    {"both added the same row: it is kept once",             {"A"},           {"A", "N"},              {"A", "N"},              {"A", "N"}},
    {"both began without a file: no built-in row doubled",   {},              {"1N4004", "1N4148", "M"}, {"1N4004", "1N4148"},  {"1N4004", "1N4148", "M"}},
    {"the row an addition followed is gone: the one before", {"A", "B", "C"}, {"A", "B", "N", "C"},    {"A", "C"},              {"A", "N", "C"}},
    {"every row deleted while the other copy added one",     {"A", "B"},      {},                      {"A", "B", "O"},         {"O"}},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Library, MergeDiodeRows, testing::ValuesIn(kMergeCases));

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
