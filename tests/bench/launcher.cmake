# Launch: how long the launcher is busy starting an emulator that lingers.
karvolin_bench(bench_launcher
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/launcher/launch_bench.cpp
    LIBS launcher)
target_include_directories(bench_launcher PRIVATE ${PROJECT_SOURCE_DIR}/tests/launcher
    ${PROJECT_SOURCE_DIR}/tests/platform)
