#include "platform/linux/x11_selection_server.h"

#include <X11/Xatom.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <future>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace parlino::platform::linux_impl {
namespace {

// A requestor that stops taking pieces is given up after this long.
constexpr auto kStaleSend = std::chrono::seconds(10);
// The X server answers at once; this only guards against a thread that cannot run.
constexpr auto kServerAnswer = std::chrono::milliseconds(1000);
// How long leaving may wait for a clipboard manager to take the data over.
constexpr auto kManagerLimit = std::chrono::milliseconds(2000);

// Xlib takes 16- and 32-bit items as shorts and longs in memory, whatever their size on the wire.
template <typename Wide, typename Item>
std::vector<Wide> WidenItems(const char* bytes, std::size_t size) {
  std::vector<Wide> items(size / sizeof(Item));
  for (std::size_t i = 0; i < items.size(); ++i) {
    Item item = 0;
    std::memcpy(&item, bytes + sizeof(Item) * i, sizeof(Item));
    items[i] = static_cast<Wide>(item);
  }
  return items;
}

// Writes data kept packed (see SelectionData) in the item form Xlib takes.
void WriteProperty(Display* display, ::Window window, ::Atom property, ::Atom type, int bits,
                   const char* bytes, std::size_t size) {
  const auto change = [&](int itemBits, const void* items, std::size_t count) {
    XChangeProperty(display, window, property, type, itemBits, PropModeReplace,
                    static_cast<const unsigned char*>(items), static_cast<int>(count));
  };
  if (bits == 32) {
    const auto items = WidenItems<long, std::uint32_t>(bytes, size);
    change(32, items.data(), items.size());
  } else if (bits == 16) {
    const auto items = WidenItems<short, std::uint16_t>(bytes, size);
    change(16, items.data(), items.size());
  } else {
    change(8, bytes, size);
  }
}

int ItemBits(int bits) {
  return bits == 16 || bits == 32 ? bits : 8;
}

}  // namespace

SelectionServer::SelectionServer() {
  if (!connection_.Usable()) return;
  clipboard_ = connection_.Intern("CLIPBOARD");
  targets_ = connection_.Intern("TARGETS");
  timestamp_ = connection_.Intern("TIMESTAMP");
  multiple_ = connection_.Intern("MULTIPLE");
  incr_ = connection_.Intern("INCR");
  atomPair_ = connection_.Intern("ATOM_PAIR");
  manager_ = connection_.Intern("CLIPBOARD_MANAGER");
  connection_.SetHandler([this](XEvent& event) { Handle(event); });
  if (pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0) return;
  thread_ = std::thread([this] { Run(); });
}

