#include "corrections/corrections_panel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <QWindow>

#include "app/ui/widgets/button_pictures.h"
#include "app/ui/widgets/event_dispatch.h"
#include "corrections/correction_rules.h"
#include "corrections/corrections_model.h"
#include "corrections/words_file.h"

namespace parlino::corrections {
namespace {

constexpr int kWordColumnWidth = 90;
constexpr int kPronunciationColumnWidth = 90;
constexpr int kButtonColumnWidth = 86;
constexpr QSize kButtonSize(80, 25);

}  // namespace

TCorrectionsPanel::TCorrectionsPanel(CorrectionsServices services, QWidget* parent)
    : QWidget(parent), s_(std::move(services)), model_(new CorrectionsModel(this)) {
  setObjectName("CorrectionsPanel");
  CreateTable();
  CreateButtons();
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(Words_Table, 1);
  layout->addWidget(buttonColumn_);

  // Created once; every opening prepares all of its fields.
  frmWord_ = std::make_unique<TfrmWord>(
      WordEditorServices{*this, s_.boxes, s_.shell, s_.voice, s_.helpFile}, nullptr);
  MakeColumnsWidths();
}

TCorrectionsPanel::~TCorrectionsPanel() = default;

void TCorrectionsPanel::CreateTable() {
  Words_Table = new QTableView;
  Words_Table->setObjectName("Words_Table");
  Words_Table->setModel(model_);
  Words_Table->setShowGrid(true);
  Words_Table->setSelectionBehavior(QAbstractItemView::SelectRows);
  Words_Table->setSelectionMode(QAbstractItemView::SingleSelection);
  Words_Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Words_Table->setTabKeyNavigation(false);  // Tab leaves the list, as in any other list
  Words_Table->setWordWrap(false);
  Words_Table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  QPalette palette = Words_Table->palette();
  palette.setColor(QPalette::Base, Qt::white);
  palette.setColor(QPalette::Text, Qt::black);
  Words_Table->setPalette(palette);

  QHeaderView* rows = Words_Table->verticalHeader();
  rows->hide();
  rows->setSectionResizeMode(QHeaderView::Fixed);
  rows->setDefaultSectionSize(Words_Table->fontMetrics().height() + 4);
  QHeaderView* columns = Words_Table->horizontalHeader();
  columns->setSectionResizeMode(QHeaderView::Fixed);
  columns->setStretchLastSection(false);
  columns->setSectionsClickable(false);  // no sorting: the order is the order of application
  columns->setHighlightSections(false);
  Words_Table->setColumnWidth(0, kWordColumnWidth);
  Words_Table->setColumnWidth(1, kPronunciationColumnWidth);

  // Rows added or removed, and selection changes, all adjust the last column.
  connect(model_, &QAbstractItemModel::rowsInserted, this, [this] { MakeColumnsWidths(); });
  connect(model_, &QAbstractItemModel::rowsRemoved, this, [this] { MakeColumnsWidths(); });
  connect(model_, &QAbstractItemModel::modelReset, this, [this] { MakeColumnsWidths(); });
  connect(Words_Table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this] { MakeColumnsWidths(); });
  connect(Words_Table, &QAbstractItemView::doubleClicked, this,
          [this] { app::DispatchEvent(s_.boxes, [this] { Words_TableDblClick(); }); });
}

void TCorrectionsPanel::CreateButtons() {
  buttonColumn_ = new QWidget;
  buttonColumn_->setFixedWidth(kButtonColumnWidth);
  auto* column = new QVBoxLayout(buttonColumn_);
  column->setContentsMargins(kButtonColumnWidth - kButtonSize.width(), 0, 0, 0);
  const auto addButton = [&](QPushButton*& button, const char* name, const char* caption,
                             app::ButtonPicture picture, void (TCorrectionsPanel::*handler)()) {
    button = new QPushButton(app::ButtonIcon(picture), caption);
    button->setObjectName(name);
    button->setFixedSize(kButtonSize);
    button->setIconSize(QSize(16, 16));
    connect(button, &QPushButton::clicked, this, [this, handler] {
      app::DispatchEvent(s_.boxes, [this, handler] { (this->*handler)(); });
    });
    column->addWidget(button);
  };
  addButton(BitBtn8, "BitBtn8", "&Add", app::ButtonPicture::Add, &TCorrectionsPanel::BitBtn8Click);
  addButton(BitBtn9, "BitBtn9", "&Edit", app::ButtonPicture::Edit,
            &TCorrectionsPanel::BitBtn9Click);
  addButton(BitBtn10, "BitBtn10", "&Delete", app::ButtonPicture::Delete,
            &TCorrectionsPanel::BitBtn10Click);
  addButton(BitBtn11, "BitBtn11", "&Test", app::ButtonPicture::Test,
            &TCorrectionsPanel::BitBtn11Click);
  column->addStretch();
}

