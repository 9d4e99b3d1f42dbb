// Reads Windows bitmap files into RGB pictures, reporting failures in "Error" message boxes.
#pragma once

#include <memory>
#include <string>

#include "assets/dib_decoder.h"

// The picture in fileName, or null. A null name or a file that cannot be opened gives null
// without a message; otherwise the result is that of ReadDibFile.
std::unique_ptr<RgbImage> LoadBmpImage(const char* fileName,
                                       int32_t maxDimension = kMaxDibDimension);

// Reads and decodes the whole file. Every failure is shown in a message box captioned "Error"
// ("Failed to open DIB file <name>.", "Unknown DIB file format.", "Image file conversion error.",
// "Out of memory.") and gives null. A width or height over maxDimension (lowered by the texture
// loader to what OpenGL takes) is a conversion error, found before the picture is allocated.
std::unique_ptr<RgbImage> ReadDibFile(const char* fileName,
                                      int32_t maxDimension = kMaxDibDimension);

// ReadDibFile without the message box: a failure gives null and its message text in error.
// Touches no shared state, so worker threads may call it.
std::unique_ptr<RgbImage> ReadDibFileQuietly(const char* fileName, std::string& error,
                                             int32_t maxDimension = kMaxDibDimension);

// ReadDibFileQuietly for a check: the same verdict and message (short of memory) without
// decoding the pixels; true with the picture's width and height when it would decode.
bool CheckDibFileQuietly(const char* fileName, std::string& error, int32_t& width, int32_t& height,
                         int32_t maxDimension = kMaxDibDimension);
