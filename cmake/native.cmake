# Native build: the portable core's unit tests (and, later, benchmarks and fuzzing).
# The core's file access on POSIX systems.
file(GLOB tavrel_posix_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/core/posix/*.cpp)
target_sources(tavrel-core PRIVATE ${tavrel_posix_sources})

find_package(GTest REQUIRED)
include(GoogleTest)

add_executable(core-tests
  tests/native/vector-math-test.cpp
  tests/native/settings-file-test.cpp
  tests/native/session-test.cpp
  tests/native/edit-session-test.cpp
  tests/native/recent-files-test.cpp
  tests/native/model-test.cpp
  tests/native/obj-format-test.cpp
  tests/native/rendering-maths-test.cpp
  tests/native/camera-picking-test.cpp
  tests/native/model-operations-test.cpp
  tests/native/flight-test.cpp
  tests/native/recovery-test.cpp
  tests/native/patch-detail-test.cpp
  tests/native/history-test.cpp
  tests/native/import-test.cpp
  tests/native/fast-reading-test.cpp
  tests/native/mesh-export-test.cpp
  tests/native/document-test.cpp
  tests/native/document-files-test.cpp
  tests/native/point-editing-test.cpp
  tests/native/shape-window-layout-test.cpp
  tests/native/status-text-test.cpp
  tests/native/surface-edits-test.cpp
  tests/native/joins-test.cpp
  tests/native/join-floor-test.cpp
  tests/native/cad-exchange-test.cpp
  tests/native/bspline-patches-test.cpp
  tests/native/surface-tolerances-test.cpp
  tests/native/command-table-test.cpp
  tests/native/command-runs-test.cpp
  tests/native/command-menus-test.cpp
  tests/native/surface-quality-test.cpp
)
target_include_directories(core-tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/common)
target_link_libraries(core-tests PRIVATE tavrel-core GTest::gtest GTest::gtest_main)
target_compile_definitions(core-tests PRIVATE TAVREL_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
gtest_discover_tests(core-tests DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 60)

# The command-line tool on real files.
add_test(NAME tavrel-obj.commands
  COMMAND bash ${CMAKE_SOURCE_DIR}/tests/tools/tavrel-obj-test.sh $<TARGET_FILE:tavrel-obj>)
set_tests_properties(tavrel-obj.commands PROPERTIES TIMEOUT 60)
add_test(NAME tavrel-obj.cad-export
  COMMAND bash ${CMAKE_SOURCE_DIR}/tests/tools/cad-export-test.sh $<TARGET_FILE:tavrel-obj>
          ${CMAKE_SOURCE_DIR}/tests/tools/cube-of-patches.obj)
set_tests_properties(tavrel-obj.cad-export PROPERTIES TIMEOUT 300)
add_test(NAME tavrel-obj.mesh-export
  COMMAND bash ${CMAKE_SOURCE_DIR}/tests/tools/mesh-export-test.sh $<TARGET_FILE:tavrel-obj>
          ${CMAKE_SOURCE_DIR}/tests/tools/cube-of-patches.obj)
set_tests_properties(tavrel-obj.mesh-export PROPERTIES TIMEOUT 60)

# The include check: the real tree passes, a misplaced include fails.
add_test(NAME tools.check-includes COMMAND bash ${CMAKE_SOURCE_DIR}/tests/tools/check-includes-test.sh)
set_tests_properties(tools.check-includes PROPERTIES TIMEOUT 60)

# The shader check: real files pass, broken copies fail.
add_test(NAME tools.check-shaders COMMAND bash ${CMAKE_SOURCE_DIR}/tests/tools/check-shaders-test.sh)
set_tests_properties(tools.check-shaders PROPERTIES TIMEOUT 60)

# Benchmarks (Google Benchmark). The test run only checks that they still run; the figures
# come from running build/native/bench/... on its own.
find_package(benchmark REQUIRED)
add_executable(obj-bench bench/obj-bench.cpp bench/tessellation-bench.cpp bench/picking-bench.cpp
  bench/recovery-bench.cpp bench/patch-detail-bench.cpp bench/history-bench.cpp
  bench/point-editing-bench.cpp bench/surface-edits-bench.cpp bench/cad-export-bench.cpp
  bench/import-bench.cpp)
target_link_libraries(obj-bench PRIVATE tavrel-core benchmark::benchmark)
set_target_properties(obj-bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
# Under the sanitizers the benchmarks that write and read files of hundreds of megabytes, or
# rebuild a 100,000-patch model per run, take minutes; the plain build's run covers them.
if(TAVREL_SANITIZE)
  set(obj_bench_smoke_filter "--benchmark_filter=-Export|LoadLarge|AfterEdit|WholeModel|ImportFile|JoinLines/1|SmoothWholeSheet")
else()
  # Writing the 100,000-patch sheet in every import format takes a minute of the test run.
  set(obj_bench_smoke_filter "--benchmark_filter=-ImportFile/size:1")
endif()
add_test(NAME bench.obj-smoke COMMAND obj-bench --benchmark_min_time=0.01 ${obj_bench_smoke_filter})
set_tests_properties(bench.obj-smoke PROPERTIES TIMEOUT 300)
