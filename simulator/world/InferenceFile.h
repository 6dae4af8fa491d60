#pragma once
#include <cstdio>
#include <string>

#include "world/InferenceTable.h"

// Inference files (.ifi): eight lines "angle speed", angle then speed of S1..S8, each
// written like printf's "%lf". The decimal separator is always the point, whatever
// locale the process runs under.

// Writes the table. The file is replaced only once the whole table is on the disk: a
// failed save (no room, no right to write) leaves the previous file as it was.
// Returns false when the file cannot be written.
bool SaveInferenceFile(const std::string& path, const InferenceTable& table);

// What a load returns besides the count of numbers read (0..16).
inline constexpr int kInferenceFileUnreadable = -1;  // cannot be opened or read
inline constexpr int kInferenceFileNotText = -2;     // holds a byte no text file has

// Reads up to sixteen numbers (angle S1, speed S1, ... speed S8; any white space
// between them, anything after the sixteenth ignored) into the table, in that order.
// The entries from the first missing or unreadable number on keep their values.
// Returns how many numbers were read (0..16), kInferenceFileUnreadable, or
// kInferenceFileNotText when the file holds a NUL or a control character other than tab,
// CR and LF (the table is then untouched and *nonTextLine, when given, is its line).
int LoadInferenceFile(const std::string& path, InferenceTable& table, int* nonTextLine = nullptr);

// The same from an open stream, read from where it stands; the stream must be seekable.
int ReadInferenceStream(std::FILE* stream, InferenceTable& table, int* nonTextLine = nullptr);
