#include "voices/frm_voices.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShowEvent>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/ui/widgets/event_dispatch.h"
#include "app/ui/widgets/qt_text.h"
#include "voices/downloads_folder.h"

namespace parlino::voices {
namespace {

using app::DispatchEvent;
using app::FromQString;
using app::ToQString;

constexpr TextView kInstalled = u"Installed";
enum Column { kVoiceColumn = 0, kSizeColumn = 1, kStatusColumn = 2 };
constexpr int kColumnWidths[] = {130, 70, 90};

QTableWidgetItem* Cell(TextView text, bool centred) {
  auto* item = new QTableWidgetItem(ToQString(text));
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  if (centred) item->setTextAlignment(Qt::AlignCenter);
  return item;
}

}  // namespace

Text TwoDecimalsIn(const QLocale& locale, double value) {
  return FromQString(locale.toString(value, 'f', 2));
}

TfrmVoices::TfrmVoices(VoicesWindowServices services, QWidget* parent)
    : QDialog(parent),
      s_(std::move(services)),
      run_({s_.downloads, s_.boxes, s_.shell, s_.pump, s_.agent,
            DownloadsFolder(s_.folders.dataFolder),
            [](double value) { return TwoDecimalsIn(QLocale(), value); }, s_.exitProgram},
           *this) {
  setObjectName("frmVoices");
  setWindowTitle("Additional voices");
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setWindowModality(Qt::ApplicationModal);

  Label1 = new QLabel(
      "Here is the list of voice engines you can download now. Check engines you want to "
      "download and install and click Download and install button.");
  Label1->setWordWrap(true);

  List = new QTableWidget(0, 3);
  List->setHorizontalHeaderLabels({"Voices", "Size", "Status"});
  for (const Column column : {kVoiceColumn, kSizeColumn, kStatusColumn}) {
    List->setColumnWidth(column, kColumnWidths[column]);
  }
  List->horizontalHeader()->setSectionsClickable(false);
  List->horizontalHeader()->setHighlightSections(false);
  List->horizontalHeader()->setStretchLastSection(true);
  List->verticalHeader()->hide();
  List->setShowGrid(true);
  List->setSelectionBehavior(QAbstractItemView::SelectRows);
  List->setSelectionMode(QAbstractItemView::SingleSelection);
  List->setEditTriggers(QAbstractItemView::NoEditTriggers);
  List->setWordWrap(false);
  // Wide enough for the three columns beside a vertical scroll bar: never a horizontal one.
  List->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  List->setFixedWidth(kColumnWidths[kVoiceColumn] + kColumnWidths[kSizeColumn] +
                      kColumnWidths[kStatusColumn] + 2 * List->frameWidth() +
                      List->verticalScrollBar()->sizeHint().width());

  btnDownload = new QPushButton("&Download and install");
  btnDownload->setDefault(true);
  btnReinstall = new QPushButton("&Reinstall engine");
  btnReinstall->setEnabled(false);
  btnCheck = new QPushButton("&Check for new engines");
  Label2 = new QLabel("filename");
  Label2->setAlignment(Qt::AlignCenter);
  Progress = new QProgressBar;
  Progress->setRange(0, 100);
  Progress->setValue(0);
  Progress->setTextVisible(false);
  Status = new QLabel("0,00 MB of 0,00 MB completed");
  Status->setAlignment(Qt::AlignCenter);
  Status->setWordWrap(true);
  Status->setMinimumHeight(2 * Status->fontMetrics().height());
  btnClose = new QPushButton("&Close");
  btnClose->setAutoDefault(false);
  for (QWidget* hidden : {static_cast<QWidget*>(Label2), static_cast<QWidget*>(Progress),
                          static_cast<QWidget*>(Status)}) {
    hidden->setVisible(false);
  }

  const std::pair<QWidget*, const char*> names[] = {
      {Label1, "Label1"},           {List, "List"},
      {btnDownload, "btnDownload"}, {btnReinstall, "btnReinstall"},
      {btnCheck, "btnCheck"},       {Label2, "Label2"},
      {Progress, "Progress"},       {Status, "Status"},
      {btnClose, "btnClose"}};
  for (const auto& [widget, name] : names) widget->setObjectName(name);

  auto* buttons = new QVBoxLayout;
  buttons->addWidget(btnDownload);
  buttons->addWidget(btnReinstall);
  buttons->addWidget(btnCheck);
  buttons->addStretch();
  buttons->addWidget(Label2);
  buttons->addWidget(Progress);
  buttons->addWidget(Status);
  buttons->addStretch();
  buttons->addWidget(btnClose);
  auto* body = new QHBoxLayout;
  body->addWidget(List, 1);
  body->addLayout(buttons);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Label1);
  layout->addLayout(body, 1);

