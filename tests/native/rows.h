// Tables of cases for the native tests.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

namespace vt {

// Checks every row of what a rule gave and what it must give; a failure names the row by its
// place in the table, counted from 0.
template <class T> void ExpectRows(std::initializer_list<std::pair<T, T>> rows) {
    for (std::size_t place = 0; place < rows.size(); ++place) {
        EXPECT_EQ(rows.begin()[place].first, rows.begin()[place].second) << "row " << place;
    }
}

} // namespace vt
