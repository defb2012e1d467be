// The file search: walks a folder tree, counting or collecting the files (or folders) whose
// names match a list of wildcard patterns, with an exclusion, size limits and a limit on hits,
// reporting progress through callbacks raised on the caller's thread and stoppable from them.
// Symbolic links are neither walked nor reported: a link may lead out of the tree, or nowhere.
#pragma once

#include "foundation/cFixed.h"

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

class cSurface;

class cDisk {
  public:
    // The count a search returns when it was stopped by the stop flag.
    static constexpr std::int32_t kStopped = -32000;
    // The default limit on the files a search collects.
    static constexpr std::int32_t kNoLimit = 2147483647;

    // A taken file: its folder, its name, the found count, the total size, the stop flag.
    std::function<void(std::string& CurrentPath, std::string& CurrentFile, std::int32_t& FileFound,
                       double& ByteFound, bool& Cancel)>
        Progress;
    // A folder is about to be searched (its path ends with "/").
    std::function<void(std::string& CurrentPath)> PathChange;
    // StopSearch was called.
    std::function<void()> OnAbortSearch;
    // Runs before every entry of a file walk so that pending window events can be handled.
    std::function<void()> DoEvents;

    // Counts the matching files below StartPath (normalised to end with "/", written back).
    std::int32_t CountFiles(std::string& StartPath, bool RecurseFolder,
                            const std::string& IncludeSpec, const std::string& ExcludeSpec = "",
                            cFixed MinSize = cFixed(), cFixed MaxSize = cFixed());
    // Collects the matching files below StartPath, the whole search ending at MaxNumber hits
    // (none for 0 or less); the count, or kStopped when stopped.
    std::int32_t SearchFiles(std::string& StartPath, bool RecurseFolder,
                             const std::string& IncludeSpec, const std::string& ExcludeSpec = "",
                             cFixed MinSize = cFixed(), cFixed MaxSize = cFixed(),
                             std::int32_t MaxNumber = kNoLimit);
    // Collects the matching folders below StartPath (normalised to end with "/").
    std::int32_t SearchFolders(std::string& StartPath, bool RecurseFolder,
                               const std::string& IncludeSpec, const std::string& ExcludeSpec = "");
    // Sets the stop flag and raises OnAbortSearch.
    void StopSearch();

    // The folder being examined.
    const std::string& CurrentPath() const { return currentPath_; }
    // The last file found.
    const std::string& CurrentFile() const { return currentFile_; }
    // The number of files (or folders) found; kStopped after a stopped search.
    std::int32_t FoundFilesCount() const { return count_; }
    // The sum of the sizes in bytes of the files found.
    double FoundFilesSize() const { return totalSize_; }
    // Per hit from index 1: the file name, or the folder entry of a folder search.
    const std::vector<std::string>& ListFound() const { return list_; }
    // Per file hit from index 1: its path relative to the search root.
    const std::vector<std::string>& FoundFilesNames() const { return names_; }

    // The file's icon drawn on the picture.
    int GetFileIcon(const std::string& FileName, std::int32_t iconsize, cSurface& dstPictureBox);
    // One string of the file's version information.
    std::string GetFileInfo(const std::string& FileName, std::int32_t infotype);
    // The file's type description.
    std::string GetFileType(const std::string& FileName);
    // The file's version.
    std::string GetFileVersion(const std::string& FileName);
    // One time of the file as a date value (0 creation, 1 last write, 2 last access).
    double GetFileDate(const std::string& FileName, std::int32_t FD);

    // True when the name matches the pattern list: patterns separated by ";" (leading
    // blanks ignored), "*" any run of characters, "?" one character, letters without regard
    // to case; "*.*" matches every name and an empty pattern list matches nothing.
    static bool MatchSpec(const std::string& name, const std::string& spec);

  private:
    struct Walk {
        bool collecting = false;
        bool recurse = false;
        std::string include, exclude;
        cFixed minSize, maxSize;
        std::int32_t maxNumber = kNoLimit;
    };

    void Reset();
    void WalkFiles(const std::string& folder, const Walk& walk);
    bool TakeFile(const std::string& folder, const std::string& name, std::uintmax_t size,
                  const Walk& walk);
    void WalkFolders(const std::string& folder, const Walk& walk);
    bool Enter(const std::string& folder);
    void Finish(bool collecting);

    double totalSize_ = 0;
    std::int32_t count_ = 0;
    std::vector<std::string> list_{""};
    std::vector<std::string> names_{""};
    std::string root_;
    bool stop_ = false;
    bool ended_ = false;
    std::string currentPath_;
    std::string currentFile_;
    std::set<std::string> visited_;
};
