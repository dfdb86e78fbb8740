#pragma once
// The {$R ...} line that attaches a compiled resource to a Delphi project
// source, inserted directly above the main block's "begin" and taken out
// again. Lines are the project source's lines without line ends.
#include <string>
#include <vector>

namespace lingrove::rcscript {

// "{$R " + fileName + "}"
std::string directiveLine(const std::string& resFileName);

// The 0-based number of the first line that reads BEGIN once every space is
// removed and a-z are upper-cased; -1 when there is none. Only spaces are
// removed: a tab or a comment beside the word does not match.
int findBeginLine(const std::vector<std::string>& lines);

// Whether a line is a resource directive: "{$R file}" or "{$RESOURCE file}",
// either case, spaces around allowed.
bool isResourceDirective(const std::string& line);

enum class InsertOutcome {
    Inserted,      // the directive sits at the returned position
    NoLines,       // the source is empty: nothing changed
    NoBeginLine,   // no line reads BEGIN: nothing changed
};

struct InsertResult {
    InsertOutcome outcome = InsertOutcome::NoLines;
    int position = -1;   // the directive's line number when inserted
};

// Inserts the directive above the first BEGIN line (the head before it, the
// directive, the tail from it on). Nothing changes unless it is Inserted.
InsertResult insertDirective(std::vector<std::string>& lines, const std::string& resFileName);

enum class RemoveOutcome {
    Removed,       // the directive line was deleted
    NoneRecorded,  // position -1: nothing to do
    Stale,         // the line there is no resource directive (or is gone): kept
};

// Deletes the line at position when it still is a resource directive.
RemoveOutcome removeDirective(std::vector<std::string>& lines, int position);

} // namespace lingrove::rcscript
