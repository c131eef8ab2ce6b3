#pragma once
// Labels as the toolkit's rows use them: a text beside an input gadget in
// the same group is that gadget's label. It gives the gadget its name for
// assistive technology, and a click on the label of a check mark toggles it,
// as the text of a check box does.
#include "gadgets.h"

#include <QLabel>
#include <QPointer>

#include <vector>

namespace platform::qt {

class Label : public QLabel {
  public:
    using QLabel::QLabel;

    // This label names `gadget`, now and after each change of its text.
    void Name(QWidget *gadget);
    void ShowText(const QString &text);

  protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

  private:
    QPointer<QWidget> named_;
};

struct GroupMember {
    GadgetKind kind;
    QWidget *widget;
};

// Names each check mark, chooser and list of a group by a text beside it:
// the one before it, unless that already names a gadget, else the one after
// it (a check mark with its label on the right).
void NameByLabels(const std::vector<GroupMember> &members);

} // namespace platform::qt
