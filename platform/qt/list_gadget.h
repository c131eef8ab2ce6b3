#pragma once
// A list view (Listview.mui with its List.mui) over the list's own entries.
// Moving the cursor by mouse or keys sets the list's active entry through the
// model; the model's changes move the cursor without being sent back.
#include <exec/types.h>
#include <intuition/classusr.h>
#include <utility/tagitem.h>

#include <QListView>

namespace platform::qt {

class EntryListModel;

class ListGadget : public QListView {
  public:
    // `object` is a list view (its list is its child) or a lone list.
    ListGadget(Object *object, QWidget *parent);

    void Follow(Object *object, Tag attribute, IPTR value);

  protected:
    void focusInEvent(QFocusEvent *event) override;

  private:
    void ShowEntries();
    void ShowActive();
    void CursorMoved(int row);

    Object *list_;
    EntryListModel *model_;
    bool following_ = false; // set while the view follows the model
};

} // namespace platform::qt
