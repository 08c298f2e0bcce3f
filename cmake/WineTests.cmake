# Test executables: GoogleTest programs that ctest runs under Wine (see tools/wine-run).
#
#   quillora_add_test(NAME <name> SOURCES <files...> [LIBRARIES <libs...>] [SHARDS <n>])
#
# SHARDS splits the cases of one executable over n ctest entries (GoogleTest's own sharding), so
# that a large suite still runs in parallel without one Wine process per case.

# Wine says this when a program of the test, or one it started, dies of an exception. A crash on a
# thread other than the first can still end the process with exit code 0, so the words decide.
set(QUILLORA_CRASH_PATTERN "wine: Unhandled ")

set(QUILLORA_TEST_OUTPUT_DIR ${CMAKE_BINARY_DIR}/test-output)
file(MAKE_DIRECTORY ${QUILLORA_TEST_OUTPUT_DIR})

# Wine maps the Unix root to drive Z:, so a Unix path becomes a Windows path by that prefix.
function(quillora_windows_path out unix_path)
  string(REPLACE "/" "\\" win "${unix_path}")
  set(${out} "Z:${win}" PARENT_SCOPE)
endfunction()

function(quillora_add_test)
  cmake_parse_arguments(T "" "NAME;SHARDS" "SOURCES;LIBRARIES" ${ARGN})
  # The manifest goes in as an object of its own: from a static library the linker would drop it.
  add_executable(${T_NAME} ${T_SOURCES} $<TARGET_OBJECTS:controls_manifest>)
  target_compile_options(${T_NAME} PRIVATE ${QUILLORA_WARNINGS})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBRARIES} test_support gmock)

  quillora_windows_path(output_dir "${QUILLORA_TEST_OUTPUT_DIR}")
  quillora_windows_path(shared_dir "${QUILLORA_SHARED_DIR}")
  set(env
      "QUILLORA_TEST_OUTPUT=${output_dir}"
      "QUILLORA_SHARED=${shared_dir}"
      "QUILLORA_BUILD_DIR=${CMAKE_BINARY_DIR}")

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
  endforeach()
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
