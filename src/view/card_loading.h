// A file read on a worker thread while its window shows the cards read so
// far. The worker steps through the file, folds each batch's texts for the
// filter and queues the batch in a job it shares with the window; it only
// posts to the window, never sends, so a window that waits for it cannot
// deadlock. The window appends the batches on its own thread. The worker holds
// a reference on the module, so the host may unload the plugin at any time.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>

#include "vcard/card_load.h"
#include "view/viewer_state.h"

namespace kontaktel {

// Posted by a worker when batches wait for its window; wParam is the load's
// generation, so that a notice of an abandoned load is ignored.
inline constexpr UINT WM_CARDS_LOADED = WM_APP + 46;

// The largest file the viewer reads.
uint64_t LoadSizeLimit();

// The window shows the file of `load` from now on: the cards shown so far and
// a load still running are dropped (a new set of cards), and a worker reads
// the rest of the file. Should no worker start, the file is read here at once.
void StartCardLoading(ViewerState& state, std::unique_ptr<CardLoad> load);

// WM_CARDS_LOADED: takes in what the worker of that generation handed over.
void OnCardsLoaded(ViewerState& state, WPARAM generation);

// Waits for the running load to end and takes in all its cards.
void FinishCardLoading(ViewerState& state);

// The running load is abandoned: its worker ends at its next step, and what
// it has not handed over is dropped. The cards taken in stay.
void AbandonCardLoading(ViewerState& state);

// For the tests: cards per step (0: the usual number), an event each step
// waits for (null: none) and the size limit (0: the usual one).
void SetLoadingSeams(size_t stepCards, HANDLE gate, uint64_t sizeLimit);

}  // namespace kontaktel
