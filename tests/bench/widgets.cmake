# Qt view: opening a window over a long list, swapping a large picture.
karvolin_bench(bench_widgets
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/widgets/widgets_bench.cpp
    LIBS platform_qt)
