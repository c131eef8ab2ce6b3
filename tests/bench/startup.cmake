# Start-up time: from process start to the window shown, the program on an
# empty drawer, on 1,000 ROMs (also with named pipes in the drawer) and on
# 32,767 ROMs, against bare Qt windows, under Xvfb.
add_executable(bench_bare_window ${CMAKE_CURRENT_LIST_DIR}/startup/bare_window.cpp)
target_link_libraries(bench_bare_window PRIVATE Qt6::Widgets)

karvolin_bench(bench_startup
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/startup/startup_bench.cpp
    LIBS e2e_support rommaker_lib)
add_dependencies(bench_startup karvolin bench_bare_window)
target_compile_definitions(bench_startup PRIVATE
    KARVOLIN_PROGRAM="$<TARGET_FILE:karvolin>"
    BARE_WINDOW_PROGRAM="$<TARGET_FILE:bench_bare_window>")
