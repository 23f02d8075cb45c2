#pragma once
// The pieces of the PDF report's layout that tests reach directly.

#include "ide/reports/PdfCanvas.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zov::reports {

// The codes of the failure message when the library itself did not fail: the version index was
// outside the list (the library's "invalid parameter"), or the file could not be written (its
// "file I/O error").
inline constexpr unsigned long kPdfInvalidVersion = 0x1039;
inline constexpr unsigned long kPdfWriteFailed = 0x1016;

// The text cut into lines narrower than the column, measured in the regular font at 8 points:
// at blanks where it can, between characters for a word wider than the column. At least one line;
// the last one holds the rest once maxLines is reached.
std::vector<std::string> SplitTextToWidth(PdfCanvas& canvas, float width, std::string_view text,
                                          std::size_t maxLines = 1000);

}  // namespace zov::reports
