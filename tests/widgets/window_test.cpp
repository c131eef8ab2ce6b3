// The Qt view driven as a user would: every action reaches the model once, as
// input applied inside MUIM_Application_NewInput.
#include "widget_fixture.h"

#include <dos/dos.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <csignal>

namespace widgets_test {
namespace {

QPoint RowCentre(QListView *list, int row) {
    return list->visualRect(list->model()->index(row, 0)).center();
}

class WindowTest : public WidgetTest {
  protected:
    void SetUp() override {
        WidgetTest::SetUp();
        ASSERT_NE(MakeApplication("WIDGETTEST", 0x54455354), nullptr);
        OpenWindow();
    }

    // The action became exactly one notification, and only inside NewInput.
    void ExpectOneChange(IPTR source, IPTR value) {
        EXPECT_TRUE(TakeEvents().empty()) << "a notification ran outside NewInput";
        RunInput();
        EXPECT_EQ(TakeEvents(), (std::vector<Event>{{source, value, true}}));
        RunInput();
        EXPECT_TRUE(TakeEvents().empty());
    }

    IPTR Get(IPTR id, Tag attribute) {
        IPTR value = 0;
        GetAttr(attribute, Find(id), &value);
        return value;
    }
};

TEST_F(WindowTest, TheWindowMirrorsItsTree) {
    QWidget *window = Window();
    EXPECT_EQ(window->width(), 300);
    EXPECT_EQ(One<QPushButton>()->text(), "G&o on");
    EXPECT_FALSE(One<QCheckBox>()->isChecked());
    QComboBox *combo = One<QComboBox>();
    ASSERT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->itemText(2), "Three");
    QListView *list = One<QListView>();
    EXPECT_EQ(list->model()->rowCount(), 40);
    EXPECT_EQ(list->currentIndex().row(), 0);
    EXPECT_TRUE(list->uniformItemSizes());

    bool sawTitle = false, sawPicture = false;
    for (QLabel *label : window->findChildren<QLabel *>()) {
        if (label->text().startsWith("Title")) {
            sawTitle = true; // markup in a string is shown as it is
            EXPECT_EQ(label->textFormat(), Qt::PlainText);
            EXPECT_TRUE(label->alignment() & Qt::AlignHCenter);
        }
        if (!label->pixmap().isNull()) {
            sawPicture = true;
            EXPECT_EQ(label->pixmap().size(), QSize(40, 30));
        }
    }
    EXPECT_TRUE(sawTitle && sawPicture);

    // Tab walks the cycle chain only: check mark, then the button.
    QApplication::setActiveWindow(window);
    One<QCheckBox>()->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), One<QPushButton>());
}

TEST_F(WindowTest, EachUserActionIsOneChangeInsideNewInput) {
    QTest::mouseClick(One<QCheckBox>(), Qt::LeftButton);
    ExpectOneChange(kCheck, TRUE);
    EXPECT_EQ(Get(kCheck, MUIA_Selected), TRUE);

    QComboBox *combo = One<QComboBox>();
    combo->showPopup();
    QAbstractItemView *popup = combo->view();
    QTest::mouseClick(popup->viewport(), Qt::LeftButton, {},
                      popup->visualRect(popup->model()->index(2, 0)).center());
    ExpectOneChange(kCycle, 2);
    EXPECT_EQ(Get(kCycle, MUIA_Cycle_Active), 2u);

    QListView *list = One<QListView>();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, RowCentre(list, 3));
    ExpectOneChange(kList, 3);
    QTest::keyClick(list, Qt::Key_Down);
    ExpectOneChange(kList, 4);
    EXPECT_EQ(Get(kList, MUIA_List_Active), 4u);

    QTest::mouseClick(One<QPushButton>(), Qt::LeftButton);
    ExpectOneChange(kButton, FALSE);

    QTest::keyClick(list, 'o'); // the button's key, typed while the list has focus
    ExpectOneChange(kButton, FALSE);
    EXPECT_EQ(list->currentIndex().row(), 4) << "the key also reached the list";
    QTest::keyClick(Window(), 'x'); // no gadget's key: nothing happens
    RunInput();
    EXPECT_TRUE(TakeEvents().empty());
}

TEST_F(WindowTest, PressReleasedElsewhereAndCloseButtonDoNotAct) {
    QPushButton *button = One<QPushButton>();
    QTest::mousePress(button, Qt::LeftButton);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(-20, -20));
    RunInput();
    EXPECT_TRUE(TakeEvents().empty());
    EXPECT_EQ(Get(kButton, MUIA_Pressed), FALSE);

    // The close button asks, every time, and leaves the window open.
    for (int request = 0; request < 2; ++request) {
        Window()->close();
        EXPECT_NE(Window(), nullptr);
        ExpectOneChange(0, TRUE);
    }
    IPTR open = FALSE;
    GetAttr(MUIA_Window_Open, win_, &open);
    EXPECT_EQ(open, TRUE);
}

TEST_F(WindowTest, ProgramSetsShowWithoutEcho) {
    ULONG signals = 0;
    IDoMethod(app_, MUIM_Application_NewInput, &signals);
    SetAttrs(Find(kCheck), MUIA_Selected, TRUE, TAG_DONE);
    SetAttrs(Find(kCycle), MUIA_Cycle_Active, 1, TAG_DONE);
    SetAttrs(Find(kList), MUIA_List_Active, 25, TAG_DONE);
    SetAttrs(Find(kButton), MUIA_Text_Contents, "Again", TAG_DONE);
    SetAttrs(Find(kButton), MUIA_Disabled, TRUE, TAG_DONE);
    const std::vector<Event> direct = {
        {kCheck, TRUE, false}, {kCycle, 1, false}, {kList, 25, false}};
    EXPECT_EQ(TakeEvents(), direct); // the program's own notifications, at once

    EXPECT_TRUE(One<QCheckBox>()->isChecked());
    EXPECT_EQ(One<QComboBox>()->currentIndex(), 1);
    EXPECT_EQ(One<QListView>()->currentIndex().row(), 25);
    EXPECT_EQ(One<QPushButton>()->text(), "Again"); // no 'o' to underline
    EXPECT_FALSE(One<QPushButton>()->isEnabled());
    EXPECT_EQ(SetSignal(0, 0) & signals, 0u) << "a program's set came back as input";
    RunInput();
    EXPECT_TRUE(TakeEvents().empty());

    SetAttrs(Find(kList), MUIA_List_Active, MUIV_List_Active_Off, TAG_DONE);
    EXPECT_FALSE(One<QListView>()->currentIndex().isValid());
    QTest::keyClick(Window(), 'o'); // a disabled button's key does nothing
    RunInput();
    EXPECT_EQ(TakeEvents(), (std::vector<Event>{{kList, IPTR(-1), false}}));
}

TEST_F(WindowTest, WaitWakesForInputAndForTheBreakSignal) {
    ULONG signals = 0;
    IDoMethod(app_, MUIM_Application_NewInput, &signals);
    ASSERT_NE(signals, 0u);
    QTimer::singleShot(20, [this] { QTest::mouseClick(One<QCheckBox>(), Qt::LeftButton); });
    EXPECT_EQ(Wait(signals | SIGBREAKF_CTRL_C), signals);
    ExpectOneChange(kCheck, TRUE);

    QTimer::singleShot(20, [] { std::raise(SIGINT); });
    EXPECT_EQ(Wait(signals | SIGBREAKF_CTRL_C), SIGBREAKF_CTRL_C);
}

} // namespace
} // namespace widgets_test
