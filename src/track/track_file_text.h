// A track file's text from its content: what ParseTrackFile reads back as the same content.
// GL-free.
#pragma once

#include <string>
#include <vector>

#include "track/track_file.h"

// The `.track` text of `content`: the format line, each of `comments` as a `# ` line, the keys,
// and one `point` line per control point, every number written so that it reads back exactly.
std::string TrackFileText(const TrackFileContent& content,
                          const std::vector<std::string>& comments);
