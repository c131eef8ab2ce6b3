#include "labels.h"

#include <QCheckBox>
#include <QMouseEvent>

#include <set>

namespace platform::qt {
namespace {

QCheckBox *CheckBoxOf(QWidget *named) {
    return qobject_cast<QCheckBox *>(named);
}

bool NeedsName(GadgetKind kind) {
    return kind == GadgetKind::Check || kind == GadgetKind::Cycle || kind == GadgetKind::List;
}

} // namespace

void Label::Name(QWidget *gadget) {
    named_ = gadget;
    gadget->setAccessibleName(text());
}

void Label::ShowText(const QString &text) {
    setText(text);
    if (named_)
        named_->setAccessibleName(text);
}

void Label::mousePressEvent(QMouseEvent *event) {
    if (CheckBoxOf(named_) && event->button() == Qt::LeftButton)
        event->accept(); // the release comes here
    else
        QLabel::mousePressEvent(event);
}

void Label::mouseReleaseEvent(QMouseEvent *event) {
    QCheckBox *check = CheckBoxOf(named_);
    if (!check || event->button() != Qt::LeftButton) {
        QLabel::mouseReleaseEvent(event);
        return;
    }
    if (!rect().contains(event->position().toPoint()))
        return;
    if (check->focusPolicy() & Qt::ClickFocus)
        check->setFocus(Qt::MouseFocusReason);
    check->click(); // toggles and reports, as a click on the box itself
}

void NameByLabels(const std::vector<GroupMember> &members) {
    std::set<size_t> used;
    auto labelAt = [&](size_t i) -> Label * {
        if (i >= members.size() || members[i].kind != GadgetKind::Text || used.count(i))
            return nullptr;
        return static_cast<Label *>(members[i].widget);
    };
    for (size_t i = 0; i < members.size(); ++i) {
        if (!NeedsName(members[i].kind))
            continue;
        size_t at = i - 1; // wraps to an index past the end for the first member
        if (!labelAt(at))
            at = i + 1;
        if (Label *label = labelAt(at)) {
            label->Name(members[i].widget);
            used.insert(at);
        }
    }
}

} // namespace platform::qt
