#pragma once
// The welcome window of an account's first run: a small borderless window that reads its own
// text aloud with the default voice, and then hands over to the options window.
#include <QDialog>
#include <QPoint>
#include <QRect>

#include "app/app_context.h"

class QLabel;

namespace parlino::app {

class TfrmMain;
class TGradient;
class THyperLabel;

// The window's place after a drag to `wanted`: an edge within `distance` pixels of a screen
// edge lies on that edge.
QRect SnapToEdges(QRect wanted, QRect screen, int distance = 20);

// The welcome text; Linux has no "Windows application" to speak of.
QString WelcomeText();

class TfrmWelcome final : public QDialog {
  Q_OBJECT
 public:
  TfrmWelcome(TfrmMain& frmMain, AppContext& context);

  // Run once when the window is created at start-up: on a first run, the tutorial and the
  // welcome, then the settings again and the options window on its "General" tab.
  void FormCreate();

  void FormShow();
  void FormHide();
  void FormKeyDown(int key);
  void HyperLabel2Click();

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void SpeakWelcomeText();

  TfrmMain& frmMain_;
  AppContext& context_;
  std::optional<QPoint> dragOffset_;  // the press's place in the window while dragging

  TGradient* Gradient1;
  TGradient* Gradient2;
  TGradient* Gradient3;
  TGradient* Gradient4;
  QLabel* Label1;
  QLabel* Label2;
  THyperLabel* HyperLabel2;
};

}  // namespace parlino::app
