# What the build does for the programs people run, and for the machine it builds on.

# The programs carry no debug information: it goes into <file>.debug beside each, which a debugger
# finds through the link the program keeps to it, so that a crash can still be read while the
# download stays small.
#   quillora_split_debug_info(<target>...)
if(NOT CMAKE_OBJCOPY)
  message(FATAL_ERROR "objcopy of the toolchain not found: run scripts/setup")
endif()

function(quillora_split_debug_info)
  foreach(target ${ARGN})
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:${target}> $<TARGET_FILE:${target}>.debug
      COMMAND ${CMAKE_OBJCOPY} --strip-all --add-gnu-debuglink=$<TARGET_FILE:${target}>.debug
              $<TARGET_FILE:${target}>
      VERBATIM)
  endforeach()
endfunction()

# Parallel jobs sized to the memory of the machine, not only its cores: a compile of a file that
# uses the OneNote model takes up to about 0.8 GB and the link of a test program up to about
# 1.5 GB, so the budgets below leave room for a second build or the tests beside this one.
cmake_host_system_information(RESULT quillora_memory_mb QUERY TOTAL_PHYSICAL_MEMORY)
cmake_host_system_information(RESULT quillora_cores QUERY NUMBER_OF_LOGICAL_CORES)
function(quillora_jobs_for out budget_mb)
  math(EXPR jobs "${quillora_memory_mb} / ${budget_mb}")
  if(jobs GREATER quillora_cores)
    set(jobs ${quillora_cores})
  endif()
  if(jobs LESS 1)
    set(jobs 1)
  endif()
  set(${out} ${jobs} PARENT_SCOPE)
endfunction()
quillora_jobs_for(quillora_compile_jobs 1536)
quillora_jobs_for(quillora_link_jobs 3072)
set_property(GLOBAL APPEND PROPERTY JOB_POOLS
             quillora_compile=${quillora_compile_jobs} quillora_link=${quillora_link_jobs})
set(CMAKE_JOB_POOL_COMPILE quillora_compile)
set(CMAKE_JOB_POOL_LINK quillora_link)
