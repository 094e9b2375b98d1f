// The tests' way past the address check, to their own server at 127.0.0.1.
#pragma once

#include "photo/photo_download.h"

namespace kontaktel {

struct PhotoTestSeam {
  static void AllowTestServer(DownloadOptions& options) { options.allowTestServer = true; }
};

}  // namespace kontaktel
