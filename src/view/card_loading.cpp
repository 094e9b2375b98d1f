#include "view/card_loading.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <utility>
#include <vector>

#include "present/card_match.h"
#include "view/list_accessible.h"
#include "view/shown_card.h"
#include "view/viewer_window.h"
#include "win/guarded_call.h"
#include "win/kernel_handles.h"

namespace kontaktel {

// One step's cards with their texts folded for the filter.
struct LoadedBatch {
  CardSet cards;
  FoldedCardTexts folded;
  bool replaces = false;
};

struct CardLoadJob {
  HWND window = nullptr;
  WPARAM generation = 0;
  size_t stepCards = 0;
  std::unique_ptr<CardLoad> load;  // the worker's alone
  UniqueKernelHandle gate;         // the tests' gate before each step, or none
  UniqueKernelHandle stop;         // set when the window abandons the load
  UniqueKernelHandle done;         // set when the last batch is queued
  std::atomic<bool> abandoned{false};

  std::mutex lock;  // guards everything below
  std::vector<LoadedBatch> batches;
  bool noticePending = false;
  bool finished = false;
  uint64_t bytesRead = 0;
  uint64_t fileSize = 0;
  int steps = 0;
  FileBytes bytes;  // the file's bytes once read whole
};

namespace {

constexpr size_t kStepCards = 4096;
// The first steps are short, so that the first cards show at once; each step
// then takes twice the cards, up to kStepCards.
constexpr size_t kFirstStepCards = 64;
// A file this small is read before ListLoad returns, as a host expects of a
// plugin: a few tens of milliseconds at most, and no thread for it.
constexpr uint64_t kReadAtOnceBytes = 1 << 20;

struct LoadingSeams {
  std::mutex lock;
  size_t stepCards = kStepCards;  // the most cards of a step
  UniqueKernelHandle gate;
  uint64_t sizeLimit = kMaxFileSize;
};

LoadingSeams& Seams() {
  static LoadingSeams seams;
  return seams;
}

WPARAM NextGeneration() {
  static std::atomic<WPARAM> last{0};  // module-wide: a reused window handle never matches
  return ++last;
}

HANDLE Duplicate(HANDLE handle) {
  HANDLE copy = nullptr;
  if (handle == nullptr || !DuplicateHandle(GetCurrentProcess(), handle, GetCurrentProcess(), &copy,
                                            0, FALSE, DUPLICATE_SAME_ACCESS)) {
    return nullptr;
  }
  return copy;
}

// Tells the window that batches wait, once until it has taken them.
void Notify(CardLoadJob& job) {
  {
    const std::lock_guard guard(job.lock);
    if (job.noticePending) return;
    job.noticePending = true;
  }
  if (!PostMessageW(job.window, WM_CARDS_LOADED, job.generation, 0)) {
    const std::lock_guard guard(job.lock);
    job.noticePending = false;  // the window is gone or its queue full
  }
}

// False when the load was abandoned meanwhile.
bool PassGate(CardLoadJob& job) {
  if (job.gate) {
    const HANDLE handles[] = {job.stop.Get(), job.gate.Get()};
    if (WaitForMultipleObjects(2, handles, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) return false;
  }
  return !job.abandoned;
}

// Reads the file to its end, or until the load is abandoned or fails, and
// queues every step's cards. Runs on the worker (or, without one, on the
// window's thread).
void RunLoad(CardLoadJob& job) {
  CardLoad& load = *job.load;
  // Under the job's lock: the last batch and the end are taken in together.
  const auto finish = [&job, &load] {
    job.finished = true;
    if (load.Done() && !load.Failed()) job.bytes = load.TakeBytes();
  };
  try {
    size_t cards = std::min(job.stepCards, kFirstStepCards);
    while (!load.Done() && PassGate(job)) {
      CardLoad::Batch step = load.Step(cards);
      cards = std::min(job.stepCards, cards * 2);
      LoadedBatch batch{std::move(step.cards), {}, step.replaces};
      batch.folded.Build(batch.cards);
      {
        const std::lock_guard guard(job.lock);
        job.batches.push_back(std::move(batch));
        job.bytesRead = load.BytesRead();
        job.fileSize = load.FileSize();
        ++job.steps;
        if (load.Done()) finish();
      }
      Notify(job);
    }
  } catch (...) {
    // No memory for a batch: the cards queued before it are what the file gives.
  }
  {
    const std::lock_guard guard(job.lock);
    if (!job.finished) finish();
  }
  job.load.reset();  // the file is closed and the reading buffers go
  SetEvent(job.done.Get());
  Notify(job);
}

DWORD WINAPI CardLoadThread(void* argument) {
  HMODULE module = nullptr;
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&CardLoadThread), &module);
  {
    const std::unique_ptr<std::shared_ptr<CardLoadJob>> job(
        static_cast<std::shared_ptr<CardLoadJob>*>(argument));
    GuardedCall(
        [&] {
          RunLoad(**job);
          return 0;
        },
        0);
  }  // the job goes while the module is still there
  // No code of this module runs after the reference is given back.
  if (module != nullptr) FreeLibraryAndExitThread(module, 0);
  return 0;
}

// Starts the worker; false when none can start.
bool StartWorker(const std::shared_ptr<CardLoadJob>& job) {
  // Taken here, before the thread exists: a reference the thread took itself
  // would come too late if the host unloaded the module before its first
  // instruction.
  HMODULE module = nullptr;
  UniqueModule reference;
  if (GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                         reinterpret_cast<LPCWSTR>(&CardLoadThread), &module)) {
    reference.Reset(module);
  }
  if (!reference) return false;
  auto argument = std::make_unique<std::shared_ptr<CardLoadJob>>(job);
  const UniqueKernelHandle thread(
      CreateThread(nullptr, 0, CardLoadThread, argument.get(), 0, nullptr));
  if (!thread) return false;  // the reference is given back here
  argument.release();         // the worker's now, as is the reference
  reference.Release();
  return true;
}

