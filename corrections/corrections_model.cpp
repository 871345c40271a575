#include "corrections/corrections_model.h"

#include "app/ui/widgets/qt_text.h"

namespace parlino::corrections {
namespace {

enum Column { kWord, kPronunciation, kCaseSensitive, kColumns };

// The word's caption is indented by its leading spaces; the other two are centred, as are
// their cells.
constexpr const char* kCaptions[kColumns] = {"         Word", "Pronunciation", "Case sensitive"};

int AlignmentOf(int column) {
  return column == kWord ? int(Qt::AlignLeft | Qt::AlignVCenter) : int(Qt::AlignCenter);
}

}  // namespace

void CorrectionsModel::Reset(std::vector<Correction> rows) {
  beginResetModel();
  rows_ = std::move(rows);
  endResetModel();
}

void CorrectionsModel::Append(Correction row) {
  const int at = static_cast<int>(rows_.size());
  beginInsertRows({}, at, at);
  rows_.push_back(std::move(row));
  endInsertRows();
}

void CorrectionsModel::Change(std::size_t row, Correction value) {
  rows_.at(row) = std::move(value);
  const int at = static_cast<int>(row);
  emit dataChanged(index(at, 0), index(at, kColumns - 1));
}

void CorrectionsModel::Remove(std::size_t row) {
  const int at = static_cast<int>(row);
  beginRemoveRows({}, at, at);
  rows_.erase(rows_.begin() + at);
  endRemoveRows();
}

int CorrectionsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int CorrectionsModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumns;
}

QVariant CorrectionsModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  if (role == Qt::TextAlignmentRole) return AlignmentOf(index.column());
  if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
  const Correction& row = rows_[static_cast<std::size_t>(index.row())];
  switch (index.column()) {
    case kWord:
      return app::ToQString(row.word);
    case kPronunciation:
      return app::ToQString(row.pronunciation);
    case kCaseSensitive:
      return app::ToQString(row.caseMark);
    default:
      return {};
  }
}

QVariant CorrectionsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= kColumns) return {};
  if (role == Qt::DisplayRole) return QString::fromLatin1(kCaptions[section]);
  if (role == Qt::TextAlignmentRole) return AlignmentOf(section);
  return {};
}

}  // namespace parlino::corrections
