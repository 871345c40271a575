#pragma once
// The rows of the corrections list as the list view shows them: the only copy in memory, in
// display order, which is also the file's order and the order in which readings apply them.
#include <QAbstractTableModel>
#include <vector>

#include "corrections/correction.h"

namespace parlino::corrections {

class CorrectionsModel final : public QAbstractTableModel {
  Q_OBJECT
 public:
  using QAbstractTableModel::QAbstractTableModel;

  const std::vector<Correction>& Rows() const { return rows_; }
  void Reset(std::vector<Correction> rows);
  void Append(Correction row);
  void Change(std::size_t row, Correction value);
  void Remove(std::size_t row);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  std::vector<Correction> rows_;
};

}  // namespace parlino::corrections
