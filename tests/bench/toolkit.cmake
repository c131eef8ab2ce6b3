# Toolkit model: building and disposing object trees, delivering notifications.
karvolin_bench(bench_toolkit SOURCES ${CMAKE_CURRENT_LIST_DIR}/toolkit_bench.cpp LIBS amiga_mui)
