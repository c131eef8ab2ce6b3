#include "gadgets.h"

#include "labels.h"
#include "list_gadget.h"
#include "model_access.h"
#include "mui_text.h"
#include "picture.h"
#include "push_button.h"

#include "mui/string_array.h"

#include <libraries/mui.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QScreen>

namespace platform::qt {
namespace {

bool IsPushButton(Object *object) {
    return Attribute(object, MUIA_Frame) == MUIV_Frame_Button &&
           Attribute(object, MUIA_InputMode) == MUIV_InputMode_RelVerify;
}

bool IsCheckMark(Object *object) {
    return Attribute(object, MUIA_Image_Spec) == MUII_CheckMark &&
           Attribute(object, MUIA_InputMode) == MUIV_InputMode_Toggle;
}

void ShowText(Label *label, Object *object) {
    const StyledText styled = ParseMuiText(StringAttribute(object, MUIA_Text_PreParse),
                                           StringAttribute(object, MUIA_Text_Contents));
    label->ShowText(styled.text);
    label->setAlignment(styled.alignment | Qt::AlignVCenter);
    QFont font = label->font();
    font.setBold(styled.bold);
    font.setItalic(styled.italic);
    font.setUnderline(styled.underline);
    label->setFont(font);
}

QWidget *MakeText(Object *object, QWidget *parent) {
    auto *label = new Label(parent);
    label->setTextFormat(Qt::PlainText); // never read a program's string as markup
    label->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    if (Attribute(object, MUIA_Frame) != MUIV_Frame_None)
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    ShowText(label, object);
    return label;
}

QString ButtonText(Object *object) {
    const StyledText styled = ParseMuiText(StringAttribute(object, MUIA_Text_PreParse),
                                           StringAttribute(object, MUIA_Text_Contents));
    return ButtonLabel(styled.text, static_cast<char>(Attribute(object, MUIA_Text_HiChar)));
}

QWidget *MakeCheck(Object *object, QWidget *parent) {
    auto *check = new QCheckBox(parent);
    check->setChecked(Attribute(object, MUIA_Selected));
    check->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    // clicked() comes from the user only, never from setChecked().
    QObject::connect(check, &QCheckBox::clicked,
                     [object](bool checked) { QueueSet(object, MUIA_Selected, checked); });
    return check;
}

QWidget *MakeCycle(Object *object, QWidget *parent) {
    auto *combo = new QComboBox(parent);
    const IPTR entries = Attribute(object, MUIA_Cycle_Entries);
    for (LONG i = 0, count = platform::mui::CountStrings(entries); i < count; ++i)
        combo->addItem(ShownText(reinterpret_cast<const char *const *>(entries)[i]));
    combo->setCurrentIndex(static_cast<int>(Attribute(object, MUIA_Cycle_Active)));
    // activated() comes from the user only (mouse, keys, wheel).
    QObject::connect(combo, &QComboBox::activated,
                     [object](int index) { QueueSet(object, MUIA_Cycle_Active, index); });
    return combo;
}

// A label holding a picture: the image as loaded (no larger than the screen's
// free area, which bounds any window) and the size it is shown at.
class PictureLabel : public QLabel {
  public:
    using QLabel::QLabel;

