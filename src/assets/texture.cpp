// Texture loading: one bitmap file becomes one 2-D texture, mipmapped where asked with levels
// box-filtered here so that every GL gives the same pictures; pictures may be decoded ahead.
#include "assets/texture.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <set>
#include <tuple>
#include <utility>

#include "assets/bmp_image.h"
#include "assets/data_root.h"
#include "platform/message_box.h"
#include "platform/timeline.h"
#include "platform/worker_gate.h"

std::vector<uint8_t> HalvePicture(const uint8_t* pixels, int width, int height) {
  const int w = std::max(1, width / 2), h = std::max(1, height / 2);
  std::vector<uint8_t> half(size_t(w) * h * 3);
  const size_t stride = size_t(width) * 3;
  for (int y = 0; y < h; ++y) {
    const uint8_t* row0 = pixels + size_t(std::min(2 * y, height - 1)) * stride;
    const uint8_t* row1 = pixels + size_t(std::min(2 * y + 1, height - 1)) * stride;
    uint8_t* out = half.data() + size_t(y) * w * 3;
    for (int x = 0; x < w; ++x) {
      const size_t a = size_t(std::min(2 * x, width - 1)) * 3;
      const size_t b = size_t(std::min(2 * x + 1, width - 1)) * 3;
      for (int c = 0; c < 3; ++c)
        out[x * 3 + c] = uint8_t((row0[a + c] + row0[b + c] + row1[a + c] + row1[b + c] + 2) / 4);
    }
  }
  return half;
}

namespace {

// A bitmap made ready for upload, or why there is none.
struct PreparedPicture {
  bool opened = false;        // false: missing or unopenable, which is no error
  std::string error;          // set when the file opened but could not be read or decoded
  int width = 0, height = 0;  // set once decoded, whether or not the pixels were kept
  // Level 0 first, then the smaller levels of a mipmapped texture; `channels` bytes a pixel:
  // red, green, blue and, when padded, an unused 255.
  std::vector<std::vector<uint8_t>> levels;
  int channels = 3;

