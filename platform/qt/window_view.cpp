#include "window_view.h"

#include "accessibility.h"
#include "geometry_store.h"
#include "model_access.h"
#include "mui_text.h"

#include <libraries/mui.h>

#include <QApplication>
#include <QScreen>
#include <QVBoxLayout>
#include <QCloseEvent>
#include <QKeyEvent>

namespace platform::qt {
namespace {

// The application's base name keys the remembered placements; without one
// (or without a window id) nothing is remembered.
std::string PlacementBase(Object *window) {
    const char *base = StringAttribute(ApplicationOf(window), MUIA_Application_Base);
    return base ? base : "";
}

int PositiveSize(Object *window, Tag attribute) {
    return std::max(static_cast<LONG>(Attribute(window, attribute)), 0);
}

} // namespace

WindowView::WindowView(Object *window) : window_(window) {
    DescribeToolkitWindows();
    const char *title = StringAttribute(window, MUIA_Window_Title);
    setWindowTitle(ShownText(title ? title : ""));
    auto *layout = new QVBoxLayout(this);
    if (const std::vector<Object *> &root = ChildrenOf(window); !root.empty())
        layout->addWidget(tree_.Build(root.front(), this));
    // The window's default object has the keys when the window opens.
    if (QWidget *gadget = DefaultGadget())
        gadget->setFocus(Qt::ActiveWindowFocusReason);
    qApp->installEventFilter(this);
}

QWidget *WindowView::DefaultGadget() const {
    auto *object = reinterpret_cast<Object *>(Attribute(window_, MUIA_Window_DefaultObject));
    const WidgetTree::Gadget *gadget = tree_.Find(object);
    return gadget ? gadget->widget : nullptr;
}

void WindowView::Present() {
    const auto id = static_cast<ULONG>(Attribute(window_, MUIA_Window_ID));
    const std::string base = PlacementBase(window_);
    std::optional<WindowGeometry> remembered;
    if (id && !base.empty())
        remembered = GeometryStore(GeometryFile()).Load(base, id);
    std::optional<QPoint> position; // none: wherever the window system puts it
    if (remembered) {
        position = QPoint(remembered->x, remembered->y);
        ownSize_ = {remembered->width, remembered->height};
    } else {
        const QSize hint = sizeHint();
        const int width = PositiveSize(window_, MUIA_Window_Width);
        const int height = PositiveSize(window_, MUIA_Window_Height);
        ownSize_ = {width ? width : hint.width(), height ? height : hint.height()};
    }
    FitToScreen(position);
    show();
    if (frameGeometry().size() != size()) // the frame is known now: fit with it
        FitToScreen(position);
}

void WindowView::RememberPlacement() const {
    const auto id = static_cast<ULONG>(Attribute(window_, MUIA_Window_ID));
    const std::string base = PlacementBase(window_);
    const QSize own = size() == fittedSize_ ? ownSize_ : size();
    if (id && !base.empty())
        GeometryStore(GeometryFile()).Save(base, id, {x(), y(), own.width(), own.height()});
}

// The window on its screen: no larger than the screen's free area (a picture
// larger than its room is scaled down), at least its minimum, and placed so
// that it is on the screen. The window takes its own size again when its
// content lets it.
void WindowView::FitToScreen(std::optional<QPoint> position) {
    const QScreen *screen = position ? QGuiApplication::screenAt(*position) : nullptr;
    if (!screen)
        screen = isVisible() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QSize frame = frameGeometry().size() - size(); // known once shown
    ownSize_ = ownSize_.boundedTo(area.size() - frame);
    FitPictures(area.size() - frame);
    resize(ownSize_.expandedTo(minimumSizeHint()));
    fittedSize_ = size();
    if (!position)
        return;
    const QSize outer = size() + frame;
    move(std::max(area.left(), std::min(position->x(), area.right() + 1 - outer.width())),
         std::max(area.top(), std::min(position->y(), area.bottom() + 1 - outer.height())));
}

void WindowView::TakeOwnSize() {
    if (size() != fittedSize_) // the user (or the window manager) made it so
        ownSize_ = size();
}

// Pictures at their own size first; when the window's minimum then exceeds
// the area, each is scaled down by the excess.
void WindowView::FitPictures(const QSize &area) {
    const std::vector<QWidget *> pictures = tree_.WidgetsOfKind(GadgetKind::Picture);
    for (QWidget *picture : pictures)
        FitPicture(picture, PictureSize(picture));
    Relayout(false); // the window keeps its size while it is measured
    const QSize excess = (minimumSizeHint() - area).expandedTo(QSize(0, 0));
    if (!excess.isNull())
        for (QWidget *picture : pictures)
            FitPicture(picture, PictureSize(picture) - excess);
    Relayout(true);
}

// Layouts take a new minimum only when they run: run each, inner ones first
// (the reverse of the children's order, which lists a parent before its own).
// The window's own layout, run, sets the window's minimum (and grows it).
void WindowView::Relayout(bool window) {
    const QList<QWidget *> widgets = findChildren<QWidget *>();
    for (auto it = widgets.rbegin(); it != widgets.rend(); ++it)
        if (QLayout *inner = (*it)->layout()) {
            inner->invalidate();
            inner->activate();
        }
    layout()->invalidate();
    if (window)
        layout()->activate();
}

void WindowView::Follow(Object *object, Tag attribute, IPTR value) {
    if (object == window_) {
        if (attribute == MUIA_Window_Title)
            setWindowTitle(ShownText(reinterpret_cast<const char *>(value)));
        return;
    }
    const WidgetTree::Gadget *gadget = tree_.Find(object);
    const bool newPicture =
        gadget && gadget->kind == GadgetKind::Picture && attribute == MUIA_Dtpic_Name;
    if (newPicture)
        TakeOwnSize();
    tree_.Follow(object, attribute, value);
    if (newPicture)
        FitToScreen(pos());
}

void WindowView::RebuildGroup(Object *group) {
    const WidgetTree::Gadget *gadget = tree_.Find(group);
    if (!gadget || gadget->kind != GadgetKind::Group)
        return;
    TakeOwnSize();
    tree_.RebuildGroup(group);
    FitToScreen(pos()); // the window grows when its content needs room, or shrinks back
}

void WindowView::closeEvent(QCloseEvent *event) {
    // The close button asks the program; only the program closes the window.
    event->ignore();
    QueueSet(window_, MUIA_Window_CloseRequest, TRUE);
}

// A key typed without Ctrl, Alt or Meta anywhere in the window acts on the
// gadget that has it as control character, before the focused widget sees it.
bool WindowView::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType() ||
        static_cast<QWidget *>(watched)->window() != this)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString text = key->text();
    if (text.size() != 1 || text[0].unicode() == 0 || text[0].unicode() > 0xFF)
        return false;
    const IPTR code = text[0].unicode();
    if (!FindControlChar(window_, code))
        return false;
    if (!key->isAutoRepeat())
        QueueControlChar(window_, code);
    return true;
}

} // namespace platform::qt
