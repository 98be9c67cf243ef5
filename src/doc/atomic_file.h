// Replacing a file's whole content so that neither the old file nor a partial new one is ever
// left in its place, and no partial file under any name is left beside it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>

namespace zk {

class AtomicFile {
  public:
    enum class Temporary {
        // An unnamed file in the target's folder (O_TMPFILE) that gets a name only once it is
        // complete and on disk; a named one where the folder's filesystem has no unnamed files.
        Unnamed,
        // A named file from the start, removed by the next replacement in that folder when the
        // process writing it died before renaming it.
        Named,
    };

    // Makes `data` the content of `path`: written to a temporary in the same folder, flushed to
    // disk (fsync), then renamed over the target, and the folder flushed. A symbolic link is
    // followed: what it points at is replaced. An existing target must be a file the user may
    // write and not marked read-only ("cannot write file: the file is read-only"), and the new
    // file keeps its permissions (and its owner where that can be kept);
    // a new file gets the usual permissions. On failure the target is as it was, no
    // temporary is left, and `why` says what went wrong ("cannot write file: ...").
    static bool Replace(const std::filesystem::path& path, std::span<const std::uint8_t> data,
                        std::string* why = nullptr, Temporary how = Temporary::Unnamed);

    // Appends bytes to the new content; false once writing has failed.
    using Writer = std::function<bool(std::span<const std::uint8_t>)>;
    // The same, with the content made piece by piece while it is written: `produce` hands each
    // piece, in order, to the writer it is given, so the content never needs to be in memory
    // whole. It returns false to give up (when a write failed, or it could not make the rest),
    // and the target is then left as it was; `why` says what failed, or is "cannot write file:
    // " + `givenUp` when the writes themselves did not.
    static bool Replace(const std::filesystem::path& path,
                        const std::function<bool(const Writer&)>& produce, std::string* why,
                        const std::string& givenUp, Temporary how = Temporary::Unnamed);

    // Temporaries are named ".zk-tmp.<process id>.<6 characters>".
    static bool IsTemporaryName(const std::string& name);
    // Removes the temporaries in `folder` that belong to no running process: what a save that
    // was killed half-way left. Returns how many were removed.
    static int RemoveLeftovers(const std::filesystem::path& folder);
};

}  // namespace zk
