#include "slots/slots_panel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>

#include "app/ui/widgets/button_pictures.h"
#include "app/ui/widgets/event_dispatch.h"
#include "app/ui/widgets/event_hook.h"
#include "app/ui/widgets/hot_key_edit.h"
#include "app/ui/widgets/qt_text.h"
#include "slots/slot_rules.h"

namespace parlino::voice_slots {
namespace {

using app::ToQString;

struct Column {
  const char* caption;
  int width;
  Qt::Alignment alignment;
};

constexpr Column kColumns[] = {
    {"Voice", 115, Qt::AlignLeft | Qt::AlignVCenter},
    {"Speed", 55, Qt::AlignCenter},
    {"Pitch", 55, Qt::AlignCenter},
    {"Volume", 55, Qt::AlignCenter},
    {"Hot key", 84, Qt::AlignCenter},
};
constexpr int kHotKeyColumn = 4;
constexpr int kButtonWidth = 90;

bool Confirmed(platform::MessageBoxes& boxes, platform::BoxKind kind, TextView question) {
  return boxes.Show(kind, u"Parlino!", question, platform::BoxButtons::YesNo) ==
         platform::BoxAnswer::Yes;
}

}  // namespace

TSlotsPanel::TSlotsPanel(SlotsServices services, QWidget* parent)
    : QWidget(parent),
      s_(std::move(services)),
      file_(s_.profiles, s_.slotsFile, s_.tidy),
      hotKeys_(s_.hotKeys, s_.selectSlot) {
  setObjectName("SlotsPanel");
  Label11 = new QLabel("Here you can assign hot keys to the custom voices:");
  Label11->setObjectName("Label11");
  CreateList();
  auto* bar = new QWidget;
  CreateButtons(bar);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(Label11);
  layout->addWidget(SlotsList, 1);
  layout->addWidget(bar);

  // Created once; every opening prepares all of its fields.
  frmSlot_ = std::make_unique<TfrmSlot>(
      SlotEditorServices{*this, file_, hotKeys_, s_.programHotKeys, s_.voices, s_.sapi4, s_.sapi5,
                         s_.legacyEngines, s_.codePage, s_.boxes, s_.shell, s_.helpFile},
      nullptr);
}

TSlotsPanel::~TSlotsPanel() = default;

void TSlotsPanel::CreateList() {
  SlotsList = new QTableWidget(0, static_cast<int>(std::size(kColumns)));
  SlotsList->setObjectName("SlotsList");
  SlotsList->setShowGrid(true);
  SlotsList->setSelectionBehavior(QAbstractItemView::SelectRows);
  SlotsList->setSelectionMode(QAbstractItemView::ExtendedSelection);
  SlotsList->setEditTriggers(QAbstractItemView::NoEditTriggers);
  SlotsList->setTabKeyNavigation(false);  // Tab leaves the list, as in any other list
  SlotsList->setSortingEnabled(false);
  SlotsList->setWordWrap(false);
  QFont font("Tahoma");
  font.setPointSize(8);
  font.setBold(true);
  SlotsList->setFont(font);
  QPalette palette = SlotsList->palette();
  palette.setColor(QPalette::Base, Qt::white);
  palette.setColor(QPalette::Text, Qt::black);
  SlotsList->setPalette(palette);

  QHeaderView* rows = SlotsList->verticalHeader();
  rows->hide();
  rows->setSectionResizeMode(QHeaderView::Fixed);
  rows->setDefaultSectionSize(SlotsList->fontMetrics().height() + 4);
  QHeaderView* columns = SlotsList->horizontalHeader();
  columns->setSectionResizeMode(QHeaderView::Fixed);
  columns->setStretchLastSection(false);
  columns->setSectionsClickable(false);  // no sorting: row n is slot n
  columns->setHighlightSections(false);
  for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i) {
    auto* header = new QTableWidgetItem(kColumns[i].caption);
    header->setTextAlignment(kColumns[i].alignment);
    SlotsList->setHorizontalHeaderItem(i, header);
    SlotsList->setColumnWidth(i, kColumns[i].width);
  }

  connect(SlotsList, &QAbstractItemView::doubleClicked, this,
          [this] { app::DispatchEvent(s_.boxes, [this] { SlotsListDblClick(); }); });
  new app::EventHook(SlotsList, [this](QEvent& event) {
    if (event.type() != QEvent::KeyPress) return;
    const auto& key = static_cast<QKeyEvent&>(event);
    app::DispatchEvent(s_.boxes, [&] { SlotsListKeyDown(key.key(), key.modifiers()); });
  });
}

