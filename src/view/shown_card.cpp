#include "view/shown_card.h"

#include <optional>
#include <string>
#include <vector>

#include "config/ui_language.h"
#include "photo/photo_fetch_state.h"
#include "present/details.h"
#include "view/details_extent.h"
#include "view/details_pane.h"
#include "view/filter_marks.h"
#include "view/photo_download.h"
#include "view/shown_photo.h"

namespace kontaktel {

namespace {

std::optional<Card> SelectedCard(const ViewerState& state) {
  if (state.filter.selected >= state.cards.size()) return std::nullopt;
  return state.cards[state.filter.selected];
}

}  // namespace

void RefillDetails(ViewerState& state) {
  const HWND view = state.details.view.Get();
  if (!IsWindow(view)) return;
  const std::optional<Card> card = SelectedCard(state);
  const std::wstring text = card ? RenderCardDetails(*card, UiIsRussian()) : std::wstring();
  // Filling moves the focus into the view on some systems; give it back.
  const HWND focused = GetFocus();
  ForgetDetailsExtent(state.details.extent, FillDetailsView(view, text, state.fonts.main.Get()));
  MarkFilterMatches(view, state.filter.filterText);
  if (focused != nullptr && GetFocus() != focused) SetFocus(focused);
}

void ShowSelectedCard(ViewerState& state) {
  const std::optional<Card> card = SelectedCard(state);
  PhotoPart& photo = state.photo;
  // The embedded bytes are decoded only when this card's photo is shown.
  const bool embedded = card && card->hasPhotoData();
  const std::wstring url = card ? std::wstring(card->photoUrl()) : std::wstring();
  const int64_t index = card ? static_cast<int64_t>(state.filter.selected) : -1;
  const PhotoStep step =
      BeginShowCardPhoto(photo.fetch, {index, embedded, url, photo.loadPhotoUrl});
  switch (step) {
    case PhotoStep::kKeep:
      break;
    case PhotoStep::kNone:
      ShowPhotoBytes(state, nullptr);
      DropPhotoFetch(state);
      break;
    case PhotoStep::kDecodeEmbedded:
      DropPhotoFetch(state);
      ShowPhotoBytes(state, std::make_shared<const std::vector<uint8_t>>(card->photoData()));
      break;
    case PhotoStep::kStartFetch:
      ShowPhotoBytes(state, nullptr);
      if (StartPhotoFetch(state.window, state, url)) PhotoFetchStarted(photo.fetch, index, url);
      break;
  }
  if (IsWindow(photo.pane.Get())) InvalidateRect(photo.pane.Get(), nullptr, TRUE);
  RefillDetails(state);
  RelayoutViewer(state.window);
  ScrollToFirstFilterMatch(state);
}

}  // namespace kontaktel
