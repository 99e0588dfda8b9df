#pragma once

// Names shared by the keyed archiver and unarchiver (private to the platform).
namespace archive_format {
inline constexpr const char* kFormatKey = "archiver";
inline constexpr const char* kFormatName = "lumo-keyed-archive";
inline constexpr const char* kVersionKey = "version";
inline constexpr int kVersion = 1;
inline constexpr const char* kRoot = "root";
inline constexpr const char* kObjects = "objects";
inline constexpr const char* kClass = "class";
inline constexpr const char* kValues = "values";
inline constexpr const char* kRef = "$ref";
}  // namespace archive_format
