// The corrections list on its page: the file behind it, the four commands and the editor, over
// fake message boxes, shell and voice.
#include "corrections/corrections_panel.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <functional>

#include "platform/linux/utf8_code_page.h"
#include "tests/corrections/correction_printer.h"
#include "tests/fakes/fake_platform.h"
#include "tests/fakes/temp_dir.h"

namespace parlino::corrections {
namespace {

using platform::BoxAnswer;
using Rows = std::vector<Correction>;

class RecordingVoice final : public PronunciationVoice {
 public:
  std::vector<std::pair<Text, bool>> spoken;  // text, interrupt
  bool fail = false;
  void SpeakPronunciation(TextView text, bool interrupt) override {
    if (fail) throw std::runtime_error("the voice refused");
    spoken.emplace_back(text, interrupt);
  }
};

class CorrectionsPanel : public ::testing::Test {
 protected:
  std::filesystem::path Words() const { return dir / "words.ini"; }

  QTableView& Table() { return *panel.findChild<QTableView*>("Words_Table"); }
  QPushButton& Button(const char* name) { return *panel.findChild<QPushButton*>(name); }
  template <typename Widget>
  Widget& Editor(const char* name) {
    return *panel.frmWord().findChild<Widget*>(name);
  }

  std::optional<int> Selected() {
    const QModelIndexList rows = Table().selectionModel()->selectedRows();
    if (rows.isEmpty()) return std::nullopt;
    return rows.front().row();
  }

  void Load(const std::string& bytes) {
    testing::WriteBytes(Words(), bytes);
    panel.RestoreWords();
  }

  // Clicks `button`, which opens the editor modally, and runs `whileOpen` in it. Returns whether
  // the editor was still open afterwards (it is then cancelled, so that the test goes on).
  bool WithEditor(QPushButton& button, const std::function<void(TfrmWord&)>& whileOpen) {
    bool stillOpen = false;
    bool ran = false;
    QTimer::singleShot(0, &panel, [&] {
      ran = true;
      TfrmWord& editor = panel.frmWord();
      EXPECT_TRUE(editor.isVisible());
      whileOpen(editor);
      stillOpen = editor.isVisible();
      if (stillOpen) editor.reject();
    });
    button.click();
    EXPECT_TRUE(ran) << "the editor did not open";
    return stillOpen;
  }

  void Type(TfrmWord&, const char16_t* word, const char16_t* pronunciation, bool caseSensitive) {
    Editor<QLineEdit>("Edit1").setText(QString::fromUtf16(word));
    Editor<QLineEdit>("Edit2").setText(QString::fromUtf16(pronunciation));
    Editor<QCheckBox>("CheckBox1").setChecked(caseSensitive);
  }

