#include "platform/linux/x11_selection_connection.h"

#include <X11/Xatom.h>
#include <poll.h>

#include <algorithm>
#include <mutex>
#include <set>

namespace parlino::platform::linux_impl {
namespace {

// Serving a selection writes to other clients' windows, which may be gone by then: the server
// answers with an error, which must not end the program (Xlib's own handler would). Errors of
// these connections are dropped; every other connection keeps the handler it had. The handler
// stays installed once set, so that a handler installed for a while on top of it (and then put
// back) never points to one that is gone.
class QuietErrors {
 public:
  static void Add(Display* display) {
    const std::lock_guard lock(mutex());
    static const bool installed = [] {
      previous() = XSetErrorHandler(&Handle);
      return true;
    }();
    (void)installed;
    displays().insert(display);
  }
  static void Remove(Display* display) {
    const std::lock_guard lock(mutex());
    displays().erase(display);
  }

 private:
  static int Handle(Display* display, XErrorEvent* error) {
    {
      const std::lock_guard lock(mutex());
      if (displays().contains(display)) return 0;
    }
    return previous() != nullptr ? previous()(display, error) : 0;
  }
  static std::set<Display*>& displays() {
    static std::set<Display*> quiet;
    return quiet;
  }
  static XErrorHandler& previous() {
    static XErrorHandler handler = nullptr;
    return handler;
  }
  static std::mutex& mutex() {
    static std::mutex guard;
    return guard;
  }
};

}  // namespace

SelectionConnection::SelectionConnection() {
  display_ = OpenX11Display();
  if (!display_) return;
  QuietErrors::Add(display_.get());
  XSetWindowAttributes attributes{};
  attributes.event_mask = PropertyChangeMask;
  window_ = XCreateWindow(display_.get(), DefaultRootWindow(display_.get()), -10, -10, 1, 1, 0, 0,
                          InputOnly, CopyFromParent, CWEventMask, &attributes);
  XStoreName(display_.get(), window_, "Parlino clipboard");
  timeProperty_ = Intern("_PARLINO_TIME");
}

SelectionConnection::~SelectionConnection() {
  if (!display_) return;
  Display* const display = display_.get();
  XDestroyWindow(display, window_);
  display_.reset();
  QuietErrors::Remove(display);  // a later connection may get the same address
}

::Atom SelectionConnection::Intern(const std::string& name) {
  const auto found = atoms_.find(name);
  if (found != atoms_.end()) return found->second;
  const ::Atom atom = XInternAtom(display_.get(), name.c_str(), False);
  atoms_[name] = atom;
  names_[atom] = name;
  return atom;
}

std::string SelectionConnection::NameOf(::Atom atom) {
  return NamesOf({atom}).front();
}

std::vector<std::string> SelectionConnection::NamesOf(const std::vector<::Atom>& atoms) {
  std::vector<::Atom> unknown;
  for (const ::Atom atom : atoms) {
    if (atom != None && !names_.contains(atom) &&
        std::find(unknown.begin(), unknown.end(), atom) == unknown.end()) {
      unknown.push_back(atom);
    }
  }
  if (!unknown.empty()) {
    std::vector<char*> names(unknown.size(), nullptr);
    // An atom the server does not know fails the whole call; it then names none of them.
    if (XGetAtomNames(display_.get(), unknown.data(), static_cast<int>(unknown.size()),
                      names.data())) {
      for (std::size_t i = 0; i < unknown.size(); ++i) {
        names_[unknown[i]] = names[i];
        atoms_[names[i]] = unknown[i];
        XFree(names[i]);
      }
    }
  }
  std::vector<std::string> result;
  result.reserve(atoms.size());
  for (const ::Atom atom : atoms) {
    const auto found = names_.find(atom);
    result.push_back(found != names_.end() ? found->second : std::string());
  }
  return result;
}

void SelectionConnection::DispatchPending() {
  while (XPending(display_.get()) > 0) {
    XEvent event;
    XNextEvent(display_.get(), &event);
    Dispatch(event);
  }
}

void SelectionConnection::Dispatch(XEvent& event) {
  if (event.type == PropertyNotify && event.xproperty.window == window_ &&
      event.xproperty.atom == timeProperty_) {
    lastTime_ = event.xproperty.time;
    return;
  }
  if (handler_) handler_(event);
}

bool SelectionConnection::WaitUntil(const std::function<bool()>& done,
                                    SteadyClock::time_point deadline,
                                    const std::function<void()>& whileWaiting) {
  using std::chrono::milliseconds;
  for (;;) {
    DispatchPending();
    if (done()) return true;
    const auto now = SteadyClock::now();
    if (now >= deadline) return false;
    auto wait = std::chrono::ceil<milliseconds>(deadline - now);
    if (whileWaiting) {
      whileWaiting();
      if (done()) return true;
      wait = std::min(wait, milliseconds(1));
    }
    pollfd descriptor{FileDescriptor(), POLLIN, 0};
    poll(&descriptor, 1, static_cast<int>(wait.count()));
  }
}

std::optional<::Time> SelectionConnection::ServerTime(SteadyClock::time_point deadline) {
  // Appending nothing to a property changes nothing, but the server reports the change with
  // its time.
  lastTime_.reset();
  XChangeProperty(display_.get(), window_, timeProperty_, XA_STRING, 8, PropModeAppend, nullptr, 0);
  XFlush(display_.get());
  if (!WaitUntil([&] { return lastTime_.has_value(); }, deadline)) return std::nullopt;
  return lastTime_;
}

std::size_t SelectionConnection::LargestProperty() const {
  // The request's header and the property's own fields take a few bytes of the limit.
  const long units = XMaxRequestSize(display_.get());
  return std::min<std::size_t>(static_cast<std::size_t>(units) * 4 - 256, 256 * 1024);
}

}  // namespace parlino::platform::linux_impl
