// Notifications and the search by user data.
#include "toolkit_helpers.h"

#include <gtest/gtest.h>

using namespace toolkit_test;

namespace {

Object *Toggle() {
    return MUI_NewObject(MUIC_Image, MUIA_InputMode, MUIV_InputMode_Toggle, TAG_DONE);
}

IPTR Get(Object *object, Tag attribute) {
    IPTR value = 0;
    GetAttr(attribute, object, &value);
    return value;
}

} // namespace

TEST(Notify, FiresOnRealChangesOnlyInOrderAfterTheValueIsTaken) {
    std::vector<Recorded> log;
    Object *check = Toggle();
    Object *onTrue = NewRecorder(&log, check, MUIA_Selected);
    Object *every = NewRecorder(&log, check, MUIA_Selected);
    IDoMethod(check, MUIM_Notify, MUIA_Selected, TRUE, onTrue, 2, kRecord, 100);
    IDoMethod(check, MUIM_Notify, MUIA_Selected, MUIV_EveryTime, every, 2, kRecord,
              MUIV_TriggerValue);
    IDoMethod(check, MUIM_Notify, MUIA_Selected, MUIV_EveryTime, every, 2, kRecord,
              MUIV_NotTriggerValue);

    SetAttrs(check, MUIA_Selected, TRUE, TAG_DONE);
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].argument, 100u); // installation order
    EXPECT_EQ(log[1].argument, 1u);
    EXPECT_EQ(log[2].argument, 0u);
    for (const Recorded &r : log)
        EXPECT_EQ(r.senderValue, 1u); // the object held the new value already

    log.clear();
    SetAttrs(check, MUIA_Selected, 5, TAG_DONE); // still TRUE: no change, nothing fires
    IDoMethod(check, MUIM_Set, MUIA_Selected, TRUE);
    EXPECT_TRUE(log.empty());

    SetAttrs(check, MUIA_Selected, FALSE, TAG_DONE);
    ASSERT_EQ(log.size(), 2u); // the TRUE trigger stays quiet
    EXPECT_EQ(log[0].argument, 0u);

    log.clear();
    IDoMethod(check, MUIM_NoNotifySet, MUIA_Selected, TRUE);
    SetAttrs(check, MUIA_NoNotify, TRUE, MUIA_Selected, FALSE, TAG_DONE);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(Get(check, MUIA_Selected), 0u);

    // A target that is gone is passed over, not called.
    MUI_DisposeObject(onTrue);
    SetAttrs(check, MUIA_Selected, TRUE, TAG_DONE);
    EXPECT_EQ(log.size(), 2u);
    for (Object *o : {check, every})
        MUI_DisposeObject(o);
}

TEST(Notify, ChainsAcrossObjectsAndNeverReentersItself) {
    std::vector<Recorded> log;
    static const char *labels[] = {"zero", "one", "two", "three", nullptr};
    Object *check = Toggle();
    Object *cycle = MUI_NewObject(MUIC_Cycle, MUIA_Cycle_Entries, labels, TAG_DONE);
    Object *recorder = NewRecorder(&log);
    // check -> cycle -> recorder
    IDoMethod(check, MUIM_Notify, MUIA_Selected, TRUE, cycle, 3, MUIM_Set, MUIA_Cycle_Active, 2);
    IDoMethod(cycle, MUIM_Notify, MUIA_Cycle_Active, MUIV_EveryTime, recorder, 2, kRecord,
              MUIV_TriggerValue);
    SetAttrs(check, MUIA_Selected, TRUE, TAG_DONE);
    EXPECT_EQ(Get(cycle, MUIA_Cycle_Active), 2u);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].argument, 2u);

    // A notification whose action changes its own attribute again runs once.
    IDoMethod(cycle, MUIM_Notify, MUIA_Cycle_Active, MUIV_EveryTime, MUIV_Notify_Self, 3, MUIM_Set,
              MUIA_Cycle_Active, MUIV_Cycle_Active_Next);
    log.clear();
    SetAttrs(cycle, MUIA_Cycle_Active, 0, TAG_DONE);
    EXPECT_EQ(Get(cycle, MUIA_Cycle_Active), 1u);
    ASSERT_EQ(log.size(), 2u); // the recorder saw 0, then the step to 1
    EXPECT_EQ(log[1].argument, 1u);

    // Values the gadget cannot take are ignored and fire nothing.
    log.clear();
    SetAttrs(cycle, MUIA_Cycle_Active, 4, TAG_DONE);
    SetAttrs(cycle, MUIA_Cycle_Active, -7, TAG_DONE);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(Get(cycle, MUIA_Cycle_Active), 1u);

    // An action that sets its source's text again: the notifications still to
    // run get the text they fired for.
    Object *text = MUI_NewObject(MUIC_Text, TAG_DONE);
    Object *copy = MUI_NewObject(MUIC_Text, TAG_DONE);
    IDoMethod(text, MUIM_Notify, MUIA_Text_Contents, MUIV_EveryTime, MUIV_Notify_Self, 3, MUIM_Set,
              MUIA_Text_Contents, "second");
    IDoMethod(text, MUIM_Notify, MUIA_Text_Contents, "first", copy, 3, MUIM_Set, MUIA_Text_Contents,
              MUIV_TriggerValue);
    SetAttrs(text, MUIA_Text_Contents, "first", TAG_DONE);
    EXPECT_STREQ(reinterpret_cast<const char *>(Get(text, MUIA_Text_Contents)), "second");
    EXPECT_STREQ(reinterpret_cast<const char *>(Get(copy, MUIA_Text_Contents)), "first");
    for (Object *o : {check, cycle, recorder, text, copy})
        MUI_DisposeObject(o);
}

TEST(FindUData, SearchesSelfFirstThenChildrenDepthFirstInOrder) {
    static const char *names[] = {"x", nullptr};
    Object *list =
        MUI_NewObject(MUIC_List, MUIA_List_SourceArray, names, MUIA_UserData, 44, TAG_DONE);
    Object *check = MUI_NewObject(MUIC_Image, MUIA_UserData, 39, TAG_DONE);
    Object *row = MUI_NewObject(MUIC_Group, MUIA_Group_Child, check, MUIA_UserData, 7, TAG_DONE);
    Object *late = MUI_NewObject(MUIC_Text, MUIA_UserData, 44, TAG_DONE);
    Object *root =
        MUI_NewObject(MUIC_Group, {MUIA_Group_Child,
                                   MUI_NewObject(MUIC_Listview, MUIA_Listview_List, list, TAG_DONE),
                                   MUIA_Group_Child, row, MUIA_Group_Child, late, TAG_DONE});
    Object *window =
        MUI_NewObject(MUIC_Window, MUIA_Window_RootObject, root, MUIA_UserData, 2, TAG_DONE);
    Object *app = MUI_NewObject(MUIC_Application, MUIA_Application_Window, window, MUIA_UserData, 1,
                                TAG_DONE);

    auto find = [app](IPTR id) {
        return reinterpret_cast<Object *>(IDoMethod(app, MUIM_FindUData, id));
    };
    EXPECT_EQ(find(44), list); // inside the list view, before the later text with the same id
    EXPECT_EQ(find(39), check);
    EXPECT_EQ(find(7), row);
    EXPECT_EQ(find(1), app);
    EXPECT_EQ(find(2), window);
    EXPECT_EQ(find(12345), nullptr);
    EXPECT_EQ(platform::mui::ApplicationOf(check), app);
    MUI_DisposeObject(app);
}