  testing::TempDir dir;
  platform::linux_impl::Utf8CodePage codePage;
  testing::FakeMessageBoxes boxes;
  testing::FakeShell shell;
  RecordingVoice voice;
  Text helpFile = u"/opt/parlino/help/index.html";
  TCorrectionsPanel panel{{Words(), codePage, boxes, shell, voice, helpFile}};
};

TEST_F(CorrectionsPanel, TheListHasItsColumnsAndButtons) {
  const QHeaderView& header = *Table().horizontalHeader();
  ASSERT_EQ(Table().model()->columnCount(), 3);
  EXPECT_EQ(Table().model()->headerData(0, Qt::Horizontal).toString(), "         Word");
  EXPECT_EQ(Table().model()->headerData(1, Qt::Horizontal).toString(), "Pronunciation");
  EXPECT_EQ(Table().model()->headerData(2, Qt::Horizontal).toString(), "Case sensitive");
  EXPECT_EQ(header.sectionSize(0), 90);
  EXPECT_EQ(header.sectionSize(1), 90);
  EXPECT_EQ(Table().selectionBehavior(), QAbstractItemView::SelectRows);
  EXPECT_EQ(Table().selectionMode(), QAbstractItemView::SingleSelection);
  EXPECT_EQ(Table().editTriggers(), QAbstractItemView::NoEditTriggers);
  for (const auto& [name, caption] : {std::pair{"BitBtn8", "&Add"},
                                      {"BitBtn9", "&Edit"},
                                      {"BitBtn10", "&Delete"},
                                      {"BitBtn11", "&Test"}}) {
    EXPECT_EQ(Button(name).text(), caption);
    EXPECT_EQ(Button(name).size(), QSize(80, 25));
    EXPECT_FALSE(Button(name).icon().isNull()) << name;
  }
}

TEST_F(CorrectionsPanel, RestoreFillsTheListAndAMissingFileKeepsIt) {
  Load("Dr###***###Doctor###***###Yes\r\nsql###***###sequel###***###No\r\n\r\n");
  EXPECT_EQ(panel.Rows(), (Rows{{u"Dr", u"Doctor", u"Yes"}, {u"sql", u"sequel", u"No"}, {}}));
  EXPECT_EQ(Table().model()->data(Table().model()->index(1, 1)).toString(), "sequel");

  std::filesystem::remove(Words());
  panel.RestoreWords();
  EXPECT_EQ(panel.Rows().size(), 3u);

  // The empty row goes back as a line of two separators.
  panel.SaveWords();
  EXPECT_EQ(testing::ReadBytes(Words()),
            "Dr###***###Doctor###***###Yes\r\nsql###***###sequel###***###No\r\n"
            "###***######***###\r\n");
}

TEST_F(CorrectionsPanel, AReadErrorNamesTheFileAndKeepsTheList) {
  Load("Dr###***###Doctor###***###Yes\r\n");
  std::filesystem::remove(Words());
  std::filesystem::create_directory(Words());
  EXPECT_THROW(panel.RestoreWords(), PlatformError);
  EXPECT_EQ(panel.Rows(), (Rows{{u"Dr", u"Doctor", u"Yes"}}));
}

TEST_F(CorrectionsPanel, AddAppendsSavesAndSelectsTheNewRow) {
  Load("Dr###***###Doctor###***###Yes\r\n");
  EXPECT_FALSE(WithEditor(Button("BitBtn8"), [&](TfrmWord& editor) {
    EXPECT_EQ(editor.windowTitle(), "Pronunciation correction");
    // A window of its own, centred on the window the list is on (give or take its frame, which
    // is not known before it shows).
    EXPECT_EQ(editor.parent(), nullptr);
    EXPECT_LE((editor.geometry().center() - panel.window()->geometry().center()).manhattanLength(),
              6);
    Type(editor, u" sql ", u"", false);
    Editor<QPushButton>("Action_Button").click();
  }));
  EXPECT_EQ(panel.Rows(), (Rows{{u"Dr", u"Doctor", u"Yes"}, {u" sql ", u"", u"No"}}));
  EXPECT_EQ(testing::ReadBytes(Words()),
            "Dr###***###Doctor###***###Yes\r\n sql ###***######***###No\r\n");
  EXPECT_EQ(Selected(), 1);
}

TEST_F(CorrectionsPanel, TheEditorKeepsItsInputAfterAMessage) {
  Load("SQL###***###sequel###***###No\r\n");
  const auto tryAdding = [&](const char16_t* word, const char16_t* pronunciation) {
    return WithEditor(Button("BitBtn8"), [&](TfrmWord& editor) {
      Type(editor, word, pronunciation, true);
      Editor<QPushButton>("Action_Button").click();
      EXPECT_EQ(Editor<QLineEdit>("Edit1").text(), QString::fromUtf16(word));
      EXPECT_EQ(Editor<QLineEdit>("Edit2").text(), QString::fromUtf16(pronunciation));
    });
  };
  EXPECT_TRUE(tryAdding(u"", u"nothing"));
  EXPECT_TRUE(tryAdding(u"SQL", u"squeal"));
  EXPECT_TRUE(tryAdding(u"a###***###b", u"ab"));
  ASSERT_EQ(boxes.shown.size(), 3u);
  EXPECT_EQ(boxes.shown[0].text, u"Please, type some word for pronunciation correction.");
  EXPECT_EQ(boxes.shown[1].text,
            u"Sorry, but pronunciation correction for \"SQL\"  already exists.");
  EXPECT_NE(boxes.shown[2].text.find(u"###***###"), Text::npos);
  for (const auto& box : boxes.shown) EXPECT_EQ(box.kind, platform::BoxKind::Information);
  EXPECT_EQ(panel.Rows().size(), 1u);

  // Another case is another word; the next opening starts empty again.
  EXPECT_FALSE(tryAdding(u"Sql", u"sequel"));
  WithEditor(Button("BitBtn8"), [&](TfrmWord&) {
    EXPECT_EQ(Editor<QLineEdit>("Edit1").text(), "");
    EXPECT_FALSE(Editor<QCheckBox>("CheckBox1").isChecked());
  });
}

TEST_F(CorrectionsPanel, EditWithoutASelectionEditsTheFirstRowAndMakesNoDuplicateCheck) {
  Load("Dr###***###Doctor###***###Yes\r\nMr###***###Mister###***###No\r\n");
  EXPECT_FALSE(WithEditor(Button("BitBtn9"), [&](TfrmWord& editor) {
    EXPECT_FALSE(editor.AddMode());
    EXPECT_EQ(Editor<QPushButton>("Action_Button").text(), "Save changes");
    EXPECT_EQ(editor.Tag(), 0u);
    EXPECT_EQ(Editor<QLineEdit>("Edit1").text(), "Dr");
    EXPECT_EQ(Editor<QLineEdit>("Edit2").text(), "Doctor");
    EXPECT_TRUE(Editor<QCheckBox>("CheckBox1").isChecked());
    Type(editor, u"Mr", u"Sir", false);
    Editor<QPushButton>("Action_Button").click();
  }));
  EXPECT_EQ(panel.Rows(), (Rows{{u"Mr", u"Sir", u"No"}, {u"Mr", u"Mister", u"No"}}));
  EXPECT_EQ(testing::ReadBytes(Words()),
            "Mr###***###Sir###***###No\r\nMr###***###Mister###***###No\r\n");
  EXPECT_EQ(Selected(), 0);

  // A double click on the second row edits that row; Cancel changes nothing.
  Table().selectRow(1);
  bool opened = false;
  QTimer::singleShot(0, &panel, [&] {
    opened = panel.frmWord().isVisible();
    EXPECT_EQ(panel.frmWord().Tag(), 1u);
    Editor<QLineEdit>("Edit2").setText("changed");
    Editor<QPushButton>("Cancel_Button").click();
  });
  emit Table().doubleClicked(Table().model()->index(1, 0));
  EXPECT_TRUE(opened);
  EXPECT_EQ(panel.frmWord().result(), -1);
  EXPECT_EQ(panel.Rows()[1].pronunciation, u"Mister");
  EXPECT_EQ(Selected(), 1);
}

TEST_F(CorrectionsPanel, DeleteAsksAndMovesTheSelectionUp) {
  Load("a###***###1###***###No\r\nb###***###2###***###No\r\nc###***###3###***###No\r\n");
  Button("BitBtn10").click();  // nothing selected: no question
  EXPECT_TRUE(boxes.shown.empty());

  // No to the third row still selects the second.
  Table().selectRow(2);
  boxes.answers = {BoxAnswer::No};
  Button("BitBtn10").click();
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text,
            u"Are you sure to delete pronunciation correction for word \"c\"?");
  EXPECT_EQ(boxes.shown[0].kind, platform::BoxKind::Confirmation);
  EXPECT_EQ(boxes.shown[0].buttons, platform::BoxButtons::YesNo);
  EXPECT_EQ(panel.Rows().size(), 3u);
  EXPECT_EQ(Selected(), 1);

