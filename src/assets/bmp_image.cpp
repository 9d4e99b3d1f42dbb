// Bitmap file reading: opens the file, decodes it and reports every failure in a message box.
#include "assets/bmp_image.h"

#include <cstdio>
#include <new>
#include <string>
#include <vector>

#include "assets/data_root.h"
#include "platform/message_box.h"

namespace {

void ShowError(const std::string& text) {
  platform::ShowMessageBox(text, "Error", platform::Buttons::Ok, platform::Icon::Exclamation);
}

// The part of the file its headers say the picture can use; false when it cannot be opened or
// read (a folder, FIFO or device is never read), or is empty.
bool ReadPictureFile(const char* fileName, std::vector<unsigned char>& bytes) {
  return ReadAssetFile(
             fileName, kDibHeaderBytes,
             [](const std::vector<unsigned char>& header) { return DibReadLimit(header); },
             bytes) == AssetRead::Read &&
         !bytes.empty();
}

}  // namespace

std::unique_ptr<RgbImage> LoadBmpImage(const char* fileName, int32_t maxDimension) {
  if (!fileName) return nullptr;
  std::FILE* file = OpenAssetFile(fileName);
  if (!file) return nullptr;
  std::fclose(file);
  return ReadDibFile(fileName, maxDimension);
}

std::unique_ptr<RgbImage> ReadDibFile(const char* fileName, int32_t maxDimension) {
  std::string error;
  std::unique_ptr<RgbImage> image = ReadDibFileQuietly(fileName, error, maxDimension);
  if (!image) ShowError(error);
  return image;
}

namespace {

// The file's bytes as ReadPictureFile reads them; false with the message when there are none.
bool ReadPictureQuietly(const char* fileName, std::vector<unsigned char>& bytes,
                        std::string& error) {
  bool read;
  try {
    read = fileName && ReadPictureFile(fileName, bytes);
  } catch (const std::bad_alloc&) {
    error = "Out of memory.";
    return false;
  }
  if (!read) {
    // The message is formatted into 256 characters; a longer file name is cut.
    char message[256];
    std::snprintf(message, sizeof message, "Failed to open DIB file %s.\n",
                  fileName ? fileName : "(null)");
    error = message;
  }
  return read;
}

// The message of a status other than Ok.
const char* DibError(DibStatus status) {
  switch (status) {
    case DibStatus::UnknownFormat:
      return "Unknown DIB file format.";
    case DibStatus::OutOfMemory:
      return "Out of memory.";
    default:
      return "Image file conversion error.";
  }
}

}  // namespace

std::unique_ptr<RgbImage> ReadDibFileQuietly(const char* fileName, std::string& error,
                                             int32_t maxDimension) {
  std::vector<unsigned char> bytes;
  if (!ReadPictureQuietly(fileName, bytes, error)) return nullptr;
  auto image = std::make_unique<RgbImage>();
  const DibStatus status = DecodeDib(bytes, *image, maxDimension);
  if (status == DibStatus::Ok) return image;
  error = DibError(status);
  return nullptr;
}

bool CheckDibFileQuietly(const char* fileName, std::string& error, int32_t& width, int32_t& height,
                         int32_t maxDimension) {
  width = height = 0;
  std::vector<unsigned char> bytes;
  if (!ReadPictureQuietly(fileName, bytes, error)) return false;
  const DibStatus status = CheckDib(bytes, width, height, maxDimension);
  if (status != DibStatus::Ok) error = DibError(status);
  return status == DibStatus::Ok;
}
