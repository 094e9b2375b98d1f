#include "view/status_line.h"

#include "config/ui_language.h"
#include "present/card_match.h"

namespace kontaktel {

std::wstring ViewerStatusText(const ViewerState& state) {
  if (state.loading.job) {
    return LoadingStatusText(state.cards.size(), state.loading.bytesRead, state.loading.fileSize,
                             UiIsRussian());
  }
  return StatusText(state.cards.size(), state.filter, UiIsRussian());
}

}  // namespace kontaktel
