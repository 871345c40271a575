#include <gtest/gtest.h>
#include <QCheckBox>
#include <QPushButton>
#include <QTimer>

#include "app/ui/hot_key_edit.h"
#include "tests/app/app_fixture.h"

namespace parlino {
namespace {

using testing::AppFixture;

TEST(Frame, CancelDiscardsAndTheNextShowReloads) {
  AppFixture app;
  auto& form = app.Form();
  form.FormCreate();
  form.show();
  form.Reading_HotKey->SetHotKey(0x4041);  // Ctrl+A
  form.btnCancel->click();
  EXPECT_FALSE(form.isVisible());
  EXPECT_TRUE(app.hotKeys.Holds(0x4008));

  form.show();
  EXPECT_EQ(form.Reading_HotKey->HotKey(), 0x4008);
}

TEST(Frame, OkSavesAndAppliesTheHotKeysAndTheMousePoll) {
  AppFixture app;
  auto& form = app.Form();
  form.FormCreate();
  form.show();
  form.Reading_HotKey->SetHotKey(0x4041);
  form.ReadByMouse->setChecked(false);
  form.btnOK->click();
  EXPECT_FALSE(form.isVisible());
  EXPECT_TRUE(app.hotKeys.Holds(0x4041));
  EXPECT_FALSE(app.hotKeys.Holds(0x4008));
  EXPECT_FALSE(form.MouseTimer->isActive());
  EXPECT_EQ(app.Stored(u"General", u"HotKey"), u"16449");
}

TEST(Frame, ExitStopsSpeechAndSaves) {
  AppFixture app;
  auto& form = app.Form();
  form.FormCreate();
  form.ReadByMouse->setChecked(false);
  app.voices.log.clear();
  form.Exit1Click();
  EXPECT_EQ(app.voices.log, (std::vector<std::string>{"Pause", "Speak  2", "Release"}));
  EXPECT_EQ(app.Stored(u"General", u"ReadByMouse"), u"0");
}

}  // namespace
}  // namespace parlino