    void Load(Object *object) {
        image_ = LoadPicture(StringAttribute(object, MUIA_Dtpic_Name));
        if (const QScreen *screen = this->screen()) {
            const QSize area = screen->availableSize();
            if (image_.width() > area.width() || image_.height() > area.height())
                image_ = image_.scaled(area, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        }
        setPixmap(image_);
        setFixedSize(image_.isNull() ? QSize(0, 0) : image_.size());
    }

    void Fit(const QSize &room) {
        if (image_.isNull())
            return;
        QSize shown = image_.size();
        if (shown.width() > room.width() || shown.height() > room.height())
            shown.scale(room.expandedTo(QSize(1, 1)), Qt::KeepAspectRatio);
        if (shown == size() && pixmap().size() == shown)
            return;
        setPixmap(shown == image_.size()
                      ? image_
                      : image_.scaled(shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        setFixedSize(shown);
    }

    QSize ImageSize() const { return image_.isNull() ? QSize(0, 0) : image_.size(); }

  private:
    QPixmap image_;
};

QWidget *MakePicture(Object *object, QWidget *parent) {
    auto *label = new PictureLabel(parent);
    label->setAlignment(Qt::AlignCenter);
    label->Load(object);
    return label;
}

QSizePolicy::Policy StretchPolicy(IPTR weight) {
    return weight ? QSizePolicy::Expanding : QSizePolicy::Fixed;
}

// Empty room: it asks for nothing and grows along its weighted directions.
class Space : public QWidget {
  public:
    using QWidget::QWidget;
    QSize sizeHint() const override { return {0, 0}; }
};

QWidget *MakeSpace(Object *object, QWidget *parent) {
    auto *space = new Space(parent);
    space->setSizePolicy(StretchPolicy(Attribute(object, MUIA_HorizWeight, 100)),
                         StretchPolicy(Attribute(object, MUIA_VertWeight, 100)));
    if (const IPTR width = Attribute(object, MUIA_FixWidth))
        space->setFixedWidth(static_cast<int>(width));
    if (const IPTR height = Attribute(object, MUIA_FixHeight))
        space->setFixedHeight(static_cast<int>(height));
    return space;
}

} // namespace

GadgetKind GadgetKindOf(Object *object) {
    if (IsClass(object, MUIC_Group))
        return GadgetKind::Group;
    if (IsClass(object, MUIC_Text))
        return IsPushButton(object) ? GadgetKind::Button : GadgetKind::Text;
    if (IsClass(object, MUIC_Image))
        return IsCheckMark(object) ? GadgetKind::Check : GadgetKind::Blank;
    if (IsClass(object, MUIC_Listview) || IsClass(object, MUIC_List))
        return GadgetKind::List;
    if (IsClass(object, MUIC_Cycle))
        return GadgetKind::Cycle;
    if (IsClass(object, MUIC_Dtpic))
        return GadgetKind::Picture;
    if (IsClass(object, MUIC_Rectangle))
        return GadgetKind::Space;
    return GadgetKind::Blank;
}

QWidget *MakeGadget(GadgetKind kind, Object *object, QWidget *parent) {
    QWidget *widget = nullptr;
    switch (kind) {
    case GadgetKind::Text:
        widget = MakeText(object, parent);
        break;
    case GadgetKind::Button:
        widget = new PushButton(object, ButtonText(object), parent);
        break;
    case GadgetKind::Check:
        widget = MakeCheck(object, parent);
        break;
    case GadgetKind::List:
        widget = new ListGadget(object, parent);
        break;
    case GadgetKind::Cycle:
        widget = MakeCycle(object, parent);
        break;
    case GadgetKind::Picture:
        widget = MakePicture(object, parent);
        break;
    case GadgetKind::Space:
        widget = MakeSpace(object, parent);
        break;
    case GadgetKind::Group:
    case GadgetKind::Blank:
        widget = new QWidget(parent);
        break;
    }
    widget->setEnabled(!Attribute(object, MUIA_Disabled));
    ApplyFocusPolicy(widget, kind, object);
    return widget;
}

void UpdateGadget(QWidget *widget, GadgetKind kind, Object *object, Tag attribute, IPTR value) {
    if (attribute == MUIA_Disabled) {
        widget->setEnabled(!value);
        return;
    }
    switch (kind) {
    case GadgetKind::Text:
        if (attribute == MUIA_Text_Contents || attribute == MUIA_Text_PreParse)
            ShowText(static_cast<Label *>(widget), object);
        break;
    case GadgetKind::Button:
        if (attribute == MUIA_Text_Contents || attribute == MUIA_Text_PreParse ||
            attribute == MUIA_Text_HiChar)
            static_cast<PushButton *>(widget)->setText(ButtonText(object));
        break;
    case GadgetKind::Check:
        if (attribute == MUIA_Selected)
            static_cast<QCheckBox *>(widget)->setChecked(value);
        break;
    case GadgetKind::List:
        static_cast<ListGadget *>(widget)->Follow(object, attribute, value);
        break;
    case GadgetKind::Cycle:
        if (attribute == MUIA_Cycle_Active)
            static_cast<QComboBox *>(widget)->setCurrentIndex(static_cast<int>(value));
        break;
    case GadgetKind::Picture:
        if (attribute == MUIA_Dtpic_Name)
            static_cast<PictureLabel *>(widget)->Load(object);
        break;
    default:
        break;
    }
}

void FitPicture(QWidget *picture, const QSize &room) {
    static_cast<PictureLabel *>(picture)->Fit(room);
}

QSize PictureSize(QWidget *picture) {
    return static_cast<PictureLabel *>(picture)->ImageSize();
}

void ApplyFocusPolicy(QWidget *widget, GadgetKind kind, Object *object) {
    const bool input = kind == GadgetKind::Button || kind == GadgetKind::Check ||
                       kind == GadgetKind::List || kind == GadgetKind::Cycle;
    if (!input)
        widget->setFocusPolicy(Qt::NoFocus);
    else if (Attribute(object, MUIA_CycleChain))
        widget->setFocusPolicy(Qt::StrongFocus);
    else
        widget->setFocusPolicy(Qt::ClickFocus);
}

} // namespace platform::qt