void TCorrectionsPanel::ShowEditor() {
  QWidget* owner = window();
  frmWord_->winId();  // the native window, so that it can be tied to the owner's
  if (owner->windowHandle() != nullptr) {
    frmWord_->windowHandle()->setTransientParent(owner->windowHandle());
  }
  frmWord_->move(owner->frameGeometry().center() - frmWord_->rect().center());
  frmWord_->exec();
}

void TCorrectionsPanel::RestoreWords() {
  std::optional<std::vector<Correction>> rows = ReadWordsFile(s_.wordsFile, s_.codePage);
  if (rows) model_->Reset(std::move(*rows));
}

void TCorrectionsPanel::SaveWords() {
  WriteWordsFile(s_.wordsFile, model_->Rows(), s_.codePage);
}

const std::vector<Correction>& TCorrectionsPanel::Rows() const {
  return model_->Rows();
}

void TCorrectionsPanel::AppendRow(Correction row) {
  model_->Append(std::move(row));
}

void TCorrectionsPanel::ChangeRow(std::size_t row, Correction value) {
  model_->Change(row, std::move(value));
}

void TCorrectionsPanel::BitBtn8Click() {
  frmWord_->PrepareAdd();
  ShowEditor();  // the editor checks, appends and saves
  const std::size_t count = Rows().size();
  SelectRow(count > 0 ? std::optional<std::size_t>(count - 1) : std::nullopt);
  Words_Table->setFocus();
}

void TCorrectionsPanel::BitBtn9Click() {
  if (Rows().empty()) {
    Words_Table->setFocus();
    return;
  }
  const std::size_t index = RowToEdit(SelectedRow());
  SelectRow(index);
  frmWord_->PrepareEdit(index, Rows()[index]);
  Words_Table->setFocus();
  ShowEditor();
  SelectRow(index);
  Words_Table->setFocus();
}

void TCorrectionsPanel::BitBtn10Click() {
  const std::optional<std::size_t> row = SelectedRow();
  if (!row) return;
  const bool deleted =
      s_.boxes.Show(platform::BoxKind::Confirmation, u"Parlino!", DeleteQuestion(Rows()[*row].word),
                    platform::BoxButtons::YesNo) == platform::BoxAnswer::Yes;
  if (deleted) {
    model_->Remove(*row);
    SaveWords();
  }
  SelectRow(SelectionAfterDelete(*row, deleted));
  if (Rows().empty()) RemoveWordsFile(s_.wordsFile);
}

void TCorrectionsPanel::BitBtn11Click() {
  const std::optional<std::size_t> row = SelectedRow();
  if (!row) return;
  // The pronunciation alone, with no other correction applied to it.
  s_.voice.SpeakPronunciation(Rows()[*row].pronunciation, true);
}

void TCorrectionsPanel::Words_TableDblClick() {
  BitBtn9Click();
}

void TCorrectionsPanel::MakeColumnsWidths() {
  Words_Table->setColumnWidth(2, CaseColumnWidth(Rows().size()));
}

std::optional<std::size_t> TCorrectionsPanel::SelectedRow() const {
  const QModelIndexList selected = Words_Table->selectionModel()->selectedRows();
  if (selected.isEmpty()) return std::nullopt;
  return static_cast<std::size_t>(selected.front().row());
}

void TCorrectionsPanel::SelectRow(std::optional<std::size_t> row) {
  QItemSelectionModel* selection = Words_Table->selectionModel();
  if (!row || *row >= Rows().size()) {
    selection->clearSelection();
    return;
  }
  const QModelIndex index = model_->index(static_cast<int>(*row), 0);
  selection->setCurrentIndex(index,
                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  Words_Table->scrollTo(index);
}

}  // namespace parlino::corrections
