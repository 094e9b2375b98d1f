// The photo in the photo pane: decoded once into the largest box the pane can
// show at the window's DPI, with the photo's bytes kept beside it, so that a
// DPI change decodes again from them.
#pragma once

#include "photo/photo_cache.h"
#include "view/viewer_state.h"

namespace kontaktel {

// Shows the photo of these bytes (none for null or bytes that do not decode).
void ShowPhotoBytes(ViewerState& state, PhotoBytes bytes);

// Decodes the kept bytes again when the window's DPI is not the photo's.
void RefitPhotoToDpi(ViewerState& state);

}  // namespace kontaktel
