// The object system: tag lists, classes with instance data per level, custom
// subclasses, creation that fails cleanly, disposal of whole trees, and the
// toolkit library itself.
#include "toolkit_helpers.h"

#include <proto/exec.h>
#include <proto/utility.h>

#include <gtest/gtest.h>

#include <cstring>

using namespace toolkit_test;

TEST(Tags, NextTagItemFollowsIgnoreSkipAndMore) {
    struct TagItem tail[] = {{TAG_USER + 5, 50}, {TAG_DONE, 0}, {TAG_USER + 9, 0}};
    struct TagItem head[] = {{TAG_USER + 1, 10}, {TAG_IGNORE, 0},
                             {TAG_SKIP, 1},      {TAG_USER + 2, 20}, // skipped
                             {TAG_USER + 3, 30}, {TAG_MORE, reinterpret_cast<IPTR>(tail)}};
    std::vector<Tag> seen;
    struct TagItem *cursor = head;
    while (struct TagItem *item = NextTagItem(&cursor))
        seen.push_back(item->ti_Tag);
    EXPECT_EQ(seen, (std::vector<Tag>{TAG_USER + 1, TAG_USER + 3, TAG_USER + 5}));
    EXPECT_EQ(cursor, nullptr);
    EXPECT_EQ(NextTagItem(&cursor), nullptr);
    EXPECT_EQ(GetTagData(TAG_USER + 5, 7, head), 50u);
    EXPECT_EQ(GetTagData(TAG_USER + 2, 7, head), 7u);
}

namespace {

// A subclass of Application.mui in the shape of a program's own application
// class: it handles OM_NEW, OM_SET, OM_DISPOSE and one method of its own, and
// passes everything else up.
constexpr Tag kOwnValue = 0x7E570100;
constexpr ULONG kOwnMethod = 0x7E570200;
struct OwnData {
    LONG value;
    LONG methodCalls;
};
int g_disposed = 0;

IPTR OwnDispatcher(struct IClass *cl, Object *obj, Msg msg) {
    switch (msg->MethodID) {
    case OM_NEW: {
        auto *made = reinterpret_cast<Object *>(IDoSuperMethodA(cl, obj, msg));
        if (!made)
            return 0;
        auto *data = static_cast<OwnData *>(INST_DATA(cl, made));
        data->value = -1; // its own tags at creation are not looked at
        // The window tree is in place: show the value in the gadget with id 39.
        SetAttrs(reinterpret_cast<Object *>(IDoMethod(made, MUIM_FindUData, 39)), MUIA_Selected,
                 TRUE, TAG_DONE);
        return reinterpret_cast<IPTR>(made);
    }
    case OM_SET: {
        IPTR handled = 0;
        struct TagItem *cursor = reinterpret_cast<opSet *>(msg)->ops_AttrList;
        while (struct TagItem *item = NextTagItem(&cursor))
            if (item->ti_Tag == kOwnValue) {
                static_cast<OwnData *>(INST_DATA(cl, obj))->value =
                    static_cast<LONG>(item->ti_Data);
                ++handled;
            }
        return handled + IDoSuperMethodA(cl, obj, msg);
    }
    case OM_DISPOSE:
        ++g_disposed;
        return IDoSuperMethodA(cl, obj, msg);
    case kOwnMethod:
        ++static_cast<OwnData *>(INST_DATA(cl, obj))->methodCalls;
        return 0;
    default:
        return IDoSuperMethodA(cl, obj, msg);
    }
}

Object *CheckMark(IPTR id) {
    return MUI_NewObject(MUIC_Image, MUIA_InputMode, MUIV_InputMode_Toggle, MUIA_UserData, id,
                         TAG_DONE);
}

} // namespace

TEST(CustomClass, SubclassOfApplicationKeepsItsOwnDataAndPassesTheRestUp) {
    const ULONG before = LiveObjects();
    struct MUI_CustomClass *mcc =
        MUI_CreateCustomClass(nullptr, MUIC_Application, nullptr, sizeof(OwnData), OwnDispatcher);
    ASSERT_NE(mcc, nullptr);
    EXPECT_EQ(MUI_CreateCustomClass(nullptr, "NoSuch.mui", nullptr, 4, OwnDispatcher), nullptr);

    Object *window = MUI_NewObject(MUIC_Window, MUIA_Window_RootObject, CheckMark(39), TAG_DONE);
    Object *app = NewObject(mcc->mcc_Class, nullptr, MUIA_Application_Title, "Own", kOwnValue, 5,
                            MUIA_Application_Window, window, TAG_DONE);
    ASSERT_NE(app, nullptr);
    auto *data = static_cast<OwnData *>(INST_DATA(mcc->mcc_Class, app));
    EXPECT_EQ(data->value, -1);
    IPTR selected = 0;
    EXPECT_TRUE(GetAttr(MUIA_Selected,
                        reinterpret_cast<Object *>(IDoMethod(app, MUIM_FindUData, 39)), &selected));
    EXPECT_EQ(selected, 1u);

    // Its own attribute plus foreign ones: it counts its own, the levels above
    // keep the rest.
    EXPECT_EQ(
        SetAttrs(app, kOwnValue, 7, MUIA_Application_Title, "Renamed", kOwnValue, 8, TAG_DONE), 2u);
    EXPECT_EQ(data->value, 8);
    IPTR title = 0;
    ASSERT_TRUE(GetAttr(MUIA_Application_Title, app, &title));
    EXPECT_STREQ(reinterpret_cast<const char *>(title), "Renamed");
    IDoMethod(app, kOwnMethod);
    EXPECT_EQ(data->methodCalls, 1);
    // The application level beneath still does its work.
    IDoMethod(app, MUIM_Application_ReturnID, 3);
    ULONG signals = 0;
    EXPECT_EQ(IDoMethod(app, MUIM_Application_NewInput, &signals), 3u);
    EXPECT_STREQ(platform::mui::ClassNameOf(app), MUIC_Application);

    EXPECT_FALSE(MUI_DeleteCustomClass(mcc)); // an object of it still exists
    g_disposed = 0;
    MUI_DisposeObject(app);
    EXPECT_EQ(g_disposed, 1);
    EXPECT_EQ(LiveObjects(), before);
    EXPECT_TRUE(MUI_DeleteCustomClass(mcc));
}

