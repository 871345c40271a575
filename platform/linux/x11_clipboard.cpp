#include "platform/linux/x11_clipboard.h"

// Qt before X11, whose macros (Bool, Status, None) would break Qt's headers.
#include <QClipboard>
#include <QGuiApplication>
#include <QSocketNotifier>

#include <X11/Xatom.h>
#include <X11/extensions/Xfixes.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <set>

#include "platform/linux/x11_selection_connection.h"
#include "platform/linux/x11_selection_server.h"
#include "platform/linux/x11_selection_transfer.h"
#include "platform/platform_error.h"

namespace parlino::platform::linux_impl {
namespace {

using std::chrono::milliseconds;

// The X server itself answers at once; this only bounds a server that is gone.
constexpr milliseconds kServerAnswer{1000};

// Text targets, the best first, and how their bytes are encoded.
constexpr std::array<const char*, 5> kTextTargets = {"UTF8_STRING", "text/plain;charset=utf-8",
                                                     "STRING", "TEXT", "text/plain"};

// Targets that are no data of the owner: the protocol's own (TARGETS, TIMESTAMP, MULTIPLE),
// which the server of a restored snapshot answers itself, and those that make the owner act
// (DELETE...), which it refuses. They keep their place in the list.
bool IsListedOnly(const std::string& target) {
  return target == "TARGETS" || target == "TIMESTAMP" || target == "MULTIPLE" ||
         target == "DELETE" || target == "INSERT_SELECTION" || target == "INSERT_PROPERTY" ||
         target == "SAVE_TARGETS";
}

// Text from data of the given type: UTF-8, or Latin-1 for STRING; nothing for other encodings
// (COMPOUND_TEXT), which every owner also offers in one of these.
std::optional<Text> DecodeText(const std::string& type, const std::string& bytes) {
  if (type == "STRING") {
    Text text;
    text.reserve(bytes.size());
    for (const char byte : bytes) text.push_back(static_cast<unsigned char>(byte));
    return text;
  }
  if (type == "UTF8_STRING" || type.starts_with("text/plain")) return FromUtf8(bytes);
  return std::nullopt;
}

std::optional<Text> TextOfSnapshot(const ClipboardSnapshot& snapshot) {
  for (const char* target : kTextTargets) {
    for (const ClipboardFormat& format : snapshot) {
      if (format.mimeType != target || format.listedOnly) continue;
      std::optional<Text> text =
          DecodeText(format.type.empty() ? target : format.type, format.data);
      if (text) return text;
    }
  }
  return std::nullopt;
}

// Qt's clipboard in this very process answers only while this thread runs Qt's events.
bool QtOwns(QClipboard::Mode selection) {
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) return false;
  return selection == QClipboard::Selection ? QGuiApplication::clipboard()->ownsSelection()
                                            : QGuiApplication::clipboard()->ownsClipboard();
}

void LetQtAnswer() {
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace

struct X11Clipboard::State {
  SelectionConnection connection;  // requests and the owner watch, on the user-interface thread
  SelectionServer server;          // owning and serving, on its own thread
  ::Atom clipboard = None;
  ::Atom primary = None;
  int fixesEvent = -1;  // the XFixes extension's first event, -1 without it
  SelectionTransfer* transfer = nullptr;
  bool changed = false;  // another program took or emptied the clipboard since the watch began
  // How often the owner of each selection went away (died, or its window did).
  int ownerLosses = 0;
  int primaryOwnerLosses = 0;
  std::unique_ptr<QSocketNotifier> notifier;

  void Handle(XEvent& event) {
    if (transfer != nullptr && transfer->Take(event)) return;
    if (fixesEvent < 0 || event.type != fixesEvent + XFixesSelectionNotify) return;
    const auto& notify = reinterpret_cast<const XFixesSelectionNotifyEvent&>(event);
    const bool lost = notify.subtype != XFixesSetSelectionOwnerNotify || notify.owner == None;
    if (notify.selection == primary && lost) ++primaryOwnerLosses;
    if (notify.selection != clipboard) return;
    if (notify.subtype == XFixesSetSelectionOwnerNotify && notify.owner == server.window()) {
      return;  // this program's own restore
    }
    changed = true;
    if (lost) ++ownerLosses;
  }

  int& LossesOf(::Atom selection) {
    return selection == primary ? primaryOwnerLosses : ownerLosses;
  }

  Display* display() const { return connection.display(); }

  void RequireDisplay() const {
    if (!connection.Usable() || !server.Usable()) {
      throw PlatformError("There is no X display to reach the clipboard on.");
    }
  }

  // The owner now, and whether it is this program's server (with the snapshot it serves).
  ::Window Owner(::Atom selection) {
    const ::Window owner = XGetSelectionOwner(display(), selection);
    connection.DispatchPending();  // what the round trip brought in
    return owner;
  }
  bool ServedHere(::Window owner) const { return owner == server.window() && server.Owns(); }

  // The data of `target`, or nothing when the owner refuses, goes away or does not answer in
  // time.
  std::optional<SelectionData> Request(::Atom selection, ::Atom target, ::Time time,
                                       SteadyClock::time_point deadline, bool qtOwns) {
    const int& losses = LossesOf(selection);
    const int lossesBefore = losses;
    SelectionTransfer request(connection, selection, target, time);
    transfer = &request;
    const bool answered =
        connection.WaitUntil([&] { return request.Finished() || losses != lossesBefore; }, deadline,
                             qtOwns ? std::function<void()>(LetQtAnswer) : std::function<void()>());
    transfer = nullptr;
    if (!answered || !request.Finished()) return std::nullopt;
    return request.Result();
  }

  std::optional<std::vector<::Atom>> RequestTargets(::Atom selection, ::Time time,
                                                    SteadyClock::time_point deadline, bool qtOwns) {
    const std::optional<SelectionData> data =
        Request(selection, connection.Intern("TARGETS"), time, deadline, qtOwns);
    if (!data || data->itemBits != 32) return std::nullopt;
    std::vector<::Atom> atoms(data->bytes.size() / 4);
    for (std::size_t i = 0; i < atoms.size(); ++i) {
      std::uint32_t atom = 0;
      std::memcpy(&atom, data->bytes.data() + 4 * i, 4);
      atoms[i] = atom;
    }
    return atoms;
  }

  // The text an owner other than this program's server holds in `selection`.
  bool ReadOwnersText(::Atom selection, Text& text, SteadyClock::time_point deadline, bool qtOwns) {
    const std::optional<::Time> time = connection.ServerTime(deadline);
    if (!time) return false;
    // Owners that cannot list their targets are asked for the usual text ones.
    std::vector<std::string> candidates = {"UTF8_STRING", "STRING"};
    if (const auto targets = RequestTargets(selection, *time, deadline, qtOwns)) {
      const std::vector<std::string> names = connection.NamesOf(*targets);
      candidates.clear();
      for (const char* target : kTextTargets) {
        if (std::find(names.begin(), names.end(), target) != names.end()) {
          candidates.emplace_back(target);
        }
      }
    }
    for (const std::string& target : candidates) {
      const std::optional<SelectionData> data =
          Request(selection, connection.Intern(target), *time, deadline, qtOwns);
      if (!data) continue;
      std::optional<Text> read = DecodeText(connection.NameOf(data->type), data->bytes);
      if (!read) continue;
      text = std::move(*read);
      connection.DispatchPending();
      return true;
    }
    connection.DispatchPending();
    return false;
  }
};

X11Clipboard::X11Clipboard() : state_(std::make_unique<State>()) {
  State& state = *state_;
  if (!state.connection.Usable()) return;
  state.clipboard = state.connection.Intern("CLIPBOARD");
  state.primary = state.connection.Intern("PRIMARY");
  state.connection.SetHandler([&state](XEvent& event) { state.Handle(event); });
  int event = 0;
  int error = 0;
  if (XFixesQueryExtension(state.display(), &event, &error)) {
    int major = 0;
    int minor = 0;
    XFixesQueryVersion(state.display(), &major, &minor);
    state.fixesEvent = event;
    for (const ::Atom selection : {state.clipboard, state.primary}) {
      XFixesSelectSelectionInput(state.display(), state.connection.window(), selection,
                                 XFixesSetSelectionOwnerNotifyMask |
                                     XFixesSelectionWindowDestroyNotifyMask |
                                     XFixesSelectionClientCloseNotifyMask);
    }
    XFlush(state.display());
  }
  // Between calls, the owner notifications that keep coming are read and dropped.
  if (QCoreApplication::instance() != nullptr) {
    state.notifier =
        std::make_unique<QSocketNotifier>(state.connection.FileDescriptor(), QSocketNotifier::Read);
    QObject::connect(state.notifier.get(), &QSocketNotifier::activated,
                     [&state] { state.connection.DispatchPending(); });
  }
}

X11Clipboard::~X11Clipboard() = default;

ClipboardSnapshot X11Clipboard::Backup(milliseconds limit) {
  State& state = *state_;
  state.RequireDisplay();
  const auto deadline = SteadyClock::now() + limit;
  const ::Window owner = state.Owner(state.clipboard);
  if (owner == None) return {};
  if (state.ServedHere(owner)) return *state.server.Snapshot();
  const bool qtOwns = QtOwns(QClipboard::Clipboard);
  const std::optional<::Time> time = state.connection.ServerTime(deadline);
  if (!time) return {};
  const std::optional<std::vector<::Atom>> targets =
      state.RequestTargets(state.clipboard, *time, deadline, qtOwns);
  if (!targets) return {};

  ClipboardSnapshot snapshot;
  const std::vector<std::string> names = state.connection.NamesOf(*targets);
  std::set<std::string> seen;
  for (std::size_t i = 0; i < targets->size(); ++i) {
    const std::string& name = names[i];
    if (name.empty() || !seen.insert(name).second) continue;
    if (IsListedOnly(name)) {
      snapshot.push_back(ClipboardFormat::ListedOnly(name));
      continue;
    }
    // Formats the owner does not hand over in time are left out; the rest still come back.
    std::optional<SelectionData> data =
        state.Request(state.clipboard, (*targets)[i], *time, deadline, qtOwns);
    if (!data) continue;
    std::string type = state.connection.NameOf(data->type);
    if (type == name) type.clear();
    snapshot.emplace_back(name, std::move(data->bytes), std::move(type), data->itemBits);
  }
  state.connection.DispatchPending();
  return snapshot;
}

bool X11Clipboard::Restore(const ClipboardSnapshot& snapshot) {
  State& state = *state_;
  state.RequireDisplay();
  // ICCCM wants ownership taken with a real time, and a time before the last owner's would be
  // refused.
  const std::optional<::Time> time =
      state.connection.ServerTime(SteadyClock::now() + kServerAnswer);
  if (!time) return false;
  const bool restored = state.server.Own(snapshot, *time);
  state.connection.DispatchPending();
  return restored;
}

bool X11Clipboard::ReadText(Text& text, milliseconds limit) {
  State& state = *state_;
  state.RequireDisplay();
  const auto deadline = SteadyClock::now() + limit;
  const ::Window owner = state.Owner(state.clipboard);
  if (owner == None) return false;
  if (state.ServedHere(owner)) {
    std::optional<Text> own = TextOfSnapshot(*state.server.Snapshot());
    if (own) text = std::move(*own);
    return own.has_value();
  }
  return state.ReadOwnersText(state.clipboard, text, deadline, QtOwns(QClipboard::Clipboard));
}

bool X11Clipboard::ReadPrimaryText(Text& text, milliseconds limit) {
  State& state = *state_;
  state.RequireDisplay();
  const auto deadline = SteadyClock::now() + limit;
  if (state.Owner(state.primary) == None) return false;
  return state.ReadOwnersText(state.primary, text, deadline, QtOwns(QClipboard::Selection));
}

void X11Clipboard::WatchOwner() {
  State& state = *state_;
  state.RequireDisplay();
  if (state.fixesEvent < 0) {
    throw PlatformError("The X server cannot tell when the clipboard changes hands (no XFIXES).");
  }
  // After the round trip every notification of an earlier change has arrived.
  XSync(state.display(), False);
  state.connection.DispatchPending();
  state.changed = false;
}

bool X11Clipboard::OwnerChanged() {
  State& state = *state_;
  if (!state.connection.Usable()) return false;
  state.connection.DispatchPending();
  return state.changed;
}

}  // namespace parlino::platform::linux_impl