  const auto handle = [this](QPushButton* button, void (TfrmVoices::*handler)()) {
    connect(button, &QPushButton::clicked, this,
            [this, handler] { DispatchEvent(s_.boxes, [&] { (this->*handler)(); }); });
  };
  handle(btnDownload, &TfrmVoices::btnDownloadClick);
  handle(btnReinstall, &TfrmVoices::btnReinstallClick);
  handle(btnCheck, &TfrmVoices::btnCheckClick);
  handle(btnClose, &TfrmVoices::btnCloseClick);
  // Every row whose selection changes, the one left first.
  connect(List->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this](const QItemSelection& selected, const QItemSelection& deselected) {
            for (const auto& [rows, isSelected] :
                 {std::pair{&deselected, false}, std::pair{&selected, true}}) {
              for (const QModelIndex& index : rows->indexes()) {
                if (index.column() == kVoiceColumn) ListSelectItem(index.row(), isSelected);
              }
            }
          });

  // Fixed border: the classic 461 x 283 client area, or what the content needs.
  setFixedSize(sizeHint().expandedTo(QSize(461, 283)));
}

TfrmVoices::~TfrmVoices() {
  run_.Cancel();
}

void TfrmVoices::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
  DispatchEvent(s_.boxes, [this] { UpdateVoicesList(); });
}

void TfrmVoices::UpdateVoicesList() {
  const std::filesystem::path folder = DownloadsFolder(s_.folders.dataFolder);
  CreateDownloadsFolder(folder);
  packages_ = ReadPackageCatalogue(s_.profiles, s_.folders.programFolder / "add_voices.ini");
  List->clearContents();
  List->setRowCount(static_cast<int>(packages_.size()));
  for (std::size_t r = 0; r < packages_.size(); ++r) {
    const VoicePackage& package = packages_[r];
    const int row = static_cast<int>(r);
    QTableWidgetItem* title = Cell(package.title, false);
    title->setFlags(title->flags() | Qt::ItemIsUserCheckable);
    title->setCheckState(Qt::Unchecked);
    List->setItem(row, kVoiceColumn, title);
    List->setItem(row, kSizeColumn, Cell(package.size, true));
    const bool installed = package.fileName && IsInstalled(Installer(r));
    List->setItem(row, kStatusColumn, Cell(installed ? kInstalled : u"", true));
  }
}

void TfrmVoices::ListSelectItem(int row, bool /*selected*/) {
  btnReinstall->setEnabled(row >= 0 && RowInstalled(static_cast<std::size_t>(row)));
}

void TfrmVoices::btnDownloadClick() {
  run_.Start();
}

void TfrmVoices::btnReinstallClick() {
  const QList<QTableWidgetSelectionRange> selected = List->selectedRanges();
  if (selected.isEmpty()) return;
  const auto row = static_cast<std::size_t>(selected.front().topRow());
  if (row >= packages_.size() || !RowInstalled(row)) return;
  const Text installer = FromUtf8(Installer(row).string());
  if (!s_.shell.Open(installer)) s_.shell.ShowInFolder(installer);
}

void TfrmVoices::btnCheckClick() {
  s_.shell.Open(s_.voicesPage);
}

void TfrmVoices::btnCloseClick() {
  close();
}

void TfrmVoices::done(int result) {
  FormClose();
  QDialog::done(result);
}

void TfrmVoices::FormClose() {
  run_.Cancel();
  packages_.clear();
}

std::filesystem::path TfrmVoices::Installer(std::size_t row) const {
  return DownloadsFolder(s_.folders.dataFolder) / ToUtf8(packages_[row].fileName.value_or(u""));
}

std::size_t TfrmVoices::RowCount() const {
  return static_cast<std::size_t>(List->rowCount());
}

const VoicePackage& TfrmVoices::Package(std::size_t row) const {
  return packages_.at(row);
}

bool TfrmVoices::RowChecked(std::size_t row) const {
  return List->item(static_cast<int>(row), kVoiceColumn)->checkState() == Qt::Checked;
}

void TfrmVoices::SetRowChecked(std::size_t row, bool checked) {
  List->item(static_cast<int>(row), kVoiceColumn)
      ->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

bool TfrmVoices::RowInstalled(std::size_t row) const {
  const QTableWidgetItem* status = List->item(static_cast<int>(row), kStatusColumn);
  return status != nullptr && FromQString(status->text()) == kInstalled;
}

void TfrmVoices::SetRowInstalled(std::size_t row) {
  List->item(static_cast<int>(row), kStatusColumn)->setText(ToQString(kInstalled));
}

void TfrmVoices::SetDownloadEnabled(bool enabled) {
  btnDownload->setEnabled(enabled);
}

void TfrmVoices::ShowProgressControls(bool shown) {
  Label2->setVisible(shown);
  Progress->setVisible(shown);
  Status->setVisible(shown);
}

void TfrmVoices::ShowFileName(TextView name) {
  Label2->setText(ToQString(name));
}

void TfrmVoices::ShowProgress(std::optional<int> percent, TextView text) {
  if (percent) {
    Progress->setRange(0, 100);
    Progress->setValue(*percent);
  } else {
    Progress->setRange(0, 0);  // busy: the length is unknown
  }
  Status->setText(ToQString(text));
}

}  // namespace parlino::voices
