#pragma once
// The "About" tab: the program's name on gradients, its pictures, the links to its help pages
// and the credit line. While the easter egg is on, its gradients change colour on a timer.
#include <filesystem>
#include <random>

#include "app/ui/pages/options_page.h"
#include "app/ui/widgets/gradient_ramp.h"
#include "platform/shell.h"

class QLabel;
class QTimer;

namespace parlino::app {

class TGradient;
class THyperLabel;

class TAboutPage final : public TOptionsPage {
  Q_OBJECT
 public:
  TAboutPage(platform::Shell& shell, std::filesystem::path programFolder);

  // The start-up's last touches: bold links, and the current year in the credit line.
  void ShowLinksAndYear();

  // The links: the home page, the program information, the technical support.
  void HyperLabel1Click();
  void HyperLabel2Click();
  void HyperLabel3Click();

  // On: the gradients take random colours every 300 ms. Off: their design colours come back.
  void SetEasterEgg(bool on);
  // One tick: colour A at random, B its complement channel by channel.
  void EasterEgg1TimerTimer();
  void ShowEasterEggColours(Colour a);

 private:
  void ShowDesignColours();

  platform::Shell& shell_;
  std::filesystem::path programFolder_;
  std::mt19937 random_;

  TGradient* Gradient1;
  TGradient* Gradient2;
  TGradient* Gradient3;
  QLabel* Label6;
  QLabel* Label9;
  THyperLabel* HyperLabel1;
  THyperLabel* HyperLabel2;
  THyperLabel* HyperLabel3;
  QLabel* Image1;
  QLabel* Image6;
  QLabel* Label8;
  QTimer* EasterEgg1Timer;
};

}  // namespace parlino::app
