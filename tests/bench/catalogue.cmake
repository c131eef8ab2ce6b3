karvolin_bench(bench_catalogue
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/catalogue/catalogue_bench.cpp
    LIBS catalogue rommaker_lib PkgConfig::LIBARCHIVE)
target_include_directories(bench_catalogue PRIVATE ${PROJECT_SOURCE_DIR}/tests/platform)
