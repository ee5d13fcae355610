# Helpers shared by the area CMakeLists files.

# Adds every direct child folder of the calling folder that carries a
# CMakeLists.txt, except those named in EXCEPT.  Areas are independent: a new
# one is picked up without touching any other build file.
function(lumora_add_subdirectories)
  cmake_parse_arguments(L "" "" "EXCEPT" ${ARGN})
  file(GLOB children LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}
       ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  foreach(child ${children})
    if(child IN_LIST L_EXCEPT)
      continue()
    endif()
    if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${child}
       AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()

# lumora_library(NAME [DEPS lib...]): a static library from every .cpp under
# the calling folder.
function(lumora_library name)
  cmake_parse_arguments(L "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${L_DEPS} Threads::Threads)
endfunction()

# lumora_test(NAME [DEPS lib...] [TIMEOUT s]): one GoogleTest program from
# every .cpp in the calling folder, registered with CTest test by test.  The
# shared test support supplies main(), which gives every test program its own
# temporary platform root.
function(lumora_test name)
  cmake_parse_arguments(L "" "TIMEOUT" "DEPS" ${ARGN})
  if(NOT L_TIMEOUT)
    set(L_TIMEOUT 300)
  endif()
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(${name} ${sources})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${L_DEPS} lumora_testsupport GTest::gtest GTest::gmock Threads::Threads)
  # Each test is labelled with its program, so that `ctest -L` runs the
  # tests of chosen programs (scripts/test.sh with LUMORA_TEST_PROGRAMS).
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
                       PROPERTIES TIMEOUT ${L_TIMEOUT} LABELS ${name}
                       ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# lumora_bench(NAME [OWN_MAIN] [DEPS lib...]): one Google Benchmark program
# from every .cpp in the calling folder.  Benchmarks print figures; they are
# not tests.  The shared main (bench/support) runs the program in a temporary
# platform root; OWN_MAIN programs bring their own.
function(lumora_bench name)
  cmake_parse_arguments(L "OWN_MAIN" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(${name} ${sources})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${L_DEPS} benchmark::benchmark Threads::Threads)
  if(NOT L_OWN_MAIN)
    target_link_libraries(${name} PRIVATE lumora_benchsupport)
  endif()
endfunction()

# lumora_embed_files(TARGET FOLDER HEADER TABLE): every file of FOLDER built
# into TARGET as the table TABLE that HEADER declares (cmake/embed_files.cmake).
function(lumora_embed_files target folder header table)
  file(GLOB files CONFIGURE_DEPENDS ${folder}/*)
  set(source ${CMAKE_CURRENT_BINARY_DIR}/${table}.cpp)
  add_custom_command(OUTPUT ${source}
    COMMAND ${CMAKE_COMMAND} -DFOLDER=${folder} -DOUTPUT=${source} -DHEADER=${header} -DTABLE=${table}
            -P ${CMAKE_SOURCE_DIR}/cmake/embed_files.cmake
    DEPENDS ${files} ${CMAKE_SOURCE_DIR}/cmake/embed_files.cmake
    COMMENT "Embedding ${folder}")
  target_sources(${target} PRIVATE ${source})
endfunction()
