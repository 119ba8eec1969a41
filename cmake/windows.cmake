# Windows build (mingw-w64): the program, its Win32-side tests under Wine.
set(CMAKE_EXE_LINKER_FLAGS "${CMAKE_EXE_LINKER_FLAGS} -static")
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)

# The core's file access on Windows.
target_sources(tavrel-core PRIVATE core/win32/native-path-win32.cpp core/win32/mapped-file-win32.cpp
  core/win32/memory-backing-win32.cpp)

# The Windows side: every file in the subsystems' win32/ folders and graphics/d3d11/, less
# the program's entry point and the core's file access above.
file(GLOB tavrel_win32_sources CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/graphics/d3d11/*.cpp)
foreach(folder ${TAVREL_SUBSYSTEMS})
  file(GLOB folder_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/win32/*.cpp)
  list(APPEND tavrel_win32_sources ${folder_sources})
endforeach()
list(REMOVE_ITEM tavrel_win32_sources
  ${CMAKE_SOURCE_DIR}/app/win32/main.cpp
  ${CMAKE_SOURCE_DIR}/core/win32/native-path-win32.cpp
  ${CMAKE_SOURCE_DIR}/core/win32/mapped-file-win32.cpp
  ${CMAKE_SOURCE_DIR}/core/win32/memory-backing-win32.cpp)
add_library(tavrel-win32 STATIC ${tavrel_win32_sources})
target_link_libraries(tavrel-win32 PUBLIC tavrel-core
  d3d11 dxgi d3dcompiler dinput8 dxguid comctl32 comdlg32 shell32 ole32 windowscodecs uuid)

# What the program reads at start-up, placed beside it in a working directory.
set(TAVREL_RUN_DIR ${CMAKE_SOURCE_DIR}/run CACHE PATH "Working directory of tools/run")
# The planet's picture: Debian's xplanet-images Earth map (see the README for its origin).
set(TAVREL_PLANET_IMAGE /usr/share/xplanet/images/earth.jpg CACHE FILEPATH "Image shown as the planet")
if(NOT EXISTS ${TAVREL_PLANET_IMAGE})
  message(FATAL_ERROR "No planet image at ${TAVREL_PLANET_IMAGE}: install xplanet-images (tools/deps does).")
endif()
function(tavrel_stage_assets target dir)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}/graphics
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/graphics/nuanceurs ${dir}/graphics/nuanceurs
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${TAVREL_PLANET_IMAGE} ${dir}/1_earth_16k.jpg
    VERBATIM)
endfunction()

# The resource script takes in these files; a change to one makes it again.
file(GLOB tavrel_bitmaps ${CMAKE_SOURCE_DIR}/resources/bitmaps/*.bmp)
set_source_files_properties(resources/tavrel.rc PROPERTIES OBJECT_DEPENDS
  "${tavrel_bitmaps};${CMAKE_SOURCE_DIR}/resources/tavrel.ico;${CMAKE_SOURCE_DIR}/resources/resource-ids.h;${CMAKE_BINARY_DIR}/generated/tavrel.manifest;${CMAKE_BINARY_DIR}/generated/tavrel-version.h")
add_executable(tavrel WIN32 app/win32/main.cpp resources/tavrel.rc)
target_link_libraries(tavrel PRIVATE tavrel-win32)
tavrel_stage_assets(tavrel ${TAVREL_RUN_DIR})

# GoogleTest from Debian's sources, built with mingw.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

add_executable(win32-tests
  resources/tavrel.rc
  tests/win32/renderer-test.cpp
  tests/win32/settings-profile-test.cpp
  tests/win32/startup-test.cpp
  tests/win32/obj-writer-test.cpp
  tests/win32/patch-render-test.cpp
  tests/win32/palette-test.cpp
  tests/win32/tools-test.cpp
  tests/win32/shape-window-test.cpp
  tests/win32/document-test.cpp
  tests/win32/flight-test.cpp
  tests/win32/safety-test.cpp
  tests/win32/undo-test.cpp
  tests/win32/command-menus-test.cpp
  tests/win32/shell-commands-test.cpp
  tests/win32/dpi-test.cpp
)
target_include_directories(win32-tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/win32 ${CMAKE_SOURCE_DIR}/tests/common)
target_link_libraries(win32-tests PRIVATE tavrel-win32 gtest gtest_main)
set(WIN32_TEST_DIR ${CMAKE_BINARY_DIR}/test-run)
tavrel_stage_assets(win32-tests ${WIN32_TEST_DIR})
# Each test runs in its own process (the program's records are process-wide) under Wine.
gtest_discover_tests(win32-tests
  WORKING_DIRECTORY ${WIN32_TEST_DIR}
  DISCOVERY_MODE PRE_TEST
  DISCOVERY_TIMEOUT 120
  PROPERTIES TIMEOUT 120)

# The same windows at 150 %, in a Wine prefix of its own (the screen's DPI is the prefix's),
# alone: a test process beside its Wine start passed and then outlived its time.
add_test(NAME win32.high-dpi
  COMMAND bash ${CMAKE_SOURCE_DIR}/tests/tools/high-dpi-test.sh $<TARGET_FILE:win32-tests>)
set_tests_properties(win32.high-dpi PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE WORKING_DIRECTORY ${WIN32_TEST_DIR})

# End-to-end runs of the real program, driven by real input and checked by what it shows
# and writes. They share one X display, so they run one at a time.
foreach(scenario startup-default session-geometry startup-model-file camera-input road-of-one-edit add-patch palette-tools
    organise-and-save play-stop delete-wireframe-quad partly-read-file recovery-after-kill
    tool-windows-and-names non-ascii-names bad-settings keyboard-flight large-model undo-redo
    rotate-symmetry typed-coordinates frame-model snap-drag window-places box-select
    shaded-view export-mesh export-over-model missing-startup-file user-file-named-recovery
    two-editors shape-points reference-picture grow-surfaces command-line-file
    escape-and-chosen-drag shape-window-fit menus-and-context-menu zebra-stripes
    curvature-display)
  add_test(NAME e2e.${scenario} COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/${scenario}.sh)
  set_tests_properties(e2e.${scenario} PROPERTIES
    TIMEOUT 180 RUN_SERIAL TRUE
    ENVIRONMENT "TAVREL_EXE=$<TARGET_FILE:tavrel>;TAVREL_OBJ=$<TARGET_FILE:tavrel-obj>;TAVREL_ASSETS=${WIN32_TEST_DIR};E2E_ARTIFACTS=${CMAKE_BINARY_DIR}/e2e-artifacts")
endforeach()
# Three grids up to a million patches, each written and opened.
set_tests_properties(e2e.large-model PROPERTIES TIMEOUT 360)

# The command-line tool, run by Wine itself so its CR LF output reaches the checks unchanged.
add_test(NAME tavrel-obj.commands
  COMMAND bash ${CMAKE_SOURCE_DIR}/tests/tools/tavrel-obj-test.sh timeout 60 wine $<TARGET_FILE:tavrel-obj>)
set_tests_properties(tavrel-obj.commands PROPERTIES TIMEOUT 120)

# The manifest, icon and version resource read back from the built program.
add_test(NAME resources.tavrel-exe
  COMMAND bash ${CMAKE_SOURCE_DIR}/tests/tools/resources-test.sh $<TARGET_FILE:tavrel> ${PROJECT_VERSION})

# Frame time of the drawing under this machine's Direct3D (run it by hand for the figures;
# the test run only checks that it still runs).
add_executable(frame-time bench/win32/frame-time.cpp)
target_include_directories(frame-time PRIVATE ${CMAKE_SOURCE_DIR}/bench)
target_link_libraries(frame-time PRIVATE tavrel-win32)
add_test(NAME bench.frame-time-smoke COMMAND frame-time 2)
set_tests_properties(bench.frame-time-smoke PROPERTIES TIMEOUT 300 WORKING_DIRECTORY ${WIN32_TEST_DIR})
