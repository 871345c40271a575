#pragma once
// Owning the CLIPBOARD selection with a snapshot of another owner's data and serving it as that
// owner did: the same targets in the same order, each with its bytes, type and item size.
// TARGETS, TIMESTAMP and MULTIPLE are answered as ICCCM asks; data too large for one request
// goes INCR. The server runs on a thread and a display connection of its own, so that requests
// are answered whatever the user-interface thread does, including Qt's own clipboard in this
// process, which waits for the answer without running the event loop. On leaving, a clipboard
// manager, if one runs, is asked to keep what the server holds.
#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/clipboard.h"
#include "platform/linux/x11_selection_connection.h"

namespace parlino::platform::linux_impl {

class SelectionServer {
 public:
  // Without an X display the server is not usable and owns nothing.
  SelectionServer();
  ~SelectionServer();
  SelectionServer(const SelectionServer&) = delete;
  SelectionServer& operator=(const SelectionServer&) = delete;

  bool Usable() const { return connection_.Usable(); }
  // The window that owns the selection while the server does.
  ::Window window() const { return connection_.window(); }

  // Takes the selection for `snapshot` at `time` (a time of the server); false when the server
  // did not give it. Empty snapshot: the selection is left without an owner.
  bool Own(const ClipboardSnapshot& snapshot, ::Time time);
  bool Owns() const { return owns_; }
  // What the server serves while it owns the selection.
  std::shared_ptr<const ClipboardSnapshot> Snapshot() const;

 private:
  // Data going to one requestor piece by piece; it keeps the snapshot it came from.
  struct IncrementalSend {
    ::Window requestor;
    ::Atom property;
    ::Atom type;
    int itemBits;
    std::shared_ptr<const ClipboardSnapshot> snapshot;
    std::size_t entry;
    std::size_t offset;
    SteadyClock::time_point lastActivity;
  };

  // Runs `task` on the server's thread and waits at most `limit` for it; false when it did not
  // run in time (it still runs later).
  bool Call(std::function<void()> task, std::chrono::milliseconds limit);
  void Run();
  bool OwnNow(std::shared_ptr<const ClipboardSnapshot> snapshot, ::Time time);
  void HandOverToClipboardManager();

  void Handle(XEvent& event);
  void Serve(const XSelectionRequestEvent& request);
  bool Convert(::Window requestor, ::Atom target, ::Atom property);
  bool ConvertMultiple(::Window requestor, ::Atom property);
  void SendNextPiece(IncrementalSend& send);
  void DropStaleSends();

  SelectionConnection connection_;  // the thread's alone once it runs
  ::Atom clipboard_ = None;
  ::Atom targets_ = None;
  ::Atom timestamp_ = None;
  ::Atom multiple_ = None;
  ::Atom incr_ = None;
  ::Atom atomPair_ = None;
  ::Atom manager_ = None;

  // Thread side.
  ::Time acquired_ = CurrentTime;
  std::vector<::Atom> targetList_;  // what TARGETS answers
  std::vector<::Atom> entryAtoms_;  // the atom of each snapshot entry
  std::vector<IncrementalSend> sends_;
  bool managerAnswered_ = false;

  // Shared with the user-interface thread.
  std::atomic<bool> owns_ = false;
  mutable std::mutex mutex_;
  std::shared_ptr<const ClipboardSnapshot> snapshot_;  // guarded by mutex_
  std::deque<std::function<void()>> tasks_;            // guarded by mutex_
  bool stopping_ = false;                              // guarded by mutex_
  int wake_[2] = {-1, -1};                             // a pipe that wakes the thread
  std::thread thread_;
};

}  // namespace parlino::platform::linux_impl