// Builds application > window > root group > (text, list view > list, row
// group > (check mark, label, space)); `hole` names the one child that is
// null, or -1 for none.
static Object *BuildTree(int hole) {
    auto maybe = [hole](int position, Object *object) -> Object * {
        if (position != hole)
            return object;
        MUI_DisposeObject(object); // stands in for a creation that failed
        return nullptr;
    };
    static const char *names[] = {"a", "b", nullptr};
    return MUI_NewObject(
        MUIC_Application,
        {MUIA_Application_Window,
         maybe(
             0,
             MUI_NewObject(
                 MUIC_Window,
                 {MUIA_Window_RootObject,
                  maybe(1, MUI_NewObject(
                               MUIC_Group,
                               {MUIA_Group_Child,
                                MUI_NewObject(MUIC_Text, {MUIA_Text_Contents, "Title"}),
                                MUIA_Group_Child,
                                MUI_NewObject(MUIC_Listview,
                                              {MUIA_Listview_List,
                                               maybe(2, MUI_NewObject(MUIC_List,
                                                                      {MUIA_List_SourceArray, names,
                                                                       MUIA_UserData, 44}))}),
                                MUIA_Group_Child,
                                MUI_NewObject(
                                    MUIC_Group,
                                    {MUIA_Group_Horiz, TRUE, MUIA_Group_Child, CheckMark(39),
                                     MUIA_Group_Child,
                                     MUI_MakeObject(MUIO_Label, "Sound", MUIO_Label_SingleFrame),
                                     MUIA_Group_Child, maybe(3, MUI_MakeObject(MUIO_HSpace, 0))}),
                                TAG_DONE}))}))});
}

TEST(Creation, OneNullChildAnywhereFailsTheTreeAndLeavesNothing) {
    const ULONG before = LiveObjects();
    for (int hole = 0; hole < 4; ++hole) {
        EXPECT_EQ(BuildTree(hole), nullptr) << "hole " << hole;
        EXPECT_EQ(LiveObjects(), before) << "hole " << hole;
    }
    // A class that does not exist cannot take its children either.
    EXPECT_EQ(
        MUI_NewObject("NoSuch.mui", MUIA_Group_Child, MUI_NewObject(MUIC_Text, TAG_DONE), TAG_DONE),
        nullptr);
    EXPECT_EQ(LiveObjects(), before);

    RecordingObserver observer;
    ObserverGuard guard(&observer);
    Object *app = BuildTree(-1);
    ASSERT_NE(app, nullptr);
    EXPECT_EQ(LiveObjects(), before + 10);
    MUI_DisposeObject(app);
    EXPECT_EQ(LiveObjects(), before);
    EXPECT_EQ(observer.Count("dispose"), 10);
    MUI_DisposeObject(nullptr);
}

TEST(Creation, BracedListsCreateChildrenInWrittenOrder) {
    std::vector<int> order;
    auto text = [&order](int n) {
        order.push_back(n);
        return MUI_NewObject(MUIC_Text, MUIA_UserData, n, TAG_DONE);
    };
    Object *group = MUI_NewObject(MUIC_Group, {MUIA_Group_Child, text(1), MUIA_Group_Child, text(2),
                                               MUIA_Group_Child, text(3), TAG_DONE});
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
    const auto children = platform::mui::ChildrenOf(group);
    ASSERT_EQ(children.size(), 3u);
    EXPECT_EQ(IDoMethod(group, MUIM_FindUData, 3), reinterpret_cast<IPTR>(children[2]));
    MUI_DisposeObject(group);
}

TEST(Library, OpensWithoutADisplayAndRefusesWhenTheViewCannotStart) {
    struct Library *base = OpenLibrary(MUIMASTER_NAME, MUIMASTER_VMIN);
    ASSERT_NE(base, nullptr);
    struct Interface *iface = GetInterface(base, "main", 1, nullptr);
    EXPECT_NE(iface, nullptr);
    EXPECT_EQ(OpenLibrary(MUIMASTER_NAME, 99), nullptr);
    DropInterface(iface);
    CloseLibrary(base);

    int opened = 0, closed = 0;
    platform::mui::SetViewLifecycle([&] { return ++opened, false; }, [&] { ++closed; });
    EXPECT_EQ(OpenLibrary(MUIMASTER_NAME, MUIMASTER_VMIN), nullptr);
    platform::mui::SetViewLifecycle([&] { return ++opened, true; }, [&] { ++closed; });
    base = OpenLibrary(MUIMASTER_NAME, MUIMASTER_VMIN);
    struct Library *again = OpenLibrary(MUIMASTER_NAME, MUIMASTER_VMIN);
    CloseLibrary(again);
    EXPECT_EQ(closed, 0);
    CloseLibrary(base);
    EXPECT_EQ(opened, 2);
    EXPECT_EQ(closed, 1);
    platform::mui::SetViewLifecycle(nullptr, nullptr);
}
