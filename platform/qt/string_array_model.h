#pragma once
// A read-only list model over a program's array of C strings. The strings
// stay the program's: rows are converted only when Qt asks for them.
#include <QAbstractListModel>

namespace platform::qt {

class StringArrayModel : public QAbstractListModel {
  public:
    explicit StringArrayModel(QObject *parent = nullptr) : QAbstractListModel(parent) {}

    // Shows `count` entries of `entries` (null entries show as empty rows).
    void Reset(const char *const *entries, int count);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

  private:
    const char *const *entries_ = nullptr;
    int count_ = 0;
};

} // namespace platform::qt
