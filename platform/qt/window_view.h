#pragma once
// The Qt window of one open toolkit window: its title, its close button and
// control keys as input records, and its placement on the screen. The
// widgets of the window's object tree are the WidgetTree's.
#include <exec/types.h>
#include <intuition/classusr.h>
#include <utility/tagitem.h>

#include "widget_tree.h"

#include <QWidget>

#include <optional>

namespace platform::qt {

class WindowView : public QWidget {
  public:
    explicit WindowView(Object *window);

    // Places the window (remembered placement, else the toolkit's width),
    // fitted to its screen, and shows it.
    void Present();
    // Remembers the placement under the window's id, when it has one: the
    // size the window has of its own, not one that a picture forced on it.
    void RememberPlacement() const;

    // The window, or the widget of one of its objects, follows the model.
    void Follow(Object *object, Tag attribute, IPTR value);
    void RebuildGroup(Object *group);
    void Forget(Object *object) { tree_.Forget(object); }

    // The widget of the window's default object (MUIA_Window_DefaultObject),
    // or null.
    QWidget *DefaultGadget() const;

  protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void FitToScreen(std::optional<QPoint> position);
    void TakeOwnSize();
    void FitPictures(const QSize &area);
    void Relayout(bool window);

    Object *window_;
    WidgetTree tree_;
    QSize ownSize_;    // as placed, or as the user made it
    QSize fittedSize_; // as last fitted to the screen
};

} // namespace platform::qt
