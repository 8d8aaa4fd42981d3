// Tables of cases for the native tests.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>

namespace vt {

// A row of a table: what a rule gave and what it must give.
template <class T> struct Row { T got, want; };

// Checks every row; a failure names the row by its place in the table, counted from 0.
template <class T> void ExpectRows(std::initializer_list<Row<T>> rows) {
    int place = 0;
    for (const Row<T>& row : rows) {
        EXPECT_EQ(row.got, row.want) << "row " << place;
        ++place;
    }
}

// Checks `rule` on each input of a table of (input, what it must give).
template <class Rule, class Cases> void ExpectEach(Rule rule, const Cases& cases) {
    for (const auto& [in, want] : cases) {
        EXPECT_EQ(rule(in), want) << testing::PrintToString(in);
    }
}

} // namespace vt
