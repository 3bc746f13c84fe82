#pragma once

#include <string>
#include <vector>

// Completes a file or folder path as a shell does. The folder part of `partial` (up to its last '/') is
// listed, relative to the current folder unless it starts with '/'; the names that begin with the rest
// are the candidates (names beginning with '.' only when the rest does). A folder is written with a '/'
// after it. Names with a blank are left out unless `blanks` (for a path typed inside quotes).
struct PathCompletion {
    // `partial` extended by what every candidate shares; unchanged when there is nothing to add.
    std::string completed;
    // The candidates, sorted, when there are several and nothing could be added; empty otherwise.
    std::vector<std::string> candidates;
};

PathCompletion completePath(const std::string& partial, bool blanks = false);
