#pragma once
#include <cstddef>

// Decompression and file loading for texture files. Every buffer handed out
// through `out` is allocated with malloc; the caller frees it with free().
// Headers and streams are untrusted: nothing is allocated beyond the inflation
// limit, whatever a header claims. Problems with a file are warned about once
// per file, naming it.

// Largest output any of these functions produces, and the largest file read
// (default: twice the largest decoded picture, 32 MiB).
std::size_t ccMaximumInflatedLength();
void ccSetMaximumInflatedLength(std::size_t length);

// A zlib or gzip stream in memory, fully inflated; the length, 0 on failure.
int ccInflateMemory(const unsigned char* in, unsigned int inLength, unsigned char** out);
// A gzip file (or a plain one, read as it is); the length, -1 on failure.
int ccInflateGZipFile(const char* path, unsigned char** out);
// A CCZ container file; the uncompressed length, -1 on failure.
int ccInflateCCZFile(const char* path, unsigned char** out);
// A CCZ container already in memory; the uncompressed length, -1 on failure.
int ccInflateCCZData(const unsigned char* data, std::size_t length, unsigned char** out);
// The whole file; its length, or -1 with *out cleared.
int ccLoadFileIntoMemory(const char* path, unsigned char** out);
