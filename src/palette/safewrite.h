// Replacing a settings file whole or not at all. A palette or Config.ini is
// never left half written by a full disk, a crash or a power cut: the new
// bytes go to a temporary file in the same folder, are flushed to the disk,
// and are renamed over the old file in one step.
#pragma once

#include <filesystem>
#include <string_view>

#include "palette/writeresult.h"

namespace quillon::palette {

// Makes the file at `path` hold exactly `bytes`; creates it when missing (its
// folder must exist). A symbolic link is followed and the file it names is
// replaced, or created when missing; the link itself stays as it is. The file keeps its permissions
// and, where allowed, its owner; when the temporary file cannot be made to match them, or the
// folder refuses new files while the file itself is writable, the file is rewritten in place
// instead (see rewriteInPlace). On failure the old file is intact and no temporary file is left.
WriteResult replaceFileContents(const std::filesystem::path& path, std::string_view bytes);

// Rewrites an existing regular file where it is. Not atomic against a crash,
// but a full disk cannot damage it: the part that grows the file is written
// first (and taken back if it fails) before any old byte is overwritten.
WriteResult rewriteInPlace(const std::filesystem::path& path, std::string_view bytes);

}  // namespace quillon::palette