// Appends one batch to the window's cards, or puts it in their place.
// True when the selected card has to be shown anew.
bool TakeBatch(ViewerState& state, LoadedBatch& batch) {
  FilterState& filter = state.filter;
  if (batch.replaces) {
    state.cards = std::move(batch.cards);
    state.cardsStamp = NextCardsStamp();
    AttachCardsToFilter(CardSet(), filter);  // selection and search start over
    filter.folded = std::move(batch.folded);
    ExtendVisibleList(state.cards, filter, 0);
    return true;
  }
  const size_t before = state.cards.size();
  // The folded texts follow the cards only when they covered those before.
  const bool aligned = before == 0 || (filter.folded.Built() && filter.folded.CardCount() == before);
  state.cards.Append(std::move(batch.cards));
  if (aligned && batch.folded.Built()) {
    filter.folded.Append(std::move(batch.folded));
  } else {
    filter.folded.Clear();  // folded again when the filter next needs them
  }
  return ExtendVisibleList(state.cards, filter, before);
}

// Takes in every batch queued so far; the load ends here when the worker has
// finished.
void TakeIn(ViewerState& state) {
  const std::shared_ptr<CardLoadJob> job = state.loading.job;
  if (!job) return;
  std::vector<LoadedBatch> batches;
  bool finished = false;
  FileBytes bytes;
  {
    const std::lock_guard guard(job->lock);
    batches.swap(job->batches);
    job->noticePending = false;
    finished = job->finished;
    if (finished) bytes = std::move(job->bytes);
    state.loading.bytesRead = job->bytesRead;
    state.loading.fileSize = job->fileSize;
    state.loading.steps = job->steps;
  }
  bool showCard = false;
  try {
    for (LoadedBatch& batch : batches) showCard = TakeBatch(state, batch) || showCard;
  } catch (...) {
    finished = true;  // no memory for more cards: those taken in stay
    bytes = {};
  }
  if (finished) {
    AbandonCardLoading(state);
    state.source = std::move(bytes);
    state.filter.folded.ShrinkToFit();
  }
  if (showCard) {
    state.list.topRow = 0;
    state.details.scroll = 0;
    ShowSelectedCard(state);
  }
  NotifyListChanged(state);
  InvalidateRect(state.window, nullptr, FALSE);
}

}  // namespace

uint64_t LoadSizeLimit() {
  LoadingSeams& seams = Seams();
  const std::lock_guard guard(seams.lock);
  return seams.sizeLimit;
}

void SetLoadingSeams(size_t stepCards, HANDLE gate, uint64_t sizeLimit) {
  LoadingSeams& seams = Seams();
  const std::lock_guard guard(seams.lock);
  seams.stepCards = stepCards != 0 ? stepCards : kStepCards;
  seams.gate.Reset(Duplicate(gate));
  seams.sizeLimit = sizeLimit != 0 ? sizeLimit : kMaxFileSize;
}

void StartCardLoading(ViewerState& state, std::unique_ptr<CardLoad> load) {
  AbandonCardLoading(state);
  AttachCards(state, CardSet());
  if (!load) return;
  auto job = std::make_shared<CardLoadJob>();
  job->window = state.window;
  job->generation = NextGeneration();
  {
    LoadingSeams& seams = Seams();
    const std::lock_guard guard(seams.lock);
    job->stepCards = seams.stepCards;
    job->gate.Reset(Duplicate(seams.gate.Get()));
  }
  job->bytesRead = state.loading.bytesRead = load->BytesRead();
  job->fileSize = state.loading.fileSize = load->FileSize();
  state.loading.steps = 0;
  job->load = std::move(load);
  job->stop.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  job->done.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  state.loading.job = job;
  // The window paints "Loading…" and its first cards as they come.
  InvalidateRect(state.window, nullptr, FALSE);
  if (job->fileSize > kReadAtOnceBytes && job->stop && job->done && StartWorker(job)) return;
  job->gate.Reset();  // nobody could open it here
  RunLoad(*job);
  TakeIn(state);
}

void OnCardsLoaded(ViewerState& state, WPARAM generation) {
  if (state.loading.job && state.loading.job->generation == generation) TakeIn(state);
}

void FinishCardLoading(ViewerState& state) {
  while (const std::shared_ptr<CardLoadJob> job = state.loading.job) {
    // The worker only posts: it finishes while this thread waits.
    if (WaitForSingleObject(job->done.Get(), INFINITE) != WAIT_OBJECT_0) {
      AbandonCardLoading(state);
      return;
    }
    TakeIn(state);
  }
}

void AbandonCardLoading(ViewerState& state) {
  const std::shared_ptr<CardLoadJob> job = std::move(state.loading.job);
  if (!job) return;
  job->abandoned = true;
  if (job->stop) SetEvent(job->stop.Get());
}

}  // namespace kontaktel