  // Yes removes the row and saves at once; the row above becomes selected.
  boxes.answers = {BoxAnswer::Yes};
  Button("BitBtn10").click();
  EXPECT_EQ(panel.Rows(), (Rows{{u"a", u"1", u"No"}, {u"c", u"3", u"No"}}));
  EXPECT_EQ(testing::ReadBytes(Words()), "a###***###1###***###No\r\nc###***###3###***###No\r\n");
  EXPECT_EQ(Selected(), 0);

  // No to the first row keeps it selected; Yes leaves nothing selected.
  boxes.answers = {BoxAnswer::No};
  Button("BitBtn10").click();
  EXPECT_EQ(Selected(), 0);
  boxes.answers = {BoxAnswer::Yes};
  Button("BitBtn10").click();
  EXPECT_EQ(Selected(), std::nullopt);
  EXPECT_TRUE(std::filesystem::exists(Words()));

  // The last row takes the file with it, and the next start shows an empty list.
  Table().selectRow(0);
  boxes.answers = {BoxAnswer::Yes};
  Button("BitBtn10").click();
  EXPECT_TRUE(panel.Rows().empty());
  EXPECT_FALSE(std::filesystem::exists(Words()));
  TCorrectionsPanel restarted({Words(), codePage, boxes, shell, voice, helpFile});
  restarted.RestoreWords();
  EXPECT_TRUE(restarted.Rows().empty());
}

TEST_F(CorrectionsPanel, TheCaseColumnNarrowsForTheScrollBarFromTheEighthRow) {
  std::string seven;
  for (char word = 'a'; word < 'h'; ++word)
    seven += std::string(1, word) + "###***###x###***###No\r\n";
  Load(seven);
  EXPECT_EQ(Table().columnWidth(2), 96);
  WithEditor(Button("BitBtn8"), [&](TfrmWord& editor) {
    Type(editor, u"h", u"x", false);
    Editor<QPushButton>("Action_Button").click();
  });
  EXPECT_EQ(panel.Rows().size(), 8u);
  EXPECT_EQ(Table().columnWidth(2), 80);
  Table().selectRow(7);
  boxes.answers = {BoxAnswer::Yes};
  Button("BitBtn10").click();
  EXPECT_EQ(Table().columnWidth(2), 96);
}

TEST_F(CorrectionsPanel, TestSpeaksThePronunciationAloneAfterCuttingOffSpeech) {
  Load("Dr###***###Doctor###***###Yes\r\nDoctor###***###Physician###***###Yes\r\n");
  Button("BitBtn11").click();  // nothing selected
  EXPECT_TRUE(voice.spoken.empty());
  Table().selectRow(0);
  Button("BitBtn11").click();
  EXPECT_EQ(voice.spoken, (std::vector<std::pair<Text, bool>>{{u"Doctor", true}}));

  // An engine error is shown, and nothing else happens.
  voice.fail = true;
  Button("BitBtn11").click();
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].kind, platform::BoxKind::Error);
  EXPECT_EQ(boxes.shown[0].text, u"the voice refused");
}

