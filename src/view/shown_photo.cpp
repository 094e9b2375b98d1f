#include "view/shown_photo.h"

#include <utility>

#include "photo/photo_fit.h"
#include "view/layout.h"
#include "view/theme.h"

namespace kontaktel {

namespace {

void Decode(ViewerState& state, int dpi) {
  PhotoPart& photo = state.photo;
  photo.image.Reset();  // before the next decode: never two at once
  if (photo.bytes) photo.image = DecodePhotoToBox(*photo.bytes, ScaleLength(kPhotoBoxSide, dpi));
  if (!photo.image) photo.bytes.reset();
  photo.imageDpi = dpi;
}

}  // namespace

void ShowPhotoBytes(ViewerState& state, PhotoBytes bytes) {
  state.photo.bytes = std::move(bytes);
  Decode(state, WindowDpi(state.window));
}

void RefitPhotoToDpi(ViewerState& state) {
  if (!state.photo.image) return;
  const int dpi = WindowDpi(state.window);
  if (dpi != state.photo.imageDpi) Decode(state, dpi);
}

}  // namespace kontaktel