  bool usable() const { return width > 0 && error.empty(); }
};

// The key of a request: a check needs no filter.
using Request = std::tuple<std::string, PictureRequest::Use, TextureFilter>;

Request KeyOf(const PictureRequest& wanted) {
  return {wanted.fileName, wanted.use,
          wanted.use == PictureRequest::Check ? TextureFilter::Linear : wanted.filter};
}

// The same picture with a fourth byte of 255 after each pixel.
std::vector<uint8_t> PadToFourBytes(const std::vector<uint8_t>& rgb) {
  std::vector<uint8_t> rgbx(rgb.size() / 3 * 4);
  for (size_t from = 0, to = 0; from + 2 < rgb.size(); from += 3, to += 4) {
    rgbx[to] = rgb[from];
    rgbx[to + 1] = rgb[from + 1];
    rgbx[to + 2] = rgb[from + 2];
    rgbx[to + 3] = 255;
  }
  return rgbx;
}

// Makes the smaller levels where asked; short of memory the picture goes without them.
void MakeSmallerLevels(PreparedPicture& picture, TextureFilter filter) {
  if (filter != TextureFilter::Mipmapped) return;
  try {
    for (int w = picture.width, h = picture.height; w > 1 || h > 1;) {
      picture.levels.push_back(HalvePicture(picture.levels.back().data(), w, h));
      w = std::max(1, w / 2), h = std::max(1, h / 2);
    }
  } catch (const std::bad_alloc&) {
    picture.levels.resize(1);  // the picture without its smaller levels is still a texture
  }
}

// Pads every level to four bytes a pixel, one level at a time; short of memory the picture
// fails as any picture does that cannot be read for want of memory.
void PadLevels(PreparedPicture& picture) {
  try {
    std::vector<std::vector<uint8_t>> padded;
    padded.reserve(picture.levels.size());
    for (std::vector<uint8_t>& level : picture.levels) {
      padded.push_back(PadToFourBytes(level));
      std::vector<uint8_t>().swap(level);
    }
    picture.levels = std::move(padded);
    picture.channels = 4;
  } catch (const std::bad_alloc&) {
    // Levels already padded were freed: this picture has to be read again.
    picture.levels.clear();
    picture.error = "Out of memory.";
  }
}

// Reads and decodes the picture with its levels; a mere check keeps only the verdict and the
// size. On a worker the levels are padded too: the GL then copies them as they are instead
// of converting each pixel on the thread that uploads; elsewhere padding would only cost memory.
PreparedPicture PreparePicture(const Request& request, int32_t maxDimension = kMaxDibDimension,
                               bool pad = false) {
  const std::string& fileName = std::get<0>(request);
  PreparedPicture prepared;
  if (std::FILE* file = OpenAssetFile(fileName.c_str())) {
    std::fclose(file);
  } else {
    return prepared;
  }
  prepared.opened = true;
  // A check keeps only the verdict and the size: the pixels are not decoded.
  if (std::get<1>(request) == PictureRequest::Check) {
    CheckDibFileQuietly(fileName.c_str(), prepared.error, prepared.width, prepared.height,
                        maxDimension);
    return prepared;
  }
  try {
    std::unique_ptr<RgbImage> image =
        ReadDibFileQuietly(fileName.c_str(), prepared.error, maxDimension);
    if (!image || image->pixels.empty()) return prepared;
    prepared.width = image->width, prepared.height = image->height;
    prepared.levels.push_back(std::move(image->pixels));
    image.reset();
    MakeSmallerLevels(prepared, std::get<2>(request));
    if (pad) PadLevels(prepared);
  } catch (const std::bad_alloc&) {
    prepared.levels.clear();
    prepared.error = "Out of memory.";
  }
  return prepared;
}

// Pictures being prepared by the workers, by file name and use, oldest request first. The
// workers pass the box gate between pictures and wait for more work there rather than end, so
// that none ends while a box may be shown; they end with the prefetcher.
class Prefetcher {
 public:
  ~Prefetcher() {
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
      queue_.clear();  // pictures nobody will take now
    }
    wake_.notify_all();
    workers_.clear();
  }

  void start(const std::vector<PictureRequest>& requests) {
    std::lock_guard lock(mutex_);
    // A picture asked for twice in one list (two tracks on one road) is prepared once, for
    // both calls; one still waiting from an earlier list is not asked for again.
    std::set<Request> added;
    for (const PictureRequest& wanted : requests) {
      Request request = KeyOf(wanted);
      if (added.count(request)) {
        ++pending_[request].takers;
        continue;
      }
      if (pending_.count(request)) continue;
      added.insert(request);
      auto task = std::make_shared<std::packaged_task<PreparedPicture()>>([request] {
        if (platform::TimelineOn()) platform::TimelineMark("picture " + std::get<0>(request));
        return PreparePicture(request, kMaxDibDimension, true);
      });
      pending_[request] = {task->get_future().share(), 1};
      queue_.push_back(std::move(task));
    }
    // Two workers at most: the renderer needs the other core.
    while (workers_.size() < 2 && workers_.size() < queue_.size()) {
      workers_.push_back(std::make_unique<platform::GatedWorker>([this] { work(); }));
    }
    wake_.notify_all();
  }

  void drop() {
    std::lock_guard lock(mutex_);
    queue_.clear();
    pending_.clear();
  }