TEST_F(CorrectionsPanel, TheEditorsTestHelpEnterAndEsc) {
  WithEditor(Button("BitBtn8"), [&](TfrmWord& editor) {
    EXPECT_EQ(editor.focusWidget(), &Editor<QLineEdit>("Edit1"));
    Type(editor, u"Dr", u"Doctor", false);
    Editor<QPushButton>("Button1").click();
    // The link opens the help; so does F1.
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&Editor<QLabel>("HyperLabel2"), &release);
    EXPECT_EQ(Editor<QLabel>("HyperLabel2").text(), "How to correct pronunciation of words");
    EXPECT_TRUE(Editor<QLabel>("HyperLabel2").font().underline());
    // Esc cancels.
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&Editor<QLineEdit>("Edit2"), &escape);
    EXPECT_FALSE(editor.isVisible());
  });
  EXPECT_EQ(voice.spoken, (std::vector<std::pair<Text, bool>>{{u"Doctor", false}}));
  EXPECT_EQ(shell.opened, std::vector<Text>{helpFile});
  EXPECT_EQ(panel.frmWord().result(), -1);
  EXPECT_TRUE(panel.Rows().empty());

  // Enter in a field presses the action button.
  EXPECT_FALSE(WithEditor(Button("BitBtn8"), [&](TfrmWord& editor) {
    Type(editor, u"Dr", u"Doctor", true);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(&Editor<QLineEdit>("Edit2"), &enter);
  }));
  EXPECT_EQ(panel.frmWord().result(), QDialog::Accepted);
  EXPECT_EQ(panel.Rows(), (Rows{{u"Dr", u"Doctor", u"Yes"}}));
}

TEST_F(CorrectionsPanel, AFailedSaveIsShownAndTheRowStays) {
  std::filesystem::create_directory(Words());  // words.ini cannot be replaced by a file
  const bool stillOpen = WithEditor(Button("BitBtn8"), [&](TfrmWord& editor) {
    Type(editor, u"Dr", u"Doctor", true);
    Editor<QPushButton>("Action_Button").click();
  });
  EXPECT_TRUE(stillOpen);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].kind, platform::BoxKind::Error);
  EXPECT_NE(boxes.shown[0].text.find(FromUtf8(Words().string())), Text::npos)
      << ToUtf8(boxes.shown[0].text);
  EXPECT_EQ(panel.Rows(), (Rows{{u"Dr", u"Doctor", u"Yes"}}));
}

}  // namespace
}  // namespace parlino::corrections
