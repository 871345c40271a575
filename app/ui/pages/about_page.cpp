#include "app/ui/pages/about_page.h"

#include <QDate>
#include <QHBoxLayout>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "app/ui/help_links.h"
#include "app/ui/widgets/artwork.h"
#include "app/ui/widgets/gradient.h"
#include "app/ui/widgets/hyper_label.h"
#include "app/ui/widgets/qt_text.h"

namespace parlino::app {
namespace {

constexpr Colour kWhite = Rgb(255, 255, 255);
constexpr Colour kBlue = 14192227;       // 0xD88E63
constexpr Colour kLinkLeave = 9981440;   // 0x984E00
constexpr Colour kLinkEnter = 12937777;  // 0xC56A31

QFont Tahoma(int pixelHeight, bool bold) {
  QFont font("Tahoma");
  font.setPixelSize(pixelHeight);
  font.setBold(bold);
  return font;
}

QLabel* ArtworkLabel(const char* name, Picture picture) {
  auto* image = new QLabel;
  image->setObjectName(name);
  image->setFixedSize(48, 48);
  image->setPixmap(ProgramIcon(picture).pixmap(48, 48));
  return image;
}

}  // namespace

TAboutPage::TAboutPage(platform::Shell& shell, std::filesystem::path programFolder)
    : shell_(shell), programFolder_(std::move(programFolder)), random_(std::random_device{}()) {
  setObjectName("About_Sheet");
  Gradient3 = new TGradient(GradientStyle::gsReflectedV, kWhite, kBlue);
  Gradient1 = new TGradient(GradientStyle::gsLinearV, kBlue, kWhite);
  Gradient2 = new TGradient(GradientStyle::gsReflectedV, kBlue, kWhite);
  Gradient3->setObjectName("Gradient3");
  Gradient1->setObjectName("Gradient1");
  Gradient2->setObjectName("Gradient2");
  Gradient3->setFixedWidth(14);
  Gradient2->setFixedWidth(14);

  const auto label = [](const char* name, const QString& text, const QFont& font) {
    auto* created = new QLabel(text);
    created->setObjectName(name);
    created->setAlignment(Qt::AlignCenter);
    created->setFont(font);
    return created;
  };
  Label6 = label("Label6", "Parlino!", Tahoma(19, true));
  Label9 = label("Label9", "Read selected text from any application with a single keystroke!",
                 Tahoma(13, true));
  Label9->setWordWrap(true);
  Label9->setFixedWidth(257);
  // The design's 257 x 33 holds two lines of Tahoma; other fonts may need a third.
  Label9->setMinimumHeight(std::max(33, Label9->heightForWidth(257)));
  Label9->setStyleSheet("color: #004080");  // 8404992 as 0x00BBGGRR
  Label8 = label("Label8", "Copyright (c) 2004-%d The Parlino developers", font());

  const auto link = [](const char* name, const QString& text) {
    auto* created = new THyperLabel(text);
    created->setObjectName(name);
    created->setAlignment(Qt::AlignCenter);
    created->setFont(Tahoma(11, false));  // 8 point at the classic 96 dots per inch
    created->SetColorEnter(kLinkEnter);
    created->SetColorLeave(kLinkLeave);
    return created;
  };
  HyperLabel1 = link("HyperLabel1", ToQString(HomeLinkText()));
  HyperLabel2 = link("HyperLabel2", "Program information");
  HyperLabel3 = link("HyperLabel3", "Technical support");
  connect(HyperLabel1, &THyperLabel::Click, this, [this] { HyperLabel1Click(); });
  connect(HyperLabel2, &THyperLabel::Click, this, [this] { HyperLabel2Click(); });
  connect(HyperLabel3, &THyperLabel::Click, this, [this] { HyperLabel3Click(); });
  Image1 = ArtworkLabel("Image1", Picture::Normal);
  Image6 = ArtworkLabel("Image6", Picture::SpeakingFrame2);

  auto* links = new QVBoxLayout;
  for (THyperLabel* each : {HyperLabel1, HyperLabel2, HyperLabel3}) links->addWidget(each);
  auto* middle = new QHBoxLayout;
  middle->addWidget(Image1);
  middle->addLayout(links, 1);
  middle->addWidget(Image6);
  auto* content = new QVBoxLayout(Gradient1);
  content->addWidget(Label6);
  content->addWidget(Label9, 0, Qt::AlignHCenter);
  content->addStretch();
  content->addLayout(middle);
  content->addStretch();
  content->addWidget(Label8);

  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(Gradient3);
  layout->addWidget(Gradient1, 1);
  layout->addWidget(Gradient2);

  EasterEgg1Timer = new QTimer(this);
  EasterEgg1Timer->setObjectName("EasterEgg1Timer");
  EasterEgg1Timer->setInterval(300);
  connect(EasterEgg1Timer, &QTimer::timeout, this, [this] { EasterEgg1TimerTimer(); });
}

void TAboutPage::ShowLinksAndYear() {
  for (THyperLabel* link : {HyperLabel1, HyperLabel2, HyperLabel3}) {
    QFont font = link->font();
    font.setBold(true);
    link->setFont(font);
  }
  Label8->setText(Label8->text().replace("%d", QString::number(QDate::currentDate().year())));
}

void TAboutPage::HyperLabel1Click() {
  shell_.Open(HelpAddress(HelpTarget::Home, programFolder_));
}

void TAboutPage::HyperLabel2Click() {
  shell_.Open(HelpAddress(HelpTarget::ProgramInformation, programFolder_));
}

void TAboutPage::HyperLabel3Click() {
  shell_.Open(HelpAddress(HelpTarget::Support, programFolder_));
}

void TAboutPage::SetEasterEgg(bool on) {
  if (on) {
    EasterEgg1Timer->start();
  } else {
    EasterEgg1Timer->stop();
    ShowDesignColours();
  }
}

void TAboutPage::EasterEgg1TimerTimer() {
  std::uniform_int_distribution<int> channel(0, 255);
  const int red = channel(random_);
  const int green = channel(random_);
  const int blue = channel(random_);
  ShowEasterEggColours(Rgb(red, green, blue));
}

void TAboutPage::ShowEasterEggColours(Colour a) {
  const auto complement = [](int c) { return (256 - c) % 256; };
  const Colour b = Rgb(complement(Red(a)), complement(Green(a)), complement(Blue(a)));
  Gradient3->SetColorBegin(a);
  Gradient3->SetColorEnd(b);
  Gradient1->SetColorBegin(b);
  Gradient1->SetColorEnd(a);
  Gradient2->SetColorBegin(b);
  Gradient2->SetColorEnd(a);
}

void TAboutPage::ShowDesignColours() {
  Gradient3->SetColorBegin(kWhite);
  Gradient3->SetColorEnd(kBlue);
  Gradient1->SetColorBegin(kBlue);
  Gradient1->SetColorEnd(kWhite);
  Gradient2->SetColorBegin(kBlue);
  Gradient2->SetColorEnd(kWhite);
}

}  // namespace parlino::app
