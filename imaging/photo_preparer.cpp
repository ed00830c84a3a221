#include "imaging/photo_preparer.h"

#include <algorithm>
#include <utility>

#include "base/log.h"
#include "imaging/core/pixel_store.h"
#include "imaging/photo_list.h"
#include "imaging/working_copies.h"

namespace fernwick {

unsigned PhotoPreparer::DefaultThreadCount() noexcept {
  return std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
}

PhotoPreparer::PhotoPreparer(PhotoList& photos, PrepareFunction prepare, unsigned threads)
    : photos_(photos),
      prepare_(std::move(prepare)),
      threadCount_(std::max(threads, 1u)),
      shared_(std::make_shared<Shared>()) {
  // A photo in flight holds its full decode while a worker has it and its thumbnail until it is
  // in the list; two more than the workers keep them all busy while the list catches up.
  shared_->maxInFlight = threadCount_ + 2;
  shared_->owner = this;
}

PhotoPreparer::~PhotoPreparer() { Shutdown(); }

void PhotoPreparer::Attach(std::shared_ptr<UiTaskChannel> channel, PreparerObserver* observer, HWND reportOwner) {
  channel_ = std::move(channel);
  observer_ = observer;
  reportOwner_ = reportOwner;
}

unsigned PhotoPreparer::Add(const std::vector<std::wstring>& paths, int32_t limit) {
  if (shutDown_ || !channel_) return 0;
  std::vector<Job> jobs;
  for (const std::wstring& path : paths) {
    if (photos_.ContainsSourcePath(path) || queuedPaths_.Contains(path)) continue;
    queuedPaths_.Insert(path);
    jobs.push_back(Job{nextSequence_++, path, limit, DraftCopyNumber(), photos_.thumbnailBox()});
  }
  if (jobs.empty()) return 0;
  total_ += static_cast<unsigned>(jobs.size());
  {
    std::lock_guard guard(shared_->lock);
    for (Job& job : jobs) shared_->jobs.push_back(std::move(job));
  }
  shared_->wake.notify_all();
  while (threads_.size() < threadCount_) threads_.emplace_back(&PhotoPreparer::Work, shared_, prepare_, channel_);
  if (observer_) observer_->AddingProgress(done_, total_, true);
  return static_cast<unsigned>(jobs.size());
}

void PhotoPreparer::Work(std::shared_ptr<Shared> shared, PrepareFunction prepare,
                         std::shared_ptr<UiTaskChannel> channel) noexcept {
  // With every core decoding, the window's thread must still win the processor at once when a
  // message comes: the workers give way to it.
  ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
  for (;;) {
    Job job;
    uint64_t generation = 0;
    {
      std::unique_lock guard(shared->lock);
      if (shared->jobs.empty()) {
        // The add has ended: the memory its photos kept for the next one goes (pixel_store.h).
        guard.unlock();
        ReleaseKeptMemory();
        guard.lock();
      }
      shared->wake.wait(
          guard, [&] { return shared->quit || (!shared->jobs.empty() && shared->inFlight < shared->maxInFlight); });
      if (shared->quit) return;
      job = std::move(shared->jobs.front());
      shared->jobs.pop_front();
      ++shared->inFlight;
      generation = shared->generation;
    }
    // std::function wants a copyable task; the result itself is moved out exactly once.
    auto result = std::make_shared<PreparedPhoto>();
    try {
      *result = prepare(job.path, job.limit, job.fileNumber, job.box);
    } catch (...) {
      // Out of memory in a decoder, say: the photo counts as no picture and the add goes on.
      LogCaughtException("adding photos: preparing a photo");
      *result = PreparedPhoto{};
    }
    result->path = job.path;
    const bool posted = channel->Post([shared, result, sequence = job.sequence, generation] {
      // Run on the UI thread, from the window procedure: nothing may escape.
      try {
        if (shared->owner) shared->owner->Arrived(sequence, generation, std::move(*result));
      } catch (...) {
        LogCaughtException("adding photos: putting a prepared photo into the list");
      }
    });
    if (!posted) {
      // The window is gone; the result is dropped here (its copy deleted) and its place freed.
      std::lock_guard guard(shared->lock);
      --shared->inFlight;
    }
  }
}

void PhotoPreparer::Arrived(uint64_t sequence, uint64_t generation, PreparedPhoto prepared) {
  if (generation != shared_->generation || sequence < nextToApply_) {
    // Stopped while it was prepared: dropped, with the copy written for it.
    Released(1);
    return;
  }
  early_.emplace(sequence, std::move(prepared));
  ApplyReady();
}

void PhotoPreparer::ApplyReady() {
  unsigned added = 0;
  unsigned applied = 0;
  for (auto next = early_.find(nextToApply_); next != early_.end(); next = early_.find(nextToApply_)) {
    PreparedPhoto prepared = std::move(next->second);
    early_.erase(next);
    ++nextToApply_;
    ++applied;
    ++done_;
    queuedPaths_.Erase(prepared.path);
    added += ApplyPreparedPhoto(photos_, std::move(prepared), &report_) ? 1 : 0;
  }
  if (applied == 0) return;
  Released(applied);
  if (added != 0 && observer_) observer_->PhotosAdded(added);
  if (done_ == total_) {
    Finish(true);
  } else if (observer_) {
    observer_->AddingProgress(done_, total_, true);
  }
}

void PhotoPreparer::Released(unsigned count) {
  {
    std::lock_guard guard(shared_->lock);
    shared_->inFlight -= std::min(count, shared_->inFlight);
  }
  shared_->wake.notify_all();
}

void PhotoPreparer::Stop() {
  if (!busy()) return;
  {
    std::lock_guard guard(shared_->lock);
    ++shared_->generation;
    shared_->jobs.clear();
    shared_->inFlight -= std::min(static_cast<unsigned>(early_.size()), shared_->inFlight);
  }
  shared_->wake.notify_all();
  early_.clear();  // their copies go with them
  nextToApply_ = nextSequence_;
  Finish(true);
}

void PhotoPreparer::Finish(bool tell) {
  queuedPaths_.Clear();
  done_ = 0;
  total_ = 0;
  // Taken out first: while its message box is up, the user may already start the next add.
  PreparationReport report = std::exchange(report_, PreparationReport{});
  if (!tell) return;
  if (observer_) observer_->AddingProgress(0, 0, false);
  report.Show(reportOwner_);
}

void PhotoPreparer::Shutdown() {
  if (shutDown_) return;
  shutDown_ = true;
  {
    std::lock_guard guard(shared_->lock);
    shared_->quit = true;
    ++shared_->generation;
    shared_->jobs.clear();
  }
  shared_->wake.notify_all();
  // A worker finishes the photo in its hands first (its result then has nowhere to go).
  for (std::thread& thread : threads_) thread.join();
  threads_.clear();
  shared_->owner = nullptr;  // tasks still queued for the window do nothing
  early_.clear();
  nextToApply_ = nextSequence_;
  Finish(false);
}

}  // namespace fernwick
