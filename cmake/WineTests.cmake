# Test executables: GoogleTest programs that ctest runs under Wine (see tools/wine-run).
#
#   quillora_add_test(NAME <name> SOURCES <files...> [LIBRARIES <libs...>] [SHARDS <n>] [OWN_PREFIX]
#                     [COST <seconds>])
#
# SHARDS splits the cases of one executable over n ctest entries (GoogleTest's own sharding), so
# that a large suite still runs in parallel without one Wine process per case.
#
# COST is about how long each entry takes: ctest starts the longest first (a fresh build has no
# times of its own yet), so that they do not end last.
#
# OWN_PREFIX is for tests that change what the whole prefix shares (the shell's folders, the DPI,
# the foreground window) or look at every process or window of it: each such entry runs in a Wine
# lane of its own, a copy of the build's prefix with its own wineserver and display (tools/wine-env),
# and nothing else runs in that lane meanwhile. Lanes are ctest resources, so the lanes' tests run
# side by side instead of one after another.

# Wine says this when a program of the test, or one it started, dies of an exception. A crash on a
# thread other than the first can still end the process with exit code 0, so the words decide.
set(QUILLORA_CRASH_PATTERN "wine: Unhandled ")

set(QUILLORA_TEST_OUTPUT_DIR ${CMAKE_BINARY_DIR}/test-output)

# How the tests' own code compiles, in their programs and the libraries they share: line tables
# are all it needs for a readable crash, and full debug information would double its cost. The
# code under test keeps the shipped optimisation; the tests' own mostly waits for windows, and
# optimising it for debugging compiles it a quarter faster.
set(QUILLORA_TEST_COMPILE_OPTIONS ${QUILLORA_WARNINGS} -Og -g1)

# The lanes: one per two cores and one more, at most five (a lane's test mostly waits for the
# windows of a program and a stand-in). tools/prepare-prefix copies the prefix for each,
# scripts/test starts a display for each.
if(NOT QUILLORA_WINE_LANES)
  cmake_host_system_information(RESULT lane_cores QUERY NUMBER_OF_LOGICAL_CORES)
  math(EXPR lanes "${lane_cores} / 2 + 1")
  if(lanes GREATER 5)
    set(lanes 5)
  elseif(lanes LESS 1)
    set(lanes 1)
  endif()
  set(QUILLORA_WINE_LANES ${lanes} CACHE STRING "Wine prefixes of their own in which the tests that need one run side by side")
endif()
set(lane_list "")
foreach(lane RANGE 1 ${QUILLORA_WINE_LANES})
  list(APPEND lane_list "{\"id\": \"${lane}\", \"slots\": 1}")
endforeach()
list(JOIN lane_list ", " lane_list)
file(WRITE ${CMAKE_BINARY_DIR}/wine-lanes.json
     "{\"version\": {\"major\": 1, \"minor\": 0}, \"local\": [{\"wine_lanes\": [${lane_list}]}]}\n")
file(WRITE ${CMAKE_BINARY_DIR}/wine-lanes "${QUILLORA_WINE_LANES}\n")
# ctest reads the lanes from here without being told on its command line.
set(CTEST_RESOURCE_SPEC_FILE ${CMAKE_BINARY_DIR}/wine-lanes.json)
file(MAKE_DIRECTORY ${QUILLORA_TEST_OUTPUT_DIR})

# A checkout or build folder may lie under a path with letters beyond ASCII (a user's
# "~/Téléchargements/"): every path the build hands a test reaches it in UTF-8 and must come through
# whole. Some tests are given such a path on every run: a link in the build folder, named with
# letters of other scripts, to a folder of the checkout or the build.
#   quillora_path_beyond_ascii(<out> <name> <target>)           NAME links to the folder TARGET
#   quillora_path_beyond_ascii(<out> <name> <target> <entry>...) NAME is a folder whose ENTRYs link
#                                                                  to TARGET's (a link to a folder
#                                                                  that holds it would be a loop)
set(QUILLORA_PATHS_BEYOND_ASCII "${CMAKE_BINARY_DIR}/paths-beyond-ascii/Téléchargements/下载/jo doe")
function(quillora_path_beyond_ascii out name target)
  set(path "${QUILLORA_PATHS_BEYOND_ASCII}/${name}")
  if(ARGN)
    file(MAKE_DIRECTORY "${path}")
    foreach(entry ${ARGN})
      file(CREATE_LINK "${target}/${entry}" "${path}/${entry}" SYMBOLIC)
    endforeach()
  else()
    file(MAKE_DIRECTORY "${QUILLORA_PATHS_BEYOND_ASCII}")
    file(CREATE_LINK "${target}" "${path}" SYMBOLIC)
  endif()
  set(${out} "${path}" PARENT_SCOPE)
endfunction()

# Wine maps the Unix root to drive Z:, so a Unix path becomes a Windows path by that prefix.
function(quillora_windows_path out unix_path)
  string(REPLACE "/" "\\" win "${unix_path}")
  set(${out} "Z:${win}" PARENT_SCOPE)
endfunction()

# The environment of every test entry: where its output goes, where ../shared is, which build,
# and the time zone it runs in (tools/wine-env), whatever the host's; summer time begins there at
# 02:00. An entry may name another zone after these.
function(quillora_test_environment out)
  quillora_windows_path(output_dir "${QUILLORA_TEST_OUTPUT_DIR}")
  quillora_windows_path(shared_dir "${QUILLORA_SHARED_DIR}")
  set(${out} "QUILLORA_TEST_OUTPUT=${output_dir}" "QUILLORA_SHARED=${shared_dir}"
      "QUILLORA_BUILD_DIR=${CMAKE_BINARY_DIR}" "QUILLORA_TEST_TZ=Europe/Berlin" PARENT_SCOPE)
