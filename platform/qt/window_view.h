#pragma once
// The Qt window of one open toolkit window: builds widgets for the window's
// object tree, follows the model's changes and turns the close button and
// control keys into input records.
#include <exec/types.h>
#include <intuition/classusr.h>
#include <utility/tagitem.h>

#include "gadgets.h"

#include <QWidget>

#include <optional>
#include <unordered_map>
#include <vector>

class QBoxLayout;

namespace platform::qt {

class WindowView : public QWidget {
  public:
    explicit WindowView(Object *window);
    ~WindowView() override;

    // Places the window (remembered placement, else the toolkit's width),
    // fitted to its screen, and shows it.
    void Present();
    // Remembers the placement under the window's id, when it has one: the
    // size the window has of its own, not one that a picture forced on it.
    void RememberPlacement() const;

    bool Shows(Object *object) const;
    void Follow(Object *object, Tag attribute, IPTR value);
    void RebuildGroup(Object *group);
    void Forget(Object *object);

  protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    struct Gadget {
        QWidget *widget;
        GadgetKind kind;
    };

    QWidget *Build(Object *object, QWidget *parent);
    void FillGroup(Object *group, QWidget *groupWidget);
    void Bind(Object *object, QWidget *widget, GadgetKind kind);
    void FitToScreen(std::optional<QPoint> position);
    void TakeOwnSize();
    void FitPictures(const QSize &area);
    void Relayout(bool window);
    bool HasControlChar(Object *object, IPTR key) const;
    void UpdateTabOrder();
    void CollectFocusable(Object *object, std::vector<QWidget *> &out) const;

    Object *window_;
    Object *root_ = nullptr;
    std::unordered_map<Object *, Gadget> gadgets_;
    QSize ownSize_;    // as placed, or as the user made it
    QSize fittedSize_; // as last fitted to the screen
};

} // namespace platform::qt
