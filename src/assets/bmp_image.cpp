// Bitmap file reading: opens the file, decodes it and reports every failure in a message box.
#include "assets/bmp_image.h"

#include <cstdio>
#include <new>
#include <string>
#include <vector>

#include "platform/message_box.h"

namespace {

void ShowError(const std::string& text) {
  platform::ShowMessageBox(text, "Error", platform::Buttons::Ok, platform::Icon::Exclamation);
}

// The whole file, or false when it cannot be opened or read, or is empty.
bool ReadWholeFile(const char* fileName, std::vector<unsigned char>& bytes) {
  std::FILE* file = std::fopen(fileName, "rb");
  if (!file) return false;
  unsigned char chunk[65536];
  bool ok = true;
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
    bytes.insert(bytes.end(), chunk, chunk + got);
  }
  if (std::ferror(file)) ok = false;
  std::fclose(file);
  return ok && !bytes.empty();
}

}  // namespace

std::unique_ptr<RgbImage> LoadBmpImage(const char* fileName, int32_t maxDimension) {
  if (!fileName) return nullptr;
  std::FILE* file = std::fopen(fileName, "rb");
  if (!file) return nullptr;
  std::fclose(file);
  return ReadDibFile(fileName, maxDimension);
}

std::unique_ptr<RgbImage> ReadDibFile(const char* fileName, int32_t maxDimension) {
  std::vector<unsigned char> bytes;
  bool read;
  try {
    read = fileName && ReadWholeFile(fileName, bytes);
  } catch (const std::bad_alloc&) {
    ShowError("Out of memory.");
    return nullptr;
  }
  if (!read) {
    // The message is formatted into 256 characters; a longer file name is cut.
    char message[256];
    std::snprintf(message, sizeof message, "Failed to open DIB file %s.\n",
                  fileName ? fileName : "(null)");
    ShowError(message);
    return nullptr;
  }

  auto image = std::make_unique<RgbImage>();
  switch (DecodeDib(bytes, *image, maxDimension)) {
    case DibStatus::Ok:
      return image;
    case DibStatus::UnknownFormat:
      ShowError("Unknown DIB file format.");
      break;
    case DibStatus::ConversionError:
      ShowError("Image file conversion error.");
      break;
    case DibStatus::OutOfMemory:
      ShowError("Out of memory.");
      break;
  }
  return nullptr;
}
