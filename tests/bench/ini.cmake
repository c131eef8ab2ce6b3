# Settings file: loading a large file of distinct keys.
karvolin_bench(bench_ini SOURCES ${CMAKE_CURRENT_LIST_DIR}/ini/load_bench.cpp LIBS ini)
