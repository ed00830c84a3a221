#pragma once
// Adds photos in the background, so that a large selection never freezes the window: worker
// threads (one per core) prepare the photos (PreparePhoto: reading, decoding, working copy,
// thumbnail) and hand each result to the UI thread through the window's task channel, where it
// is put into the list. Photos enter the list strictly in the order the user chose them: a
// result that is ready early waits until those before it are in.
//
// Memory stays bounded: the workers run at most a few photos ahead of the list (threads + 2),
// never the whole selection. A worker writes a photo's working copy under a draft number; the
// copy takes the list's number when the photo enters the list, so copies are numbered in the
// list's order without gaps, whichever worker finishes first and whatever is left out.
//
// Everything here but the workers runs on the UI thread; the workers see only their job (path,
// size limit, draft number, all taken on the UI thread) and the shared queue.
#include <windows.h>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "base/file_name_set.h"
#include "base/ui_task.h"
#include "imaging/add_photos.h"
#include "imaging/preparation_report.h"

namespace fernwick {

class PhotoList;

// Told on the UI thread.
class PreparerObserver {
 public:
  // `count` photos went into the list, its last ones (the newest is the selection): lay the view
  // out and repaint.
  virtual void PhotosAdded(unsigned count) = 0;
  // `done` of the `total` photos of the running add are handled (added or passed over);
  // running false: the add has ended, finished or stopped.
  virtual void AddingProgress(unsigned done, unsigned total, bool running) = 0;

 protected:
  ~PreparerObserver() = default;
};

class PhotoPreparer {
 public:
  using PrepareFunction =
      std::function<PreparedPhoto(const std::wstring& path, int32_t limit, int32_t fileNumber, int32_t box)>;

  // The machine's cores, at least 1 and at most 8.
  static unsigned DefaultThreadCount() noexcept;

  // The list must outlive the preparer. No thread starts before the first Add.
  explicit PhotoPreparer(PhotoList& photos, PrepareFunction prepare = PreparePhoto,
                         unsigned threads = DefaultThreadCount());
  // Shutdown.
  ~PhotoPreparer();
  PhotoPreparer(const PhotoPreparer&) = delete;
  PhotoPreparer& operator=(const PhotoPreparer&) = delete;

  // Results travel through `channel` (its window's thread is the UI thread); `observer` (may be
  // none) hears of them; the message about photos that could not be prepared is owned by
  // `reportOwner`. Before the first Add.
  void Attach(std::shared_ptr<UiTaskChannel> channel, PreparerObserver* observer, HWND reportOwner);

  // Queues `paths` behind the photos still being added, each to be prepared with `limit` (taken
  // now: a limit changed later applies to later adds only). A path already in the list or in the
  // queue is passed over. Returns how many were queued.
  unsigned Add(const std::vector<std::wstring>& paths, int32_t limit);
  // The photos not yet in the list are not added (copies already written for them are deleted);
  // the add ends, and photos that could not be prepared before the stop are told.
  void Stop();
  // Stop without telling anyone anything, then the threads end and are joined. Results still
  // on their way are dropped. From the window's destruction; the preparer takes no more adds.
  void Shutdown();

  bool busy() const noexcept { return total_ != 0; }
  unsigned done() const noexcept { return done_; }
  unsigned total() const noexcept { return total_; }

 private:
  struct Job {
    uint64_t sequence;
    std::wstring path;
    int32_t limit;
    int32_t fileNumber;
    int32_t box;  // the list's thumbnail box when queued
  };
  // What the workers and the UI thread share; posted tasks hold it too, and reach the preparer
  // through `owner` only while it lives (UI thread only).
  struct Shared {
    std::mutex lock;
    std::condition_variable wake;
    std::deque<Job> jobs;
    unsigned inFlight = 0;  // taken by a worker, not yet applied or dropped on the UI thread
    unsigned maxInFlight = 1;
    uint64_t generation = 0;  // grows at every stop: results of an older one are dropped
    bool quit = false;
    PhotoPreparer* owner = nullptr;
  };

  static void Work(std::shared_ptr<Shared> shared, PrepareFunction prepare,
                   std::shared_ptr<UiTaskChannel> channel) noexcept;
  void Arrived(uint64_t sequence, uint64_t generation, PreparedPhoto prepared);
  void ApplyReady();
  void Released(unsigned count);
  void Finish(bool tell);

  PhotoList& photos_;
  PrepareFunction prepare_;
  unsigned threadCount_;
  std::shared_ptr<Shared> shared_;
  std::vector<std::thread> threads_;
  std::shared_ptr<UiTaskChannel> channel_;
  PreparerObserver* observer_ = nullptr;
  HWND reportOwner_ = nullptr;

  // UI thread only.
  uint64_t nextSequence_ = 0;
  uint64_t nextToApply_ = 0;
  std::map<uint64_t, PreparedPhoto> early_;  // ready before their predecessors
  FileNameSet queuedPaths_;                  // compared as the list compares its photos' paths
  unsigned done_ = 0;
  unsigned total_ = 0;
  PreparationReport report_;
  bool shutDown_ = false;
};

}  // namespace fernwick
