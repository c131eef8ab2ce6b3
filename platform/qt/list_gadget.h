#pragma once
// A list view (Listview.mui with its List.mui) over the list's own entries.
// Moving the cursor by mouse or keys sets the list's active entry through the
// model; the model's changes move the cursor without being sent back. A
// double click on an entry, or Return, is the list view's double click.
#include <exec/types.h>
#include <intuition/classusr.h>
#include <utility/tagitem.h>

#include <QListView>

class QLabel;

namespace platform::qt {

class EntryListModel;

class ListGadget : public QListView {
  public:
    // `object` is a list view (its list is its child) or a lone list.
    ListGadget(Object *object, QWidget *parent);

    void Follow(Object *object, Tag attribute, IPTR value);

    // Typed letters do not jump to an entry: they are the window's keys.
    void keyboardSearch(const QString &) override {}

  protected:
    void focusInEvent(QFocusEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;

  private:
    void ShowEntries();
    void ShowActive();
    void ShowTitle();
    void PlaceTitle();
    void CursorMoved(int row);
    void DoubleClicked();

    Object *listview_; // null for a lone list
    Object *list_;
    EntryListModel *model_;
    QLabel *title_ = nullptr; // the list's title line, above the entries
    bool following_ = false;  // set while the view follows the model
};

} // namespace platform::qt
