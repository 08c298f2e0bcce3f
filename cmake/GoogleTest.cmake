# GoogleTest and GoogleMock from the distribution's sources, compiled with our cross toolchain.
set(QUILLORA_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest source tree")
if(NOT EXISTS ${QUILLORA_GTEST_SOURCE}/googletest/src/gtest-all.cc)
  message(FATAL_ERROR "GoogleTest sources not found at ${QUILLORA_GTEST_SOURCE}: run scripts/setup")
endif()

foreach(lib gtest gmock)
  if(lib STREQUAL gtest)
    set(root ${QUILLORA_GTEST_SOURCE}/googletest)
  else()
    set(root ${QUILLORA_GTEST_SOURCE}/googlemock)
  endif()
  add_library(${lib} STATIC ${root}/src/${lib}-all.cc)
  target_include_directories(${lib} SYSTEM PUBLIC ${root}/include)
  target_include_directories(${lib} PRIVATE ${root})
  # Like the tests' own code (QUILLORA_TEST_COMPILE_OPTIONS): the framework's speed is never measured.
  target_compile_options(${lib} PRIVATE -Og)
endforeach()
target_link_libraries(gmock PUBLIC gtest)
