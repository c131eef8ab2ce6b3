#include "list_gadget.h"

#include "entry_list_model.h"
#include "model_access.h"
#include "mui_text.h"

#include <libraries/mui.h>

#include <QKeyEvent>
#include <QLabel>

namespace platform::qt {
namespace {

Object *ListOf(Object *object) {
    if (IsClass(object, MUIC_List))
        return object;
    for (Object *child : ChildrenOf(object))
        if (IsClass(child, MUIC_List))
            return child;
    return nullptr;
}

} // namespace

ListGadget::ListGadget(Object *object, QWidget *parent)
    : QListView(parent), listview_(IsClass(object, MUIC_Listview) ? object : nullptr),
      list_(ListOf(object)), model_(new EntryListModel(this)) {
    setModel(model_);
    setUniformItemSizes(true); // rows are measured once: long lists stay fast
    // An entry too wide is cut in its middle: entries that begin alike (file
    // names of one game) differ at their ends, which stay in view.
    setTextElideMode(Qt::ElideMiddle);
    setEditTriggers(NoEditTriggers);
    const bool input = !listview_ || Attribute(listview_, MUIA_Listview_Input, 1);
    setSelectionMode(input ? SingleSelection : NoSelection);
    ShowEntries();
    ShowTitle();
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged,
            [this](const QModelIndex &current) { CursorMoved(current.row()); });
    connect(this, &QAbstractItemView::doubleClicked, [this] { DoubleClicked(); });
}

void ListGadget::Follow(Object *object, Tag attribute, IPTR) {
    if (object != list_)
        return;
    if (attribute == MUIA_List_Active)
        ShowActive();
    else if (attribute == MUIA_List_Entries)
        ShowEntries();
    else if (attribute == MUIA_List_Title)
        ShowTitle();
}

// The title is a label over the top of the entries' area, which the entries
// leave free; long text wraps to the list's width.
void ListGadget::ShowTitle() {
    const char *title = StringAttribute(list_, MUIA_List_Title);
    if (!title || !*title) {
        if (title_)
            title_->hide();
        setViewportMargins(0, 0, 0, 0);
        return;
    }
    if (!title_) {
        title_ = new QLabel(this);
        title_->setWordWrap(true);
        title_->setTextFormat(Qt::PlainText);
        title_->setMargin(4);
    }
    title_->setText(ShownText(title));
    title_->show();
    PlaceTitle();
}

void ListGadget::PlaceTitle() {
    if (!title_ || title_->isHidden())
        return;
    const QRect area = contentsRect();
    const int height = title_->heightForWidth(area.width());
    setViewportMargins(0, height, 0, 0);
    title_->setGeometry(area.left(), area.top(), area.width(), height);
}

void ListGadget::resizeEvent(QResizeEvent *event) {
    QListView::resizeEvent(event);
    PlaceTitle();
}

// Qt makes the first entry current when a list without one takes the focus
// by key; the toolkit's list keeps its active entry, so the first cursor key
// activates the top entry.
void ListGadget::focusInEvent(QFocusEvent *event) {
    following_ = true;
    QListView::focusInEvent(event);
    following_ = false;
    ShowActive();
}

void ListGadget::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        DoubleClicked();
    else
        QListView::keyPressEvent(event);
}

// Without an active entry every cursor key starts at the top, except End.
QModelIndex ListGadget::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    if (action == MoveEnd && !currentIndex().isValid() && model_->rowCount() > 0)
        return model_->index(model_->rowCount() - 1);
    return QListView::moveCursor(action, modifiers);
}

void ListGadget::ShowEntries() {
    following_ = true;
    // The entries as the list keeps them: reading them runs no program code.
    model_->Reset(reinterpret_cast<const char *const *>(Attribute(list_, MUIA_List_SourceArray)),
                  static_cast<int>(Attribute(list_, MUIA_List_Entries)));
    following_ = false;
    ShowActive();
}

void ListGadget::ShowActive() {
    const auto active = static_cast<LONG>(Attribute(list_, MUIA_List_Active, MUIV_List_Active_Off));
    following_ = true;
    if (active >= 0 && active < model_->rowCount()) {
        const QModelIndex index = model_->index(active);
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        scrollTo(index);
    } else {
        selectionModel()->clear();
    }
    following_ = false;
}

// Taking the keyboard activates nothing: Qt would make the first row current
// when none is, and the first Down would then skip it.
void ListGadget::CursorMoved(int row) {
    if (following_ || !list_)
        return;
    QueueSet(list_, MUIA_List_Active, row >= 0 ? static_cast<IPTR>(row) : MUIV_List_Active_Off);
}

// On an entry only, as a double click with the mouse.
void ListGadget::DoubleClicked() {
    if (listview_ && currentIndex().isValid())
        QueueSet(listview_, MUIA_Listview_DoubleClick, TRUE);
}

} // namespace platform::qt
