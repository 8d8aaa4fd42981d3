// Tables of cases for the native tests.
#pragma once

#include "system/errors.h"

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

// The run-time error a statement raises, 0 for none.
template <class Statement> long ErrorOf(Statement statement) {
    try {
        statement();
    } catch (const RuntimeError& e) {
        return e.info().number;
    }
    return 0;
}

} // namespace vt
