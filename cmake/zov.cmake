# Helpers shared by every subsystem's CMakeLists.txt.

# zov_add_test(<name> SOURCES <files...> LIBS <targets...>)
# One GoogleTest executable; each TEST becomes its own CTest entry.
function(zov_add_test name)
  if(ZOV_FUZZ)
    return()
  endif()
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main Threads::Threads)
  target_compile_definitions(${name} PRIVATE
    ZOV_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    ZOV_BIN_DIR="${CMAKE_BINARY_DIR}/bin")
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  # Listing the cases of a sanitized Qt test on a loaded machine can take longer than the
  # default five seconds.
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST NO_PRETTY_VALUES DISCOVERY_TIMEOUT 120
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 120)
endfunction()

# zov_add_fuzzer(<name> SOURCES <files...> LIBS <targets...>)
# A libFuzzer target when built with -DZOV_FUZZ=ON. Its seed corpus is fuzz/corpus/<name>/, where the
# inputs of earlier findings are kept too. In every other build the same harness is linked with a
# replay driver instead, and a test runs it over that folder.
function(zov_add_fuzzer name)
  cmake_parse_arguments(F "" "" "SOURCES;LIBS" ${ARGN})
  if(ZOV_FUZZ)
    add_executable(${name} ${F_SOURCES})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzzers)
  else()
    add_executable(${name} ${F_SOURCES} ${CMAKE_SOURCE_DIR}/fuzz/support/ReplayMain.cpp)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz-replay)
    add_test(NAME fuzz_replay_${name} COMMAND ${name} ${CMAKE_SOURCE_DIR}/fuzz/corpus/${name})
    set_tests_properties(fuzz_replay_${name} PROPERTIES TIMEOUT 300)
  endif()
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${F_LIBS} Threads::Threads)
endfunction()

# zov_add_tests_in_dir(<prefix> LIBS <targets...>)
# Every *_test.cpp in the calling folder becomes its own test program <prefix>_<file>, so
# that work in progress in one file never keeps the others from building.
function(zov_add_tests_in_dir prefix)
  cmake_parse_arguments(T "" "" "LIBS;EXTRA_SOURCES" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  foreach(src ${tests})
    get_filename_component(stem ${src} NAME_WE)
    zov_add_test(${prefix}_${stem} SOURCES ${src} ${T_EXTRA_SOURCES} LIBS ${T_LIBS})
  endforeach()
endfunction()
