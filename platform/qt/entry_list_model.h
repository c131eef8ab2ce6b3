#pragma once
// A read-only list model over a toolkit list's entries. The strings stay the
// program's: a row is read from the list and converted only when Qt asks for
// it, so a long list costs nothing until it is shown.
#include <QAbstractListModel>

#include <functional>

namespace platform::qt {

class EntryListModel : public QAbstractListModel {
  public:
    // Entry `row` of the list, or null.
    using EntryReader = std::function<const char *(int row)>;

    explicit EntryListModel(EntryReader reader, QObject *parent = nullptr)
        : QAbstractListModel(parent), reader_(std::move(reader)) {}

    // Shows `count` entries (the list changed or was just made).
    void Reset(int count);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

  private:
    EntryReader reader_;
    int count_ = 0;
};

} // namespace platform::qt
