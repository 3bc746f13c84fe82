#include "console/PathCompletion.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>

namespace {

bool isFolder(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The entries of `folder` whose names begin with `prefix`, folders with a '/' after the name.
std::vector<std::string> matchingEntries(const std::string& folder, const std::string& prefix, bool blanks) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr) {
        return names;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        if (name.compare(0, prefix.size(), prefix) != 0 || (name[0] == '.' && prefix.empty())) {
            continue;
        }
        // Outside quotes a blank would split the console line, so such a name cannot be typed there.
        if (!blanks && name.find(' ') != std::string::npos) {
            continue;
        }
        names.push_back(isFolder(folder + name) ? name + "/" : name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

size_t sharedLength(const std::vector<std::string>& names) {
    size_t length = names.front().size();
    for (const std::string& name : names) {
        length = std::min(length, name.size());
        for (size_t i = 0; i < length; ++i) {
            if (name[i] != names.front()[i]) {
                length = i;
                break;
            }
        }
    }
    return length;
}

}  // namespace

PathCompletion completePath(const std::string& partial, bool blanks) {
    PathCompletion result;
    result.completed = partial;
    const size_t slash = partial.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : partial.substr(0, slash + 1);
    const std::string prefix = slash == std::string::npos ? partial : partial.substr(slash + 1);
    std::vector<std::string> names = matchingEntries(folder, prefix, blanks);
    if (names.empty()) {
        return result;
    }
    const size_t shared = sharedLength(names);
    if (shared > prefix.size()) {
        result.completed = folder + names.front().substr(0, shared);
    } else if (names.size() > 1) {
        result.candidates = std::move(names);
    }
    return result;
}
