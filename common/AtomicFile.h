// Whole-file reads and crash-safe whole-file writes.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace zov {

// The bytes of a regular file; nothing when it is missing, is no regular file or cannot be read.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);

// Writes the bytes to a new file in the target's folder, flushes it to disk and renames it over
// the target, so that readers see either the old or the new content, never a mixture. An existing
// target keeps its permission bits; a symbolic link is followed and its target replaced.
// On any failure the target is untouched, the temporary file is removed and false is returned.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// The same, telling why it failed: error holds the system's error (a folder in the target's place
// is EISDIR), and is cleared on success.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes, std::error_code& error);

}  // namespace zov
