#include "accessibility.h"

#include "window_view.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>

namespace platform::qt {
namespace {

class ChooserDescription : public QAccessibleWidget {
  public:
    explicit ChooserDescription(QComboBox *combo)
        : QAccessibleWidget(combo, QAccessible::ComboBox) {}

    QString text(QAccessible::Text kind) const override {
        const QString name = widget()->accessibleName();
        if (kind == QAccessible::Name && !name.isEmpty())
            return name;
        if (kind == QAccessible::Name || kind == QAccessible::Value)
            return Combo()->currentText();
        return QAccessibleWidget::text(kind);
    }

    // The entries are the one child: the list that pops up.
    int childCount() const override { return 1; }
    QAccessibleInterface *child(int index) const override {
        return index == 0 ? QAccessible::queryAccessibleInterface(Combo()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override {
        return child && child->object() == Combo()->view() ? 0 : -1;
    }

  private:
    QComboBox *Combo() const { return static_cast<QComboBox *>(widget()); }
};

QAccessibleInterface *Describe(const QString &className, QObject *object) {
    auto *widget = qobject_cast<QWidget *>(object);
    if (!widget || !dynamic_cast<WindowView *>(widget->window()))
        return nullptr;
    if (className == QLatin1String("QComboBox"))
        return new ChooserDescription(static_cast<QComboBox *>(widget));
    if (widget->isWindow())
        return new QAccessibleWidget(widget, QAccessible::Window);
    return nullptr;
}

} // namespace

void DescribeToolkitWindows() {
    QAccessible::installFactory(Describe);
}

} // namespace platform::qt