void TSlotsPanel::CreateButtons(QWidget* bar) {
  auto* row = new QHBoxLayout(bar);
  row->setContentsMargins(0, 0, 0, 0);
  const auto addButton = [&](QPushButton*& button, const char* name, const char* caption,
                             app::ButtonPicture picture, void (TSlotsPanel::*handler)()) {
    button = new QPushButton(app::ButtonIcon(picture), caption);
    button->setObjectName(name);
    button->setFixedWidth(kButtonWidth);
    button->setIconSize(QSize(16, 16));
    connect(button, &QPushButton::clicked, this, [this, handler] {
      app::DispatchEvent(s_.boxes, [this, handler] { (this->*handler)(); });
    });
    row->addWidget(button);
  };
  addButton(BitBtn4, "BitBtn4", "&Add", app::ButtonPicture::Add, &TSlotsPanel::BitBtn4Click);
  addButton(BitBtn5, "BitBtn5", "&Edit", app::ButtonPicture::Edit, &TSlotsPanel::BitBtn5Click);
  addButton(BitBtn6, "BitBtn6", "&Delete", app::ButtonPicture::Delete, &TSlotsPanel::BitBtn6Click);
  addButton(BitBtn7, "BitBtn7", "&Clear all", app::ButtonPicture::ClearAll,
            &TSlotsPanel::BitBtn7Click);
  row->addStretch();
}

void TSlotsPanel::LoadVoiceSlots() {
  // Read first: a file that cannot be read changes nothing.
  std::vector<SlotRecord> loaded = file_.Load();
  hotKeys_.Release();
  slots_ = std::move(loaded);
  ShowRows();
  std::vector<std::uint16_t> codes;
  for (const SlotRecord& slot : slots_) codes.push_back(slot.hotKey);
  hotKeys_.Create(codes);
  ShowHotKeyStates();
}

void TSlotsPanel::ShowRows() {
  SlotsList->setRowCount(0);
  SlotsList->setRowCount(static_cast<int>(slots_.size()));
  for (int n = 0; n < static_cast<int>(slots_.size()); ++n) {
    const SlotRecord& slot = slots_[static_cast<std::size_t>(n)];
    const Text texts[] = {slot.voice, slot.speed, slot.pitch, slot.volume,
                          app::HotKeyDisplayText(slot.hotKey)};
    for (int column = 0; column < static_cast<int>(std::size(texts)); ++column) {
      auto* item = new QTableWidgetItem(ToQString(texts[column]));
      item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
      item->setTextAlignment(kColumns[column].alignment);
      SlotsList->setItem(n, column, item);
    }
  }
}

void TSlotsPanel::DeleteVoiceSlot(int index) {
  if (index < 0) return;
  file_.Delete(index, SlotsList->rowCount());
  SlotsList->removeRow(index);
  if (SlotsList->rowCount() == 0) {
    // The last slot is gone: so is the file. One that will not go holds no slot any more.
    [[maybe_unused]] const std::error_code ignored = file_.Remove();
  }
}

void TSlotsPanel::ReleaseHotKeys() {
  hotKeys_.Release();
}

std::optional<reading::SlotRow> TSlotsPanel::Slot(int n) const {
  if (n < 0 || n >= static_cast<int>(slots_.size())) return std::nullopt;
  const SlotRecord& slot = slots_[static_cast<std::size_t>(n)];
  return reading::SlotRow{slot.voice, slot.speed, slot.pitch, slot.volume, slot.generation};
}

std::vector<int> TSlotsPanel::SelectedRows() const {
  std::vector<int> rows;
  for (const QModelIndex& index : SlotsList->selectionModel()->selectedRows()) {
    rows.push_back(index.row());
  }
  std::ranges::sort(rows);
  return rows;
}

std::optional<int> TSlotsPanel::SelectedSlot() const {
  const std::vector<int> rows = SelectedRows();
  if (rows.empty()) return std::nullopt;
  return rows.front();
}

void TSlotsPanel::SelectRow(int row) {
  if (row < 0 || row >= SlotsList->rowCount()) return;
  SlotsList->selectRow(row);
}

void TSlotsPanel::ActivateList() {
  SlotsList->setFocus();
}

