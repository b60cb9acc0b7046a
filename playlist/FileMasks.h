#pragma once

#include <string>
#include <vector>

// The file mask rules of the folder search: which names a search mask
// finds, which entries an exclusion mask rejects, and the list of folder and
// mask pairs a search walks. Plain functions on byte strings.
namespace playlist {

// Whether `name` matches a search mask. "*" stands for any run of
// characters, "?" for one character; letters match regardless of case, as
// folder listings do on the desktop this search was made for. "*.*" finds
// every name, and a mask ending in ".*" also finds the name without any
// extension ("song.*" finds "song").
bool matchesSearchMask(const std::string& name, const std::string& mask);

// Whether an exclusion mask rejects the entry `name` in `folder` (a full
// folder path, with or without a trailing "/"). Matching ignores letter
// case. A mask with a folder part matches only entries whose folder ends
// with that part (an absolute part must be the whole folder). In the name
// part "?" does not match "." and "*" does not reach past a "." while the
// mask has a "." still to come, so "*.MP3" rejects "A.MP3" but not
// "A.B.MP3".
bool matchesExclusion(const std::string& mask, const std::string& folder, const std::string& name);

struct SearchSpec {
    // A full folder path ending in "/".
    std::string folder;
    std::string mask;
    bool operator==(const SearchSpec&) const = default;
};

// The search list of a location and file name: the folders of `location`
// and the masks of `filename`, each split at ";" and trimmed, duplicates
// skipped, folders in the outer loop. An empty folder part is the current
// folder; folders become full paths ending in "/". An empty mask is "*.*",
// and a mask without "." gets ".*".
std::vector<SearchSpec> buildSearchList(const std::string& location, const std::string& filename);
// One full search specification (folder and mask) split and expanded.
SearchSpec splitSearchSpec(const std::string& specification);

// A folder made a full path (relative to the current folder) that ends in "/".
std::string fullFolderPath(const std::string& folder);

} // namespace playlist
