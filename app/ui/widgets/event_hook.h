#pragma once
// Lets a window see the events of one of its controls before the control does: the handler
// runs, then the event goes on to the control as usual.
#include <QEvent>
#include <QObject>
#include <functional>
#include <utility>

namespace parlino::app {

class EventHook final : public QObject {
 public:
  // The hook belongs to the watched control and dies with it.
  EventHook(QObject* watched, std::function<void(QEvent&)> handler)
      : QObject(watched), handler_(std::move(handler)) {
    watched->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    handler_(*event);
    return false;
  }

 private:
  std::function<void(QEvent&)> handler_;
};

}  // namespace parlino::app
