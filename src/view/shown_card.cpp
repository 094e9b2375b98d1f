#include "view/shown_card.h"

#include <string>

#include "config/ui_language.h"
#include "photo/photo_decode.h"
#include "photo/photo_fetch_state.h"
#include "present/details.h"
#include "view/card_photo.h"
#include "view/details_pane.h"
#include "view/photo_download.h"
#include "view/viewer_window.h"

namespace kontaktel {

namespace {

const Card* SelectedCard(const ViewerState& state) {
  return state.filter.selected < state.cards.size() ? &state.cards[state.filter.selected] : nullptr;
}

}  // namespace

void RefillDetails(ViewerState& state) {
  const HWND view = state.details.view.Get();
  if (!IsWindow(view)) return;
  const Card* card = SelectedCard(state);
  const std::wstring text =
      card != nullptr ? RenderCardDetails(*card, UiIsRussian()) : std::wstring();
  // Filling moves the focus into the view on some systems; give it back.
  const HWND focused = GetFocus();
  FillDetailsView(view, text, state.fonts.main.Get());
  if (focused != nullptr && GetFocus() != focused) SetFocus(focused);
}

void ShowSelectedCard(ViewerState& state) {
  const Card* card = SelectedCard(state);
  PhotoPart& photo = state.photo;
  const std::span<const uint8_t> inline_ =
      card != nullptr ? CardPhotoData(*card) : std::span<const uint8_t>();
  const std::wstring url = card != nullptr ? std::wstring(CardPhotoUrl(*card)) : std::wstring();
  const int64_t index = card != nullptr ? static_cast<int64_t>(state.filter.selected) : -1;
  switch (BeginShowCardPhoto(photo.fetch, {index, !inline_.empty(), url, photo.loadPhotoUrl})) {
    case PhotoStep::kKeep:
      break;
    case PhotoStep::kNone:
      photo.image.reset();
      break;
    case PhotoStep::kDecodeEmbedded:
      photo.image = DecodePhoto(inline_);
      break;
    case PhotoStep::kStartFetch:
      photo.image.reset();
      if (StartPhotoFetch(state.window, state, url)) PhotoFetchStarted(photo.fetch, index, url);
      break;
  }
  if (IsWindow(photo.pane.Get())) InvalidateRect(photo.pane.Get(), nullptr, TRUE);
  RefillDetails(state);
  RelayoutViewer(state.window);
}

}  // namespace kontaktel
