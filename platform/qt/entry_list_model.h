#pragma once
// A read-only list model over a toolkit list's entries: the program's own
// string array, referenced, never copied. A row is converted only when Qt
// asks for it, so a long list costs nothing until it is shown.
#include <QAbstractListModel>

namespace platform::qt {

class EntryListModel : public QAbstractListModel {
  public:
    using QAbstractListModel::QAbstractListModel;

    // Shows the first `count` strings of `entries` (the list changed or was
    // just made).
    void Reset(const char *const *entries, int count);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

  private:
    const char *const *entries_ = nullptr;
    int count_ = 0;
};

} // namespace platform::qt
