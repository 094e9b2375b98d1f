#include "view/shown_card.h"

#include <string>

#include "config/ui_language.h"
#include "photo/photo_decode.h"
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
  const std::wstring url =
      card != nullptr && inline_.empty() ? std::wstring(CardPhotoUrl(*card)) : std::wstring();
  const bool fetchWanted = inline_.empty() && photo.loadPhotoUrl && !url.empty();
  const bool sameFetch = fetchWanted &&
                         static_cast<int64_t>(state.filter.selected) == photo.fetchCardIndex &&
                         url == photo.fetchUrl;
  if (!sameFetch) {
    ++photo.generation;
    photo.image.reset();
    photo.fetchCardIndex = -1;
    photo.fetchUrl.clear();
    if (!inline_.empty()) {
      photo.image = DecodePhoto(inline_);
    } else if (fetchWanted && StartPhotoFetch(state.window, state, url)) {
      photo.fetchCardIndex = static_cast<int64_t>(state.filter.selected);
      photo.fetchUrl = url;
    }
  }
  if (IsWindow(photo.pane.Get())) InvalidateRect(photo.pane.Get(), nullptr, TRUE);
  RefillDetails(state);
  RelayoutViewer(state.window);
}

}  // namespace kontaktel