void TSlotsPanel::ShowHotKeyStates() {
  for (int n = 0; n < SlotsList->rowCount() && n < static_cast<int>(slots_.size()); ++n) {
    QTableWidgetItem* item = SlotsList->item(n, kHotKeyColumn);
    const std::uint16_t code = slots_[static_cast<std::size_t>(n)].hotKey;
    const reading::GlobalHotKey* key = hotKeys_.Find(SlotHotKeys::Name(n));
    const bool held = code != 0 && key != nullptr && !key->Active();
    Text holder;
    if (held) {
      holder = kUsedElsewhere;
      for (int earlier = 0; earlier < n; ++earlier) {
        if (slots_[static_cast<std::size_t>(earlier)].hotKey == code) {
          holder = u"Used by slot " + ToText(earlier + 1);
          break;
        }
      }
    }
    item->setForeground(held ? QBrush(Qt::gray) : QBrush());
    item->setToolTip(ToQString(holder));
  }
}

void TSlotsPanel::ShowEditor() {
  QWidget* owner = window();
  frmSlot_->winId();  // the native window, so that it can be tied to the owner's
  if (owner->windowHandle() != nullptr) {
    frmSlot_->windowHandle()->setTransientParent(owner->windowHandle());
  }
  // Centred on the window, but never beyond the screen's edges: the editor is taller than it.
  QRect place = frmSlot_->rect();
  place.moveCenter(owner->frameGeometry().center());
  if (const QScreen* screen = owner->screen()) {
    const QRect available = screen->availableGeometry();
    place.moveLeft(std::clamp(place.left(), available.left(),
                              std::max(available.left(), available.right() - place.width())));
    place.moveTop(std::clamp(place.top(), available.top(),
                             std::max(available.top(), available.bottom() - place.height())));
  }
  frmSlot_->move(place.topLeft());
  frmSlot_->exec();
  // The hot keys were off while the editor was shown; some may not have come back.
  ShowHotKeyStates();
}

void TSlotsPanel::BitBtn4Click() {
  if (slots_.size() >= static_cast<std::size_t>(kMaxSlots)) {
    s_.boxes.Show(platform::BoxKind::Warning, u"Parlino!", kTooManySlots, platform::BoxButtons::Ok);
    ActivateList();
    return;
  }
  frmSlot_->PrepareAdd();
  ShowEditor();
}

void TSlotsPanel::BitBtn5Click() {
  const std::optional<int> row = SelectedSlot();
  if (!row) {
    s_.boxes.Show(platform::BoxKind::Information, u"Parlino!", kSelectSlotToChange,
                  platform::BoxButtons::Ok);
    return;
  }
  frmSlot_->PrepareEdit(*row);
  ShowEditor();
}

void TSlotsPanel::BitBtn6Click() {
  const std::vector<int> rows = SelectedRows();
  // Whatever happens, the list keeps the focus and shows what the file holds.
  try {
    if (rows.size() == 1) {
      const int row = rows.front();
      if (Confirmed(s_.boxes, platform::BoxKind::Confirmation, DeleteSlotQuestion(row))) {
        DeleteVoiceSlot(row);
        LoadVoiceSlots();
        SelectRow(row > 0 ? row - 1 : 0);
      }
    } else if (rows.size() > 1 &&
               Confirmed(s_.boxes, platform::BoxKind::Confirmation, kDeleteSelected)) {
      for (auto row = rows.rbegin(); row != rows.rend(); ++row) DeleteVoiceSlot(*row);
      LoadVoiceSlots();
    }
  } catch (const std::exception&) {
    LoadVoiceSlots();
    ActivateList();
    throw;
  }
  ActivateList();
}

void TSlotsPanel::BitBtn7Click() {
  if (!Confirmed(s_.boxes, platform::BoxKind::Warning, kClearAll)) return;
  SlotsList->setRowCount(0);
  bool failed = static_cast<bool>(file_.Remove());
  // Reloaded either way: after a failure the list shows the slots the file still holds, or,
  // when it cannot be read, those the table still holds.
  try {
    LoadVoiceSlots();
  } catch (const std::exception&) {
    ShowRows();
    ShowHotKeyStates();
    failed = true;
  }
  if (failed) {
    s_.boxes.Show(platform::BoxKind::Plain, u"Parlino!", kCannotClear, platform::BoxButtons::Ok);
  }
}

void TSlotsPanel::SlotsListDblClick() {
  BitBtn5Click();
}

void TSlotsPanel::SlotsListKeyDown(int key, Qt::KeyboardModifiers shift) {
  const Qt::KeyboardModifiers held =
      shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
  if (key == Qt::Key_Delete && held == Qt::ControlModifier) {
    BitBtn7Click();
  } else if (key == Qt::Key_Delete) {
    BitBtn6Click();
  } else if (key == Qt::Key_F2) {
    BitBtn5Click();
  } else if (key == Qt::Key_Insert) {
    BitBtn4Click();
  }
}

}  // namespace parlino::voice_slots
