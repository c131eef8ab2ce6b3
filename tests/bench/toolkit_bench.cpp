// How long the toolkit model takes for a large window tree and for a long
// run of notifications.
#include <libraries/mui.h>
#include <proto/intuition.h>
#include <proto/muimaster.h>

#include <benchmark/benchmark.h>

namespace {

// Application > window > root group > 99 rows > 100 gadgets each, with user
// data on every gadget: 10,002 objects.
Object *BuildTree() {
    Object *root = MUI_NewObject(MUIC_Group, TAG_DONE);
    for (int row = 0; row < 99; ++row) {
        Object *group = MUI_NewObject(MUIC_Group, MUIA_Group_Horiz, TRUE, TAG_DONE);
        for (int i = 0; i < 100; ++i) {
            Object *gadget = i % 2
                                 ? MUI_NewObject(MUIC_Text, MUIA_Text_Contents, "Label",
                                                 MUIA_UserData, row * 100 + i, TAG_DONE)
                                 : MUI_NewObject(MUIC_Image, MUIA_InputMode, MUIV_InputMode_Toggle,
                                                 MUIA_UserData, row * 100 + i, TAG_DONE);
            IDoMethod(group, OM_ADDMEMBER, gadget);
        }
        IDoMethod(root, OM_ADDMEMBER, group);
    }
    Object *window = MUI_NewObject(MUIC_Window, MUIA_Window_RootObject, root, TAG_DONE);
    return MUI_NewObject(MUIC_Application, MUIA_Application_Window, window, TAG_DONE);
}

void BM_BuildAndDisposeTree(benchmark::State &state) {
    for (auto _ : state) {
        Object *app = BuildTree();
        benchmark::DoNotOptimize(app);
        MUI_DisposeObject(app);
    }
    state.SetItemsProcessed(state.iterations() * 10002);
}
BENCHMARK(BM_BuildAndDisposeTree)->Unit(benchmark::kMillisecond);

// A check mark notifies a second object on every change, which takes the
// value: 100,000 changes deliver 100,000 notifications.
void BM_DeliverNotifications(benchmark::State &state) {
    Object *check = MUI_NewObject(MUIC_Image, MUIA_InputMode, MUIV_InputMode_Toggle, TAG_DONE);
    Object *target = MUI_NewObject(MUIC_Image, TAG_DONE);
    IDoMethod(check, MUIM_Notify, MUIA_Selected, MUIV_EveryTime, target, 3, MUIM_Set, MUIA_Selected,
              MUIV_TriggerValue);
    for (auto _ : state) {
        for (int i = 0; i < 100000; ++i)
            SetAttrs(check, MUIA_Selected, i & 1, TAG_DONE);
    }
    IPTR last = 0;
    GetAttr(MUIA_Selected, target, &last);
    if (last != 1)
        state.SkipWithError("the notifications did not arrive");
    state.SetItemsProcessed(state.iterations() * 100000);
    MUI_DisposeObject(check);
    MUI_DisposeObject(target);
}
BENCHMARK(BM_DeliverNotifications)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
