#pragma once

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace poronpa::layers {

/// Which folders each folder may include: the folders it names as used, and all that those use.
class LayerTable {
public:
    /// Reads "FOLDER: USED FOLDERS" lines ('#' starts a comment). Faults in the table itself (a
    /// folder named twice, a use of a folder the table does not name, a cycle of uses) are added
    /// to `faults`.
    static LayerTable parse(const std::string& text, std::vector<std::string>& faults);

    bool names(const std::string& folder) const { return uses_.count(folder) != 0; }
    /// Whether code in `from` may include a file of `to`.
    bool mayInclude(const std::string& from, const std::string& to) const;

private:
    std::map<std::string, std::vector<std::string>> uses_;
    std::map<std::string, std::set<std::string>> reach_;
};

/// One `#include "..."` of a source file.
struct Include {
    std::string file;   ///< the including file, relative to the source root
    int line = 0;
    std::string target; ///< as written between the quotes
};

/// Every quoted include of every .h and .cpp below `root`, leaving out the tests (but for what
/// they share in tests/support), build folders and hidden folders.
std::vector<Include> scanIncludes(const std::filesystem::path& root);

/// The folder an include names: the path up to its last '/', or the including file's own folder.
std::string folderOf(const Include& include);

/// Every include that runs against the table, and every folder holding code the table leaves out,
/// one sentence each.
std::vector<std::string> check(const LayerTable& table, const std::vector<Include>& includes);

} // namespace poronpa::layers