  bool ready() {
    std::lock_guard lock(mutex_);
    for (const auto& [request, pending] : pending_) {
      if (pending.picture.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
        return false;
    }
    return true;
  }

  // The picture prepared for request, waiting for it if needed; false when none was requested.
  bool take(const Request& request, PreparedPicture& picture) {
    std::shared_future<PreparedPicture> future;
    bool last = false;
    {
      std::lock_guard lock(mutex_);
      auto found = pending_.find(request);
      if (found == pending_.end()) return false;
      future = found->second.picture;
      last = --found->second.takers == 0;
      if (last) pending_.erase(found);
    }
    // The last taker has the only reference left and may take the pixels; earlier ones copy.
    if (last) {
      picture = std::move(const_cast<PreparedPicture&>(future.get()));
    } else {
      picture = future.get();
    }
    return true;
  }

 private:
  void work() {
    for (;;) {
      std::shared_ptr<std::packaged_task<PreparedPicture()>> task;
      {
        // Out of work the worker rests here, holding nothing, until more comes or the end.
        platform::WorkerRest rest;
        platform::TimelineMark("pictures: resting");
        std::unique_lock lock(mutex_);
        wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
        if (stopping_) return;
      }
      {
        std::lock_guard lock(mutex_);
        if (queue_.empty()) continue;
        task = std::move(queue_.front());
        queue_.pop_front();
      }
      (*task)();
    }
  }

  std::mutex mutex_;
  std::condition_variable wake_;
  struct Pending {
    std::shared_future<PreparedPicture> picture;
    int takers = 0;  // requests for it not yet taken
  };
  std::map<Request, Pending> pending_;
  std::deque<std::shared_ptr<std::packaged_task<PreparedPicture()>>> queue_;
  std::vector<std::unique_ptr<platform::GatedWorker>> workers_;
  bool stopping_ = false;
};

Prefetcher& ThePrefetcher() {
  static Prefetcher prefetcher;
  return prefetcher;
}

// The picture for request, prefetched or read now, with its box shown if it failed.
PreparedPicture ObtainPicture(const Request& request) {
  // A picture OpenGL cannot take is refused by the reader before it is allocated; one the
  // workers decoded before there was a context to ask is refused here, with the same message.
  GLint maxSide = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSide);
  const int32_t limit =
      maxSide > 0 ? std::min<int32_t>(maxSide, kMaxDibDimension) : kMaxDibDimension;
  PreparedPicture picture;
  if (!ThePrefetcher().take(request, picture)) {
    picture = PreparePicture(request, limit);
  } else if (picture.width > limit || picture.height > limit) {
    picture.levels.clear();
    picture.error = "Image file conversion error.";
  }
  if (!picture.error.empty()) {
    platform::ShowMessageBox(picture.error, "Error", platform::Buttons::Ok,
                             platform::Icon::Exclamation);
  }
  return picture;
}

}  // namespace

void PrefetchTextures(const std::vector<PictureRequest>& requests) {
  ThePrefetcher().start(requests);
}

bool PrefetchedPicturesReady() {
  return ThePrefetcher().ready();
}

void DropPrefetchedPictures() {
  ThePrefetcher().drop();
}

bool CheckTexture(const char* fileName) {
  return fileName && ObtainPicture(KeyOf({fileName, PictureRequest::Check})).usable();
}

GLuint LoadTexture(const char* fileName, TextureFilter filter) {
  if (!fileName) return 0;
  PreparedPicture picture = ObtainPicture(KeyOf({fileName, PictureRequest::Load, filter}));

  if (picture.levels.empty()) return 0;
  const bool mipmapped = filter == TextureFilter::Mipmapped;

  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  // The filters come first: a mipmapped minification filter at the first upload lets the GL
  // allocate the whole chain at once instead of one level at a time and copying them later.
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER,
                  mipmapped && picture.levels.size() > 1 ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  // Picture rows are packed (3 * width bytes unpadded), which the default alignment of 4 would
  // misread for most widths.
  GLint alignment = 4;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  // The texture has no alpha channel whatever the bytes handed over.
  const GLenum layout = picture.channels == 4 ? GL_RGBA : GL_RGB;
  int width = picture.width, height = picture.height;
  for (size_t level = 0; level < picture.levels.size(); ++level) {
    glTexImage2D(GL_TEXTURE_2D, GLint(level), GL_RGB8, width, height, 0, layout, GL_UNSIGNED_BYTE,
                 picture.levels[level].data());
    std::vector<uint8_t>().swap(picture.levels[level]);  // uploaded: the GL holds its own copy
    width = std::max(1, width / 2), height = std::max(1, height / 2);
  }
  glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
  return texture;
}
