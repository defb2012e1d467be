// Helpers shared by the test executables: temporary folders, file reading, golden files and
// actions run as another user.
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <sys/types.h>
#include <vector>

namespace testsupport {

// A fresh empty folder below the system temp folder, removed when the object dies.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    // The folder's path, without a trailing separator.
    const std::filesystem::path& path() const { return path_; }
    // The folder's path as text, ending with "/" as the library expects of folder texts.
    std::string dir() const { return path_.string() + "/"; }
    // A path inside the folder.
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// Path of a file in tests/data.
std::string dataPath(const std::string& name);
// The whole file as bytes; empty when missing.
std::string readAll(const std::string& path);
// Writes bytes to a file, replacing it.
void writeAll(const std::string& path, const std::string& bytes);

// Compares text with the golden file tests/data/<name>. On a mismatch writes the actual text
// beside it as <name>.actual and returns false; with ZORV_UPDATE_GOLDEN=1 rewrites the golden.
bool matchesGolden(const std::string& name, const std::string& actual);

// The names in a folder, sorted (to see that nothing else was made there).
std::vector<std::string> Names(const std::filesystem::path& dir);

// What a child process came to: the text it handed back and how it ended.
struct ChildOutcome {
    bool ran = false;   // the child was started and waited for
    std::string report; // the text the body returned
    int status = 0;     // its wait status
    bool late = false;  // it had not ended its text by the time limit
};
// Runs the body in a forked child, which hands its text back through a pipe and ends with
// status 0 when the text is empty, else 1 (the body may end the child itself with another).
ChildOutcome InChild(const std::function<std::string()>& body);
// Runs the body in a child like InChild; where the child has not ended its text within the
// limit, free() is called to release what holds it (then it is killed) and late is set.
ChildOutcome InChildWithin(const std::function<std::string()>& body,
                           std::chrono::milliseconds limit, const std::function<void()>& free);
// Runs the action in a child process in a mount namespace of its own (its mounts private to
// it, gone with it); its text, empty when all went well. skipped gets why no namespace could
// be made, if none could. Needs root.
std::string InOwnNamespace(const std::function<std::string()>& action, std::string& skipped);

// Runs the action in a child process as another user (with the further groups given, umask
// 022); true when the action gave true there. Needs root.
bool AsUser(uid_t uid, std::vector<gid_t> groups, const std::function<bool()>& action);
// Runs the action in a child process as another user like AsUser and hands back the text it
// returned, read through a pipe: empty when all went well there. A child that could not become
// the user or did not end as its text says gives a note saying so.
std::string AsUserReport(uid_t uid, std::vector<gid_t> groups,
                         const std::function<std::string()>& action);

// A few random edits of a text for the fuzz smoke tests: flipped bytes, inserted tokens,
// cuts, copies of its own pieces and truncation, at most maxSteps of them.
std::string Mutate(std::string s, std::mt19937& rng, const std::vector<std::string>& tokens,
                   int maxSteps);

}  // namespace testsupport
