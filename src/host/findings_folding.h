#ifndef TAGSTRIP_HOST_FINDINGS_FOLDING_H
#define TAGSTRIP_HOST_FINDINGS_FOLDING_H

#include <cstddef>
#include <string>

// The most characters a header line of ours holds, its line end not counted, so that any
// MTA passes it on as it is.
constexpr std::size_t kHeaderLineLimit = 78;

// The value of X-Tagstrip-Findings for these findings lines: each line starts a line of
// its own with a tab, after the field name alone on the first. A line that does not fit
// folds before a blank, its continuation lines starting with that blank, so that
// unfolding gives the line back; a run of text longer than a line holds is cut, and its
// continuation starts with an added blank. Only printable ASCII is written: a tab becomes
// a blank, any other control or non-ASCII byte a '?'. Blanks at the end of a line, and
// lines that are blank, are dropped.
std::string FoldedFindingsValue(const std::string& findings);

#endif
