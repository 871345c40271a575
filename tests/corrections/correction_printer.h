#pragma once
// Shows a row as its three texts when a test fails.
#include <ostream>

#include "corrections/correction.h"

namespace parlino::corrections {

inline void PrintTo(const Correction& row, std::ostream* out) {
  *out << "{\"" << ToUtf8(row.word) << "\", \"" << ToUtf8(row.pronunciation) << "\", \""
       << ToUtf8(row.caseMark) << "\"}";
}

}  // namespace parlino::corrections
