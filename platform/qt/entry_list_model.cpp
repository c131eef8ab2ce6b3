#include "entry_list_model.h"

#include "mui_text.h"

namespace platform::qt {

void EntryListModel::Reset(const char *const *entries, int count) {
    beginResetModel();
    entries_ = entries;
    count_ = entries ? std::max(count, 0) : 0;
    endResetModel();
}

int EntryListModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : count_;
}

QVariant EntryListModel::data(const QModelIndex &index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= count_)
        return {};
    const char *entry = entries_[index.row()];
    return ShownText(entry ? entry : "");
}

Qt::ItemFlags EntryListModel::flags(const QModelIndex &index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

} // namespace platform::qt