endfunction()

# Test sources compile a few to a unit: each includes the same large headers (GoogleTest's,
# Windows' and COM's), whose reading is most of what one costs, while a few units a program still
# keep the cores busy. A source whose names of its own clash with another's is marked
# SKIP_UNITY_BUILD_INCLUSION where its target is made. GCC takes every source of such a unit for a
# header, and would warn of each test whose fixture lies in an unnamed namespace.
function(quillora_compile_together target)
  set_target_properties(${target} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 8)
  target_compile_options(${target} PRIVATE -Wno-subobject-linkage)
endfunction()

# The tests' sources whose static checks depend on the width of a pointer: on the 64-bit way the
# 32-bit build compiles them too (tests/CMakeLists.txt), though no 32-bit test runs there. They are
# an object library of their own, built only there: compiling them then waits for their headers
# alone, not for the programs their test runs (the stand-ins' onenote.exe and all they link).
function(quillora_note_width_checks target)
  cmake_parse_arguments(W "" "" "SOURCES;LIBRARIES" ${ARGN})
  set(checked "")
  foreach(source ${W_SOURCES})
    if(NOT source MATCHES "\\.cpp$" OR source MATCHES "^\\$<")
      continue()
    endif()
    get_filename_component(source ${source} ABSOLUTE)
    file(STRINGS ${source} checks REGEX "static_assert.*sizeof\\(void ?\\*\\)")
    if(checks)
      list(APPEND checked ${source})
    endif()
  endforeach()
  if(checked)
    add_library(${target}_width_checks OBJECT EXCLUDE_FROM_ALL ${checked})
    target_compile_options(${target}_width_checks PRIVATE ${QUILLORA_TEST_COMPILE_OPTIONS})
    quillora_compile_together(${target}_width_checks)
    target_link_libraries(${target}_width_checks PRIVATE ${W_LIBRARIES})
    set_property(GLOBAL APPEND PROPERTY QUILLORA_WIDTH_CHECKED_TARGETS ${target}_width_checks)
  endif()
endfunction()

function(quillora_add_test)
  cmake_parse_arguments(T "OWN_PREFIX" "NAME;SHARDS;COST" "SOURCES;LIBRARIES" ${ARGN})
  # The manifest goes in as an object of its own: from a static library the linker would drop it.
  add_executable(${T_NAME} ${T_SOURCES} $<TARGET_OBJECTS:controls_manifest>)
  target_compile_options(${T_NAME} PRIVATE ${QUILLORA_TEST_COMPILE_OPTIONS})
  quillora_compile_together(${T_NAME})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBRARIES} test_support gmock)
  quillora_note_width_checks(${T_NAME} SOURCES ${T_SOURCES} LIBRARIES ${T_LIBRARIES} test_support gmock)

  quillora_test_environment(env)

  if(NOT T_SHARDS)
    set(T_SHARDS 1)
  endif()
  math(EXPR last "${T_SHARDS} - 1")
  foreach(i RANGE ${last})
    if(T_SHARDS EQUAL 1)
      set(test_name ${T_NAME})
      set(shard_env "")
    else()
      set(test_name ${T_NAME}.${i})
      set(shard_env "GTEST_TOTAL_SHARDS=${T_SHARDS}" "GTEST_SHARD_INDEX=${i}")
    endif()
    add_test(NAME ${test_name} COMMAND ${T_NAME})
    set_tests_properties(${test_name} PROPERTIES
      ENVIRONMENT "${env};${shard_env}"
      TIMEOUT 300
      FAIL_REGULAR_EXPRESSION "${QUILLORA_CRASH_PATTERN}"
      FIXTURES_REQUIRED wine_prefix)
    if(T_OWN_PREFIX)
      quillora_run_in_own_prefix(${test_name})
    endif()
    if(T_COST)
      set_tests_properties(${test_name} PROPERTIES COST ${T_COST})
    endif()
  endforeach()
endfunction()

#   quillora_add_test_entry(<name> <executable> [arguments...])
# One more entry of an executable made by quillora_add_test, such as a part of its cases that a
# gtest filter picks, with the environment and checks of every entry.
function(quillora_add_test_entry name executable)
  add_test(NAME ${name} COMMAND ${executable} ${ARGN})
  quillora_test_environment(env)
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "${env}"
    TIMEOUT 300
    FAIL_REGULAR_EXPRESSION "${QUILLORA_CRASH_PATTERN}"
    FIXTURES_REQUIRED wine_prefix)
endfunction()

#   quillora_run_in_own_prefix(<test>...)   see OWN_PREFIX above; for entries made with add_test
function(quillora_run_in_own_prefix)
  set_tests_properties(${ARGN} PROPERTIES RESOURCE_GROUPS "wine_lanes:1")
endfunction()

# Stand-ins replace components Wine lacks; tools/prepare-prefix registers what this list names.
#   quillora_register_com_server(<target>)                in-process COM server (regsvr32)
#   quillora_register_runtime_class(<target> <class>)     Windows Runtime activatable class
function(quillora_register_com_server target)
  set_property(GLOBAL APPEND PROPERTY QUILLORA_REGISTRATIONS "com $<TARGET_FILE:${target}>")
endfunction()

function(quillora_register_runtime_class target class_name)
  set_property(GLOBAL APPEND PROPERTY QUILLORA_REGISTRATIONS
               "winrt ${class_name} $<TARGET_FILE:${target}>")
endfunction()

# Called once at the end of the root list file, when every registration is known.
function(quillora_write_registrations)
  get_property(lines GLOBAL PROPERTY QUILLORA_REGISTRATIONS)
  list(JOIN lines "\n" content)
  file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/registrations.txt CONTENT "${content}\n")
endfunction()