SelectionServer::~SelectionServer() {
  if (thread_.joinable()) {
    {
      const std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    const char wake = 's';
    (void)!write(wake_[1], &wake, 1);
    thread_.join();
  }
  for (const int end : wake_) {
    if (end >= 0) close(end);
  }
}

bool SelectionServer::Own(const ClipboardSnapshot& snapshot, ::Time time) {
  if (!thread_.joinable()) return false;
  auto shared = std::make_shared<const ClipboardSnapshot>(snapshot);
  auto owned = std::make_shared<std::atomic<bool>>(false);
  const bool ran =
      Call([this, shared, time, owned] { *owned = OwnNow(shared, time); }, kServerAnswer);
  return ran && *owned;
}

std::shared_ptr<const ClipboardSnapshot> SelectionServer::Snapshot() const {
  const std::lock_guard lock(mutex_);
  return snapshot_ != nullptr ? snapshot_ : std::make_shared<const ClipboardSnapshot>();
}

bool SelectionServer::Call(std::function<void()> task, std::chrono::milliseconds limit) {
  auto done = std::make_shared<std::promise<void>>();
  std::future<void> finished = done->get_future();
  {
    const std::lock_guard lock(mutex_);
    tasks_.push_back([task = std::move(task), done] {
      task();
      done->set_value();
    });
  }
  const char wake = 't';
  (void)!write(wake_[1], &wake, 1);
  return finished.wait_for(limit) == std::future_status::ready;
}

void SelectionServer::Run() {
  for (;;) {
    std::deque<std::function<void()>> tasks;
    bool stop = false;
    {
      const std::lock_guard lock(mutex_);
      tasks.swap(tasks_);
      stop = stopping_;
    }
    for (const auto& task : tasks) task();
    if (stop) {
      HandOverToClipboardManager();
      return;
    }
    connection_.DispatchPending();
    DropStaleSends();
    pollfd descriptors[2] = {{connection_.FileDescriptor(), POLLIN, 0}, {wake_[0], POLLIN, 0}};
    // With sends under way, look at the time now and then to give up stale ones.
    poll(descriptors, 2, sends_.empty() ? -1 : 1000);
    char drained[64];
    while (read(wake_[0], drained, sizeof drained) > 0) {
    }
  }
}

bool SelectionServer::OwnNow(std::shared_ptr<const ClipboardSnapshot> snapshot, ::Time time) {
  Display* display = connection_.display();
  entryAtoms_.clear();
  targetList_.clear();
  for (const ClipboardFormat& format : *snapshot) {
    entryAtoms_.push_back(connection_.Intern(format.mimeType));
  }
  // A snapshot that did not come from an X owner's list gets the targets every owner has.
  const bool listsTargets =
      std::find(entryAtoms_.begin(), entryAtoms_.end(), targets_) != entryAtoms_.end();
  if (!listsTargets) targetList_ = {targets_, timestamp_, multiple_};
  for (const ::Atom atom : entryAtoms_) {
    if (std::find(targetList_.begin(), targetList_.end(), atom) == targetList_.end()) {
      targetList_.push_back(atom);
    }
  }
  const ::Window owner = snapshot->empty() ? None : connection_.window();
  XSetSelectionOwner(display, clipboard_, owner, time);
  const bool done = XGetSelectionOwner(display, clipboard_) == owner;
  acquired_ = time;
  const bool owns = done && owner != None;
  {
    const std::lock_guard lock(mutex_);
    snapshot_ = owns ? std::move(snapshot) : nullptr;
  }
  owns_ = owns;
  return done;
}

void SelectionServer::HandOverToClipboardManager() {
  Display* display = connection_.display();
  if (!owns_ || XGetSelectionOwner(display, manager_) == None) return;
  const auto deadline = SteadyClock::now() + kManagerLimit;
  const std::optional<::Time> time = connection_.ServerTime(deadline);
  if (!time) return;
  // The manager asks for the targets it keeps, then answers; requests are served meanwhile.
  managerAnswered_ = false;
  XConvertSelection(display, manager_, connection_.Intern("SAVE_TARGETS"), None,
                    connection_.window(), *time);
  XFlush(display);
  connection_.WaitUntil([&] { return managerAnswered_; }, deadline);
}

void SelectionServer::Handle(XEvent& event) {
  switch (event.type) {
    case SelectionRequest:
      if (event.xselectionrequest.owner == connection_.window()) Serve(event.xselectionrequest);
      return;
    case SelectionClear:
      if (event.xselectionclear.window != connection_.window() ||
          event.xselectionclear.selection != clipboard_) {
        return;
      }
      // A clear from before the latest ownership is old news.
      if (event.xselectionclear.time != CurrentTime && event.xselectionclear.time < acquired_) {
        return;
      }
      owns_ = false;
      {
        const std::lock_guard lock(mutex_);
        snapshot_ = nullptr;  // sends under way keep theirs
      }
      return;
    case SelectionNotify:
      if (event.xselection.requestor == connection_.window() &&
          event.xselection.selection == manager_) {
        managerAnswered_ = true;
      }
      return;
    case PropertyNotify:
      for (IncrementalSend& send : sends_) {
        if (send.requestor == event.xproperty.window && send.property == event.xproperty.atom) {
          if (event.xproperty.state == PropertyDelete) SendNextPiece(send);
          break;
        }
      }
      std::erase_if(sends_, [](const IncrementalSend& send) {
        return send.offset > send.snapshot->at(send.entry).data.size();
      });
      return;
    case DestroyNotify:
      std::erase_if(sends_, [&](const IncrementalSend& send) {
        return send.requestor == event.xdestroywindow.window;
      });
      return;
    default:
      return;
  }
}

void SelectionServer::Serve(const XSelectionRequestEvent& request) {
  XEvent reply{};
  reply.xselection.type = SelectionNotify;
  reply.xselection.display = request.display;
  reply.xselection.requestor = request.requestor;
  reply.xselection.selection = request.selection;
  reply.xselection.target = request.target;
  reply.xselection.property = None;
  reply.xselection.time = request.time;
  const bool current = owns_ && request.selection == clipboard_ &&
                       (request.time == CurrentTime || request.time >= acquired_);
  if (current) {
    // Requestors older than ICCCM 2.0 name no property: the target stands for it.
    const ::Atom property = request.property != None ? request.property : request.target;
    if (request.target == multiple_) {
      if (request.property != None && ConvertMultiple(request.requestor, request.property)) {
        reply.xselection.property = request.property;
      }
    } else if (Convert(request.requestor, request.target, property)) {
      reply.xselection.property = property;
    }
  }
  Display* display = connection_.display();
  XSendEvent(display, request.requestor, False, NoEventMask, &reply);
  XFlush(display);
}

bool SelectionServer::Convert(::Window requestor, ::Atom target, ::Atom property) {
  Display* display = connection_.display();
  if (target == targets_) {
    std::vector<long> atoms(targetList_.begin(), targetList_.end());
    XChangeProperty(display, requestor, property, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(atoms.data()),
                    static_cast<int>(atoms.size()));
    return true;
  }
  if (target == timestamp_) {
    const long time = static_cast<long>(acquired_);
    XChangeProperty(display, requestor, property, XA_INTEGER, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&time), 1);
    return true;
  }
  if (target == multiple_ || snapshot_ == nullptr) return false;
  const auto found = std::find(entryAtoms_.begin(), entryAtoms_.end(), target);
  if (found == entryAtoms_.end()) return false;
  const auto entry = static_cast<std::size_t>(found - entryAtoms_.begin());
  const ClipboardFormat& format = snapshot_->at(entry);
  if (format.listedOnly) return false;  // an action this server cannot take
  const ::Atom type = connection_.Intern(format.type.empty() ? format.mimeType : format.type);
  const int bits = ItemBits(format.itemBits);
  if (format.data.size() <= connection_.LargestProperty()) {
    WriteProperty(display, requestor, property, type, bits, format.data.data(), format.data.size());
    return true;
  }
  // Too large for one request: announce the size, then a piece each time the requestor has
  // deleted the one before.
  XSelectInput(display, requestor, PropertyChangeMask | StructureNotifyMask);
  const long size = static_cast<long>(format.data.size());
  XChangeProperty(display, requestor, property, incr_, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&size), 1);
  sends_.push_back({requestor, property, type, bits, snapshot_, entry, 0, SteadyClock::now()});
  return true;
}

bool SelectionServer::ConvertMultiple(::Window requestor, ::Atom property) {
  Display* display = connection_.display();
  ::Atom type = None;
  int format = 0;
  unsigned long count = 0;
  unsigned long bytesAfter = 0;
  unsigned char* items = nullptr;
  if (XGetWindowProperty(display, requestor, property, 0, 0x1FFFFFFF, False, atomPair_, &type,
                         &format, &count, &bytesAfter, &items) != Success ||
      type != atomPair_ || format != 32) {
    if (items != nullptr) XFree(items);
    return false;
  }
  std::vector<long> pairs(reinterpret_cast<long*>(items), reinterpret_cast<long*>(items) + count);
  XFree(items);
  for (std::size_t i = 0; i + 1 < pairs.size(); i += 2) {
    const auto target = static_cast<::Atom>(pairs[i]);
    const auto into = static_cast<::Atom>(pairs[i + 1]);
    // A target that cannot be given is marked None, as the requestor expects.
    if (target == multiple_ || into == None || !Convert(requestor, target, into)) pairs[i] = None;
  }
  XChangeProperty(display, requestor, property, atomPair_, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(pairs.data()),
                  static_cast<int>(pairs.size()));
  return true;
}

void SelectionServer::SendNextPiece(IncrementalSend& send) {
  const std::string& data = send.snapshot->at(send.entry).data;
  const std::size_t piece = std::min(connection_.LargestProperty(), data.size() - send.offset);
  // The last piece is empty; after it the offset passes the end and the send is done.
  WriteProperty(connection_.display(), send.requestor, send.property, send.type, send.itemBits,
                data.data() + send.offset, piece);
  send.offset += piece == 0 ? 1 : piece;
  send.lastActivity = SteadyClock::now();
  const bool others = std::count_if(sends_.begin(), sends_.end(), [&](const auto& other) {
                        return other.requestor == send.requestor;
                      }) > 1;
  if (send.offset > data.size() && !others) {
    XSelectInput(connection_.display(), send.requestor, NoEventMask);
  }
  XFlush(connection_.display());
}

void SelectionServer::DropStaleSends() {
  const auto now = SteadyClock::now();
  std::erase_if(sends_, [&](const IncrementalSend& send) {
    if (now - send.lastActivity <= kStaleSend) return false;
    XSelectInput(connection_.display(), send.requestor, NoEventMask);
    return true;
  });
}

}  // namespace parlino::platform::linux_impl
